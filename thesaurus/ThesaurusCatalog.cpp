#include "thesaurus/ThesaurusCatalog.h"

#include "thesaurus/LocaleFallback.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

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
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
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

QStringList ThesaurusCatalog::defaultHunspellSearchPath()
{
    // Folders named in the environment are the word forms' own (VERBARIUM_DICTIONARY_PATH).
    return searchPathFor(nullptr, QStringLiteral("hunspell"), QStringLiteral("hunspell"));
}

QString ThesaurusCatalog::localeFromBaseName(const QString &baseName, int *version)
{
    // th_<locale>[_vN] and thes_<locale>; the locale is a language of two or three
    // letters with optional script and region parts.
    static const QRegularExpression pattern(
        QStringLiteral("^(?:th|thes)_([a-z]{2,3}(?:_[A-Z][a-z]{3})?(?:_[A-Z]{2})?)(?:_v([0-9]+))?(?:_new)?\\z"));
    const QRegularExpressionMatch match = pattern.match(baseName);
    if (!match.hasMatch())
        return {};
    if (version)
        *version = match.captured(2).toInt();
    return match.captured(1);
}

namespace {

// One entry of a folder, as the folder's listing gives it.
struct FolderEntry {
    QByteArray name;
    unsigned char type; // DT_REG, DT_DIR, DT_LNK... or DT_UNKNOWN
};

// A folder's entries, sorted by name; none for a folder that cannot be listed. The
// listing's own file types spare a stat of each entry: the start of every process
// lists the folders, and the system's holds a hundred and fifty files.
std::vector<FolderEntry> listFolder(const QByteArray &folder)
{
    std::vector<FolderEntry> entries;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return entries;
    while (const dirent *entry = ::readdir(dir))
        entries.push_back({QByteArray(entry->d_name), entry->d_type});
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const FolderEntry &a, const FolderEntry &b) { return a.name < b.name; });
    return entries;
}

// What a name stands for, following symbolic links: DT_REG, DT_DIR, another DT_
// value, or DT_UNKNOWN when nothing is there.
unsigned char typeOf(const QByteArray &path, unsigned char listed)
{
    if (listed != DT_LNK && listed != DT_UNKNOWN)
        return listed;
    struct stat info {
    };
    if (::stat(path.constData(), &info) != 0)
        return DT_UNKNOWN;
    return S_ISREG(info.st_mode) ? DT_REG : S_ISDIR(info.st_mode) ? DT_DIR : DT_FIFO;
}

} // namespace

ThesaurusCatalog::ThesaurusCatalog(const QStringList &searchPath) : m_searchPath(searchPath)
{
    // Earlier folders win; within a folder the highest format version wins. An index
    // counts when it is a readable regular file and its data file is there.
    for (const QString &folder : searchPath) {
        const QString shownFolder = QDir(folder).path();
        const QString absoluteFolder = QDir::cleanPath(QDir(folder).absolutePath());
        const QByteArray encodedFolder = QFile::encodeName(absoluteFolder) + '/';
        const std::vector<FolderEntry> entries = listFolder(encodedFolder);
        const auto listed = [&](const QByteArray &name) {
            const auto it = std::lower_bound(entries.cbegin(), entries.cend(), name,
                                             [](const FolderEntry &e, const QByteArray &n) { return e.name < n; });
            return it != entries.cend() && it->name == name ? &*it : nullptr;
        };
        QHash<QString, std::pair<int, DataFiles>> inFolder;
        for (const FolderEntry &entry : entries) {
            if (!entry.name.endsWith(".idx"))
                continue;
            const QByteArray base = entry.name.chopped(4);
            int version = 0;
            const QString baseName = QFile::decodeName(base);
            const QString locale = localeFromBaseName(baseName, &version);
            if (locale.isEmpty())
                continue;
            const QByteArray idx = encodedFolder + entry.name;
            const unsigned char type = typeOf(idx, entry.type);
            const char *why = type != DT_REG                         ? "it is not a regular file"
                              : ::access(idx.constData(), R_OK) != 0 ? "permission denied"
                                                                     : nullptr;
            if (why) {
                if (type != DT_UNKNOWN || entry.type == DT_LNK)
                    m_unreadable.append(
                        {shownFolder + QLatin1Char('/') + baseName + QStringLiteral(".idx"), QString::fromLatin1(why)});
                continue;
            }
            const FolderEntry *dat = listed(base + ".dat");
            if (!dat || typeOf(encodedFolder + dat->name, dat->type) == DT_UNKNOWN)
                continue;
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
