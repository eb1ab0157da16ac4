#include "thesaurus/MythesFile.h"
#include "thesaurus/WordMeanings.h"

#include <QFile>
#include <QTest>

namespace {

const QString Mythes = QStringLiteral("/usr/share/mythes/th_en_US_v2");
const QString WordNet = QStringLiteral("/usr/share/wordnet");

} // namespace

// English meanings over the installed en_US thesaurus and WordNet: whether the
// meanings find the senses a reader would name.
class TestMeaningsSystem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        if (!QFile::exists(Mythes + QStringLiteral(".dat")) || !WordNetReader({WordNet}).isPresent())
            QSKIP("needs the installed en_US thesaurus (mythes-en-us) and WordNet (wordnet-base)");
    }

    // Each meaning of "bright" is defined by the sense it stands for, named here
    // by the definition's first words.
    void brightFindsItsSenses()
    {
        MythesFile file(Mythes + QStringLiteral(".idx"), Mythes + QStringLiteral(".dat"));
        WordNetReader wordNet({WordNet});
        QList<WordMeanings::Meaning> meanings = WordMeanings::fromEntry(file.lookup(QStringLiteral("bright")));
        WordMeanings::addDefinitions(meanings, QStringLiteral("bright"), wordNet);
        const auto definitionWith = [&](const QString &word) {
            for (const WordMeanings::Meaning &meaning : meanings) {
                for (const WordMeanings::Word &each : meaning.words) {
                    if (each.text == word)
                        return meaning.definition;
                }
            }
            return QString();
        };
        QVERIFY2(definitionWith(QStringLiteral("agleam")).startsWith(QStringLiteral("emitting or reflecting light")),
                 qPrintable(definitionWith(QStringLiteral("agleam"))));
        QVERIFY2(definitionWith(QStringLiteral("smart")).startsWith(QStringLiteral("characterized by quickness")),
                 qPrintable(definitionWith(QStringLiteral("smart"))));
        QVERIFY2(definitionWith(QStringLiteral("brightly")).contains(QStringLiteral("bright")),
                 qPrintable(definitionWith(QStringLiteral("brightly"))));
        QVERIFY(meanings[0].antonyms.contains(QStringLiteral("dull")));
    }

    // Over a spread of headwords, the share of meanings with a part of speech that
    // find a sense: the thesaurus was made from WordNet, so nearly all should.
    void nearlyEveryMeaningFindsASense()
    {
        MythesFile file(Mythes + QStringLiteral(".idx"), Mythes + QStringLiteral(".dat"));
        WordNetReader wordNet({WordNet});
        QFile index(Mythes + QStringLiteral(".idx"));
        QVERIFY(index.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = index.readAll().split('\n');
        lines = lines.mid(2);
        const qsizetype step = std::max<qsizetype>(1, lines.size() / 3000);
        int withPartOfSpeech = 0;
        int defined = 0;
        for (qsizetype i = 0; i < lines.size(); i += step) {
            const qsizetype bar = lines[i].lastIndexOf('|');
            if (bar <= 0)
                continue;
            const QString word = QString::fromUtf8(lines[i].first(bar));
            QList<WordMeanings::Meaning> meanings = WordMeanings::fromEntry(file.lookup(word));
            WordMeanings::addDefinitions(meanings, word, wordNet);
            for (const WordMeanings::Meaning &meaning : meanings) {
                withPartOfSpeech += meaning.partOfSpeech.isEmpty() ? 0 : 1;
                defined += meaning.definition.isEmpty() ? 0 : 1;
            }
        }
        const double share = double(defined) / std::max(1, withPartOfSpeech);
        qInfo("%d of %d meanings found a sense (%.1f%%)", defined, withPartOfSpeech, 100 * share);
        QVERIFY(withPartOfSpeech > 3000);
        QVERIFY2(share >= 0.95, qPrintable(QString::number(share)));
    }
};

QTEST_GUILESS_MAIN(TestMeaningsSystem)
#include "test_meaningssystem.moc"
