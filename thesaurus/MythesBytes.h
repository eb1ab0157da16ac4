#pragma once

// What both readers of a MyThes pair (MythesIndex, MythesFile) do with the files'
// bytes: find a byte, read a number, and tell of damage in a message.

#include <QByteArrayView>
#include <QChar>
#include <QDir>
#include <QString>

#include <algorithm>
#include <cstring>

namespace MythesBytes {

// The message for damage met in a file of the pair, naming the file.
inline QString damaged(const QString &path, const QString &what)
{
    return QStringLiteral("The thesaurus file \"%1\" is damaged: %2").arg(QDir::toNativeSeparators(path), what);
}

// The first place of a byte from a position on, or -1: memchr, which the lookups
// lean on for every line and field.
inline qsizetype find(QByteArrayView data, char c, qsizetype from = 0)
{
    const void *at = from < data.size() ? std::memchr(data.data() + from, c, size_t(data.size() - from)) : nullptr;
    return at ? static_cast<const char *>(at) - data.data() : -1;
}

// A number of at most 12 digits and nothing else, no larger than limit.
inline bool parseCount(QByteArrayView text, qint64 limit, qint64 &value)
{
    if (text.isEmpty() || text.size() > 12)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return value <= limit;
}

// Data bytes as a message shows them: control characters and NULs written out as
// \xNN, bytes that are no UTF-8 as the replacement character, and cut after about
// 60 characters.
inline QString shown(QByteArrayView text)
{
    constexpr qsizetype most = 60;
    const QString decoded = QString::fromUtf8(text.first(std::min(text.size(), most)));
    QString result;
    qsizetype used = 0;
    for (; used < decoded.size() && result.size() < most; ++used) {
        const QChar c = decoded[used];
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            result += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            result += c;
    }
    if (text.size() > most || used < decoded.size())
        result += QChar(0x2026);
    return result;
}

} // namespace MythesBytes
