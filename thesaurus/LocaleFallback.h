#pragma once

#include <QHash>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <algorithm>

// The files that serve a locale, for every kind of data found by locale (thesaurus
// pairs, Hunspell dictionaries): the exact locale, then the preferred locale of the
// same language, then a file for the bare language, then any other region of it.
namespace LocaleFallback {

template <typename Files>
QStringList sortedLocales(const QHash<QString, Files> &byLocale)
{
    QStringList result = byLocale.keys();
    std::sort(result.begin(), result.end());
    return result;
}

template <typename Files>
Files find(const QHash<QString, Files> &byLocale, const QString &locale, const QString &language,
           const QString &preferredLocale)
{
    if (locale.isEmpty())
        return {};
    for (const QString &candidate : {locale, preferredLocale, language}) {
        if (!candidate.isEmpty() && byLocale.contains(candidate))
            return byLocale.value(candidate);
    }
    // Any other region of the language, the same one every time.
    // Only regions count: data in another script is no stand-in.
    static const QRegularExpression region(QStringLiteral("^_[A-Z]{2}$"));
    for (const QString &known : sortedLocales(byLocale)) {
        if (known.startsWith(language) && region.match(QStringView(known).mid(language.size())).hasMatch())
            return byLocale.value(known);
    }
    return {};
}

} // namespace LocaleFallback
