#include "thesaurus/MythesFile.h"

#include "common/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>
#include <cstdio> // mythes.hxx uses FILE without including it
#include <mythes.hxx>
#include <vector>

namespace {

QString damaged(const QString &path, const QString &what)
{
    return QStringLiteral("The thesaurus file \"%1\" is damaged: %2").arg(QDir::toNativeSeparators(path), what);
}

// A read-only view of a whole file, mapped while the check runs.
class MappedFile
{
public:
    explicit MappedFile(const QString &path) : m_file(path)
    {
        if (!m_file.open(QIODevice::ReadOnly))
            throw AppError(QStringLiteral("Cannot read the thesaurus file \"%1\": %2")
                               .arg(QDir::toNativeSeparators(path), m_file.errorString()));
        if (m_file.size() > 0) {
            m_data = reinterpret_cast<const char *>(m_file.map(0, m_file.size()));
            if (!m_data)
                throw AppError(QStringLiteral("Cannot read the thesaurus file \"%1\": %2")
                                   .arg(QDir::toNativeSeparators(path), m_file.errorString()));
        }
    }
    QByteArrayView view() const { return QByteArrayView(m_data, m_data ? m_file.size() : 0); }

private:
    QFile m_file;
    const char *m_data = nullptr;
};

// Walks a buffer line by line; a line ends at '\n', a '\r' before it is dropped.
class LineReader
{
public:
    explicit LineReader(QByteArrayView data) : m_data(data) {}
    bool atEnd() const { return m_pos >= m_data.size(); }
    qsizetype position() const { return m_pos; }
    QByteArrayView next()
    {
        const qsizetype end = m_data.indexOf('\n', m_pos);
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

QByteArrayView withoutBom(QByteArrayView line)
{
    return line.startsWith("\xEF\xBB\xBF") ? line.sliced(3) : line;
}

QString shown(QByteArrayView text)
{
    return QString::fromUtf8(text.first(std::min<qsizetype>(text.size(), 60)));
}

// Whether a note names an antonym, letter case aside. Notes are nearly always ASCII,
// where folding ASCII letters answers as Qt's full case folding does, at a fraction
// of its cost; any other note goes the general way.
bool namesAntonym(QStringView note)
{
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
QStringView withoutNotes(QStringView field, bool &antonym)
{
    field = field.trimmed();
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
        if (namesAntonym(field.sliced(open + 1, field.size() - open - 2)))
            antonym = true;
        field = field.first(open).trimmed();
    }
    return field;
}

// MythesFile::addField for a decoded field of our own: the synonym usually starts
// the string, which is then cut down where it stands instead of copied.
void addOwnField(QString &&text, MythesFile::Meaning &meaning)
{
    bool antonym = false;
    const QStringView field = withoutNotes(text, antonym);
    if (field.isEmpty())
        return;
    QStringList &list = antonym ? meaning.antonyms : meaning.synonyms;
    if (field.data() == text.constData()) {
        text.truncate(field.size());
        list.append(std::move(text));
    } else {
        list.append(field.toString());
    }
}

} // namespace

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

MythesFile::MythesFile(const QString &idxPath, const QString &datPath) : m_datPath(datPath)
{
    check(idxPath, datPath);
    m_thes = std::make_unique<MyThes>(QFile::encodeName(idxPath).constData(), QFile::encodeName(datPath).constData());
    if (!m_thes->get_th_encoding())
        throw AppError(damaged(idxPath, QStringLiteral("the thesaurus library cannot read it.")));
}

MythesFile::~MythesFile() = default;

void MythesFile::check(const QString &idxPath, const QString &datPath)
{
    std::vector<qsizetype> entryStarts;
    {
        const MappedFile dat(datPath);
        LineReader lines(dat.view());
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
            const qsizetype bar = header.lastIndexOf('|');
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
                const qsizetype length = lines.next().size();
                if (length > MaxLineLength)
                    throw AppError(damaged(datPath, QStringLiteral("a line at byte %1 is too long.").arg(at)));
                if (length > MythesLineLength)
                    m_longEntries.insert(header.first(bar).toByteArray(), start);
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
    const MappedFile dat(datPath);
    const QByteArrayView data = dat.view();
    qint64 counted = 0;
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
    }
    if (counted != declared)
        throw AppError(damaged(idxPath, QStringLiteral("it declares %1 entries but holds %2.").arg(declared).arg(counted)));
}

void MythesFile::addField(QStringView field, Meaning &meaning)
{
    bool antonym = false;
    field = withoutNotes(field, antonym);
    if (field.isEmpty())
        return;
    (antonym ? meaning.antonyms : meaning.synonyms).append(field.toString());
}

MythesFile::Entry MythesFile::lookup(const QString &word)
{
    Entry entry;
    if (!lookupExact(word, entry)) {
        const QString lower = word.toLower();
        if (lower != word)
            lookupExact(lower, entry);
    }
    return entry;
}

bool MythesFile::lookupExact(const QString &word, Entry &entry)
{
    QByteArray key;
    if (m_utf8) {
        key = word.toUtf8();
    } else {
        key = m_encoder.encode(word);
        const bool unencodable = m_encoder.hasError();
        m_encoder.resetState();
        if (unencodable)
            return false; // no headword of this file can hold the word
    }
    if (key.isEmpty() || key.size() >= MaxIndexLineLength || key.contains('|') || key.contains('\n'))
        return false;

    if (const auto it = m_longEntries.constFind(key); it != m_longEntries.cend()) {
        readLongEntry(*it, entry);
        return true;
    }

    mentry *meanings = nullptr;
    const int count = m_thes->Lookup(key.constData(), int(key.size()), &meanings);
    if (count <= 0 || !meanings)
        return false;
    struct Release {
        MyThes *thes;
        mentry **meanings;
        int count;
        ~Release() { thes->CleanUpAfterLookup(meanings, count); }
    } release{m_thes.get(), &meanings, count};

    entry.found = true;
    entry.meanings.reserve(count);
    for (int i = 0; i < count; ++i) {
        Meaning meaning;
        const mentry &m = meanings[i];
        meaning.synonyms.reserve(m.count);
        for (int j = 0; j < m.count; ++j) {
            const char *field = m.psyns[j];
            // MyThes keeps the rest of the line as one field after an empty one.
            const bool rest = field[0] == '|';
            QString text = decoded(QByteArrayView(field));
            if (!rest) {
                addOwnField(std::move(text), meaning);
                continue;
            }
            for (QStringView part : QStringView(text).split(QLatin1Char('|')))
                addField(part, meaning);
            break;
        }
        entry.meanings.append(std::move(meaning));
    }
    return true;
}

QString MythesFile::decoded(QByteArrayView bytes)
{
    return m_utf8 ? QString::fromUtf8(bytes) : m_decoder.decode(bytes);
}

void MythesFile::readLongEntry(qint64 offset, Entry &entry)
{
    // The file was checked at open: the entry and all its lines are there and bounded.
    QFile dat(m_datPath);
    if (!dat.open(QIODevice::ReadOnly) || !dat.seek(offset))
        throw AppError(QStringLiteral("Cannot read the thesaurus file \"%1\": %2")
                           .arg(QDir::toNativeSeparators(m_datPath), dat.errorString()));
    const auto line = [&dat] {
        QByteArray text = dat.readLine(MaxLineLength + 2);
        while (text.endsWith('\n') || text.endsWith('\r'))
            text.chop(1);
        return text;
    };
    const QByteArray header = line();
    qint64 count = 0;
    if (!parseCount(QByteArrayView(header).sliced(header.lastIndexOf('|') + 1), MaxMeanings, count))
        throw AppError(damaged(m_datPath, QStringLiteral("the file changed while it was in use.")));
    entry.found = true;
    for (qint64 i = 0; i < count; ++i) {
        const QString text = decoded(line());
        Meaning meaning;
        const QList<QStringView> fields = QStringView(text).split(QLatin1Char('|'));
        for (qsizetype f = 1; f < fields.size(); ++f) // the first field is the part of speech
            addField(fields[f], meaning);
        entry.meanings.append(std::move(meaning));
    }
}
