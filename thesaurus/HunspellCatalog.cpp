#include "thesaurus/HunspellCatalog.h"

#include "thesaurus/LocaleFallback.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

HunspellCatalog::HunspellCatalog(const QStringList &searchPath)
{
    static const QRegularExpression localeName(QStringLiteral("^[a-z]{2,3}(?:_[A-Z][a-z]{3})?(?:_[A-Z]{2})?$"));
    // Earlier folders win; a folder counts for a locale when it has either file, so
    // that a half pair is reported instead of silently passed over.
    for (const QString &folder : searchPath) {
        const QDir dir(folder);
        const QFileInfoList entries = dir.entryInfoList({QStringLiteral("*.dic"), QStringLiteral("*.aff")}, QDir::Files);
        QHash<QString, Files> inFolder;
        for (const QFileInfo &file : entries) {
            const QString locale = file.completeBaseName();
            if (!localeName.match(locale).hasMatch() || m_byLocale.contains(locale))
                continue;
            const QString base = file.absolutePath() + QLatin1Char('/') + locale;
            inFolder.insert(locale, Files{base + QStringLiteral(".aff"), base + QStringLiteral(".dic"), locale});
        }
        m_byLocale.insert(inFolder);
    }
}

QStringList HunspellCatalog::locales() const
{
    return LocaleFallback::sortedLocales(m_byLocale);
}

HunspellCatalog::Files HunspellCatalog::find(const QString &locale, const QString &language,
                                             const QString &preferredLocale) const
{
    return LocaleFallback::find(m_byLocale, locale, language, preferredLocale);
}
