#include "thesaurus/MythesIndex.h"

#include "common/AppError.h"
#include "common/MappedFile.h"
#include "common/RegularFile.h"
#include "thesaurus/MythesBytes.h"

#include <QFile>
#include <QtAlgorithms>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

using MythesBytes::damaged;
using MythesBytes::find;
using MythesBytes::parseCount;
using MythesBytes::shown;

namespace {

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

// The headword of an index line as the order of the index goes by: up to its last
// bar; empty for an empty line or one without a bar.
QByteArrayView headwordOf(QByteArrayView line)
{
    const qsizetype bar = line.lastIndexOf('|');
    return bar < 0 ? QByteArrayView() : line.first(bar);
}

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

MythesIndex::MythesIndex(const QString &path, bool utf8, QStringEncoder encoder, std::function<qint64()> dataSize)
    : m_path(path), m_utf8(utf8), m_encoder(std::move(encoder)), m_dataSize(std::move(dataSize))
{
    QFile file(m_path);
    QString error;
    if (!RegularFile::openForReading(file, error))
        throw AppError(
            QStringLiteral("Cannot read the thesaurus file \"%1\": %2").arg(QDir::toNativeSeparators(m_path), error));
    if (file.size() > MaxSize)
        throw AppError(damaged(m_path, QStringLiteral("it is too large for an index (%1 bytes).").arg(file.size())));
    m_map = std::make_unique<MappedFile>(file);
    if (!m_map->isValid())
        throw AppError(QStringLiteral("Cannot read the thesaurus file \"%1\": %2")
                           .arg(QDir::toNativeSeparators(m_path), file.errorString()));
    m_bytes = m_map->bytes();

    LineReader lines(m_bytes);
    if (lines.atEnd())
        throw AppError(damaged(m_path, QStringLiteral("the file is empty.")));
    lines.next(); // the encoding, the same as the data's
    if (lines.atEnd() || !parseCount(lines.next().trimmed(), std::numeric_limits<int>::max(), m_declaredEntries))
        throw AppError(damaged(m_path, QStringLiteral("the number of entries is missing.")));
    m_body = lines.position();

    // The lines are checked a block at a time, when a search first reads one: the
    // open checks the block where they start, which is the whole of a small index.
    m_blockChecked.assign(size_t((m_bytes.size() + BlockSize - 1) / BlockSize), false);
    m_blocksLeft = qsizetype(m_blockChecked.size());
    for (qsizetype block = 0; block <= m_body / BlockSize && block < m_blocksLeft; ++block)
        checkIndexBlock(block);
    throwIfIndexChanged();
    // Damage where the lines start fails the open, as the first damaged line says.
    if (!m_damagedLines.isEmpty())
        throw AppError(*std::min_element(m_damagedLines.keyBegin(), m_damagedLines.keyEnd()).base());
}

MythesIndex::~MythesIndex() = default;

// Checks the lines that start in one block of the index: each is well formed,
// points inside the data file, and comes after the one before it (the first one
// after the last line of the block before). The check works on the bytes
// directly: one memchr per line, the offset read backwards from the line's end.
// A damaged line is kept with its message, for the lookups that meet it; the
// lines around it still answer.
void MythesIndex::checkIndexBlock(qsizetype block)
{
    if (m_blockChecked[size_t(block)])
        return;
    const char *const data = m_bytes.data();
    const char *const end = data + m_bytes.size();
    const char *const body = data + m_body;
    const char *const blockEnd = data + std::min((block + 1) * BlockSize, m_bytes.size());
    // The first line that starts in the block.
    const char *at = std::max(data + block * BlockSize, body);
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

    const qint64 datSize = m_dataSize();
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
            if (digits == stop || stop - digits > 12 || digits == at || digits[-1] != '|' || line.size() > MaxLineLength
                || offset > datSize - 1) {
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
AppError MythesIndex::indexError(const QString &what) const
{
    return AppError(damaged(m_path, m_map->changed() ? QStringLiteral("it was changed while it was open.") : what));
}

bool MythesIndex::indexChanged() const
{
    return m_map->changed();
}

void MythesIndex::throwIfIndexChanged() const
{
    if (indexChanged())
        throw indexError({});
}

MythesIndex::Lines MythesIndex::linesOf(const QString &word)
{
    Lines lines = linesOfExact(word);
    if (lines.empty()) {
        const QString lower = word.toLower();
        if (lower != word)
            lines = linesOfExact(lower);
    }
    return lines;
}

MythesIndex::Lines MythesIndex::linesOfExact(const QString &word)
{
    QByteArray key;
    if (m_utf8) {
        // Most words are ASCII, one byte a character in UTF-8: their key is made
        // here, without an encoder or an allocation.
        if (word.size() < MaxLineLength) {
            char ascii[MaxLineLength];
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

MythesIndex::Lines MythesIndex::linesOfKey(QByteArrayView key)
{
    if (key.isEmpty() || key.size() >= MaxLineLength)
        return {};
    if (!m_indexSorted)
        return linesOfKeyUnsorted(key);

    // By halves over the index's bytes: the probe's line is the one the middle byte
    // falls in; lo always stands at the start of a line. Every line compared is in a
    // checked block; a block found out of order sends the search to the sorted copy.
    // A damaged line is passed over: the line after it is compared in its place.
    const char *const data = m_bytes.data();
    const qsizetype size = m_bytes.size();
    const auto checked = [this](qsizetype lineStart) {
        if (const qsizetype block = lineStart / BlockSize; !m_blockChecked[size_t(block)])
            checkIndexBlock(block);
        return m_indexSorted;
    };
    const auto nextLine = [&](qsizetype lineStart) {
        const qsizetype end = find(m_bytes, '\n', lineStart);
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
        if (probe < hi && compareHeadword(m_bytes, probe, key) < 0)
            lo = nextLine(probe);
        else
            hi = start;
    }
    // Some data has two entries for one headword; the word has the meanings of both.
    // A damaged line where the word would stand fails the lookup when no healthy
    // line names the word: the damaged one may be its own.
    Lines found;
    qsizetype damagedWhereTheWordWouldBe = -1;
    for (qsizetype at = lo; at < size; at = nextLine(at)) {
        if (!checked(at))
            return linesOfKeyUnsorted(key);
        if (isDamagedLine(at)) {
            if (damagedWhereTheWordWouldBe < 0)
                damagedWhereTheWordWouldBe = at;
            continue;
        }
        if (compareHeadword(m_bytes, at, key) != 0)
            break;
        found.push_back(at);
    }
    throwIfIndexChanged();
    if (found.empty() && damagedWhereTheWordWouldBe >= 0)
        throw AppError(m_damagedLines.value(damagedWhereTheWordWouldBe));
    return found;
}

bool MythesIndex::isDamagedLine(qsizetype lineStart) const
{
    return !m_damagedLines.isEmpty() && m_damagedLines.contains(lineStart);
}

// An index out of order is searched through a copy of its line positions sorted by
// headword, made the first time it is needed, after every line is checked.
MythesIndex::Lines MythesIndex::linesOfKeyUnsorted(QByteArrayView key)
{
    if (!m_sortedLinesMade) {
        for (qsizetype block = 0; block < qsizetype(m_blockChecked.size()); ++block)
            checkIndexBlock(block);
        for (qsizetype at = m_body; at < m_bytes.size();) {
            const QByteArrayView line = indexLine(at);
            if (!headwordOf(line).isEmpty() && !isDamagedLine(at))
                m_sortedLines.push_back(at);
            const qsizetype end = find(m_bytes, '\n', at);
            at = end < 0 ? m_bytes.size() : end + 1;
        }
        std::stable_sort(m_sortedLines.begin(), m_sortedLines.end(), [this](qsizetype a, qsizetype b) {
            return headwordOf(indexLine(a)) < headwordOf(indexLine(b));
        });
        throwIfIndexChanged();
        m_sortedLinesMade = true;
    }
    Lines found;
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
qint64 MythesIndex::entrySizeHint(qsizetype indexLineStart, qint64 offset) const
{
    constexpr qint64 most = 64 * 1024;
    constexpr qint64 nextLine = 256;
    const qsizetype end = find(m_bytes, '\n', indexLineStart);
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
