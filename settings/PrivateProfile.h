#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <QString>
#include <QStringList>

#include <optional>

// An INI file with the reading and writing rules of the Windows private-profile
// functions: section and key names match without regard to case; a value is read
// without the blanks at its ends, without one pair of quotation marks that encloses
// it whole, and as at most 2047 characters; a default loses its trailing blanks.
// Writing a key changes that one line (or adds it) and leaves every other line of
// the file, comments included, where it was.
//
// The file is UTF-8. A file in the old 8-bit code page (Windows-1252) or in UTF-16
// with a byte-order mark is read as well, and comes back as UTF-8 at the next save;
// in a file of both, each line is read in its own encoding.
class PrivateProfile
{
public:
    static constexpr qsizetype MaxValueLength = 2047;

    // An empty profile; save() creates the file.
    PrivateProfile() = default;

    // A missing file gives an empty profile and true; false when the file exists
    // but cannot be read (an empty profile then, never a partial one), and then the
    // reason in `error` when asked. Only a regular file is read: a FIFO, a device or
    // a folder in its place is refused at once rather than waited on.
    bool load(const QString &path, QString *error = nullptr);
    void parse(const QByteArray &bytes);
    QByteArray toBytes() const;
    // Replaces the file only once the new content is complete on disk: a failed
    // write leaves the old file as it was. False when the file cannot be written.
    bool save(const QString &path) const;

    bool hasSection(const QString &section) const;
    bool hasKey(const QString &section, const QString &key) const;
    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    // The value as the file has it, without any of the reading rules; nothing when missing.
    std::optional<QString> readRaw(const QString &section, const QString &key) const;
    // The integer rule of toInteger(); anything that does not convert gives the default.
    qint32 readInteger(const QString &section, const QString &key, qint32 defaultValue) const;

    // Adds the section or the key when missing. False, and nothing changed, when the
    // names or the value cannot be kept on one line of the file.
    bool writeString(const QString &section, const QString &key, const QString &value);
    bool writeInteger(const QString &section, const QString &key, qint32 value);

    // Leading blanks, an optional sign, then decimal digits that fit a signed 32-bit
    // integer, or "$", "x", "X", "0x" or "0X" with one to eight hexadecimal digits
    // taken as a 32-bit pattern ($FFFFFFFF is -1). Nothing may follow.
    static std::optional<qint32> toInteger(QStringView text);

    // The platform's one-key calls: each opens the file and closes it again.
    static QString GetPrivateProfileString(const QString &section, const QString &key, const QString &defaultValue,
                                           const QString &path);
    static bool WritePrivateProfileString(const QString &section, const QString &key, const QString &value,
                                          const QString &path);

private:
    struct KeyLine {
        qsizetype index = -1;
        QString value; // raw, after the equals sign
    };
    // Lines [first, end) of the first section of that name; first < 0 when absent.
    std::pair<qsizetype, qsizetype> sectionRange(const QString &section) const;
    KeyLine findKey(qsizetype first, qsizetype end, const QString &key) const;

    QStringList m_lines;
    bool m_byteOrderMark = false;
#ifdef Q_OS_WIN
    bool m_crlf = true; // a new file gets the platform's line ends
#else
    bool m_crlf = false;
#endif
};
