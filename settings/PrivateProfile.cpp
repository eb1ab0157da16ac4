#include "settings/PrivateProfile.h"

#include "common/RegularFile.h"
#include "common/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <limits>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView trimBlanks(QStringView text)
{
    qsizetype first = 0, last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.sliced(first, last - first);
}

QStringView trimTrailingBlanks(QStringView text)
{
    qsizetype last = text.size();
    while (last > 0 && isBlank(text[last - 1]))
        --last;
    return text.first(last);
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

bool hasLineBreak(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

// The name in a "[name]" line, or nothing for any other line.
std::optional<QStringView> sectionHeader(QStringView line)
{
    const QStringView text = trimBlanks(line);
    if (!text.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = text.indexOf(u']');
    return trimBlanks(text.sliced(1, (close < 0 ? text.size() : close) - 1));
}

// Key and raw value of a "key=value" line; comments and other lines give nothing.
std::optional<std::pair<QStringView, QStringView>> keyLine(QStringView line)
{
    const QStringView text = trimBlanks(line);
    if (text.isEmpty() || text.startsWith(u';') || text.startsWith(u'['))
        return std::nullopt;
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return std::nullopt;
    return std::pair{trimBlanks(line.first(equals)), line.sliced(equals + 1)};
}

QString decode(const QByteArray &bytes, bool &byteOrderMark)
{
    byteOrderMark = false;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        byteOrderMark = true;
        return QString::fromUtf8(bytes.sliced(3));
    }
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder utf16(QStringConverter::Utf16LE);
        return utf16(bytes.sliced(2));
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    // Not UTF-8 throughout: a file from the old 8-bit code page, or a UTF-8 file
    // that an old editor added a line to. Each line is read in its own encoding,
    // so that the next save, which writes UTF-8, keeps the UTF-8 lines as they are.
    text.clear();
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        const qsizetype end = newline < 0 ? bytes.size() : newline + 1;
        const QByteArrayView line = QByteArrayView(bytes).sliced(start, end - start);
        QStringDecoder lineUtf8(QStringConverter::Utf8);
        QString decoded = lineUtf8(line);
        if (lineUtf8.hasError()) {
            QStringDecoder ansi("windows-1252");
            decoded = ansi.isValid() ? QString(ansi(line)) : QString::fromLatin1(line);
        }
        text += decoded;
        start = end;
    }
    return text;
}

} // namespace

bool PrivateProfile::load(const QString &path, QString *error)
{
    *this = PrivateProfile();
    QFile file(path);
    if (!file.exists())
        return true;
    QString reason;
    if (!RegularFile::openForReading(file, reason)) {
        if (error)
            *error = QStringLiteral("Cannot read \"%1\": %2.").arg(QDir::toNativeSeparators(path), reason);
        return false;
    }
    parse(file.readAll());
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Cannot read \"%1\": %2.").arg(QDir::toNativeSeparators(path), file.errorString());
        *this = PrivateProfile();
        return false;
    }
    return true;
}

void PrivateProfile::parse(const QByteArray &bytes)
{
    const QString text = decode(bytes, m_byteOrderMark);
    m_lines.clear();
    if (text.isEmpty())
        return; // keeps the platform's line ends
    m_crlf = text.contains(QStringLiteral("\r\n"));
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalized.replace(u'\r', u'\n');
    m_lines = normalized.split(u'\n');
    if (m_lines.constLast().isEmpty())
        m_lines.removeLast();
}

QByteArray PrivateProfile::toBytes() const
{
    const QString eol = m_crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QByteArray bytes = m_byteOrderMark ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    for (const QString &line : m_lines)
        bytes += (line + eol).toUtf8();
    return bytes;
}

bool PrivateProfile::save(const QString &path) const
{
    const QFileInfo info(path);
    // A read-only file stays untouched, as the platform would keep it.
    if (info.exists() && (!info.isFile() || !info.isWritable()))
        return false;
    return WholeFile::write(path, toBytes()).isEmpty();
}

std::pair<qsizetype, qsizetype> PrivateProfile::sectionRange(const QString &section) const
{
    const QString wanted = trimBlanks(section).toString();
    qsizetype first = -1;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const auto header = sectionHeader(m_lines.at(i));
        if (!header)
            continue;
        if (first >= 0)
            return {first, i};
        if (header->compare(wanted, Qt::CaseInsensitive) == 0)
            first = i;
    }
    return {first, m_lines.size()};
}

PrivateProfile::KeyLine PrivateProfile::findKey(qsizetype first, qsizetype end, const QString &key) const
{
    const QString wanted = trimBlanks(key).toString();
    for (qsizetype i = first + 1; i < end; ++i) {
        const auto entry = keyLine(m_lines.at(i));
        if (entry && entry->first.compare(wanted, Qt::CaseInsensitive) == 0)
            return {i, entry->second.toString()};
    }
    return {};
}

bool PrivateProfile::hasSection(const QString &section) const
{
    return sectionRange(section).first >= 0;
}

bool PrivateProfile::hasKey(const QString &section, const QString &key) const
{
    const auto [first, end] = sectionRange(section);
    return first >= 0 && findKey(first, end, key).index >= 0;
}

QString PrivateProfile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const auto [first, end] = sectionRange(section);
    const KeyLine found = first >= 0 ? findKey(first, end, key) : KeyLine();
    if (found.index < 0)
        return trimTrailingBlanks(defaultValue).left(MaxValueLength).toString();
    QStringView value = trimBlanks(found.value);
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    return value.left(MaxValueLength).toString();
}

std::optional<QString> PrivateProfile::readRaw(const QString &section, const QString &key) const
{
    const auto [first, end] = sectionRange(section);
    const KeyLine found = first >= 0 ? findKey(first, end, key) : KeyLine();
    if (found.index < 0)
        return std::nullopt;
    return found.value;
}

qint32 PrivateProfile::readInteger(const QString &section, const QString &key, qint32 defaultValue) const
{
    return toInteger(readString(section, key, QString())).value_or(defaultValue);
}

bool PrivateProfile::writeString(const QString &section, const QString &key, const QString &value)
{
    const QStringView sectionName = trimBlanks(section);
    const QStringView keyName = trimBlanks(key);
    // A line break would put lines of its own into the file, and such names could
    // not be found again.
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value) || sectionName.isEmpty()
        || sectionName.contains(u']') || keyName.isEmpty() || keyName.contains(u'=') || keyName.startsWith(u';')
        || keyName.startsWith(u'['))
        return false;

    auto [first, end] = sectionRange(section);
    if (first < 0) {
        if (!m_lines.isEmpty() && !trimBlanks(m_lines.constLast()).isEmpty())
            m_lines.append(QString());
        m_lines.append(u'[' + sectionName.toString() + u']');
        m_lines.append(keyName.toString() + u'=' + value);
        return true;
    }
    const KeyLine found = findKey(first, end, key);
    if (found.index >= 0) {
        // Keep the key's spelling as the file has it.
        const QString &line = m_lines.at(found.index);
        m_lines[found.index] = line.first(line.indexOf(u'=') + 1) + value;
        return true;
    }
    qsizetype insertAt = first + 1;
    for (qsizetype i = first + 1; i < end; ++i) {
        if (keyLine(m_lines.at(i)))
            insertAt = i + 1;
    }
    m_lines.insert(insertAt, keyName.toString() + u'=' + value);
    return true;
}

bool PrivateProfile::writeInteger(const QString &section, const QString &key, qint32 value)
{
    return writeString(section, key, QString::number(value));
}

std::optional<qint32> PrivateProfile::toInteger(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    const QStringView rest = text.sliced(i);
    qsizetype hexStart = -1;
    if (rest.startsWith(u'$') || rest.startsWith(u'x') || rest.startsWith(u'X'))
        hexStart = 1;
    else if (rest.startsWith(QLatin1StringView("0x"), Qt::CaseInsensitive))
        hexStart = 2;

    if (hexStart > 0) {
        const QStringView digits = rest.sliced(hexStart);
        if (digits.isEmpty() || digits.size() > 8)
            return std::nullopt;
        quint32 pattern = 0;
        for (QChar c : digits) {
            const int digit = hexDigit(c);
            if (digit < 0)
                return std::nullopt;
            pattern = pattern << 4 | quint32(digit);
        }
        return qint32(negative ? 0u - pattern : pattern);
    }

    if (rest.isEmpty())
        return std::nullopt;
    qint64 magnitude = 0;
    for (QChar c : rest) {
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c.unicode() - u'0');
        if (magnitude > qint64(1) << 31)
            return std::nullopt;
    }
    const qint64 result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(result);
}

QString PrivateProfile::GetPrivateProfileString(const QString &section, const QString &key, const QString &defaultValue,
                                                const QString &path)
{
    PrivateProfile profile;
    profile.load(path);
    return profile.readString(section, key, defaultValue);
}

bool PrivateProfile::WritePrivateProfileString(const QString &section, const QString &key, const QString &value,
                                               const QString &path)
{
    PrivateProfile profile;
    // Never write over a file whose content could not be read: its other keys would go.
    return profile.load(path) && profile.writeString(section, key, value) && profile.save(path);
}
