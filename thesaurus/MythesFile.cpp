#include "thesaurus/MythesFile.h"

#include "common/AppError.h"
#include "thesaurus/AntonymMarkers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

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

template <typename... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
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

QByteArrayView withoutBom(QByteArrayView line)
{
    return line.startsWith("\xEF\xBB\xBF") ? line.sliced(3) : line;
}

QString shown(QByteArrayView text)
{
    return QString::fromUtf8(text.first(std::min<qsizetype>(text.size(), 60)));
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

// A read-only view of a whole file.
class MythesFile::MappedFile
{
public:
    explicit MappedFile(const QString &path) : m_file(path)
    {
        if (!m_file.open(QIODevice::ReadOnly))
            throw AppError(QStringLiteral("Cannot read the thesaurus file \"%1\": %2")
                               .arg(QDir::toNativeSeparators(path), m_file.errorString()));
        const qint64 size = m_file.size();
        if (size > 0) {
            const char *data = reinterpret_cast<const char *>(m_file.map(0, size));
            if (!data)
                throw AppError(QStringLiteral("Cannot read the thesaurus file \"%1\": %2")
                                   .arg(QDir::toNativeSeparators(path), m_file.errorString()));
            m_view = QByteArrayView(data, size);
        }
    }
    QByteArrayView view() const { return m_view; }

private:
    QFile m_file;
    QByteArrayView m_view;
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
    : m_datPath(datPath), m_antonymMarkers(AntonymMarkers::forLanguage(AntonymMarkers::languageOfDataFile(datPath)))
{
    check(idxPath, datPath);
}

MythesFile::~MythesFile() = default;

void MythesFile::check(const QString &idxPath, const QString &datPath)
{
    std::vector<qsizetype> entryStarts;
    m_dat = std::make_unique<MappedFile>(datPath);
    const QByteArrayView data = m_dat->view();
    {
        LineReader lines(data);
        if (lines.atEnd())
            throw AppError(damaged(datPath, QStringLiteral("the file is empty.")));
        const QByteArray name = withoutBom(lines.next()).toByteArray().trimmed();
        m_utf8 = name.compare("UTF-8", Qt::CaseInsensitive) == 0 || name.compare("UTF8", Qt::CaseInsensitive) == 0;
        if (!m_utf8) {
            const QByteArray codec = codecName(name);
            m_encoder = QStringEncoder(codec.constData());
            m_decoder = QStringDecoder(codec.constData());
            if (!m_encoder.isValid() || !m_decoder.isValid())
                throw AppError(damaged(datPath, QStringLiteral("its text encoding \"%1\" is unknown.").arg(QString::fromLatin1(name))));
        }
        m_encoding = QString::fromLatin1(name);

        // Every entry is a line "word|count" followed by exactly count meaning lines.
        while (!lines.atEnd()) {
            const qsizetype start = lines.position();
            const QByteArrayView header = lines.next();
            if (header.isEmpty())
                continue;
            // The count follows the first bar, where MyThes reads it.
            const qsizetype bar = header.indexOf('|');
            qint64 count = 0;
            if (bar < 0 || !parseCount(header.sliced(bar + 1), MaxMeanings, count))
                throw AppError(damaged(datPath, QStringLiteral("\"%1\" at byte %2 is not an entry line.").arg(shown(header)).arg(start)));
            if (header.size() > MaxIndexLineLength)
                throw AppError(damaged(datPath, QStringLiteral("a line at byte %1 is too long.").arg(start)));
            entryStarts.push_back(start);
            for (qint64 i = 0; i < count; ++i) {
                if (lines.atEnd())
                    throw AppError(damaged(datPath, QStringLiteral("the entry \"%1\" is cut short.").arg(shown(header.first(bar)))));
                const qsizetype at = lines.position();
                if (lines.next().size() > MaxLineLength)
                    throw AppError(damaged(datPath, QStringLiteral("a line at byte %1 is too long.").arg(at)));
            }
        }
    }

    const MappedFile idx(idxPath);
    LineReader lines(idx.view());
    if (lines.atEnd())
        throw AppError(damaged(idxPath, QStringLiteral("the file is empty.")));
    lines.next(); // the encoding, the same as the data's
    qint64 declared = 0;
    if (lines.atEnd() || !parseCount(lines.next().trimmed(), std::numeric_limits<int>::max(), declared))
        throw AppError(damaged(idxPath, QStringLiteral("the number of entries is missing.")));
    qint64 counted = 0;
    m_index.clear();
    while (!lines.atEnd()) {
        const QByteArrayView line = lines.next();
        if (line.isEmpty())
            continue;
        ++counted;
        const qsizetype bar = line.lastIndexOf('|');
        qint64 offset = 0;
        if (bar < 0 || line.size() > MaxIndexLineLength || !parseCount(line.sliced(bar + 1), data.size() - 1, offset))
            throw AppError(damaged(idxPath, QStringLiteral("\"%1\" is not an index line.").arg(shown(line))));
        const QByteArrayView word = line.first(bar);
        if (word.isEmpty())
            continue; // some data indexes an empty headword; it is never looked up
        const QByteArrayView target = data.sliced(offset);
        if (!std::binary_search(entryStarts.begin(), entryStarts.end(), qsizetype(offset))
            || target.size() <= word.size() || !target.startsWith(word) || target[word.size()] != '|')
            throw AppError(damaged(idxPath, QStringLiteral("the entry \"%1\" points to byte %2, where it does not stand.")
                                                .arg(shown(word)).arg(offset)));
        m_index.push_back({qsizetype(offset), int(word.size())});
    }
    if (counted != declared)
        throw AppError(damaged(idxPath, QStringLiteral("it declares %1 entries but holds %2.").arg(declared).arg(counted)));
    // Sorted here rather than trusted to be: lookups search it by halves.
    const auto byWord = [this](const Headword &a, const Headword &b) { return headword(a) < headword(b); };
    if (!std::is_sorted(m_index.begin(), m_index.end(), byWord))
        std::stable_sort(m_index.begin(), m_index.end(), byWord);
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
    const auto [first, last] = entriesOf(word);
    entry.found = first != last;
    forEachMeaningLine(first, last, [&](QByteArrayView line) {
        Meaning meaning;
        forEachField(line, [&](QByteArrayView field) { addOwnField(decoded(field), meaning.synonyms, &meaning.antonyms, m_antonymMarkers); });
        entry.meanings.append(std::move(meaning));
    });
    return entry;
}

bool MythesFile::appendSynonyms(const QString &word, QStringList &synonyms)
{
    const auto [first, last] = entriesOf(word);
    forEachMeaningLine(first, last, [&](QByteArrayView line) {
        forEachField(line, [&](QByteArrayView field) { addOwnField(decoded(field), synonyms, nullptr, m_antonymMarkers); });
    });
    return first != last;
}

MythesFile::Range MythesFile::entriesOf(const QString &word)
{
    Range range = entriesOfExact(word);
    if (range.first == range.second) {
        const QString lower = word.toLower();
        if (lower != word)
            range = entriesOfExact(lower);
    }
    return range;
}

MythesFile::Range MythesFile::entriesOfExact(const QString &word)
{
    QByteArray key;
    if (m_utf8) {
        key = word.toUtf8();
    } else {
        key = m_encoder.encode(word);
        const bool unencodable = m_encoder.hasError();
        m_encoder.resetState();
        if (unencodable)
            return {}; // no headword of this file can hold the word
    }
    if (key.isEmpty() || key.size() >= MaxIndexLineLength || key.contains('|') || key.contains('\n'))
        return {};
    // Some data has two entries for one headword; the word has the meanings of both.
    return std::equal_range(m_index.cbegin(), m_index.cend(), QByteArrayView(key),
                            Overloaded{[this](const Headword &h, QByteArrayView k) { return headword(h) < k; },
                                       [this](QByteArrayView k, const Headword &h) { return k < headword(h); }});
}

QByteArrayView MythesFile::headword(const Headword &h) const
{
    return m_dat->view().sliced(h.offset, h.length);
}

template <typename OnLine>
void MythesFile::forEachMeaningLine(Iterator first, Iterator last, OnLine &&onLine) const
{
    // The file was checked when it was opened: every entry, its count and all of
    // its lines are there, each within the limits.
    for (auto it = first; it != last; ++it) {
        LineReader lines(m_dat->view().sliced(it->offset));
        const QByteArrayView header = lines.next();
        qint64 count = 0;
        parseCount(header.sliced(header.indexOf('|') + 1), MaxMeanings, count);
        for (qint64 i = 0; i < count; ++i)
            onLine(lines.next());
    }
}

QString MythesFile::decoded(QByteArrayView bytes)
{
    return m_utf8 ? QString::fromUtf8(bytes) : m_decoder.decode(bytes);
}
