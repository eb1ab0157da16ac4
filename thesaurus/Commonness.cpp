#include "thesaurus/Commonness.h"

#include "common/AppError.h"
#include "common/RegularFile.h"
#include "common/WholeFile.h"
#include "thesaurus/AntonymMarkers.h"
#include "thesaurus/MythesFile.h"
#include "thesaurus/ThesaurusCatalog.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <vector>

namespace {

// The parts a term is made of: its words, and the parts of hyphenated words.
QList<QStringView> partsOf(QStringView term)
{
    QList<QStringView> parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= term.size(); ++i) {
        if (i == term.size() || term[i].isSpace() || term[i] == u'-') {
            if (i > start)
                parts.append(term.sliced(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

bool hasUpper(QStringView word)
{
    return std::any_of(word.begin(), word.end(), [](QChar c) { return c.isUpper(); });
}

// The cache file's first bytes and its format's number: a cache of another format
// is counted anew.
constexpr char CacheMagic[] = "verbarium-entry-counts";
constexpr qint32 CacheFormat = 1;

} // namespace

QStringList ScowlLevels::defaultSearchPath()
{
    QStringList path;
    for (const QString &folder : ThesaurusCatalog::dataFolders())
        path.append(folder + QStringLiteral("/dict/scowl"));
    return path;
}

std::unique_ptr<ScowlLevels> ScowlLevels::load(const QStringList &folders)
{
    static const QRegularExpression listName(QStringLiteral("^english-words\\.(\\d+)$"));
    for (const QString &folder : folders) {
        const QDir dir(folder);
        QList<std::pair<int, QString>> lists;
        for (const QString &name : dir.entryList({QStringLiteral("english-words.*")}, QDir::Files)) {
            const QRegularExpressionMatch match = listName.match(name);
            if (match.hasMatch())
                lists.append({match.captured(1).toInt(), dir.filePath(name)});
        }
        if (lists.isEmpty())
            continue;
        auto levels = std::make_unique<ScowlLevels>();
        levels->m_folder = folder;
        std::vector<std::pair<quint64, int>> words;
        for (const auto &[level, path] : std::as_const(lists)) {
            QFile file(path);
            QString reason;
            if (!RegularFile::openForReading(file, reason))
                continue; // an unreadable list leaves its words unknown
            // SCOWL's lists are UTF-8 (older releases Latin-1: its letters decode as
            // themselves when the bytes are not UTF-8).
            const QByteArray bytes = file.readAll();
            QString text = QString::fromUtf8(bytes);
            if (text.contains(QChar::ReplacementCharacter))
                text = QString::fromLatin1(bytes);
            for (const QStringView line : QStringView(text).split(u'\n', Qt::SkipEmptyParts)) {
                const QStringView word = line.trimmed();
                if (!word.isEmpty())
                    words.push_back({keyOf(word), std::min(level, int(LevelMask))});
            }
        }
        levels->fill(words);
        return levels;
    }
    return nullptr;
}

quint64 ScowlLevels::keyOf(QStringView word)
{
    // The level's bits are the slot's own; a key of nothing but zeros would read as empty.
    const quint64 key = quint64(qHash(word, 0)) & ~LevelMask;
    return key ? key : LevelMask + 1;
}

void ScowlLevels::fill(const std::vector<std::pair<quint64, int>> &words)
{
    size_t slots = 1024;
    while (slots < words.size() * 2)
        slots *= 2;
    m_slots.assign(slots, 0);
    m_count = 0;
    for (const auto &[key, level] : words) {
        for (size_t at = (key >> 7) & (slots - 1);; at = (at + 1) & (slots - 1)) {
            quint64 &slot = m_slots[at];
            if (slot == 0) {
                slot = key | quint64(level);
                ++m_count;
                break;
            }
            if ((slot & ~LevelMask) == key) {
                // In two lists: the lower level, the more common.
                if (quint64(level) < (slot & LevelMask))
                    slot = key | quint64(level);
                break;
            }
        }
    }
}

int ScowlLevels::find(QStringView word) const
{
    if (m_slots.empty())
        return Unknown;
    const quint64 key = keyOf(word);
    const size_t mask = m_slots.size() - 1;
    for (size_t at = (key >> 7) & mask;; at = (at + 1) & mask) {
        const quint64 slot = m_slots[at];
        if (slot == 0)
            return Unknown;
        if ((slot & ~LevelMask) == key)
            return int(slot & LevelMask);
    }
}

int ScowlLevels::levelOf(QStringView word) const
{
    const int level = find(word);
    if (level != Unknown || !hasUpper(word))
        return level;
    return find(word.toString().toLower());
}

int ScowlLevels::rank(const QString &word) const
{
    const int whole = levelOf(word);
    if (whole != Unknown)
        return whole;
    const QList<QStringView> parts = partsOf(word);
    if (parts.size() < 2)
        return Unknown;
    int rarest = 0;
    for (const QStringView part : parts)
        rarest = std::max(rarest, levelOf(part));
    return rarest;
}

QString EntryCounts::defaultCacheFolder()
{
    const QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    return (cache.isEmpty() ? QDir::homePath() + QStringLiteral("/.cache") : cache) + QStringLiteral("/verbarium-pro");
}

QString EntryCounts::cachePath(const QString &datPath, const QString &cacheFolder)
{
    // One cache file per data file, named after it and a hash of its whole path,
    // so that two folders' files of the same name keep their own.
    const QFileInfo info(datPath);
    const QString key = QString::number(qHash(info.absoluteFilePath(), 0), 16);
    return cacheFolder + QLatin1Char('/') + info.completeBaseName() + QLatin1Char('-') + key + QStringLiteral(".counts");
}

std::unique_ptr<EntryCounts> EntryCounts::count(const QString &datPath)
{
    QFile file(datPath);
    QString reason;
    if (!RegularFile::openForReading(file, reason))
        throw AppError(
            QStringLiteral("Cannot read the thesaurus file \"%1\": %2").arg(QDir::toNativeSeparators(datPath), reason));
    const QByteArray bytes = file.readAll();
    qsizetype at = bytes.indexOf('\n');
    if (at < 0)
        return std::make_unique<EntryCounts>();
    QByteArray encoding = bytes.first(at).trimmed();
    if (encoding.startsWith("\xEF\xBB\xBF"))
        encoding = encoding.sliced(3);
    QStringDecoder decoder(MythesFile::codecName(encoding).constData(), QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringConverter::Utf8);
    const QStringList markers = AntonymMarkers::forLanguage(AntonymMarkers::languageOfDataFile(datPath));

    auto counts = std::make_unique<EntryCounts>();
    QSet<QString> listed; // the words of the entry being read
    const auto endEntry = [&] {
        for (const QString &word : std::as_const(listed))
            ++counts->m_counts[word];
        listed.clear();
    };
    qint64 meaningsLeft = 0;
    ++at;
    while (at < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            end = bytes.size();
        const QByteArrayView line = QByteArrayView(bytes).sliced(at, end - at);
        at = end + 1;
        if (meaningsLeft <= 0) {
            // An entry line "word|count"; anything else is passed over, as damaged
            // lines do not stop the count.
            endEntry();
            const qsizetype bar = line.lastIndexOf('|');
            meaningsLeft = bar < 0 ? 0 : line.sliced(bar + 1).trimmed().toLongLong();
            continue;
        }
        --meaningsLeft;
        const QString text = decoder.decode(line);
        ThesaurusEntry::Meaning meaning;
        const QList<QStringView> fields = QStringView(text).split(u'|');
        for (qsizetype i = 1; i < fields.size(); ++i)
            MythesFile::addField(fields[i], meaning, markers);
        for (const QString &synonym : std::as_const(meaning.synonyms))
            listed.insert(synonym);
    }
    endEntry();
    return counts;
}

std::unique_ptr<EntryCounts> EntryCounts::cached(const QString &datPath, const QString &cacheFolder)
{
    const QFileInfo data(datPath);
    const qint64 size = data.size();
    const qint64 time = data.lastModified().toMSecsSinceEpoch();
    const QString path = cachePath(datPath, cacheFolder);

    QFile cache(path);
    QString reason; // a cache that cannot be read is counted anew
    if (RegularFile::openForReading(cache, reason)) {
        QDataStream in(&cache);
        QByteArray magic;
        qint32 format = 0;
        QString cachedPath;
        qint64 cachedSize = -1;
        qint64 cachedTime = -1;
        in >> magic >> format >> cachedPath >> cachedSize >> cachedTime;
        if (in.status() == QDataStream::Ok && magic == CacheMagic && format == CacheFormat
            && cachedPath == data.absoluteFilePath() && cachedSize == size && cachedTime == time) {
            auto counts = std::make_unique<EntryCounts>();
            in >> counts->m_counts;
            // A cache cut short or damaged is counted anew, as a stale one is.
            if (in.status() == QDataStream::Ok && in.atEnd()) {
                counts->m_fromCache = true;
                return counts;
            }
        }
    }

    std::unique_ptr<EntryCounts> counts = count(datPath);
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << QByteArray(CacheMagic) << CacheFormat << data.absoluteFilePath() << size << time << counts->m_counts;
    if (QDir().mkpath(cacheFolder))
        WholeFile::write(path, bytes); // a cache left unwritten is counted again next time
    return counts;
}

int EntryCounts::entriesListing(const QString &word) const
{
    if (auto it = m_counts.constFind(word); it != m_counts.cend())
        return *it;
    return m_counts.value(word.toLower(), 0);
}

int EntryCounts::rank(const QString &word) const
{
    const int entries = entriesListing(word);
    return entries == 0 ? Unknown : -entries;
}
