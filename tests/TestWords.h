#pragma once

#include <QString>
#include <QStringList>

namespace TestWords {

// "a, b, c" -> {"a", "b", "c"}
inline QStringList words(const char *text)
{
    QStringList result;
    for (const QString &word : QString::fromUtf8(text).split(QLatin1Char(','), Qt::SkipEmptyParts))
        result.append(word.trimmed());
    return result;
}

} // namespace TestWords
