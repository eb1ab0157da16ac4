#include "thesaurus/MythesFile.h"

#include "common/AppError.h"
#include "common/RegularFile.h"
#include "thesaurus/AntonymMarkers.h"
#include "thesaurus/MythesBytes.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstring>
#include <limits>

#include <cerrno>
#include <unistd.h>

using MythesBytes::damaged;
using MythesBytes::find;
using MythesBytes::parseCount;
using MythesBytes::shown;

namespace {

QByteArrayView withoutBom(QByteArrayView line)
{
    return line.startsWith("\xEF\xBB\xBF") ? line.sliced(3) : line;
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

// notes, when given, gets the notes taken off, in reading order, joined by "; ".
QStringView withoutNotes(QStringView field, bool &antonym, const QStringList &markers, QString *notes = nullptr)
{
    field = trimmed(field);
    antonym = false;
    if (notes)
        notes->clear();
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
        const QStringView note = field.sliced(open + 1, field.size() - open - 2);
        if (namesAntonym(note, markers))
            antonym = true;
        if (notes)
            notes->prepend(notes->isEmpty() ? note.trimmed().toString() : note.trimmed() + QStringLiteral("; "));
        field = trimmed(field.first(open));
    }
    return field;
}

// A decoded field of our own appended to the synonyms when it is one (not an
// antonym, not empty): the synonym usually starts the string, which is then cut
// down where it stands instead of copied.
void addOwnSynonym(QString &&text, QStringList &synonyms, const QStringList &markers)
{
    bool antonym = false;
    const QStringView field = withoutNotes(text, antonym, markers);
    if (field.isEmpty() || antonym)
        return;
    if (field.data() == text.constData()) {
        text.truncate(field.size());
        synonyms.append(std::move(text));
    } else {
        synonyms.append(field.toString());
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
    // Hunspell's name for Windows-1251, which the converters do not know.
    if (dataName == "MICROSOFT-CP1251")
        return QByteArrayLiteral("WINDOWS-1251");
    if (dataName.startsWith("ISO8859"))
        dataName.replace(0, 7, "ISO-8859");
    else if (dataName.startsWith("CP-"))
        dataName.replace(0, 3, "WINDOWS-");
    else if (dataName.startsWith("CP"))
        dataName.replace(0, 2, "WINDOWS-");
    return dataName;
}

MythesFile::MythesFile(const QString &idxPath, const QString &datPath)
    : m_datPath(datPath), m_language(AntonymMarkers::languageOfDataFile(datPath)),
      m_antonymMarkers(AntonymMarkers::forLanguage(m_language))
{
    QStringEncoder encoder = openData();
    // The index checks its offsets against the data file's size as it is then.
    m_index.emplace(idxPath, m_utf8, std::move(encoder), [dat = m_dat.get()] { return dat->size(); });
}

MythesFile::~MythesFile() = default;

QStringEncoder MythesFile::openData()
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
    QStringEncoder encoder;
    if (!m_utf8) {
        const QByteArray codec = codecName(name);
        // Stateless: half a character at the end of one field never reaches the next.
        if (printable) {
            encoder = QStringEncoder(codec.constData());
            m_decoder = QStringDecoder(codec.constData(), QStringConverter::Flag::Stateless);
        }
        if (!printable || !encoder.isValid() || !m_decoder.isValid())
            throw AppError(damaged(m_datPath, QStringLiteral("its text encoding \"%1\" is unknown.")
                                                  .arg(shown(newline < 0 ? line : QByteArrayView(name)))));
    }
    m_encoding = QString::fromLatin1(name);
    return encoder;
}

bool MythesFile::indexChanged() const
{
    return m_index->indexChanged();
}

void MythesFile::addField(QStringView field, Meaning &meaning, const QStringList &antonymMarkers)
{
    bool antonym = false;
    QString notes;
    field = withoutNotes(field, antonym, antonymMarkers, &notes);
    if (field.isEmpty())
        return;
    if (antonym) {
        meaning.antonyms.append(field.toString());
    } else {
        meaning.synonyms.append(field.toString());
        meaning.notes.append(notes);
    }
}

MythesFile::Entry MythesFile::lookup(const QString &word)
{
    Entry entry;
    entry.language = m_language;
    const IndexLines lines = m_index->linesOf(word);
    entry.found = !lines.empty();
    forEachMeaningLine(lines, [&](QByteArrayView line) {
        Meaning meaning;
        if (const qsizetype bar = find(line, '|'); bar >= 0)
            meaning.label = decoded(line.first(bar)).trimmed();
        // Decoded field by field, as the synonym lists are read without their notes.
        forEachField(line, [&](QByteArrayView field) { addField(decoded(field), meaning, m_antonymMarkers); });
        entry.meanings.append(std::move(meaning));
    });
    return entry;
}

bool MythesFile::appendSynonyms(const QString &word, QStringList &synonyms)
{
    const IndexLines lines = m_index->linesOf(word);
    forEachMeaningLine(lines, [&](QByteArrayView line) {
        const bool ascii = m_utf8 && isAscii(line);
        forEachField(line, [&](QByteArrayView field) { addDataSynonym(field, synonyms, ascii); });
    });
    return !lines.empty();
}

void MythesFile::addDataSynonym(QByteArrayView field, QStringList &synonyms, bool asciiLine)
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
            if (!kept.isEmpty() && !antonym)
                synonyms.append(asciiLine ? QString::fromLatin1(kept) : QString::fromUtf8(kept));
            return;
        }
    }
    // Decoded whole, from the field's first byte: a byte order mark there is
    // dropped, one after a blank is kept.
    addOwnSynonym(decoded(field), synonyms, m_antonymMarkers);
}

template <typename OnLine>
void MythesFile::forEachMeaningLine(const IndexLines &indexLines, OnLine &&onLine)
{
    // Every entry is a line "word|count" at the start of a line, followed by exactly
    // count meaning lines and then the next entry's line or the end of the file.
    for (const qsizetype at : indexLines) {
        const QByteArrayView line = m_index->indexLine(at);
        const qsizetype bar = line.lastIndexOf('|');
        const QByteArrayView word = line.first(bar);
        qint64 offset = 0;
        parseCount(line.sliced(bar + 1), std::numeric_limits<qint64>::max(), offset);
        const auto notThere = [&] {
            return AppError(damaged(
                m_index->path(),
                QStringLiteral("the entry \"%1\" points to byte %2, where it does not stand.").arg(shown(word)).arg(offset)));
        };
        if (offset < m_firstEntry)
            throw notThere();

        // Read from the byte before: a line break there makes the first line empty.
        DataLines lines(*m_dat, m_readBuffer, offset - 1, m_index->entrySizeHint(at, offset));
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
            && m_index->linesOfKey(text.first(nextBar < 0 ? text.size() : nextBar)).empty())
            throw AppError(damaged(
                m_datPath, QStringLiteral("\"%1\" at byte %2 is not an entry line.").arg(shown(text)).arg(start)));
    }
}

QString MythesFile::decoded(QByteArrayView bytes)
{
    return m_utf8 ? QString::fromUtf8(bytes) : m_decoder.decode(bytes);
}
