#include "thesaurus/HunspellDictionary.h"

#include "common/AppError.h"
#include "common/RegularFile.h"
#include "thesaurus/MythesFile.h"

#include <QFile>
#include <QFileInfo>

#include <hunspell/hunspell.hxx>

#include <algorithm>

namespace {

// What the affix file says before Hunspell reads it: its encoding and whether it
// compounds. Hunspell itself says nothing when a file is unreadable or mangled, so
// the checks that matter are made here.
struct AffixFacts {
    QByteArray encoding = "ISO8859-1"; // Hunspell's default when SET is missing
    bool compounds = false;
    // The words the .dic begins with, in its own encoding, flags and fields cut off.
    std::vector<std::string> firstWords;
};

// Enough of the .dic's first words that one of them is a plain word Hunspell
// accepts as it stands; the rest may be forbidden or need an affix.
constexpr int FirstWordsChecked = 100;

// "bright/RT", "worse st:bad", "Haus/S\tpo:noun" -> the word.
QByteArray wordOfLine(const QByteArray &line)
{
    qsizetype end = line.size();
    for (const char separator : {'/', '\t', ' '}) {
        const qsizetype at = line.indexOf(separator);
        if (at >= 0 && at < end)
            end = at;
    }
    // An escaped slash belongs to the word; such a word is simply not checked.
    if (end > 0 && line.at(end - 1) == '\\')
        return {};
    return line.left(end);
}

QByteArray firstLine(QFile &file)
{
    QByteArray line = file.readLine(4096).trimmed();
    if (line.startsWith("\xEF\xBB\xBF"))
        line.remove(0, 3);
    return line;
}

AffixFacts checkPair(const QString &affPath, const QString &dicPath)
{
    for (const QString &path : {affPath, dicPath}) {
        if (!QFileInfo::exists(path))
            throw AppError(QStringLiteral("%1 is missing").arg(QFileInfo(path).fileName()));
    }
    // A FIFO under the name would hold the open until a writer came.
    QString error;
    QFile dic(dicPath);
    if (!RegularFile::openForReading(dic, error))
        throw AppError(QStringLiteral("%1 cannot be read: %2").arg(QFileInfo(dicPath).fileName(), error));
    bool ok = false;
    const QByteArray count = firstLine(dic);
    const QString dicName = QFileInfo(dicPath).fileName();
    const qint64 words = count.split('\t').value(0).split(' ').value(0).toLongLong(&ok);
    if (!ok || words < 0)
        throw AppError(QStringLiteral("%1 does not begin with its word count").arg(dicName));
    // Hunspell sizes its table by the count before it reads a word: a count the
    // file cannot hold (every word takes a byte and its line end) would cost
    // gigabytes, or, past 2^31, leave the dictionary empty. Real counts are near
    // the number of lines, and always below the number of bytes.
    const qint64 bytes = dic.size() - dic.pos();
    if (words > bytes)
        throw AppError(QStringLiteral("%1 claims %2 words, more than its %3 bytes can hold")
                           .arg(dicName)
                           .arg(words)
                           .arg(std::max<qint64>(bytes, 0)));

    QFile aff(affPath);
    if (!RegularFile::openForReading(aff, error))
        throw AppError(QStringLiteral("%1 cannot be read: %2").arg(QFileInfo(affPath).fileName(), error));
    AffixFacts facts;
    bool anyRule = false;
    while (!aff.atEnd()) {
        const QByteArray line = aff.readLine(1 << 16).trimmed();
        if (line.contains('\0'))
            throw AppError(QStringLiteral("%1 is not a text file").arg(QFileInfo(affPath).fileName()));
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        anyRule = true;
        const QList<QByteArray> fields = line.simplified().split(' ');
        const QByteArray &key = fields.first();
        if (key == "SET" && fields.size() > 1)
            facts.encoding = fields[1];
        else if (key == "COMPOUNDFLAG" || key == "COMPOUNDBEGIN")
            facts.compounds = true;
    }
    if (!anyRule && aff.size() > 0)
        throw AppError(QStringLiteral("%1 holds no affix rules").arg(QFileInfo(affPath).fileName()));
    if (!QStringDecoder(MythesFile::codecName(facts.encoding).constData()).isValid())
        throw AppError(QStringLiteral("%1 names an unknown encoding, %2")
                           .arg(QFileInfo(affPath).fileName(), QString::fromLatin1(facts.encoding)));

    while (!dic.atEnd() && facts.firstWords.size() < FirstWordsChecked) {
        const QByteArray word = wordOfLine(dic.readLine(4096).trimmed());
        if (!word.isEmpty())
            facts.firstWords.push_back(word.toStdString());
    }
    if (facts.firstWords.empty())
        throw AppError(QStringLiteral("%1 holds no words").arg(dicName));
    return facts;
}

} // namespace

HunspellDictionary::HunspellDictionary(const QString &affPath, const QString &dicPath) : m_dicPath(dicPath)
{
    const AffixFacts facts = checkPair(affPath, dicPath);
    m_hunspell = std::make_unique<Hunspell>(QFile::encodeName(affPath).constData(), QFile::encodeName(dicPath).constData());
    // Hunspell says nothing when it loads nothing (a count of 0, a pair it cannot
    // parse): a dictionary that accepts none of its own first words is no use.
    const bool answers = std::any_of(facts.firstWords.cbegin(), facts.firstWords.cend(),
                                     [this](const std::string &word) { return m_hunspell->spell(word); });
    if (!answers)
        throw AppError(
            QStringLiteral("Hunspell accepts none of the words %1 begins with; the pair may be damaged or cut short")
                .arg(QFileInfo(dicPath).fileName()));
    // Hunspell's own reading of SET decides how words are spoken to it.
    const std::string reported = m_hunspell->get_dict_encoding();
    m_encoding = reported.empty() ? facts.encoding : QByteArray::fromStdString(reported);
    m_utf8 = m_encoding.compare("UTF-8", Qt::CaseInsensitive) == 0 || m_encoding.compare("UTF8", Qt::CaseInsensitive) == 0;
    // The converters know some of Hunspell's names by others ("microsoft-cp1251").
    const QByteArray codec = MythesFile::codecName(m_encoding);
    m_encoder = QStringEncoder(codec.constData());
    m_decoder = QStringDecoder(codec.constData());
    if (!m_encoder.isValid() || !m_decoder.isValid())
        throw AppError(QStringLiteral("the encoding %1 is unknown").arg(QString::fromLatin1(m_encoding)));
    m_compounds = facts.compounds;
}

HunspellDictionary::~HunspellDictionary() = default;

std::string HunspellDictionary::encode(const QString &word) const
{
    if (m_utf8)
        return word.toStdString();
    // A word the dictionary's code page cannot spell is no word of it: empty.
    m_encoder.resetState();
    const QByteArray bytes = m_encoder.encode(word);
    return m_encoder.hasError() ? std::string() : bytes.toStdString();
}

QString HunspellDictionary::decode(const std::string &text) const
{
    if (m_utf8)
        return QString::fromStdString(text);
    m_decoder.resetState();
    return m_decoder.decode(QByteArrayView(text.data(), qsizetype(text.size())));
}

bool HunspellDictionary::spell(const QString &word) const
{
    const std::string encoded = encode(word);
    return !encoded.empty() && m_hunspell->spell(encoded);
}

HunspellDictionary::Check HunspellDictionary::check(const QString &word) const
{
    // Hunspell's SPELL_COMPOUND bit of the spell check's info (hunspell.hxx documents it).
    constexpr int SpellCompound = 1 << 0;
    Check result;
    const std::string encoded = encode(word);
    if (encoded.empty())
        return result;
    int info = 0;
    std::string root;
    result.correct = m_hunspell->spell(encoded, &info, &root);
    if (result.correct) {
        result.compound = (info & SpellCompound) != 0;
        result.root = decode(root);
    }
    return result;
}

HunspellDictionary::Analysis HunspellDictionary::parseAnalysis(const QString &line)
{
    Analysis analysis;
    bool seenStem = false;
    for (const QString &token : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (token.startsWith(u"st:")) {
            if (!token.sliced(3).isEmpty())
                analysis.stems.append(token.sliced(3));
            seenStem = true;
        } else if (token.startsWith(u"pa:")) {
            analysis.compoundLast = token.sliced(3);
        } else if (!seenStem && !token.startsWith(u"is:") && !token.startsWith(u"po:")) {
            // A prefix flag ("fl:A"), a prefix morpheme ("un") or an elision ("dp:le").
            analysis.prefixed = true;
        }
    }
    // The stems of a compound's analysis are those of its parts, not of the word.
    if (!analysis.compoundLast.isEmpty()) {
        analysis.stems.clear();
        analysis.prefixed = false;
    }
    return analysis;
}

QList<HunspellDictionary::Analysis> HunspellDictionary::analyze(const QString &word) const
{
    QList<Analysis> result;
    const std::string encoded = encode(word);
    if (encoded.empty())
        return result;
    for (const std::string &line : m_hunspell->analyze(encoded))
        result.append(parseAnalysis(decode(line)));
    return result;
}

QStringList HunspellDictionary::decodedList(const QString &word,
                                            std::vector<std::string> (Hunspell::*call)(const std::string &)) const
{
    QStringList result;
    const std::string encoded = encode(word);
    if (encoded.empty())
        return result;
    for (const std::string &s : (m_hunspell.get()->*call)(encoded))
        result.append(decode(s));
    return result;
}

QStringList HunspellDictionary::suggest(const QString &word) const
{
    return decodedList(word, &Hunspell::suggest);
}

QStringList HunspellDictionary::stems(const QString &word) const
{
    return decodedList(word, &Hunspell::stem);
}
