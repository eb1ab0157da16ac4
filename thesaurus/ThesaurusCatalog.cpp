#include "thesaurus/ThesaurusCatalog.h"

#include "thesaurus/LocaleFallback.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

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

QStringList searchPathFor(const char *variable, const QString &userFolder, const QString &systemFolder)
{
    QStringList path;
    const QString fromEnvironment = variable ? qEnvironmentVariable(variable) : QString();
    if (!fromEnvironment.isEmpty())
        path += fromEnvironment.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    path += xdgDataHome() + QStringLiteral("/verbarium-pro/") + userFolder;
    for (const QString &dir : xdgDataDirs())
        path += dir + QLatin1Char('/') + systemFolder;
    if (QCoreApplication::instance())
        path += QCoreApplication::applicationDirPath() + QLatin1Char('/') + userFolder;
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
        QStringLiteral("^(?:th|thes)_([a-z]{2,3}(?:_[A-Z][a-z]{3})?(?:_[A-Z]{2})?)(?:_v([0-9]+))?(?:_new)?$"));
    const QRegularExpressionMatch match = pattern.match(baseName);
    if (!match.hasMatch())
        return {};
    if (version)
        *version = match.captured(2).toInt();
    return match.captured(1);
}

ThesaurusCatalog::ThesaurusCatalog(const QStringList &searchPath) : m_searchPath(searchPath)
{
    // Earlier folders win; within a folder the highest format version wins.
    for (const QString &folder : searchPath) {
        QHash<QString, std::pair<int, DataFiles>> inFolder;
        const QFileInfoList entries = QDir(folder).entryInfoList({QStringLiteral("*.idx")}, QDir::Files | QDir::Readable);
        for (const QFileInfo &idx : entries) {
            int version = 0;
            const QString locale = localeFromBaseName(idx.completeBaseName(), &version);
            if (locale.isEmpty())
                continue;
            const QString dat = idx.absolutePath() + QLatin1Char('/') + idx.completeBaseName() + QStringLiteral(".dat");
            if (!QFileInfo::exists(dat))
                continue;
            auto it = inFolder.find(locale);
            if (it == inFolder.end() || it->first < version)
                inFolder.insert(locale, {version, DataFiles{idx.absoluteFilePath(), dat, locale}});
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
