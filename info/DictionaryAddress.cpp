#include "info/DictionaryAddress.h"

#include <QUrl>

namespace DictionaryAddress {

QString languageCode(const QString &languageItemText)
{
    QString code = languageItemText.left(2);
    for (QChar &c : code) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return code;
}

QString build(const QString &baseUrl, const QString &word, const QString &languageItemText)
{
    const auto encoded = [](const QString &value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); };
    return baseUrl + QStringLiteral("/dictionaries/lookup.php?word=") + encoded(word) + QStringLiteral("&lang=")
           + encoded(languageCode(languageItemText));
}

} // namespace DictionaryAddress
