#include "thesaurus/MythesFile.h"

#include "common/AppError.h"
#include "common/MappedFile.h"
#include "thesaurus/AntonymMarkers.h"
#include "common/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <QtAlgorithms>

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include <cerrno>
#include <unistd.h>

namespace {

QString damaged(const QString &path, const QString &what)
{
    return QStringLiteral("The thesaurus file \"%1\" is damaged: %2").arg(QDir::toNativeSeparators(path), what);
}

// The first place of a byte from a position on, or -1: memchr, which the lookups
// lean on for every line and field.
qsizetype find(QByteArrayView data, char c, qsizetype from = 0)
{
    const void *at = from < data.size() ? std::memchr(data.data() + from, c, size_t(data.size() - from)) : nullptr;
    return at ? static_cast<const char *>(at) - data.data() : -1;
}

// Walks a buffer line by line; a line ends at '\n', a '\r' before it is dropped.
class LineReader
{
public:
    explicit LineReader(QByteArrayView data) : m_data(data) {}
    bool atEnd() const { return m_pos >= m_data.size(); }
    qsizetype position() const { return m_pos; }
    QByteArrayView next()
    {
        const qsizetype end = find(m_data, '\n', m_pos);
        const qsizetype stop = end < 0 ? m_data.size() : end;
        QByteArrayView line = m_data.sliced(m_pos, stop - m_pos);
        m_pos = end < 0 ? m_data.size() : end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        return line;
    }

private:
    QByteArrayView m_data;
    qsizetype m_pos = 0;
};

bool parseCount(QByteArrayView text, qint64 limit, qint64 &value)
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

// The number that ends right before end, counting back over at most available
// bytes: how many digits it has (13 when there are more than 12) and its value.
// Every line of an index ends in one and real offsets have at most eight digits,
// so eight bytes are tested and read at once where they can be.
qsizetype numberBefore(const char *end, qsizetype available, qint64 &value)
{
    qsizetype run = 0;
    value = 0;
    if (available >= 8) {
        quint64 bytes = 0;
        std::memcpy(&bytes, end - 8, 8);
        bytes = qFromLittleEndian(bytes); // the byte before end is the highest
        constexpr quint64 ones = 0x0101010101010101;
        constexpr quint64 highs = 0x80 * ones;
        const quint64 low = bytes & ~highs;
        // A byte is a digit when its high bit is clear and its low seven bits are
        // at least '0' and below '9' + 1; the sums stay within each byte.
        const quint64 digits = (low + (0x80 - '0') * ones) & ~(low + (0x80 - '9' - 1) * ones) & ~bytes & highs;
        const quint64 others = ~digits & highs;
        run = others ? qCountLeadingZeroBits(others) / 8 : 8;
        if (run == 0)
            return 0;
        if (run < 8 || available == 8 || end[-9] < '0' || end[-9] > '9') {
            // The bytes before the number read as '0', then eight digits at once:
            // pairs, fours, eight.
            const quint64 kept = ~quint64(0) << (8 * (8 - run));
            quint64 number = ((bytes & kept) | ('0' * ones & ~kept)) - '0' * ones;
            number = (number * 10 + (number >> 8)) & 0x00FF00FF00FF00FF;
            number = (number * 100 + (number >> 16)) & 0x0000FFFF0000FFFF;
            number = (number * 10000 + (number >> 32)) & 0xFFFFFFFF;
            value = qint64(number);
            return run;
        }
    }
    while (run < available && run <= 12 && end[-run - 1] >= '0' && end[-run - 1] <= '9')
        ++run;
    for (const char *d = end - run; d < end; ++d)
        value = value * 10 + (*d - '0');
    return run;
}

QByteArrayView withoutBom(QByteArrayView line)
{
    return line.startsWith("\xEF\xBB\xBF") ? line.sliced(3) : line;
}

// Data bytes as a message shows them: control characters and NULs written out as
// \xNN, bytes that are no UTF-8 as the replacement character, and cut after about
// 60 characters.
QString shown(QByteArrayView text)
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

// Whether a note names an antonym, letter case aside: "antonym" or one of the data
// language's own markers. Notes are nearly always ASCII, where folding ASCII letters
// answers as Qt's full case folding does, at a fraction of its cost; any other note
// goes the general way.
bool namesAntonym(QStringView note, const QStringList &markers)
{
    for (const QString &marker : markers) {
        if (note.contains(marker, Qt::CaseInsensitive))
            return true;
    }
    static constexpr char16_t word[] = u"antonym";
    constexpr qsizetype length = std::size(word) - 1;
    for (const QChar c : note) {
        if (c.unicode() >= 0x80)
            return note.contains(QLatin1StringView("antonym"), Qt::CaseInsensitive);
    }
    for (qsizetype i = 0; i + length <= note.size(); ++i) {
        qsizetype j = 0;
        while (j < length && (note[i + j].unicode() | 0x20) == word[j])
            ++j;
        if (j == length)
            return true;
    }
    return false;
}

// "city (generic term)" -> "city"; sets antonym when a note says so.
// Most fields have no blanks at their ends to take off.
QStringView trimmed(QStringView text)
{
    return text.isEmpty() || (!text.front().isSpace() && !text.back().isSpace()) ? text : text.trimmed();
}

QStringView withoutNotes(QStringView field, bool &antonym, const QStringList &markers)
{
    field = trimmed(field);
    antonym = false;
    // Peel off trailing notes: "word (ugs.) (veraltet)".
    while (field.endsWith(QLatin1Char(')'))) {
        int depth = 0;
        qsizetype open = -1;
        for (qsizetype i = field.size() - 1; i >= 0; --i) {
            if (field[i] == QLatin1Char(')'))
                ++depth;
            else if (field[i] == QLatin1Char('(') && --depth == 0) {
                open = i;
                break;
            }
        }
        if (open <= 0 || !field[open - 1].isSpace())
            break; // "(ugs.)" alone or "word(s)": not a note after a word
        if (namesAntonym(field.sliced(open + 1, field.size() - open - 2), markers))
            antonym = true;
        field = trimmed(field.first(open));
    }
    return field;
}

// MythesFile::addField for a decoded field of our own: the synonym usually starts
// the string, which is then cut down where it stands instead of copied.
void addOwnField(QString &&text, QStringList &synonyms, QStringList *antonyms, const QStringList &markers)
{
    bool antonym = false;
    const QStringView field = withoutNotes(text, antonym, markers);
    if (field.isEmpty() || (antonym && !antonyms))
        return;
    QStringList &list = antonym ? *antonyms : synonyms;
    if (field.data() == text.constData()) {
        text.truncate(field.size());
        list.append(std::move(text));
    } else {
        list.append(field.toString());
    }
}

// A blank as QChar::isSpace says, for the bytes that are ASCII; the bytes 0x85 and
// 0xA0, which share their numbers with blanks, stand in UTF-8 only inside a character.
bool isAsciiBlank(char c)
{
    return uchar(c) < 0x80 && QChar::isSpace(char32_t(uchar(c)));
}

bool isAscii(QByteArrayView bytes)
{
    uchar all = 0; // every byte or'ed together: its high bit set when one is not ASCII
    for (const char c : bytes)
        all |= uchar(c);
    return all < 0x80;
}

// namesAntonym for the bytes of a UTF-8 note, given from its '(' on.
bool noteNamesAntonym(QByteArrayView openAndNote, const QStringList &markers)
{
    const QByteArrayView note = openAndNote.sliced(1);
    static constexpr char word[] = "antonym";
    constexpr qsizetype length = std::size(word) - 1;
    if (!markers.isEmpty() || !isAscii(note)) {
        // Decoded from the '(' on, whose ASCII byte keeps a byte order mark at the
        // note's start from being dropped as at the start of a text.
        const QString decoded = QString::fromUtf8(openAndNote);
        return namesAntonym(QStringView(decoded).sliced(1), markers);
    }
    for (qsizetype i = 0; i + length <= note.size(); ++i) {
        qsizetype j = 0;
        while (j < length && (note[i + j] | 0x20) == word[j])
            ++j;
        if (j == length)
            return true;
    }
    return false;
}

// Byte by byte, what withoutNotes does to the characters of a UTF-8 field. UTF-8
// writes each ASCII character as that one byte and uses no such byte for any other
// character, so blanks, parentheses and ASCII notes read the same as bytes, and the
// synonym is decoded alone, straight from the data. Where a decision rests on a
// character beyond ASCII (one at an end may be one of Unicode's blanks) it answers
// false, and the field goes the general way, decoded whole.
template <typename NoteNamesAntonym>
bool withoutNotesUtf8(QByteArrayView &field, bool &antonym, NoteNamesAntonym &&noteNamesAntonym)
{
    antonym = false;
    for (;;) {
        qsizetype begin = 0;
        qsizetype end = field.size();
        while (begin < end && isAsciiBlank(field[begin]))
            ++begin;
        while (end > begin && isAsciiBlank(field[end - 1]))
            --end;
        field = field.sliced(begin, end - begin);
        if (field.isEmpty())
            return true;
        if (uchar(field.front()) >= 0x80 || uchar(field.back()) >= 0x80)
            return false;
        if (field.back() != ')')
            return true;
        // The '(' that the last ')' closes: the last '(' when no ')' stands between.
        const qsizetype last = field.size() - 1;
        const void *at = memrchr(field.data(), '(', size_t(last));
        qsizetype open = at ? static_cast<const char *>(at) - field.data() : -1;
        if (open >= 0 && std::memchr(field.data() + open + 1, ')', size_t(last - open - 1))) {
            int depth = 0;
            open = -1;
            for (qsizetype i = last; i >= 0; --i) {
                if (field[i] == ')')
                    ++depth;
                else if (field[i] == '(' && --depth == 0) {
                    open = i;
                    break;
                }
            }
        }
        if (open <= 0)
            return true;
        if (uchar(field[open - 1]) >= 0x80)
            return false;
        if (!isAsciiBlank(field[open - 1]))
            return true; // "word(s)": not a note after a word
        if (noteNamesAntonym(field.sliced(open, last - open)))
            antonym = true;
        field = field.first(open);
    }
}

// The fields of a meaning line after its part of speech; a line without a bar is
// a single field.
template <typename OnField>
void forEachField(QByteArrayView line, OnField &&onField)
{
    qsizetype bar = find(line, '|');
    if (bar < 0)
        onField(line);
    while (bar >= 0) {
        line = line.sliced(bar + 1);
        bar = find(line, '|');
        onField(bar < 0 ? line : line.first(bar));
    }
}

} // namespace

// The data file, read at positions: no read goes past its end as it is at the
// moment of the read, however the file changes while it is open.
class MythesFile::DataFile
{
public:
    explicit DataFile(const QString &path) : m_file(path)
    {
        QString error;
        if (!RegularFile::openForReading(m_file, error))
            throw AppError(
                QStringLiteral("Cannot read the thesaurus file \"%1\": %2").arg(QDir::toNativeSeparators(path), error));
    }
    qint64 size() const { return m_file.size(); }
    // Up to length bytes from a position; fewer at the end of the file.
    qint64 readAt(qint64 position, char *into, qint64 length)
    {
        qint64 done = 0;
        while (done < length) {
            const ssize_t got = ::pread(m_file.handle(), into + done, size_t(length - done), off_t(position + done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                throw AppError(QStringLiteral("Cannot read the thesaurus file \"%1\": %2")
                                   .arg(QDir::toNativeSeparators(m_file.fileName()),
                                        QString::fromLocal8Bit(std::strerror(errno))));
            if (got == 0)
                break;
            done += got;
        }
        return done;
    }

private:
    QFile m_file;
};

// Reads the data file line by line from a position, a block at a time, holding no
// more than the longest line allowed; a line ends at '\n', a '\r' before it is dropped.
class MythesFile::DataLines
{
public:
    enum Status { Line, End, TooLong };

    // The buffer is the caller's, kept from one read to the next so that a lookup
    // allocates nothing once the first has sized it.
    // The first read takes firstRead bytes: an entry whose size is known is read
    // whole at once.
    DataLines(DataFile &file, QByteArray &buffer, qint64 from, qint64 firstRead = 4096)
        : m_file(file), m_buffer(buffer), m_bufferStart(from), m_nextRead(qsizetype(firstRead))
    {
    }

    // The next line, valid until the next call, and where it starts; at the end,
    // an empty line, as the one before may have moved with the buffer.
    Status next(QByteArrayView &line, qint64 &start)
    {
        line = QByteArrayView();
        start = m_bufferStart + m_begin; // kept by fill(), which moves both
        qsizetype scanned = m_begin;     // searched for '\n' up to here
        for (;;) {
            if (scanned < m_end) {
                if (const void *newline = std::memchr(m_buffer.data() + scanned, '\n', size_t(m_end - scanned))) {
                    const qsizetype stop = static_cast<const char *>(newline) - m_buffer.data();
                    return take(line, stop, stop + 1);
                }
            }
            // A line may carry a '\r' beyond the longest allowed before its '\n'.
            if (m_end - m_begin > qsizetype(MythesFile::MaxLineLength) + 1)
                return TooLong;
            const qsizetype searched = m_end - m_begin;
            if (!fill())
                return m_end > m_begin ? take(line, m_end, m_end) : End;
            scanned = m_begin + searched;
        }
    }

private:
    Status take(QByteArrayView &line, qsizetype stop, qsizetype next)
    {
        line = QByteArrayView(m_buffer.data() + m_begin, stop - m_begin);
        m_begin = next;
        if (line.endsWith('\r'))
            line.chop(1);
        return line.size() > MythesFile::MaxLineLength ? TooLong : Line;
    }

    // Moves the unread bytes to the front and reads more; false at the end of the file.
    bool fill()
    {
        const qsizetype pending = m_end - m_begin;
        if (m_begin > 0) {
            std::memmove(m_buffer.data(), m_buffer.constData() + m_begin, size_t(pending));
            m_bufferStart += m_begin;
            m_begin = 0;
            m_end = pending;
        }
        // What the first read was asked to take, then twice what is pending when a
        // line goes on.
        const qsizetype wanted = pending + std::max<qsizetype>(pending, m_nextRead);
        m_nextRead = 4096;
        if (m_buffer.size() < wanted)
            m_buffer.resize(wanted);
        const qint64 got = m_file.readAt(m_bufferStart + m_end, m_buffer.data() + m_end, qint64(wanted - m_end));
        m_end += got;
        return got > 0;
    }

    DataFile &m_file;
    QByteArray &m_buffer; // resized without being filled
    qint64 m_bufferStart; // the file position of the buffer's first byte
    qsizetype m_nextRead;
    qsizetype m_begin = 0;
    qsizetype m_end = 0;
};

QByteArray MythesFile::codecName(QByteArray dataName)
{
    dataName = dataName.trimmed().toUpper();
    if (dataName.startsWith("ISO8859"))
        dataName.replace(0, 7, "ISO-8859");
    else if (dataName.startsWith("CP-"))
        dataName.replace(0, 3, "WINDOWS-");
    else if (dataName.startsWith("CP"))
        dataName.replace(0, 2, "WINDOWS-");
    return dataName;
}

MythesFile::MythesFile(const QString &idxPath, const QString &datPath)
    : m_idxPath(idxPath), m_datPath(datPath),
      m_antonymMarkers(AntonymMarkers::forLanguage(AntonymMarkers::languageOfDataFile(datPath)))
{
    openData();
    openIndex(idxPath);
}

MythesFile::~MythesFile() = default;

void MythesFile::openData()
{
    m_dat = std::make_unique<DataFile>(m_datPath);
    // The first line names the encoding; only its first bytes are read, however
    // long it is.
    char head[3 + MaxEncodingLength + 2];
    const qint64 got = m_dat->readAt(0, head, sizeof head);
    if (got == 0)
        throw AppError(damaged(m_datPath, QStringLiteral("the file is empty.")));
    QByteArrayView line(head, got);
    const qsizetype newline = find(line, '\n');
    m_firstEntry = newline < 0 ? got : newline + 1;
    if (newline >= 0)
        line.truncate(newline);
    const QByteArray name = withoutBom(line).toByteArray().trimmed();
    const bool printable = newline >= 0
                           && std::all_of(name.cbegin(), name.cend(), [](char c) { return c > ' ' && c < 127; });
    m_utf8 = name.compare("UTF-8", Qt::CaseInsensitive) == 0 || name.compare("UTF8", Qt::CaseInsensitive) == 0;
    if (!m_utf8) {
        const QByteArray codec = codecName(name);
        // Stateless: half a character at the end of one field never reaches the next.
        if (printable) {
            m_encoder = QStringEncoder(codec.constData());
            m_decoder = QStringDecoder(codec.constData(), QStringConverter::Flag::Stateless);
        }
        if (!printable || !m_encoder.isValid() || !m_decoder.isValid())
            throw AppError(damaged(m_datPath, QStringLiteral("its text encoding \"%1\" is unknown.")
                                                  .arg(shown(newline < 0 ? line : QByteArrayView(name)))));
    }
    m_encoding = QString::fromLatin1(name);
}

void MythesFile::openIndex(const QString &idxPath)
{
    QFile file(idxPath);
    QString error;
    if (!RegularFile::openForReading(file, error))
        throw AppError(
            QStringLiteral("Cannot read the thesaurus file \"%1\": %2").arg(QDir::toNativeSeparators(idxPath), error));
    if (file.size() > MaxIndexSize)
        throw AppError(damaged(idxPath, QStringLiteral("it is too large for an index (%1 bytes).").arg(file.size())));
    m_indexMap = std::make_unique<MappedFile>(file);
    if (!m_indexMap->isValid())
        throw AppError(QStringLiteral("Cannot read the thesaurus file \"%1\": %2")
                           .arg(QDir::toNativeSeparators(idxPath), file.errorString()));
    m_index = m_indexMap->bytes();

    LineReader lines(m_index);
    if (lines.atEnd())
        throw AppError(damaged(idxPath, QStringLiteral("the file is empty.")));
    lines.next(); // the encoding, the same as the data's
    if (lines.atEnd() || !parseCount(lines.next().trimmed(), std::numeric_limits<int>::max(), m_declaredEntries))
        throw AppError(damaged(idxPath, QStringLiteral("the number of entries is missing.")));
    m_body = lines.position();

    // The lines are checked a block at a time, when a search first reads one: the
    // open checks the block where they start, which is the whole of a small index.
    m_blockChecked.assign(size_t((m_index.size() + IndexBlockSize - 1) / IndexBlockSize), false);
    m_blocksLeft = qsizetype(m_blockChecked.size());
    for (qsizetype block = 0; block <= m_body / IndexBlockSize && block < m_blocksLeft; ++block)
        checkIndexBlock(block);
    throwIfIndexChanged();
    // Damage where the lines start fails the open, as the first damaged line says.
    if (!m_damagedLines.isEmpty())
        throw AppError(*std::min_element(m_damagedLines.keyBegin(), m_damagedLines.keyEnd()).base());
}

namespace {

// The headword of an index line as the order of the index goes by: up to its last
// bar; empty for an empty line or one without a bar.
QByteArrayView headwordOf(QByteArrayView line)
{
    const qsizetype bar = line.lastIndexOf('|');
    return bar < 0 ? QByteArrayView() : line.first(bar);
}

} // namespace

// Checks the lines that start in one block of the index: each is well formed,
// points inside the data file, and comes after the one before it (the first one
// after the last line of the block before). The check works on the bytes
// directly: one memchr per line, the offset read backwards from the line's end.
// A damaged line is kept with its message, for the lookups that meet it; the
// lines around it still answer.
void MythesFile::checkIndexBlock(qsizetype block)
{
    if (m_blockChecked[size_t(block)])
        return;
    const char *const data = m_index.data();
    const char *const end = data + m_index.size();
    const char *const body = data + m_body;
    const char *const blockEnd = data + std::min((block + 1) * IndexBlockSize, m_index.size());
    // The first line that starts in the block.
    const char *at = std::max(data + block * IndexBlockSize, body);
    if (at > body && at < blockEnd && at[-1] != '\n') {
        const void *newline = std::memchr(at, '\n', size_t(blockEnd - at));
        at = newline ? static_cast<const char *>(newline) + 1 : blockEnd;
    }
    // The line before it, for the order.
    const char *previous = at;
    qsizetype previousSize = 0;
    if (at > body && at < blockEnd) {
        const void *newline = at - 1 > body ? memrchr(body, '\n', size_t(at - 1 - body)) : nullptr;
        previous = newline ? static_cast<const char *>(newline) + 1 : body;
        QByteArrayView line(previous, at - 1 - previous);
        if (line.endsWith('\r'))
            line.chop(1);
        previousSize = headwordOf(line).size();
    }

    const qint64 datSize = m_dat->size();
    qint64 counted = 0;
    bool sorted = true;
    std::vector<std::pair<qsizetype, QString>> damaged;
    while (at < blockEnd) {
        const void *newline = std::memchr(at, '\n', size_t(end - at));
        const char *const next = newline ? static_cast<const char *>(newline) + 1 : end;
        const char *stop = newline ? static_cast<const char *>(newline) : end;
        if (stop > at && stop[-1] == '\r')
            --stop;
        qsizetype wordSize = 0;
        if (stop > at) {
            ++counted;
            // "word|offset": the digits after the last bar, at most 12 of them, found
            // backwards from the line's end, then read forwards.
            qint64 offset = 0;
            const char *const digits = stop - numberBefore(stop, stop - at, offset);
            const QByteArrayView line(at, stop - at);
            QString damage;
            if (digits == stop || stop - digits > 12 || digits == at || digits[-1] != '|'
                || line.size() > MaxIndexLineLength || offset > datSize - 1) {
                damage = QStringLiteral("\"%1\" is not an index line.").arg(shown(line));
            } else if (std::memchr(at, '|', size_t(digits - 1 - at))) {
                // The data's entry line takes its count after the first bar, so a
                // headword with a bar of its own names no entry at all.
                damage = QStringLiteral("the entry \"%1\" points to byte %2, where it does not stand.")
                             .arg(shown(QByteArrayView(at, digits - 1 - at)))
                             .arg(offset);
            }
            if (!damage.isEmpty()) {
                // Kept for the searches that meet it, and left out of the order.
                damaged.emplace_back(at - data, indexError(damage).message());
                at = next;
                continue;
            }
            wordSize = digits - 1 - at;
        }
        if (sorted) {
            // Byte by byte, as QByteArrayView orders them; the beginning they share
            // is skipped eight bytes at a time.
            const qsizetype common = std::min(wordSize, previousSize);
            qsizetype i = 0;
            for (; i + 8 <= common; i += 8) {
                quint64 mine = 0;
                quint64 theirs = 0;
                std::memcpy(&mine, at + i, 8);
                std::memcpy(&theirs, previous + i, 8);
                // The first byte that differs is the lowest one read.
                if (const quint64 differ = qFromLittleEndian(mine) ^ qFromLittleEndian(theirs)) {
                    i += qCountTrailingZeroBits(differ) / 8;
                    break;
                }
            }
            while (i < common && at[i] == previous[i])
                ++i;
            if (i < common ? static_cast<unsigned char>(at[i]) < static_cast<unsigned char>(previous[i])
                           : wordSize < previousSize)
                sorted = false;
        }
        previous = at;
        previousSize = wordSize;
        at = next;
    }
    throwIfIndexChanged();

    m_blockChecked[size_t(block)] = true;
    m_countedEntries += counted;
    for (auto &[position, message] : damaged)
        m_damagedLines.insert(position, message);
    if (!sorted)
        m_indexSorted = false;
    // Once every block is checked, the lines are counted: a count that differs is
    // reported then, once. Damaged lines say more of what is wrong, and are told
    // in its place.
    if (--m_blocksLeft == 0 && m_countedEntries != m_declaredEntries && m_damagedLines.isEmpty())
        throw indexError(
            QStringLiteral("it declares %1 entries but holds %2.").arg(m_declaredEntries).arg(m_countedEntries));
}

// Damage of the index; when the file was cut short under the map, that is what
// is wrong, whatever the zeros read in place of its bytes looked like.
AppError MythesFile::indexError(const QString &what) const
{
    return AppError(damaged(m_idxPath, m_indexMap->changed() ? QStringLiteral("it was changed while it was open.") : what));
}

bool MythesFile::indexChanged() const
{
    return m_indexMap->changed();
}

void MythesFile::throwIfIndexChanged() const
{
    if (indexChanged())
        throw indexError({});
}

void MythesFile::addField(QStringView field, Meaning &meaning, const QStringList &antonymMarkers)
{
    bool antonym = false;
    field = withoutNotes(field, antonym, antonymMarkers);
    if (field.isEmpty())
        return;
    (antonym ? meaning.antonyms : meaning.synonyms).append(field.toString());
}

MythesFile::Entry MythesFile::lookup(const QString &word)
{
    Entry entry;
    const IndexLines lines = linesOf(word);
    entry.found = !lines.empty();
    forEachMeaningLine(lines, [&](QByteArrayView line) {
        Meaning meaning;
        const bool ascii = m_utf8 && isAscii(line);
        forEachField(line, [&](QByteArrayView field) { addDataField(field, meaning.synonyms, &meaning.antonyms, ascii); });
        entry.meanings.append(std::move(meaning));
    });
    return entry;
}

bool MythesFile::appendSynonyms(const QString &word, QStringList &synonyms)
{
    const IndexLines lines = linesOf(word);
    forEachMeaningLine(lines, [&](QByteArrayView line) {
        const bool ascii = m_utf8 && isAscii(line);
        forEachField(line, [&](QByteArrayView field) { addDataField(field, synonyms, nullptr, ascii); });
    });
    return !lines.empty();
}

void MythesFile::addDataField(QByteArrayView field, QStringList &synonyms, QStringList *antonyms, bool asciiLine)
{
    if (m_utf8) {
        // The fields of a meaning mostly carry the same note: its answer is kept.
        const auto namesAntonym = [this](QByteArrayView openAndNote) {
            if (openAndNote != QByteArrayView(m_lastNote)) {
                m_lastNote.resize(openAndNote.size());
                std::memcpy(m_lastNote.data(), openAndNote.data(), size_t(openAndNote.size()));
                m_lastNoteNamesAntonym = noteNamesAntonym(openAndNote, m_antonymMarkers);
            }
            return m_lastNoteNamesAntonym;
        };
        QByteArrayView kept = field;
        bool antonym = false;
        if (withoutNotesUtf8(kept, antonym, namesAntonym)) {
            // ASCII, as nearly all English is, widens without being decoded.
            if (!kept.isEmpty() && (!antonym || antonyms))
                (antonym ? *antonyms : synonyms).append(asciiLine ? QString::fromLatin1(kept) : QString::fromUtf8(kept));
            return;
        }
    }
    // Decoded whole, from the field's first byte: a byte order mark there is
    // dropped, one after a blank is kept.
    addOwnField(decoded(field), synonyms, antonyms, m_antonymMarkers);
}

MythesFile::IndexLines MythesFile::linesOf(const QString &word)
{
    IndexLines lines = linesOfExact(word);
    if (lines.empty()) {
        const QString lower = word.toLower();
        if (lower != word)
            lines = linesOfExact(lower);
    }
    return lines;
}

QByteArrayView MythesFile::indexLine(qsizetype start) const
{
    const QByteArrayView rest = QByteArrayView(m_index).sliced(start);
    const qsizetype end = find(rest, '\n');
    QByteArrayView line = end < 0 ? rest : rest.first(end);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

namespace {

// headwordOf(the line at start) against a key, as QByteArrayView compares them
// (bytes unsigned), in one walk over the line: the open has checked that a line
// with a bar has only the one before its offset, and that a line without is empty
// (or a lone '\r').
int compareHeadword(QByteArrayView index, qsizetype start, QByteArrayView key)
{
    QByteArrayView line = index.sliced(start);
    if (line.startsWith('\r'))
        line = line.sliced(1).startsWith('\n') || line.size() == 1 ? QByteArrayView() : line;
    for (qsizetype i = 0;; ++i) {
        if (i == line.size() || line[i] == '\n')
            return key.isEmpty() ? 0 : -1; // no bar: the empty headword
        if (line[i] == '|')
            return i == key.size() ? 0 : -1;
        if (i == key.size())
            return 1;
        if (line[i] != key[i])
            return uchar(line[i]) < uchar(key[i]) ? -1 : 1;
    }
}

} // namespace

MythesFile::IndexLines MythesFile::linesOfExact(const QString &word)
{
    QByteArray key;
    if (m_utf8) {
        // Most words are ASCII, one byte a character in UTF-8: their key is made
        // here, without an encoder or an allocation.
        if (word.size() < MaxIndexLineLength) {
            char ascii[MaxIndexLineLength];
            qsizetype length = 0;
            for (const QChar c : word) {
                if (c.unicode() >= 0x80 || c == QLatin1Char('|') || c == QLatin1Char('\n'))
                    break;
                ascii[length++] = char(c.unicode());
            }
            if (length == word.size())
                return linesOfKey(QByteArrayView(ascii, length));
        }
        key = word.toUtf8();
    } else {
        key = m_encoder.encode(word);
        const bool unencodable = m_encoder.hasError();
        m_encoder.resetState();
        if (unencodable)
            return {}; // no headword of this file can hold the word
    }
    if (key.contains('|') || key.contains('\n'))
        return {};
    return linesOfKey(key);
}

MythesFile::IndexLines MythesFile::linesOfKey(QByteArrayView key)
{
    if (key.isEmpty() || key.size() >= MaxIndexLineLength)
        return {};
    if (!m_indexSorted)
        return linesOfKeyUnsorted(key);

    // By halves over the index's bytes: the probe's line is the one the middle byte
    // falls in; lo always stands at the start of a line. Every line compared is in a
    // checked block; a block found out of order sends the search to the sorted copy.
    // A damaged line is passed over: the line after it is compared in its place.
    const char *const data = m_index.data();
    const qsizetype size = m_index.size();
    const auto checked = [this](qsizetype lineStart) {
        if (const qsizetype block = lineStart / IndexBlockSize; !m_blockChecked[size_t(block)])
            checkIndexBlock(block);
        return m_indexSorted;
    };
    const auto nextLine = [&](qsizetype lineStart) {
        const qsizetype end = find(m_index, '\n', lineStart);
        return end < 0 ? size : end + 1;
    };
    qsizetype lo = m_body;
    qsizetype hi = size;
    while (lo < hi) {
        const qsizetype mid = lo + (hi - lo) / 2;
        const void *before = mid > lo ? memrchr(data + lo, '\n', size_t(mid - lo)) : nullptr;
        const qsizetype start = before ? static_cast<const char *>(before) - data + 1 : lo;
        qsizetype probe = start;
        if (!checked(probe))
            return linesOfKeyUnsorted(key);
        while (probe < hi && isDamagedLine(probe)) {
            probe = nextLine(probe);
            if (probe < hi && !checked(probe))
                return linesOfKeyUnsorted(key);
        }
        if (probe < hi && compareHeadword(m_index, probe, key) < 0)
            lo = nextLine(probe);
        else
            hi = start;
    }
    // Some data has two entries for one headword; the word has the meanings of both.
    // A damaged line where the word would stand fails the lookup when no healthy
    // line names the word: the damaged one may be its own.
    IndexLines found;
    qsizetype damagedWhereTheWordWouldBe = -1;
    for (qsizetype at = lo; at < size; at = nextLine(at)) {
        if (!checked(at))
            return linesOfKeyUnsorted(key);
        if (isDamagedLine(at)) {
            if (damagedWhereTheWordWouldBe < 0)
                damagedWhereTheWordWouldBe = at;
            continue;
        }
        if (compareHeadword(m_index, at, key) != 0)
            break;
        found.push_back(at);
    }
    throwIfIndexChanged();
    if (found.empty() && damagedWhereTheWordWouldBe >= 0)
        throw AppError(m_damagedLines.value(damagedWhereTheWordWouldBe));
    return found;
}

bool MythesFile::isDamagedLine(qsizetype lineStart) const
{
    return !m_damagedLines.isEmpty() && m_damagedLines.contains(lineStart);
}

// An index out of order is searched through a copy of its line positions sorted by
// headword, made the first time it is needed, after every line is checked.
MythesFile::IndexLines MythesFile::linesOfKeyUnsorted(QByteArrayView key)
{
    if (!m_sortedLinesMade) {
        for (qsizetype block = 0; block < qsizetype(m_blockChecked.size()); ++block)
            checkIndexBlock(block);
        for (qsizetype at = m_body; at < m_index.size();) {
            const QByteArrayView line = indexLine(at);
            if (!headwordOf(line).isEmpty() && !isDamagedLine(at))
                m_sortedLines.push_back(at);
            const qsizetype end = find(m_index, '\n', at);
            at = end < 0 ? m_index.size() : end + 1;
        }
        std::stable_sort(m_sortedLines.begin(), m_sortedLines.end(), [this](qsizetype a, qsizetype b) {
            return headwordOf(indexLine(a)) < headwordOf(indexLine(b));
        });
        throwIfIndexChanged();
        m_sortedLinesMade = true;
    }
    IndexLines found;
    const auto first = std::lower_bound(m_sortedLines.cbegin(), m_sortedLines.cend(), key,
                                        [this](qsizetype a, QByteArrayView k) { return headwordOf(indexLine(a)) < k; });
    for (auto it = first; it != m_sortedLines.cend() && headwordOf(indexLine(*it)) == key; ++it)
        found.push_back(*it);
    throwIfIndexChanged();
    if (found.empty()) {
        // A damaged line that may be the word's own, as far as it can be read.
        for (auto it = m_damagedLines.cbegin(); it != m_damagedLines.cend(); ++it) {
            const QByteArrayView line = indexLine(it.key());
            const QByteArrayView word = headwordOf(line);
            if (word == key || (word.isEmpty() && line.startsWith(key)))
                throw AppError(it.value());
        }
    }
    return found;
}

// How many bytes to read for the entry of an index line at the first read: up to
// where the next line of the index points, when that is a little further on (data
// files keep their entries in the order of the index, nearly all of them), and a
// little more for the line after the entry. Only a first guess: the entry is read
// on as far as it goes.
qint64 MythesFile::entrySizeHint(qsizetype indexLineStart, qint64 offset) const
{
    constexpr qint64 most = 64 * 1024;
    constexpr qint64 nextLine = 256;
    const qsizetype end = find(m_index, '\n', indexLineStart);
    if (end < 0)
        return 4096;
    const QByteArrayView next = indexLine(end + 1);
    const qsizetype bar = next.lastIndexOf('|');
    qint64 nextOffset = 0;
    if (bar < 0 || !parseCount(next.sliced(bar + 1), std::numeric_limits<qint64>::max(), nextOffset)
        || nextOffset <= offset || nextOffset - offset > most)
        return 4096;
    return nextOffset - offset + 1 + nextLine;
}

template <typename OnLine>
void MythesFile::forEachMeaningLine(const IndexLines &indexLines, OnLine &&onLine)
{
    // Every entry is a line "word|count" at the start of a line, followed by exactly
    // count meaning lines and then the next entry's line or the end of the file.
    for (const qsizetype at : indexLines) {
        const QByteArrayView line = indexLine(at);
        const qsizetype bar = line.lastIndexOf('|');
        const QByteArrayView word = line.first(bar);
        qint64 offset = 0;
        parseCount(line.sliced(bar + 1), std::numeric_limits<qint64>::max(), offset);
        const auto notThere = [&] {
            return AppError(damaged(
                m_idxPath,
                QStringLiteral("the entry \"%1\" points to byte %2, where it does not stand.").arg(shown(word)).arg(offset)));
        };
        if (offset < m_firstEntry)
            throw notThere();

        // Read from the byte before: a line break there makes the first line empty.
        DataLines lines(*m_dat, m_readBuffer, offset - 1, entrySizeHint(at, offset));
        QByteArrayView text;
        qint64 start = 0;
        if (lines.next(text, start) != DataLines::Line || !text.isEmpty())
            throw notThere();
        const auto tooLong = [&](qint64 where) {
            return AppError(damaged(m_datPath, QStringLiteral("a line at byte %1 is too long.").arg(where)));
        };
        const DataLines::Status status = lines.next(text, start);
        if (status == DataLines::End
            || (status == DataLines::Line
                && (text.size() <= word.size() || !text.startsWith(word) || text[word.size()] != '|')))
            throw notThere();
        if (status == DataLines::TooLong)
            throw tooLong(start);
        // The count follows the first bar, where MyThes reads it.
        qint64 count = 0;
        if (!parseCount(text.sliced(text.indexOf('|') + 1), MaxMeanings, count))
            throw AppError(damaged(
                m_datPath, QStringLiteral("\"%1\" at byte %2 is not an entry line.").arg(shown(text)).arg(start)));
        if (text.size() > MaxIndexLineLength)
            throw tooLong(start);

        for (qint64 i = 0; i < count; ++i) {
            const DataLines::Status meaning = lines.next(text, start);
            if (meaning == DataLines::End)
                throw AppError(damaged(m_datPath, QStringLiteral("the entry \"%1\" is cut short.").arg(shown(word))));
            if (meaning == DataLines::TooLong)
                throw tooLong(start);
            onLine(text);
        }
        // A count too low shows in what follows: a meaning line where the next
        // entry should begin. A line that starts like an entry of the index is that
        // entry's, damaged or not: its own lookup says so.
        const DataLines::Status after = lines.next(text, start);
        if (after == DataLines::TooLong)
            throw tooLong(start);
        if (after != DataLines::Line || text.isEmpty())
            continue;
        qint64 nextCount = 0;
        const qsizetype nextBar = text.indexOf('|');
        if ((nextBar < 0 || !parseCount(text.sliced(nextBar + 1), MaxMeanings, nextCount))
            && linesOfKey(text.first(nextBar < 0 ? text.size() : nextBar)).empty())
            throw AppError(damaged(
                m_datPath, QStringLiteral("\"%1\" at byte %2 is not an entry line.").arg(shown(text)).arg(start)));
    }
}

QString MythesFile::decoded(QByteArrayView bytes)
{
    return m_utf8 ? QString::fromUtf8(bytes) : m_decoder.decode(bytes);
}
