// The tooltips of the result columns' words: the whole word, the words a deeper
// word came through, and the sense it stands under, looked up when the tooltip is
// asked for and never during a Generate.

#include "../ScriptedSource.h"
#include "MainWindowHarness.h"
#include "app/CheckListBox.h"
#include "app/Main.h"
#include "app/ResultColumn.h"
#include "app/ResultsArea.h"
#include "app/WordListModel.h"
#include "thesaurus/MythesSource.h"
#include "thesaurus/TSpellCheck.h"
#include "thesaurus/WordForms.h"
#include "thesaurus/WordNetReader.h"

#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>
#include <QtTest>

#include <memory>

using MainWindowHarness::Harness;
using MainWindowHarness::settle;

namespace {

const QString DataDir = QStringLiteral(VERBARIUM_TEST_DATA);

// The main window over the labelled en_US fixture, with WordNet's fixture for the
// definitions and no spelling dictionary: every word typed here has an entry.
class FixtureWindow
{
public:
    FixtureWindow()
    {
        form = std::make_unique<TForm1>(std::make_unique<MythesSource>(QStringList{DataDir + QStringLiteral("/meanings")}));
        form->SpellCheck1->setWordForms(std::make_unique<WordForms>(QStringList{}));
        form->SpellCheck1->setWordNet(
            std::make_unique<WordNetReader>(QStringList{DataDir + QStringLiteral("/wordnet/healthy")}));
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qFatal("the main window was never exposed");
        settle();
    }

    void generate(const QString &phrase, int depth) const
    {
        auto *cbb1 = form->findChild<QComboBox *>(QStringLiteral("cbb1"));
        Harness::retype(form->findChild<QLineEdit *>(QStringLiteral("edt1")), phrase);
        Harness::retype(cbb1->lineEdit(), cbb1->itemText(depth));
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("btn2")), Qt::LeftButton);
        settle();
    }

    std::unique_ptr<TForm1> form;
};

int rowOf(const WordListModel *words, const QString &word)
{
    for (int row = 0; row < words->rowCount(); ++row) {
        if (words->text(row) == word)
            return row;
    }
    return -1;
}

// The tooltip of a word of the first column, as the view asks for it.
QString toolTipOf(const QList<ResultColumn *> &columns, const QString &word)
{
    if (columns.isEmpty() || !columns.first()->list())
        return QStringLiteral("<no column>");
    const WordListModel *words = columns.first()->list()->words();
    const int row = rowOf(words, word);
    if (row < 0)
        return QStringLiteral("<no row %1>").arg(word);
    return words->index(row, 0).data(Qt::ToolTipRole).toString();
}

// Wraps the window's own lookup and counts its calls.
struct CountedLookup {
    std::shared_ptr<QStringList> asked = std::make_shared<QStringList>();

    void install(ResultsArea *area) const
    {
        area->setMeaningsLookup([asked = asked, real = area->meaningsLookup()](const QString &word) {
            asked->append(word);
            return real(word);
        });
    }
};

} // namespace

class TestToolTips : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each tier over the labelled fixture and WordNet: a first-level word names
    // the sense of the typed word it stands under, with the definition where WordNet
    // has one; a deeper word names the words it came through, then the sense of its
    // parent it stands under. The parent of a deeper word is the nearest word above
    // it one tier up, past the deeper words of its siblings.
    void toolTipsNameTheSenseAndThePath_data()
    {
        QTest::addColumn<int>("depth");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("toolTip");

        QTest::newRow("first level, defined") << 0 << QStringLiteral("vivid")
                                              << QStringLiteral("vivid\n(adj) vivid, brilliant, colorful: having "
                                                                "striking color");
        QTest::newRow("first level, a similar term") << 0 << QStringLiteral("colorful")
                                                     << QStringLiteral("colorful\n(adj) vivid, brilliant, colorful: "
                                                                       "having striking color");
        // No WordNet sense shares a word with this meaning: no definition.
        QTest::newRow("first level, undefined")
            << 0 << QStringLiteral("smart") << QStringLiteral("smart\n(adj) smart, intelligent");
        // A broader term names its meaning by the meaning's own words.
        QTest::newRow("first level, a broader term")
            << 0 << QStringLiteral("light") << QStringLiteral("light\n(noun) brightness");
        QTest::newRow("first level, another part of speech")
            << 0 << QStringLiteral("brightly") << QStringLiteral("brightly\n(adv) brightly: with brightness");
        // A long definition is broken into lines: plain tooltips are not wrapped.
        QTest::newRow("first level, a long definition")
            << 0 << QStringLiteral("shining")
            << QStringLiteral("shining\n(adj) shining, luminous: emitting or reflecting light readily or in "
                              "large\namounts");
        QTest::newRow("second level") << 1 << QStringLiteral("graphic")
                                      << QStringLiteral("graphic\nbright → vivid → graphic\n(adj) bright, brilliant, "
                                                        "graphic: having striking color");
        QTest::newRow("third level, defined")
            << 2 << QStringLiteral("brilliant")
            << QStringLiteral("brilliant\nbright → vivid → bright → brilliant\n(adj) vivid, brilliant, colorful: "
                              "having striking color");
        QTest::newRow("third level, undefined")
            << 2 << QStringLiteral("intelligent")
            << QStringLiteral("intelligent\nbright → vivid → bright → intelligent\n(adj) smart, intelligent");
        // Below the third-level words of "bright": its parent is "vivid" all the same.
        QTest::newRow("second level after third-level rows")
            << 2 << QStringLiteral("graphic")
            << QStringLiteral("graphic\nbright → vivid → graphic\n(adj) bright, brilliant, graphic: having striking "
                              "color");
    }

    void toolTipsNameTheSenseAndThePath()
    {
        QFETCH(int, depth);
        QFETCH(QString, word);
        QFETCH(QString, toolTip);
        FixtureWindow w;
        w.generate(QStringLiteral("bright"), depth);
        QCOMPARE(toolTipOf(w.form->columns(), word), toolTip);
    }

    // The list shows the same text when the pointer rests on the word.
    void theViewShowsTheToolTip()
    {
        FixtureWindow w;
        w.generate(QStringLiteral("bright"), 1);
        CheckListBox *list = w.form->columns().first()->list();
        const int row = rowOf(list->words(), QStringLiteral("graphic"));
        QVERIFY(row >= 0);
        list->scrollTo(list->model()->index(row, 0));
        const QPoint over = MainWindowHarness::onWord(list, row);
        QHelpEvent help(QEvent::ToolTip, over, list->viewport()->mapToGlobal(over));
        QApplication::sendEvent(list->viewport(), &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), toolTipOf(w.form->columns(), QStringLiteral("graphic")));
        QToolTip::hideText();
    }

    // A Generate, at every depth, looks up no meaning; a tooltip looks up its
    // parent's meanings once, and the words under the same parent share them.
    void meaningsAreLookedUpForTooltipsOnly()
    {
        FixtureWindow w;
        auto *area = w.form->findChild<ResultsArea *>(QStringLiteral("ScrollBox1"));
        const CountedLookup counted;
        counted.install(area);
        for (int depth : {0, 1, 2}) {
            w.generate(QStringLiteral("bright"), depth);
            QVERIFY(!w.form->columns().isEmpty());
        }
        QCOMPARE(*counted.asked, QStringList{});

        QVERIFY(toolTipOf(w.form->columns(), QStringLiteral("brilliant")).contains(QStringLiteral("(adj)")));
        QCOMPARE(*counted.asked, QStringList{QStringLiteral("bright")});
        toolTipOf(w.form->columns(), QStringLiteral("brilliant"));
        toolTipOf(w.form->columns(), QStringLiteral("smart"));
        QCOMPARE(*counted.asked, QStringList{QStringLiteral("bright")});
        toolTipOf(w.form->columns(), QStringLiteral("graphic"));
        QCOMPARE(*counted.asked, (QStringList{QStringLiteral("bright"), QStringLiteral("vivid")}));
    }

    // A tooltip asked after another Generate tells what the thesaurus says then:
    // the meanings asked for the columns before are not kept for the new ones.
    void aNewGenerateAsksAgain()
    {
        // A scripted thesaurus answers one meaning without a label; more than three
        // words: the first three name it.
        Harness w(QStringLiteral("bright: shining, vivid, smart, clever"));
        w.generate(QStringLiteral("bright"));
        QCOMPARE(toolTipOf(w.form->columns(), QStringLiteral("vivid")), QStringLiteral("vivid\nshining, vivid, smart, …"));

        auto *source = dynamic_cast<ScriptedSource *>(w.form->SpellCheck1->source());
        QVERIFY(source);
        source->script(QStringLiteral("bright: glowing, vivid"));
        w.generate(QStringLiteral("bright"));
        QCOMPARE(toolTipOf(w.form->columns(), QStringLiteral("vivid")), QStringLiteral("vivid\nglowing, vivid"));
    }

    // A failed lookup leaves the tooltip with what needs none (the word, its path)
    // and is not tried again at every hover; nothing is thrown out of the view.
    void aFailedLookupShowsTheWordAlone()
    {
        Harness w(QStringLiteral("bright: shining, vivid; vivid: graphic"));
        w.generate(QStringLiteral("bright"), 1);
        auto *source = dynamic_cast<ScriptedSource *>(w.form->SpellCheck1->source());
        QVERIFY(source);
        source->throwAtCall = int(source->log->calls.size()); // the next lookup fails
        QCOMPARE(toolTipOf(w.form->columns(), QStringLiteral("shining")), QStringLiteral("shining"));
        const qsizetype calls = source->log->calls.size();
        QCOMPARE(toolTipOf(w.form->columns(), QStringLiteral("vivid")), QStringLiteral("vivid"));
        QCOMPARE(source->log->calls.size(), calls);
        // Another parent's lookup is its own, and answers.
        QCOMPARE(toolTipOf(w.form->columns(), QStringLiteral("graphic")),
                 QStringLiteral("graphic\nbright → vivid → graphic\ngraphic"));
    }

    // A word that no meaning of its parent lists (the data gave it in another form)
    // gets the whole word and its path, no sense.
    void aWordNoMeaningListsHasNoSense()
    {
        Harness w(QStringLiteral("bright: shining"));
        auto *area = w.form->findChild<ResultsArea *>(QStringLiteral("ScrollBox1"));
        area->setMeaningsLookup([](const QString &word) {
            WordMeanings::Answer answer{word, word, {}, {}};
            WordMeanings::Meaning meaning;
            meaning.label = QStringLiteral("(adj)");
            meaning.partOfSpeech = QStringLiteral("adj");
            meaning.words = {{QStringLiteral("glowing"), {}}};
            answer.meanings.append(meaning);
            return answer;
        });
        w.generate(QStringLiteral("bright"));
        QCOMPARE(toolTipOf(w.form->columns(), QStringLiteral("shining")), QStringLiteral("shining"));
    }

    // The sense's line from a meaning's parts: the part of speech, or the data's
    // label where it names none (a lone "-" says nothing), the first words, the
    // definition.
    void senseLine_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("partOfSpeech");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QString>("definition");
        QTest::addColumn<QString>("line");

        const QStringList two{QStringLiteral("smart"), QStringLiteral("intelligent")};
        QTest::newRow("all parts") << QStringLiteral("(adj)") << QStringLiteral("adj") << two
                                   << QStringLiteral("quick to learn")
                                   << QStringLiteral("(adj) smart, intelligent: quick to learn");
        QTest::newRow("label of several parts") << QStringLiteral("(Adjectif Nom)") << QString() << two << QString()
                                                << QStringLiteral("(Adjectif Nom) smart, intelligent");
        QTest::newRow("no part of speech")
            << QStringLiteral("-") << QString() << two << QString() << QStringLiteral("smart, intelligent");
        QTest::newRow("definition alone") << QString() << QString() << QStringList{} << QStringLiteral("quick to learn")
                                          << QStringLiteral("quick to learn");
    }

    void senseLine()
    {
        QFETCH(QString, label);
        QFETCH(QString, partOfSpeech);
        QFETCH(QStringList, words);
        QFETCH(QString, definition);
        QFETCH(QString, line);
        WordMeanings::Meaning meaning;
        meaning.label = label;
        meaning.partOfSpeech = partOfSpeech;
        for (const QString &word : words)
            meaning.words.append({word, {}});
        meaning.definition = definition;
        QCOMPARE(WordListModel::senseLine(meaning), line);
    }
};

QTEST_MAIN(TestToolTips)
#include "test_tooltips.moc"
