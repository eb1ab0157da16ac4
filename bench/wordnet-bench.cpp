// verbarium-wordnet-bench: what a word's senses with definitions cost from the
// installed WordNet (/usr/share/wordnet), warm: the reader is open and the pages
// it reads are in memory.
//
//   Senses/<pos>/<word>  WordNetReader::senses against its floor, the same bytes
//                        found without checks or strings: the index line by halves
//                        over the mapped index, then each sense's data line and the
//                        line of each of its antonym and hypernym pointers, found
//                        by their line ends.
//
//   Meanings/<word>      TSpellCheck::Meanings over the installed en_US thesaurus
//                        (/usr/share/mythes, or $VERBARIUM_BENCH_DATA) and WordNet:
//                        the root found, the entry read, its meanings labelled and
//                        matched to senses, definitions added. Floor: the same
//                        lookups straight through the readers, MythesSource::entry
//                        and WordNetReader::senses for each part of speech the
//                        meanings need, in the same process on the same readers.
//
// Each row times both sides in the same run, interleaved, so that the ratio holds
// on a machine whose other users come and go.

#include "common/AppError.h"
#include "common/MappedFile.h"
#include "thesaurus/LanguageTable.h"
#include "thesaurus/MythesSource.h"
#include "thesaurus/TSpellCheck.h"
#include "thesaurus/WordMeanings.h"
#include "thesaurus/WordNetReader.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using PartOfSpeech = WordNetReader::PartOfSpeech;
const QString Folder = QStringLiteral("/usr/share/wordnet");

struct Mapped {
    QFile file;
    std::unique_ptr<MappedFile> map;
    std::string_view bytes;
    explicit Mapped(const QString &path) : file(path)
    {
        if (file.open(QIODevice::ReadOnly)) {
            map = std::make_unique<MappedFile>(file);
            bytes = std::string_view(map->bytes().data(), size_t(map->bytes().size()));
        }
    }
};

// The floor: the lines a lookup reads, found and nothing more.
class Floor
{
public:
    explicit Floor(PartOfSpeech partOfSpeech)
        : m_index(Folder + QStringLiteral("/index.") + WordNetReader::suffix(partOfSpeech)),
          m_data(Folder + QStringLiteral("/data.") + WordNetReader::suffix(partOfSpeech)),
          m_ownLetter("nvar"[int(partOfSpeech)])
    {
    }
    bool isValid() const { return !m_index.bytes.empty() && !m_data.bytes.empty(); }

    // The number of bytes of the lines found.
    size_t lookup(std::string_view key) const
    {
        const std::string_view index = m_index.bytes;
        size_t lo = 0;
        size_t hi = index.size();
        while (lo < hi) {
            const size_t mid = lo + (hi - lo) / 2;
            const size_t start = mid > lo ? index.rfind('\n', mid - 1) : std::string_view::npos;
            const size_t line = start == std::string_view::npos || start < lo ? lo : start + 1;
            const size_t end = index.find('\n', line);
            const std::string_view text = index.substr(line, end - line);
            const std::string_view lemma = text.substr(0, text.find(' '));
            if (text.starts_with("  ") || lemma < key)
                lo = end + 1;
            else
                hi = line;
        }
        const std::string_view text = index.substr(lo, index.find('\n', lo) - lo);
        if (text.substr(0, text.find(' ')) != key)
            return 0;
        size_t total = 0;
        // The offsets are the fields of eight digits at the line's end.
        for (size_t at = text.find(' '); at != std::string_view::npos; at = text.find(' ', at + 1)) {
            const std::string_view field = text.substr(at + 1, 8);
            if (field.size() == 8 && text.size() > at + 9 && text[at + 9] == ' ' && isOffset(field))
                total += senseLine(toNumber(field));
        }
        return total;
    }

private:
    static bool isOffset(std::string_view field)
    {
        for (const char c : field) {
            if (c < '0' || c > '9')
                return false;
        }
        return true;
    }
    static size_t toNumber(std::string_view field)
    {
        size_t value = 0;
        for (const char c : field)
            value = value * 10 + size_t(c - '0');
        return value;
    }
    std::string_view lineAt(size_t offset) const
    {
        const std::string_view data = m_data.bytes;
        return data.substr(offset, data.find('\n', offset) - offset);
    }
    // A sense's line, and the line of each antonym and hypernym it points to.
    size_t senseLine(size_t offset) const
    {
        const std::string_view line = lineAt(offset).substr(0, lineAt(offset).find(" | "));
        size_t total = line.size();
        for (const std::string_view symbol : {std::string_view(" ! "), std::string_view(" @ "), std::string_view(" @i ")}) {
            for (size_t at = line.find(symbol); at != std::string_view::npos; at = line.find(symbol, at + 1)) {
                const std::string_view field = line.substr(at + symbol.size(), 8);
                if (isOffset(field) && line.substr(at + symbol.size() + 9, 1) == std::string_view(&m_ownLetter, 1))
                    total += lineAt(toNumber(field)).size();
            }
        }
        return total;
    }

    Mapped m_index;
    Mapped m_data;
    char m_ownLetter;
};

void sensesRow(benchmark::State &state, PartOfSpeech partOfSpeech, const char *word)
{
    static WordNetReader reader({Folder});
    const Floor floor(partOfSpeech);
    if (!reader.hasPartOfSpeech(partOfSpeech) || !floor.isValid()) {
        state.SkipWithError("no WordNet in /usr/share/wordnet");
        return;
    }
    const QString typed = QString::fromUtf8(word);
    std::string key(word);
    for (char &c : key)
        c = c == ' ' ? '_' : c;
    double ours = 0;
    double floorTime = 0;
    qsizetype senses = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        const QList<WordNetReader::Sense> found = reader.senses(typed, partOfSpeech);
        benchmark::DoNotOptimize(found.data());
        const Clock::time_point middle = Clock::now();
        benchmark::DoNotOptimize(floor.lookup(key));
        const Clock::time_point end = Clock::now();
        const double seconds = std::chrono::duration<double>(middle - start).count();
        state.SetIterationTime(seconds);
        ours += seconds;
        floorTime += std::chrono::duration<double>(end - middle).count();
        senses = found.size();
    }
    const double iterations = double(state.iterations());
    state.counters["senses"] = double(senses);
    state.counters["floor_us"] = floorTime / iterations * 1e6;
    state.counters["overhead"] = floorTime > 0 ? ours / floorTime : 0;
}

// The thesaurus and WordNet as the program opens them, for the Meanings rows.
struct MeaningsData {
    std::unique_ptr<TSpellCheck> spellCheck;
    std::string error; // set when the rows cannot run
};

MeaningsData &meaningsData()
{
    static MeaningsData data = [] {
        MeaningsData made;
        const QString dir = qEnvironmentVariable("VERBARIUM_BENCH_DATA", QStringLiteral("/usr/share/mythes"));
        if (!QFileInfo::exists(dir + QStringLiteral("/th_en_US_v2.idx"))) {
            made.error = "no en_US thesaurus data in " + dir.toStdString();
            return made;
        }
        made.spellCheck = std::make_unique<TSpellCheck>(nullptr, std::make_unique<MythesSource>(QStringList{dir}));
        made.spellCheck->setLanguage(wdEnglishUS);
        made.spellCheck->setWordNet(std::make_unique<WordNetReader>(QStringList{Folder}));
        if (!made.spellCheck->wordNet().isPresent())
            made.error = "no WordNet in /usr/share/wordnet";
        return made;
    }();
    return data;
}

void meaningsRow(benchmark::State &state, const char *word)
{
    MeaningsData &data = meaningsData();
    if (!data.error.empty()) {
        state.SkipWithError(data.error.c_str());
        return;
    }
    TSpellCheck &spellCheck = *data.spellCheck;
    ThesaurusSource &source = *spellCheck.source();
    WordNetReader &wordNet = spellCheck.wordNet();
    const std::int32_t language = LanguageTable::identifier(wdEnglishUS);
    const QString typed = QString::fromUtf8(word);
    // What the floor has to read, found once outside the timed loop: the root's
    // entry and the senses of the parts of speech its meanings name.
    WordMeanings::Answer answer;
    try {
        answer = spellCheck.Meanings(typed);
    } catch (const AppError &error) {
        state.SkipWithError(error.what());
        return;
    }
    if (!answer.found()) {
        state.SkipWithError("the word has no entry");
        return;
    }
    QList<PartOfSpeech> needed;
    qsizetype defined = 0;
    for (const WordMeanings::Meaning &meaning : std::as_const(answer.meanings)) {
        PartOfSpeech partOfSpeech;
        if (WordMeanings::wordNetPartOfSpeech(meaning.partOfSpeech, partOfSpeech) && !needed.contains(partOfSpeech))
            needed.append(partOfSpeech);
        defined += meaning.definition.isEmpty() ? 0 : 1;
    }
    const QString root = answer.root;

    // Each iteration's two times, kept so that the row reports their medians: on a
    // machine whose cores others share, a lookup that is preempted weighs on one
    // side only, and a mean would carry it into the ratio.
    std::vector<double> ours;
    std::vector<double> floorTimes;
    // Each side is timed from its first call until it has released all it made:
    // ours frees the entry and senses it read on the way to its answer, so the
    // floor frees its own as well, and each answer goes with its clock running.
    // The two sides take turns at going first, so that neither always finds the
    // caches warmed by the other.
    bool oursFirst = true;
    for (auto _ : state) {
        const auto timeOurs = [&] {
            const Clock::time_point start = Clock::now();
            {
                const WordMeanings::Answer found = spellCheck.Meanings(typed);
                benchmark::DoNotOptimize(found.meanings.data());
            }
            return std::chrono::duration<double>(Clock::now() - start).count();
        };
        const auto timeFloor = [&] {
            const Clock::time_point start = Clock::now();
            {
                std::array<QList<WordNetReader::Sense>, 4> senses;
                const ThesaurusEntry entry = source.entry(root, language);
                benchmark::DoNotOptimize(entry.meanings.data());
                for (const PartOfSpeech partOfSpeech : std::as_const(needed)) {
                    senses[size_t(partOfSpeech)] = wordNet.senses(root, partOfSpeech);
                    benchmark::DoNotOptimize(senses[size_t(partOfSpeech)].data());
                }
            }
            return std::chrono::duration<double>(Clock::now() - start).count();
        };
        double seconds = 0;
        if (oursFirst) {
            seconds = timeOurs();
            floorTimes.push_back(timeFloor());
        } else {
            floorTimes.push_back(timeFloor());
            seconds = timeOurs();
        }
        oursFirst = !oursFirst;
        state.SetIterationTime(seconds);
        ours.push_back(seconds);
    }
    const auto median = [](std::vector<double> &times) {
        std::nth_element(times.begin(), times.begin() + std::ptrdiff_t(times.size() / 2), times.end());
        return times[times.size() / 2];
    };
    const double oursMedian = median(ours);
    const double floorMedian = median(floorTimes);
    state.counters["meanings"] = double(answer.meanings.size());
    state.counters["defined"] = double(defined);
    state.counters["ours_us"] = oursMedian * 1e6;
    state.counters["floor_us"] = floorMedian * 1e6;
    state.counters["overhead"] = floorMedian > 0 ? oursMedian / floorMedian : 0;
}

} // namespace

BENCHMARK_CAPTURE(sensesRow, adj / bright, PartOfSpeech::Adjective, "bright")->UseManualTime();
BENCHMARK_CAPTURE(sensesRow, noun / dog, PartOfSpeech::Noun, "dog")->UseManualTime();
BENCHMARK_CAPTURE(sensesRow, noun / ice_cream, PartOfSpeech::Noun, "ice cream")->UseManualTime();
BENCHMARK_CAPTURE(sensesRow, noun / head, PartOfSpeech::Noun, "head")->UseManualTime();
BENCHMARK_CAPTURE(sensesRow, verb / run, PartOfSpeech::Verb, "run")->UseManualTime();
BENCHMARK_CAPTURE(sensesRow, adv / well, PartOfSpeech::Adverb, "well")->UseManualTime();

BENCHMARK_CAPTURE(meaningsRow, bright, "bright")->UseManualTime();
BENCHMARK_CAPTURE(meaningsRow, run, "run")->UseManualTime();
BENCHMARK_CAPTURE(meaningsRow, dog, "dog")->UseManualTime();
BENCHMARK_CAPTURE(meaningsRow, well, "well")->UseManualTime();
BENCHMARK_CAPTURE(meaningsRow, head, "head")->UseManualTime();

BENCHMARK_MAIN();
