#include "thesaurus/ThesaurusCatalog.h"

#include "common/RegularFile.h"
#include "thesaurus/LocaleFallback.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <vector>

#include <cerrno>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// XDG's rules: a variable that is unset, empty or not absolute takes its default.
QString xdgDataHome()
{
    const QString fromEnvironment = qEnvironmentVariable("XDG_DATA_HOME");
    if (QDir::isAbsolutePath(fromEnvironment))
        return QDir::cleanPath(fromEnvironment);
    return QDir::homePath() + QStringLiteral("/.local/share");
}

QStringList xdgDataDirs()
{
    QStringList dirs;
    const QStringList listed = qEnvironmentVariable("XDG_DATA_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &dir : listed) {
        if (QDir::isAbsolutePath(dir))
            dirs += QDir::cleanPath(dir);
    }
    if (dirs.isEmpty())
        dirs = QStringList{QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    return dirs;
}

// The folder of the running program. A process without an application object
// (the lookup tool starts without one) asks the kernel where its program is.
QString executableFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // The link names the program by its canonical path: one read, no walk.
    const QString program = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    return program.isEmpty() ? QString() : QFileInfo(program).absolutePath();
}

QStringList searchPathFor(const char *variable, const QString &userFolder, const QString &systemFolder)
{
    QStringList path;
    const QString fromEnvironment = variable ? qEnvironmentVariable(variable) : QString();
    if (!fromEnvironment.isEmpty())
        path += fromEnvironment.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    path += xdgDataHome() + QStringLiteral("/verbarium-pro/") + userFolder;
    for (const QString &dir : xdgDataDirs())
        path += dir + QLatin1Char('/') + systemFolder;
    const QString programFolder = executableFolder();
    if (!programFolder.isEmpty())
        path += programFolder + QLatin1Char('/') + userFolder;
    path += QStringLiteral("/usr/local/share/") + systemFolder;
    path += QStringLiteral("/usr/share/") + systemFolder;
    path.removeDuplicates();
    return path;
}

} // namespace

QStringList ThesaurusCatalog::defaultSearchPath()
{
    return searchPathFor("VERBARIUM_THESAURUS_PATH", QStringLiteral("thesaurus"), QStringLiteral("mythes"));
}

QStringList ThesaurusCatalog::dataFolders()
{
    QStringList folders{xdgDataHome()};
    folders += xdgDataDirs();
    folders << QStringLiteral("/usr/local/share") << QStringLiteral("/usr/share");
    folders.removeDuplicates();
    return folders;
}

QStringList ThesaurusCatalog::defaultHunspellSearchPath()
{
    // Folders named in the environment are the word forms' own (VERBARIUM_DICTIONARY_PATH).
    return searchPathFor(nullptr, QStringLiteral("hunspell"), QStringLiteral("hunspell"));
}

QString ThesaurusCatalog::localeFromBaseName(const QString &baseName, int *version)
{
    // th_<locale>[_vN][_new] and thes_<locale>[_vN][_new]; the locale is a language of
    // two or three small letters, then an optional script ("Latn") and region ("RS").
    // Read part by part rather than by a regular expression, whose compilation alone
    // costs a lookup tool's start more than reading every name of the data folders.
    const QList<QStringView> parts = QStringView(baseName).split(u'_');
    const auto all = [](QStringView text, char16_t first, char16_t last) {
        return std::all_of(text.begin(), text.end(), [&](QChar c) { return c >= first && c <= last; });
    };
    if (parts.size() < 2 || (parts[0] != u"th" && parts[0] != u"thes"))
        return {};
    qsizetype end = parts.size();
    if (end > 2 && parts[end - 1] == u"new")
        --end;
    QStringView digits;
    if (end > 2 && parts[end - 1].size() > 1 && parts[end - 1][0] == u'v' && all(parts[end - 1].sliced(1), u'0', u'9'))
        digits = parts[--end].sliced(1);
    qsizetype at = 1;
    if (parts[at].size() < 2 || parts[at].size() > 3 || !all(parts[at], u'a', u'z'))
        return {};
    ++at;
    if (at < end && parts[at].size() == 4 && all(parts[at].first(1), u'A', u'Z') && all(parts[at].sliced(1), u'a', u'z'))
        ++at;
    if (at < end && parts[at].size() == 2 && all(parts[at], u'A', u'Z'))
        ++at;
    if (at != end)
        return {};
    if (version)
        *version = digits.toInt();
    const qsizetype localeStart = parts[0].size() + 1;
    return baseName.sliced(localeStart, parts[end - 1].end() - parts[1].begin());
}

namespace {

// One entry of a folder, as the folder's listing gives it.
struct FolderEntry {
    QByteArray name;
    unsigned char type; // DT_REG, DT_DIR, DT_LNK... or DT_UNKNOWN
};

// A folder's entries, sorted by name, and the folder held open, so that what the
// entries stand for is asked by name within it rather than by a path walked again
// from the root for each. The listing's own file types spare a stat of each entry:
// the start of every process lists the folders, and the system's holds a hundred
// and fifty files.
class Folder
{
public:
    explicit Folder(const QByteArray &path) : m_dir(::opendir(path.constData()))
    {
        if (!m_dir)
            return;
        while (const dirent *entry = ::readdir(m_dir))
            m_entries.push_back({QByteArray(entry->d_name), entry->d_type});
        std::sort(m_entries.begin(), m_entries.end(),
                  [](const FolderEntry &a, const FolderEntry &b) { return a.name < b.name; });
    }
    ~Folder()
    {
        if (m_dir)
            ::closedir(m_dir);
    }
    Folder(const Folder &) = delete;
    Folder &operator=(const Folder &) = delete;

    const std::vector<FolderEntry> &entries() const { return m_entries; }
    const FolderEntry *entry(const QByteArray &name) const
    {
        const auto it = std::lower_bound(m_entries.cbegin(), m_entries.cend(), name,
                                         [](const FolderEntry &e, const QByteArray &n) { return e.name < n; });
        return it != m_entries.cend() && it->name == name ? &*it : nullptr;
    }
    // What an entry stands for, following symbolic links: DT_REG, DT_DIR, another
    // DT_ value, or DT_UNKNOWN when nothing is there, with the errno that says why
    // (a link to nothing, a loop of links).
    unsigned char typeOf(const FolderEntry &entry, int *error = nullptr) const
    {
        if (entry.type != DT_LNK && entry.type != DT_UNKNOWN)
            return entry.type;
        struct stat info {
        };
        if (::fstatat(::dirfd(m_dir), entry.name.constData(), &info, 0) != 0) {
            if (error)
                *error = errno;
            return DT_UNKNOWN;
        }
        return S_ISREG(info.st_mode) ? DT_REG : S_ISDIR(info.st_mode) ? DT_DIR : DT_FIFO;
    }
    bool isReadable(const FolderEntry &entry) const
    {
        return ::faccessat(::dirfd(m_dir), entry.name.constData(), R_OK, 0) == 0;
    }

private:
    DIR *m_dir;
    std::vector<FolderEntry> m_entries;
};

} // namespace

ThesaurusCatalog::ThesaurusCatalog(const QStringList &searchPath) : m_searchPath(searchPath)
{
    // Earlier folders win; within a folder the highest format version wins. An index
    // counts when it is a readable regular file and its data file is there.
    for (const QString &folder : searchPath) {
        const QString shownFolder = QDir(folder).path();
        const QString absoluteFolder = QDir::cleanPath(QDir(folder).absolutePath());
        const Folder listing(QFile::encodeName(absoluteFolder) + '/');
        QHash<QString, std::pair<int, DataFiles>> inFolder;
        for (const FolderEntry &entry : listing.entries()) {
            if (!entry.name.endsWith(".idx"))
                continue;
            const QByteArray base = entry.name.chopped(4);
            int version = 0;
            const QString baseName = QFile::decodeName(base);
            const QString locale = localeFromBaseName(baseName, &version);
            if (locale.isEmpty())
                continue;
            const QString shownBase = shownFolder + QLatin1Char('/') + baseName;
            const QString linkBase = absoluteFolder + QLatin1Char('/') + baseName;
            int error = 0;
            const unsigned char type = listing.typeOf(entry, &error);
            if (type == DT_UNKNOWN) {
                // A link that leads nowhere is told; a name gone since the listing is not.
                if (entry.type == DT_LNK)
                    m_unreadable.append({shownBase + QStringLiteral(".idx"),
                                         RegularFile::reasonFor(linkBase + QStringLiteral(".idx"), error)});
                continue;
            }
            const char *why = type != DT_REG               ? "it is not a regular file"
                              : !listing.isReadable(entry) ? "permission denied"
                                                           : nullptr;
            if (why) {
                m_unreadable.append({shownBase + QStringLiteral(".idx"), QString::fromLatin1(why)});
                continue;
            }
            // An index without its data serves nothing: said of the data file, with the cause.
            const FolderEntry *dat = listing.entry(base + ".dat");
            if (!dat) {
                m_unreadable.append({shownBase + QStringLiteral(".dat"),
                                     QStringLiteral("it is missing, though its index %1.idx is there").arg(baseName)});
                continue;
            }
            if (listing.typeOf(*dat, &error) == DT_UNKNOWN) {
                m_unreadable.append({shownBase + QStringLiteral(".dat"),
                                     RegularFile::reasonFor(linkBase + QStringLiteral(".dat"), error)});
                continue;
            }
            auto it = inFolder.find(locale);
            if (it == inFolder.end() || it->first < version) {
                const QString path = absoluteFolder + QLatin1Char('/') + baseName;
                inFolder.insert(
                    locale, {version, DataFiles{path + QStringLiteral(".idx"), path + QStringLiteral(".dat"), locale}});
            }
        }
        for (auto it = inFolder.cbegin(); it != inFolder.cend(); ++it) {
            if (!m_byLocale.contains(it.key()))
                m_byLocale.insert(it.key(), it->second);
        }
    }
}

QStringList ThesaurusCatalog::locales() const
{
    return LocaleFallback::sortedLocales(m_byLocale);
}

ThesaurusCatalog::DataFiles ThesaurusCatalog::find(const QString &locale, const QString &language,
                                                   const QString &preferredLocale) const
{
    return LocaleFallback::find(m_byLocale, locale, language, preferredLocale);
}
