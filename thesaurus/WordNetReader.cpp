#include "thesaurus/WordNetReader.h"

#include "common/AppError.h"
#include "common/MappedFile.h"
#include "common/RegularFile.h"
#include "thesaurus/MythesBytes.h"
#include "thesaurus/ThesaurusCatalog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPair>

#include <algorithm>
#include <utility>
#include <cstring>
#include <vector>

using MythesBytes::find;
using MythesBytes::shown;

namespace {

QString damaged(const QString &path, const QString &what)
{
    return QStringLiteral("The WordNet file \"%1\" is damaged: %2").arg(QDir::toNativeSeparators(path), what);
}

// The fields of a line, split at runs of blanks.
class Fields
{
public:
    explicit Fields(QByteArrayView line) : m_line(line) {}
    QByteArrayView next()
    {
        while (m_pos < m_line.size() && m_line[m_pos] == ' ')
            ++m_pos;
        const qsizetype start = m_pos;
        while (m_pos < m_line.size() && m_line[m_pos] != ' ')
            ++m_pos;
        return m_line.sliced(start, m_pos - start);
    }
    // The rest of the line after the blanks that follow the last field read.
    QByteArrayView rest()
    {
        while (m_pos < m_line.size() && m_line[m_pos] == ' ')
            ++m_pos;
        return m_line.sliced(m_pos);
    }

private:
    QByteArrayView m_line;
    qsizetype m_pos = 0;
};

// A number of one to `most` digits in the base and nothing else, or -1.
qint64 number(QByteArrayView text, int base, qsizetype most)
{
    if (text.isEmpty() || text.size() > most)
        return -1;
    qint64 value = 0;
    for (const char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return -1;
        value = value * base + digit;
    }
    return value;
}

// The part of speech a synset type or pointer letter names.
bool partOfSpeechOf(char letter, WordNetReader::PartOfSpeech &partOfSpeech)
{
    using P = WordNetReader::PartOfSpeech;
    switch (letter) {
    case 'n': partOfSpeech = P::Noun; return true;
    case 'v': partOfSpeech = P::Verb; return true;
    case 'a':
    case 's': partOfSpeech = P::Adjective; return true;
    case 'r': partOfSpeech = P::Adverb; return true;
    default: return false;
    }
}

char letterOf(WordNetReader::PartOfSpeech partOfSpeech)
{
    static constexpr char letters[] = {'n', 'v', 'a', 'r'};
    return letters[int(partOfSpeech)];
}

// A lemma of the data as shown: blanks for '_', an adjective's position marker
// ("(p)", "(a)", "(ip)") dropped.
QString shownWord(QByteArrayView word)
{
    for (const char *marker : {"(p)", "(a)", "(ip)"}) {
        if (word.endsWith(marker) && word.size() > qsizetype(std::strlen(marker))) {
            word.chop(qsizetype(std::strlen(marker)));
            break;
        }
    }
    return QString::fromUtf8(word).replace(QLatin1Char('_'), QLatin1Char(' '));
}

// The lemma of an index line: up to its first blank.
QByteArrayView lemmaAt(QByteArrayView bytes, qsizetype start)
{
    const qsizetype newline = find(bytes, '\n', start);
    const qsizetype end = newline < 0 ? bytes.size() : newline;
    const qsizetype blank = find(bytes.first(end), ' ', start);
    return bytes.sliced(start, (blank < 0 ? end : blank) - start);
}

qsizetype nextLine(QByteArrayView bytes, qsizetype start)
{
    const qsizetype newline = find(bytes, '\n', start);
    return newline < 0 ? bytes.size() : newline + 1;
}

// A gloss's definition and its quoted examples: the definition runs up to the
// first "; \"" (it may hold semicolons of its own), each example up to the next.
void splitGloss(QByteArrayView gloss, QString &definition, QStringList &examples)
{
    static constexpr QByteArrayView separator("; \"");
    qsizetype at = gloss.startsWith('"') ? 0 : gloss.indexOf(separator);
    definition = QString::fromUtf8(at < 0 ? gloss : gloss.first(at)).trimmed();
    if (at < 0)
        return;
    at += gloss.startsWith('"') ? 1 : separator.size();
    while (at <= gloss.size()) {
        const qsizetype end = gloss.indexOf(separator, at);
        QByteArray example = gloss.sliced(at, (end < 0 ? gloss.size() : end) - at).toByteArray().trimmed();
        // Its closing quote; words after it (a source: "…" - Shakespeare) stay.
        const qsizetype quote = example.lastIndexOf('"');
        if (quote >= 0)
            example.remove(quote, 1);
        if (!example.trimmed().isEmpty())
            examples.append(QString::fromUtf8(example.trimmed()));
        if (end < 0)
            break;
        at = end + separator.size();
    }
}

// A word as the index lists it: lower case, with '_' for blanks. Empty for one no
// index line can hold.
QByteArray indexKey(const QString &word)
{
    const QByteArray key = word.simplified().toLower().replace(QLatin1Char(' '), QLatin1Char('_')).toUtf8();
    return key.size() > WordNetReader::MaxIndexLineLength || key.contains('\n') ? QByteArray() : key;
}

} // namespace

// One part of speech: its index and data, mapped.
struct WordNetReader::Files {
    QString indexPath;
    QString dataPath;
    std::unique_ptr<MappedFile> index;
    std::unique_ptr<MappedFile> data;
    QByteArrayView indexBytes;
    QByteArrayView dataBytes;
    qsizetype body = 0; // where the lines after the licence start
    std::vector<bool> blockChecked;
    bool sorted = true; // as far as the checked blocks tell
    bool sortedLinesMade = false;
    std::vector<qsizetype> sortedLines; // the lines by lemma, when the index is out of order

    void throwIfChanged() const
    {
        for (const auto &[map, path] : {std::pair{index.get(), &indexPath}, std::pair{data.get(), &dataPath}}) {
            if (map->changed())
                throw AppError(damaged(*path, QStringLiteral("it was changed while it was open.")));
        }
    }

    // Whether the lines that start in a block follow the line before each in the
    // order of their lemmas' bytes. A blank line among them breaks the order too:
    // a search by halves could step over the lemmas around it.
    bool checkBlock(qsizetype block)
    {
        if (blockChecked[size_t(block)])
            return sorted;
        blockChecked[size_t(block)] = true;
        const QByteArrayView bytes = indexBytes;
        const qsizetype blockEnd = std::min((block + 1) * BlockSize, bytes.size());
        qsizetype at = std::max(block * BlockSize, body);
        if (at > body && bytes[at - 1] != '\n')
            at = nextLine(bytes, at);
        if (at >= blockEnd)
            return sorted;
        QByteArrayView previous;
        if (at > body) {
            const void *newline = at - 1 > body ? memrchr(bytes.data() + body, '\n', size_t(at - 1 - body)) : nullptr;
            previous = lemmaAt(bytes, newline ? static_cast<const char *>(newline) - bytes.data() + 1 : body);
        }
        for (; at < blockEnd; at = nextLine(bytes, at)) {
            const QByteArrayView lemma = lemmaAt(bytes, at);
            if (lemma.isEmpty() || lemma < previous) {
                sorted = false;
                break;
            }
            previous = lemma;
        }
        return sorted;
    }
};

struct WordNetReader::Synset {
    struct Pointer {
        QByteArrayView symbol;
        qint64 offset = 0;
        PartOfSpeech partOfSpeech = PartOfSpeech::Noun;
        int source = 0; // word numbers from 1; 0 for the whole synset
        int target = 0;
    };
    bool satellite = false;
    QStringList words;
    std::vector<Pointer> pointers;
    QByteArrayView gloss;
};

QStringList WordNetReader::defaultSearchPath()
{
    // The data folders the Hunspell dictionaries are looked up in, with wordnet/
    // in place of hunspell/.
    QStringList path;
    for (const QString &folder : ThesaurusCatalog::defaultHunspellSearchPath()) {
        const QFileInfo info(folder);
        path += info.fileName() == QLatin1String("hunspell") ? info.path() + QStringLiteral("/wordnet") : folder;
    }
    path.removeDuplicates();
    return path;
}

QString WordNetReader::suffix(PartOfSpeech partOfSpeech)
{
    static const QString names[] = {QStringLiteral("noun"), QStringLiteral("verb"), QStringLiteral("adj"),
                                    QStringLiteral("adv")};
    return names[int(partOfSpeech)];
}

WordNetReader::WordNetReader(const QStringList &searchPath)
{
    for (const QString &folder : searchPath) {
        const QDir dir(folder);
        bool any = false;
        for (int p = 0; p < 4 && !any; ++p) {
            const QString name = suffix(PartOfSpeech(p));
            any = QFileInfo::exists(dir.filePath(QStringLiteral("index.") + name))
                  || QFileInfo::exists(dir.filePath(QStringLiteral("data.") + name));
        }
        if (any) {
            m_folder = dir.absolutePath();
            break;
        }
    }
    if (m_folder.isEmpty())
        return;
    const QDir dir(m_folder);
    for (int p = 0; p < 4; ++p) {
        auto files = std::make_unique<Files>();
        files->indexPath = dir.filePath(QStringLiteral("index.") + suffix(PartOfSpeech(p)));
        files->dataPath = dir.filePath(QStringLiteral("data.") + suffix(PartOfSpeech(p)));
        bool usable = true;
        for (const auto &[path, map] :
             {std::pair{&files->indexPath, &files->index}, std::pair{&files->dataPath, &files->data}}) {
            QFile file(*path);
            QString error;
            if (!RegularFile::openForReading(file, error)) {
                m_notes += QStringLiteral("Cannot read the WordNet file \"%1\": %2").arg(QDir::toNativeSeparators(*path), error);
                usable = false;
                break;
            }
            if (file.size() > MaxSize) {
                m_notes += damaged(*path, QStringLiteral("it is too large (%1 bytes).").arg(file.size()));
                usable = false;
                break;
            }
            *map = std::make_unique<MappedFile>(file);
            if (!(*map)->isValid()) {
                m_notes += QStringLiteral("Cannot read the WordNet file \"%1\": %2")
                               .arg(QDir::toNativeSeparators(*path), file.errorString());
                usable = false;
                break;
            }
        }
        if (!usable)
            continue;
        files->indexBytes = files->index->bytes();
        files->dataBytes = files->data->bytes();
        // The licence's lines, each starting with two blanks, come first.
        while (files->body < files->indexBytes.size() && files->indexBytes.sliced(files->body).startsWith("  "))
            files->body = nextLine(files->indexBytes, files->body);
        files->blockChecked.assign(size_t((files->indexBytes.size() + BlockSize - 1) / BlockSize), false);
        m_files[size_t(p)] = std::move(files);
    }
}

WordNetReader::~WordNetReader() = default;

bool WordNetReader::isPresent() const
{
    return std::any_of(m_files.begin(), m_files.end(), [](const auto &files) { return files != nullptr; });
}

bool WordNetReader::hasPartOfSpeech(PartOfSpeech partOfSpeech) const
{
    return m_files[size_t(partOfSpeech)] != nullptr;
}

QStringList WordNetReader::takeNotes()
{
    return std::exchange(m_notes, {});
}

// The synset offsets of the lemma's index line, checked: its part of speech is
// the file's, and its counts agree with the fields that follow them.
QList<qint64> WordNetReader::offsetsOf(Files &files, PartOfSpeech partOfSpeech, const QByteArray &key)
{
    const QByteArrayView bytes = files.indexBytes;
    qsizetype line = -1;
    if (files.sorted) {
        // By halves over the bytes: the probe is the line the middle byte falls in,
        // and lo always stands at the start of a line.
        qsizetype lo = files.body;
        qsizetype hi = bytes.size();
        while (lo < hi && files.sorted) {
            const qsizetype mid = lo + (hi - lo) / 2;
            const void *before = mid > lo ? memrchr(bytes.data() + lo, '\n', size_t(mid - lo)) : nullptr;
            const qsizetype start = before ? static_cast<const char *>(before) - bytes.data() + 1 : lo;
            if (!files.checkBlock(start / BlockSize))
                break;
            if (lemmaAt(bytes, start) < key)
                lo = nextLine(bytes, start);
            else
                hi = start;
        }
        if (files.sorted && lo < bytes.size() && files.checkBlock(lo / BlockSize) && lemmaAt(bytes, lo) == key)
            line = lo;
    }
    if (!files.sorted) {
        if (!files.sortedLinesMade) {
            m_notes += QStringLiteral("The WordNet index \"%1\" is out of order; it is searched through a sorted copy.")
                           .arg(QDir::toNativeSeparators(files.indexPath));
            for (qsizetype at = files.body; at < bytes.size(); at = nextLine(bytes, at)) {
                if (!lemmaAt(bytes, at).isEmpty())
                    files.sortedLines.push_back(at);
            }
            std::stable_sort(files.sortedLines.begin(), files.sortedLines.end(),
                             [bytes](qsizetype a, qsizetype b) { return lemmaAt(bytes, a) < lemmaAt(bytes, b); });
            files.sortedLinesMade = true;
        }
        const auto it = std::lower_bound(files.sortedLines.cbegin(), files.sortedLines.cend(), key,
                                         [bytes](qsizetype a, const QByteArray &k) { return lemmaAt(bytes, a) < k; });
        if (it != files.sortedLines.cend() && lemmaAt(bytes, *it) == key)
            line = *it;
    }
    files.throwIfChanged();
    if (line < 0)
        return {};

    const qsizetype end = nextLine(bytes, line);
    QByteArrayView text = bytes.sliced(line, end - line);
    if (text.endsWith('\n'))
        text.chop(1);
    if (text.endsWith('\r'))
        text.chop(1);
    const auto bad = [&](const QString &what) {
        return AppError(damaged(files.indexPath, QStringLiteral("the line of \"%1\" %2").arg(shown(key), what)));
    };
    if (text.size() > MaxIndexLineLength)
        throw bad(QStringLiteral("is longer than %1 bytes.").arg(MaxIndexLineLength));
    Fields fields(text);
    fields.next(); // the lemma
    const QByteArrayView pos = fields.next();
    PartOfSpeech named;
    if (pos.size() != 1 || !partOfSpeechOf(pos[0], named) || named != partOfSpeech || pos[0] == 's')
        throw bad(QStringLiteral("has \"%1\" where its part of speech belongs.").arg(shown(pos)));
    const qint64 synsets = number(fields.next(), 10, 6);
    const qint64 pointers = number(fields.next(), 10, 6);
    if (synsets < 1 || pointers < 0)
        throw bad(QStringLiteral("does not give its numbers of senses and pointers."));
    for (qint64 i = 0; i < pointers; ++i) {
        const QByteArrayView symbol = fields.next();
        if (symbol.isEmpty() || number(symbol, 10, 6) >= 0)
            throw bad(QStringLiteral("declares %1 kinds of pointer but names %2.").arg(pointers).arg(i));
    }
    const qint64 senses = number(fields.next(), 10, 6);
    if (senses != synsets || number(fields.next(), 10, 6) < 0)
        throw bad(QStringLiteral("does not give its number of senses after its pointers."));
    QList<qint64> offsets;
    for (QByteArrayView field = fields.next(); !field.isEmpty(); field = fields.next()) {
        const qint64 offset = number(field, 10, 12);
        if (offset < 0)
            throw bad(QStringLiteral("has \"%1\" where a synset's offset belongs.").arg(shown(field)));
        offsets.append(offset);
    }
    if (offsets.size() != synsets)
        throw bad(QStringLiteral("declares %1 senses but names %2.").arg(synsets).arg(offsets.size()));
    return offsets;
}

// The synset whose line starts at the offset of a part of speech's data file,
// checked as it is read.
WordNetReader::Synset WordNetReader::readSynset(PartOfSpeech partOfSpeech, qint64 offset)
{
    Files &files = *m_files[size_t(partOfSpeech)];
    const QByteArrayView bytes = files.dataBytes;
    const auto bad = [&](const QString &what) {
        return AppError(damaged(files.dataPath, QStringLiteral("the synset at byte %1 %2").arg(offset).arg(what)));
    };
    if (offset >= bytes.size())
        throw AppError(damaged(files.dataPath, QStringLiteral("byte %1, where a synset should start, is past its end "
                                                              "(%2 bytes).")
                                                   .arg(offset)
                                                   .arg(bytes.size())));
    const qsizetype most = std::min<qsizetype>(bytes.size() - offset, MaxDataLineLength + 1);
    const void *newline = std::memchr(bytes.data() + offset, '\n', size_t(most));
    if (!newline) {
        files.throwIfChanged();
        throw bad(most > MaxDataLineLength ? QStringLiteral("is longer than %1 bytes.").arg(MaxDataLineLength)
                                           : QStringLiteral("is cut short: its line has no end."));
    }
    QByteArrayView line(bytes.data() + offset, static_cast<const char *>(newline) - (bytes.data() + offset));
    if (line.endsWith('\r'))
        line.chop(1);

    Fields fields(line);
    const QByteArrayView own = fields.next();
    if (number(own, 10, 12) != offset || (offset > 0 && bytes[offset - 1] != '\n'))
        throw bad(QStringLiteral("is not there: the line read there starts with \"%1\".")
                      .arg(shown(line.first(std::min<qsizetype>(line.size(), 20)))));
    Synset synset;
    if (number(fields.next(), 10, 2) < 0)
        throw bad(QStringLiteral("has no lexicographer file number."));
    const QByteArrayView type = fields.next();
    PartOfSpeech typed;
    if (type.size() != 1 || !partOfSpeechOf(type[0], typed) || typed != partOfSpeech)
        throw bad(QStringLiteral("has \"%1\" where its type (%2) belongs.")
                      .arg(shown(type),
                           QString(QLatin1Char(letterOf(partOfSpeech)))
                               + (partOfSpeech == PartOfSpeech::Adjective ? QStringLiteral(" or s") : QString())));
    synset.satellite = type[0] == 's';
    const qint64 wordCount = number(fields.next(), 16, 2);
    if (wordCount < 1)
        throw bad(QStringLiteral("does not give its number of words."));
    for (qint64 i = 0; i < wordCount; ++i) {
        const QByteArrayView word = fields.next();
        const QByteArrayView lexId = fields.next();
        if (word.isEmpty() || word == "|" || number(lexId, 16, 1) < 0)
            throw bad(QStringLiteral("declares %1 words but holds %2.").arg(wordCount).arg(i));
        synset.words.append(shownWord(word));
    }
    const qint64 pointerCount = number(fields.next(), 10, 3);
    if (pointerCount < 0)
        throw bad(QStringLiteral("does not give its number of pointers after its %1 words.").arg(wordCount));
    synset.pointers.reserve(size_t(pointerCount));
    for (qint64 i = 0; i < pointerCount; ++i) {
        Synset::Pointer pointer;
        pointer.symbol = fields.next();
        const qint64 target = number(fields.next(), 10, 12);
        const QByteArrayView pos = fields.next();
        const qint64 words = number(fields.next(), 16, 4);
        if (pointer.symbol.isEmpty() || pointer.symbol == "|" || target < 0 || pos.size() != 1
            || !partOfSpeechOf(pos[0], pointer.partOfSpeech) || words < 0)
            throw bad(QStringLiteral("declares %1 pointers but holds %2.").arg(pointerCount).arg(i));
        pointer.offset = target;
        pointer.source = int(words >> 8);
        pointer.target = int(words & 0xFF);
        if (pointer.source > wordCount)
            throw bad(QStringLiteral("has a pointer from its word %1, but it has %2.").arg(pointer.source).arg(wordCount));
        synset.pointers.push_back(pointer);
    }
    QByteArrayView field = fields.next();
    if (partOfSpeech == PartOfSpeech::Verb && field != "|") {
        // The verb frames: "+ frame word" each.
        const qint64 frames = number(field, 10, 2);
        if (frames < 0)
            throw bad(QStringLiteral("has \"%1\" where its gloss or frames belong.").arg(shown(field)));
        for (qint64 i = 0; i < frames; ++i) {
            if (fields.next() != "+" || number(fields.next(), 10, 2) < 0 || number(fields.next(), 16, 2) < 0)
                throw bad(QStringLiteral("declares %1 verb frames but holds %2.").arg(frames).arg(i));
        }
        field = fields.next();
    }
    if (field != "|")
        throw bad(QStringLiteral("has \"%1\" where its gloss should start.").arg(shown(field)));
    synset.gloss = fields.rest();
    while (synset.gloss.endsWith(' '))
        synset.gloss.chop(1);
    files.throwIfChanged();
    return synset;
}

bool WordNetReader::contains(const QString &word, PartOfSpeech partOfSpeech)
{
    Files *files = m_files[size_t(partOfSpeech)].get();
    if (!files)
        return false;
    const QByteArray key = indexKey(word);
    if (key.isEmpty())
        return false;
    return !offsetsOf(*files, partOfSpeech, key).isEmpty();
}

QList<WordNetReader::Sense> WordNetReader::senses(const QString &word, PartOfSpeech partOfSpeech)
{
    Files *files = m_files[size_t(partOfSpeech)].get();
    if (!files)
        return {};
    const QByteArray key = indexKey(word);
    if (key.isEmpty())
        return {};
    QList<Sense> result;
    const QList<qint64> offsets = offsetsOf(*files, partOfSpeech, key);
    result.reserve(offsets.size());
    // Each synset is read once a lookup, however many senses and pointers name it:
    // a damaged file whose lines all point at one long line stays linear.
    QHash<QPair<int, qint64>, Synset> read;
    const auto synsetAt = [&](PartOfSpeech at, qint64 offset) -> const Synset & {
        const QPair<int, qint64> where(int(at), offset);
        auto it = read.constFind(where);
        if (it == read.cend())
            it = read.insert(where, readSynset(at, offset));
        return *it;
    };
    for (const qint64 offset : offsets) {
        const Synset synset = synsetAt(partOfSpeech, offset);
        Sense sense;
        sense.offset = offset;
        sense.partOfSpeech = partOfSpeech;
        sense.satellite = synset.satellite;
        sense.words = synset.words;
        splitGloss(synset.gloss, sense.definition, sense.examples);
        for (const Synset::Pointer &pointer : synset.pointers) {
            const bool antonym = pointer.symbol == "!";
            const bool broader = pointer.symbol == "@" || pointer.symbol == "@i";
            const bool similar = pointer.symbol == "&" || pointer.symbol == "^";
            if ((!antonym && !broader && !similar) || !m_files[size_t(pointer.partOfSpeech)])
                continue;
            const QStringList targetWords = synsetAt(pointer.partOfSpeech, pointer.offset).words;
            if (broader || similar) {
                (broader ? sense.broaderTerms : sense.similarTerms).append({targetWords, pointer.offset, pointer.symbol == "@i"});
                continue;
            }
            if (pointer.target > targetWords.size())
                throw AppError(damaged(m_files[size_t(partOfSpeech)]->dataPath,
                                       QStringLiteral("the synset at byte %1 points to word %2 of the synset at "
                                                      "byte %3, which has %4.")
                                           .arg(offset)
                                           .arg(pointer.target)
                                           .arg(pointer.offset)
                                           .arg(targetWords.size())));
            Antonym found;
            found.word = pointer.source > 0 ? synset.words[pointer.source - 1] : QString();
            found.antonym = targetWords[std::max(pointer.target, 1) - 1];
            found.offset = pointer.offset;
            found.partOfSpeech = pointer.partOfSpeech;
            sense.antonyms.append(found);
        }
        result.append(std::move(sense));
    }
    return result;
}
