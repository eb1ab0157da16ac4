// Word forms in the windows: the line above the result columns that names the
// typed words that found nothing, and the root of a word tree window. Real
// windows over a scripted thesaurus, with the Hunspell dictionary of
// tests/data/wordforms.

#include "../ScriptedSource.h"
#include "GuiTestDoubles.h"
#include "MainWindowHarness.h"
#include "widgets/Dialogs.h"
#include "app/Main.h"
#include "app/ResultColumn.h"
#include "thesaurus/TSpellCheck.h"
#include "thesaurus/WordForms.h"
#include "app/popOver.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

using GuiTestDoubles::Message;
using MainWindowHarness::settle;

namespace {

const QString DataDir = QStringLiteral(VERBARIUM_TEST_DATA);

// The main window over a scripted thesaurus, with the word forms of the given folders.
class Window : public MainWindowHarness::Harness
{
public:
    explicit Window(const QStringList &dictionaryPath,
                    const QString &script = QStringLiteral(
                        "bright: brilliant, shining; brig: ship, prison; brilliant: dazzling; shining: gleaming"))
        : Harness(script, {}, [&dictionaryPath](TForm1 &form) {
              form.SpellCheck1->setWordForms(std::make_unique<WordForms>(dictionaryPath));
          })
    {
    }

    QWidget *line() const { return find<QWidget>("pnlMissLine"); }

    QStringList texts(const char *name) const
    {
        QStringList result;
        for (QLabel *label : line()->findChildren<QLabel *>(QLatin1StringView(name))) {
            if (!label->isHidden())
                result.append(label->text());
        }
        return result;
    }

    QList<QPushButton *> suggestions() const
    {
        QList<QPushButton *> result;
        for (QPushButton *button : line()->findChildren<QPushButton *>(QStringLiteral("btnSuggestion"))) {
            if (!button->isHidden())
                result.append(button);
        }
        return result;
    }

    QStringList headings() const
    {
        QStringList result;
        for (const QString &heading : Harness::headings())
            result.append(heading.trimmed());
        return result;
    }
};

QStringList buttonTexts(const QList<QPushButton *> &buttons)
{
    QStringList result;
    for (QPushButton *button : buttons)
        result.append(button->text());
    return result;
}

} // namespace

class TestMissLine : public QObject
{
    Q_OBJECT

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private Q_SLOTS:
    void initTestCase()
    {
        GuiTestDoubles::installStubConnectivity();
        GuiTestDoubles::keepPagesOnThisMachine();
        GuiTestDoubles::recordMessagesInto(messages);
    }

    void missLineOffersSuggestionsAndGoesAtNextGenerate()
    {
        Window w({DataDir + QStringLiteral("/wordforms")});
        QVERIFY(w.line()->isHidden());

        w.generate(QStringLiteral("brigt, brighter qqqq"));
        // "brighter" answers through "bright": the heading stays the typed word.
        QCOMPARE(w.headings(), QStringList{QStringLiteral("brighter")});
        QVERIFY(w.form->columns().first()->heading()->toolTip().contains(QStringLiteral("Synonyms of “bright”")));
        QVERIFY(w.line()->isVisible());
        QCOMPARE(w.texts("lblMiss"), (QStringList{QStringLiteral("No synonyms for “brigt,”; did you mean:"),
                                                  QStringLiteral("No synonyms for “qqqq”.")}));
        // "brigs" and "brat" are spellings without synonyms: not offered.
        QCOMPARE(buttonTexts(w.suggestions()), (QStringList{QStringLiteral("brig"), QStringLiteral("bright")}));
        QVERIFY(messages.isEmpty()); // no modal box

        // Keyboard users reach the suggestions with Tab from the phrase.
        w.find<QLineEdit>("edt1")->setFocus();
        settle();
        bool reached = false;
        for (int i = 0; i < 60 && !reached; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached = QApplication::focusWidget() == w.suggestions().at(1);
        }
        QVERIFY2(reached, "Tab never reached the suggestion");

        // A click puts the suggestion in the word's place, punctuation kept, and generates again.
        w.log->calls.clear();
        QTest::mouseClick(w.suggestions().at(1), Qt::LeftButton);
        QTRY_COMPARE(w.find<QLineEdit>("edt1")->text(), QStringLiteral("bright, brighter qqqq"));
        QTRY_COMPARE(w.headings(), (QStringList{QStringLiteral("bright,"), QStringLiteral("brighter")}));
        QVERIFY(!w.log->calls.isEmpty());
        QCOMPARE(w.texts("lblMiss"), QStringList{QStringLiteral("No synonyms for “qqqq”.")});
        QVERIFY(w.suggestions().isEmpty());

        // The line goes at the next Generate that finds everything.
        w.generate(QStringLiteral("bright"));
        QVERIFY(w.line()->isHidden());
        QVERIFY(w.texts("lblMiss").isEmpty());
    }

    // A suggestion mends the phrase it was made for, even after the box was typed
    // over: the word at its place in another phrase is not the misspelled one.
    void suggestionMendsThePhraseItWasMadeFor()
    {
        Window w({DataDir + QStringLiteral("/wordforms")});
        w.generate(QStringLiteral("brigt, brighter qqqq"));
        QCOMPARE(buttonTexts(w.suggestions()), (QStringList{QStringLiteral("brig"), QStringLiteral("bright")}));
        auto *edt1 = w.find<QLineEdit>("edt1");
        Window::retype(edt1, QStringLiteral("happy"));
        QTest::mouseClick(w.suggestions().at(1), Qt::LeftButton);
        QTRY_COMPARE(edt1->text(), QStringLiteral("bright, brighter qqqq"));
        QTRY_COMPARE(w.headings(), (QStringList{QStringLiteral("bright,"), QStringLiteral("brighter")}));
    }

    // "the" is spelled right and has no synonyms: one miss, however often and in
    // whatever case it stands, and no "did you mean", though "then" has synonyms.
    void wordSpelledRightIsOneMissWithoutSuggestions()
    {
        Window w({DataDir + QStringLiteral("/wordforms")}, QStringLiteral("bright: brilliant; then: next"));
        w.generate(QStringLiteral("the bright The"));
        QCOMPARE(w.headings(), QStringList{QStringLiteral("bright")});
        QCOMPARE(w.texts("lblMiss"), QStringList{QStringLiteral("No synonyms for “the”.")});
        QVERIFY(w.suggestions().isEmpty());
    }

    void emptyPiecesAndPunctuationAreNoMisses()
    {
        Window w({DataDir + QStringLiteral("/wordforms")});
        w.generate(QStringLiteral("bright  -- ..."));
        QCOMPARE(w.headings(), QStringList{QStringLiteral("bright")});
        QVERIFY(w.line()->isHidden());
    }

    void damagedDictionaryIsToldOnce()
    {
        Window w(
            {DataDir + QStringLiteral("/wordforms-damaged/dic-without-count"), DataDir + QStringLiteral("/wordforms")});
        w.generate(QStringLiteral("brighter bright"));
        // Without the dictionary, only the word as typed is found, and no crash.
        QCOMPARE(w.headings(), QStringList{QStringLiteral("bright")});
        const QStringList notes = w.texts("lblDictionaryNote");
        QCOMPARE(notes.size(), 1);
        QVERIFY2(notes.first().contains(QStringLiteral("en_US.dic")), qPrintable(notes.first()));
        QCOMPARE(w.texts("lblMiss"), QStringList{QStringLiteral("No synonyms for “brighter”.")});

        w.generate(QStringLiteral("brighter"));
        QVERIFY(w.texts("lblDictionaryNote").isEmpty());
        QCOMPARE(w.texts("lblMiss"), QStringList{QStringLiteral("No synonyms for “brighter”.")});
        QVERIFY(messages.isEmpty());
    }

    void wordTreeAnswersThroughTheRoot()
    {
        auto source = ScriptedSource::fromText(
            QStringLiteral("bright: brilliant, shining; brilliant: dazzling; shining: gleaming; brighter: "));
        const auto log = source->log;
        TSpellCheck spellCheck(nullptr, std::move(source));
        spellCheck.setWordForms(std::make_unique<WordForms>(QStringList{DataDir + QStringLiteral("/wordforms")}));
        DisplayFont font;

        QPointer<TForm2> tree = new TForm2(&spellCheck, &font);
        tree->aWord = QStringLiteral("brighter");
        tree->show();
        settle();
        QVERIFY(tree);
        QTreeWidgetItem *root = tree->tv1->topLevelItem(0);
        QCOMPARE(root->text(0), QStringLiteral("brighter"));
        QCOMPARE(root->toolTip(0), QStringLiteral("Synonyms of “bright”"));
        QStringList level1;
        for (int i = 0; i < root->childCount(); ++i)
            level1.append(root->child(i)->text(0));
        QCOMPARE(level1, (QStringList{QStringLiteral("brilliant"), QStringLiteral("shining")}));
        // Below the root the lookups are exact: "brilliant" is not taken for a form of anything.
        // The meanings panel then looks the selected root up, through its form too.
        QCOMPARE(log->words().mid(0, 6),
                 (QStringList{QStringLiteral("brighter"), QStringLiteral("bright"), QStringLiteral("brilliant"),
                              QStringLiteral("dazzling"), QStringLiteral("shining"), QStringLiteral("gleaming")}));
        QCOMPARE(log->words().constLast(), QStringLiteral("bright"));
        delete tree;

        // A word that nothing answers keeps the silent close, suggestions or not.
        QPointer<TForm2> nothing = new TForm2(&spellCheck, &font);
        nothing->aWord = QStringLiteral("brigt");
        nothing->show();
        QTRY_VERIFY(nothing.isNull());
        QVERIFY(messages.isEmpty());
    }

    // Beside an open Info panel the line is narrow: many misses, or one very long
    // word, go on to further rows. Every word that found nothing is named whole with
    // its suggestions after it, every button is in reach, and the window keeps its width.
    void longMissesWrapWithinTheLine_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<int>("misses");
        QTest::newRow("five misspellings with suggestions") << QStringLiteral("brigt brihgt brigth birght bbright") << 5;
        QTest::newRow("a very long word among them")
            << QStringLiteral("brigt %1 qqqq").arg(QString(300, QLatin1Char('z'))) << 3;
    }
    void longMissesWrapWithinTheLine()
    {
        QFETCH(QString, phrase);
        QFETCH(int, misses);
        Window w({DataDir + QStringLiteral("/wordforms")});
        QTabBar *infoTab = w.find<QTabWidget>("pgc2")->tabBar();
        QTest::mouseClick(infoTab, Qt::LeftButton, {}, infoTab->tabRect(0).center());
        settle();
        const int width = w.form->width();
        const int panelWidth = w.find<QWidget>("pnlSearchPanel")->width();
        QVERIFY(panelWidth < width / 2 + 10); // the Info panel is open

        w.find<QLineEdit>("edt1")->setText(phrase);
        w.click("btn2");
        settle();
        QCOMPARE(w.texts("lblMiss").size(), misses);
        QCOMPARE(w.form->width(), width);
        QCOMPARE(w.find<QWidget>("pnlSearchPanel")->width(), panelWidth);
        QCOMPARE(w.line()->width(), panelWidth);
        const QRect inside = w.line()->contentsRect();
        QList<QWidget *> shown;
        for (QWidget *child : w.line()->findChildren<QWidget *>()) {
            if (child->isVisibleTo(w.line()))
                shown.append(child);
        }
        for (QWidget *child : std::as_const(shown)) {
            const QRect at = child->geometry();
            QVERIFY2(inside.contains(at), qPrintable(child->objectName()));
            // A label or button shorter than the line is given its whole width.
            if (child->sizeHint().width() <= inside.width())
                QVERIFY2(at.width() >= child->sizeHint().width(), qPrintable(child->objectName()));
            for (QWidget *other : std::as_const(shown))
                QVERIFY(other == child || !at.intersects(other->geometry()));
        }
        for (QPushButton *button : w.suggestions())
            QVERIFY(!button->visibleRegion().isEmpty());
    }

private:
    QList<Message> messages;
};

QTEST_MAIN(TestMissLine)
#include "test_missline.moc"
