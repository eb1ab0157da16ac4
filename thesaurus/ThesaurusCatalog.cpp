#include "thesaurus/ThesaurusCatalog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

QStringList ThesaurusCatalog::defaultSearchPath()
{
    QStringList path;
    const QString fromEnvironment = qEnvironmentVariable("VERBARIUM_THESAURUS_PATH");
    if (!fromEnvironment.isEmpty())
        path += fromEnvironment.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    if (QCoreApplication::instance())
        path += QCoreApplication::applicationDirPath() + QStringLiteral("/thesaurus");
    path += QStringLiteral("/usr/local/share/mythes");
    path += QStringLiteral("/usr/share/mythes");
    return path;
}

QString ThesaurusCatalog::localeFromBaseName(const QString &baseName, int *version)
{
    // th_<locale>[_vN] and thes_<locale>; the locale is a language of two or three
    // letters with optional script and region parts.
    static const QRegularExpression pattern(QStringLiteral(
        "^(?:th|thes)_([a-z]{2,3}(?:_[A-Z][a-z]{3})?(?:_[A-Z]{2})?)(?:_v([0-9]+))?(?:_new)?$"));
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
    QStringList result = m_byLocale.keys();
    std::sort(result.begin(), result.end());
    return result;
}

ThesaurusCatalog::DataFiles ThesaurusCatalog::find(const QString &locale, const QString &language,
                                                   const QString &preferredLocale) const
{
    if (locale.isEmpty())
        return {};
    for (const QString &candidate : {locale, preferredLocale, language}) {
        if (!candidate.isEmpty() && m_byLocale.contains(candidate))
            return m_byLocale.value(candidate);
    }
    // Any other region of the language, the same one every time.
    // Only regions count: data in another script is no stand-in.
    static const QRegularExpression region(QStringLiteral("^_[A-Z]{2}$"));
    for (const QString &known : locales()) {
        if (known.startsWith(language) && region.match(QStringView(known).mid(language.size())).hasMatch())
            return m_byLocale.value(known);
    }
    return {};
}
