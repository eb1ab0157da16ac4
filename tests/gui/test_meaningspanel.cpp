#include "GuiTestDoubles.h"
#include "MainWindowHarness.h"

#include "app/CheckListBox.h"
#include "app/Main.h"
#include "app/MeaningsPanel.h"
#include "app/ResultColumn.h"
#include "app/WordListModel.h"
#include "app/popOver.h"
#include "common/AppError.h"
#include "info/BrowserView.h"
#include "info/InfoPanels.h"
#include "info/SiteAddress.h"
#include "thesaurus/TSpellCheck.h"
#include "thesaurus/WordNetReader.h"

#include <QApplication>
#include <QHttpServer>
#include <QHttpServerResponder>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;
using MainWindowHarness::onWord;
using MainWindowHarness::settle;

namespace {

const QString Reserved = u"https://verbarium-pro.example"_s;
const QString Data = QStringLiteral(VERBARIUM_TEST_DATA);

// Which WordNet the thesaurus reads definitions from.
enum class WordNet { Healthy, Absent, Partial };

QString wordNetFolder(WordNet wordNet, const QTemporaryDir &empty)
{
    switch (wordNet) {
    case WordNet::Healthy: return Data + u"/wordnet/healthy"_s;
    case WordNet::Partial: return Data + u"/wordnet/partial"_s;
    case WordNet::Absent: break;
    }
    return empty.path();
}

MeaningsPanel *panelOf(const QWidget &window)
{
    if (auto *panel = qobject_cast<MeaningsPanel *>(const_cast<QWidget *>(&window)))
        return panel;
    return window.findChild<MeaningsPanel *>(u"pnlMeanings"_s);
}

// What the panel shows, as its lines.
QStringList shownLines(const QWidget &window)
{
    return panelOf(window)->text()->toPlainText().split(u'\n', Qt::SkipEmptyParts);
}

// The side panel's page in front: "wb1", "lblMeaningsHint" or "pnlMeanings".
QString sideFront(const TForm1 &form)
{
    return form.findChild<QStackedWidget *>(u"stkInfo"_s)->currentWidget()->objectName();
}

int sideWidth(const TForm1 &form)
{
    return form.findChild<QTabWidget *>(u"pgc2"_s)->width();
}

// The words the page links to, in order.
QStringList linkedWords(QTextBrowser *text)
{
    QStringList words;
    for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isAnchor())
                words.append(MeaningsPanel::wordOfLink(QUrl(it.fragment().charFormat().anchorHref())));
        }
    }
    return words;
}

// Clicks the first link of the page to a word, where it is drawn.
bool clickLink(QTextBrowser *text, const QString &word)
{
    for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isAnchor()
                || MeaningsPanel::wordOfLink(QUrl(fragment.charFormat().anchorHref())) != word)
                continue;
            QTextCursor cursor(text->document());
            cursor.setPosition(fragment.position() + fragment.length() / 2);
            text->setTextCursor(cursor);
            text->ensureCursorVisible();
            QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, text->cursorRect(cursor).center());
            settle();
            return true;
        }
    }
    return false;
}

// The lines without what definitions bring (WordNet's glosses and quoted
// examples) and without the meanings' numbers, which a definition moves.
QStringList withoutDefinitions(const QStringList &lines, const QStringList &definitions)
{
    static const QRegularExpression number(QStringLiteral("^\\d+\\. "));
    QStringList kept;
    for (QString line : lines) {
        line.remove(number);
        if (line.startsWith(u'“')
            || std::any_of(definitions.begin(), definitions.end(), [&](const QString &d) { return line.startsWith(d); }))
            continue;
        kept.append(line);
    }
    return kept;
}

} // namespace

Q_DECLARE_METATYPE(WordNet)
Q_DECLARE_METATYPE(WordMeanings::Answer)

class TestMeaningsPanel : public QObject
{
    Q_OBJECT

    std::shared_ptr<GuiTestDoubles::StubConnectivity::Network> m_network;
    std::shared_ptr<QStringList> m_opened;
    QList<GuiTestDoubles::Message> m_messages;
    QTemporaryDir m_empty;

    // The main window over the labelled fixture data, with the given WordNet.
    std::unique_ptr<TForm1> makeWindow(WordNet wordNet = WordNet::Healthy, bool online = false)
    {
        m_network->online = online;
        auto form = std::make_unique<TForm1>();
        form->SpellCheck1->setWordNet(std::make_unique<WordNetReader>(QStringList{wordNetFolder(wordNet, m_empty)}));
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qFatal("the main window was never exposed");
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get()))
            qFatal("the main window never became active");
        settle();
        return form;
    }

    static void generate(TForm1 &form, const QString &phrase)
    {
        form.findChild<QLineEdit *>(u"edt1"_s)->setText(phrase);
        QTest::mouseClick(form.findChild<QPushButton *>(u"btn2"_s), Qt::LeftButton);
        settle();
    }

    static int rowOf(CheckListBox *list, const QString &word)
    {
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            if (list->words()->text(row) == word)
                return row;
        }
        qFatal("no row %s", qPrintable(word));
    }

    static void clickWord(TForm1 &form, const QString &word)
    {
        CheckListBox *list = form.columns().at(0)->list();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, onWord(list, rowOf(list, word)));
        settle();
    }

    // Right click on a word of the first column, then its dictionary item.
    static void chooseDictionary(TForm1 &form, const QString &word)
    {
        CheckListBox *list = form.columns().at(0)->list();
        MainWindowHarness::rightClick(list, onWord(list, rowOf(list, word)));
        QMenu *menu = form.columns().at(0)->popupMenu();
        QTRY_VERIFY(menu->isVisible());
        QAction *item = menu->findChild<QAction *>(u"miDictionary"_s);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        settle();
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("VERBARIUM_THESAURUS_PATH", QFile::encodeName(Data + u"/meanings"_s));
        m_network = GuiTestDoubles::installStubConnectivity();
        m_opened = GuiTestDoubles::installRecordingLinkOpener();
        GuiTestDoubles::recordMessagesInto(m_messages);
        QVERIFY(m_empty.isValid());
    }

    void init()
    {
        SiteAddress::setBaseUrlForTesting(Reserved);
        m_opened->clear();
        m_messages.clear();
    }

    void cleanup()
    {
        QCOMPARE(m_messages, QList<GuiTestDoubles::Message>{});
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    // Until a word is clicked the panel keeps its page, or the hint where no page
    // can be shown; a click on a word shows its meanings grouped by part of speech.
    void clickOnAWordShowsItsMeanings()
    {
        const auto form = makeWindow();
        QCOMPARE(sideFront(*form), u"lblMeaningsHint"_s);
        auto *hint = form->findChild<QLabel *>(u"lblMeaningsHint"_s);
        QCOMPARE(hint->text(), u"Click a word to see its meanings"_s);
        QVERIFY(hint->isVisible());
        QVERIFY(!form->findChild<BrowserView *>(u"wb1"_s)->unavailableNote()->isVisible());

        generate(*form, u"bright"_s);
        QCOMPARE(sideFront(*form), u"lblMeaningsHint"_s); // a Generate alone shows no word
        clickWord(*form, u"vivid"_s);
        QCOMPARE(sideFront(*form), u"pnlMeanings"_s);
        MeaningsPanel *panel = panelOf(*form);
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->currentWord(), u"vivid"_s);
        QCOMPARE(shownLines(*form), (QStringList{u"vivid"_s, u"Adjective"_s, u"1. having striking color"_s,
                                                 u"“bright dress”"_s, u"bright, brilliant"_s, u"Related: graphic"_s}));
        QCOMPARE(linkedWords(panel->text()), (QStringList{u"bright"_s, u"brilliant"_s, u"graphic"_s}));
        // The links are reached with Tab and followed with Enter, as a keyboard user does.
        panel->text()->setFocus();
        QTest::keyClick(panel->text(), Qt::Key_Tab);
        QTest::keyClick(panel->text(), Qt::Key_Tab);
        QTest::keyClick(panel->text(), Qt::Key_Return);
        settle();
        QCOMPARE(panel->currentWord(), u"brilliant"_s);
        QTest::mouseClick(form->findChild<QPushButton *>(u"btnBack"_s), Qt::LeftButton);
        QCOMPARE(panel->currentWord(), u"vivid"_s);

        // A word of the page shows its own meanings: every part of speech apart, in
        // a fixed order; antonyms and broader terms on lines of their own.
        QVERIFY(clickLink(panel->text(), u"bright"_s));
        QCOMPARE(panel->currentWord(), u"bright"_s);
        const QStringList bright = shownLines(*form);
        QCOMPARE(bright.first(), u"bright"_s);
        const auto at = [&](const QString &line) { return bright.indexOf(line); };
        QVERIFY2(at(u"Noun"_s) > 0 && at(u"Noun"_s) < at(u"Adjective"_s) && at(u"Adjective"_s) < at(u"Adverb"_s),
                 qPrintable(bright.join(u'\n')));
        QVERIFY(bright.contains(u"Antonyms: dull"_s));
        QVERIFY(bright.contains(u"Broader terms: light"_s));
        QVERIFY(bright.contains(u"Similar: luminous"_s) && bright.contains(u"Similar: colorful"_s));
        QVERIFY(bright.contains(u"3. smart"_s) && bright.contains(u"Similar: intelligent"_s));
        QVERIFY(bright.contains(u"1. having striking color"_s) || bright.contains(u"2. having striking color"_s));
        QVERIFY(!bright.join(u'\n').contains(u"light (generic"_s)); // a broader term is no plain word

        // A word without an entry says so.
        QVERIFY(clickLink(panel->text(), u"smart"_s));
        QCOMPARE(shownLines(*form), (QStringList{u"smart"_s, u"No meanings found for “smart”."_s}));

        // The keys moving the current word show each word in turn.
        CheckListBox *list = form->columns().at(0)->list();
        list->setFocus();
        list->setCurrentIndex(list->model()->index(0, 0));
        settle();
        const QString first = list->words()->text(0);
        QCOMPARE(panel->currentWord(), first);
        QTest::keyClick(list, Qt::Key_Down);
        settle();
        QCOMPARE(panel->currentWord(), list->words()->text(1));
        // A click on the word in front again, after the panel went back, shows it again.
        QTest::mouseClick(form->findChild<QPushButton *>(u"btnBack"_s), Qt::LeftButton);
        QCOMPARE(panel->currentWord(), first);
        clickWord(*form, list->words()->text(1));
        QCOMPARE(panel->currentWord(), list->words()->text(1));
        QVERIFY(m_opened->isEmpty());
    }

    // The trail of words shown: Back and Forward, by their buttons and keys, and a
    // new word after Back drops the steps ahead.
    void backAndForwardWalkTheTrail()
    {
        const auto form = makeWindow();
        generate(*form, u"bright"_s);
        MeaningsPanel *panel = panelOf(*form);
        auto *back = form->findChild<QPushButton *>(u"btnBack"_s);
        auto *forward = form->findChild<QPushButton *>(u"btnForward"_s);
        QVERIFY(back && forward && !back->isEnabled() && !forward->isEnabled());

        clickWord(*form, u"vivid"_s);
        QVERIFY(clickLink(panel->text(), u"brilliant"_s));
        QVERIFY(clickLink(panel->text(), u"bright"_s));
        QCOMPARE(panel->trail(), (QStringList{u"vivid"_s, u"brilliant"_s, u"bright"_s}));
        QVERIFY(back->isEnabled() && !forward->isEnabled());

        struct Step {
            const char *how;
            QString word;
            bool canGoBack, canGoForward;
        };
        const auto press = [&](const char *how) {
            const QByteArray name(how);
            if (name == "btnBack" || name == "btnForward")
                QTest::mouseClick(form->findChild<QPushButton *>(QLatin1StringView(how)), Qt::LeftButton);
            else
                QTest::keyClick(form.get(), name == "Alt+Left" ? Qt::Key_Left : Qt::Key_Right, Qt::AltModifier);
            settle();
        };
        const Step steps[] = {
            {"btnBack", u"brilliant"_s, true, true},    {"Alt+Left", u"vivid"_s, false, true},
            {"Alt+Left", u"vivid"_s, false, true}, // nothing before the first word
            {"btnForward", u"brilliant"_s, true, true}, {"Alt+Right", u"bright"_s, true, false},
            {"Alt+Right", u"bright"_s, true, false},    {"Alt+Left", u"brilliant"_s, true, true},
        };
        for (const Step &step : steps) {
            press(step.how);
            QCOMPARE(panel->currentWord(), step.word);
            QCOMPARE(shownLines(*form).value(0), step.word);
            QCOMPARE(back->isEnabled(), step.canGoBack);
            QCOMPARE(forward->isEnabled(), step.canGoForward);
        }
        // A new word where Back had left "bright" ahead: "bright" goes from the trail.
        QVERIFY(clickLink(panel->text(), u"vivid"_s));
        QCOMPARE(panel->trail(), (QStringList{u"vivid"_s, u"brilliant"_s, u"vivid"_s}));
        QVERIFY(!forward->isEnabled());
    }

    // A collapsed panel opens for a word, as a press on its strip opens it; Hide
    // collapses it as ever, and the trail's keys open it again.
    void collapsedPanelOpensForAWord()
    {
        const auto form = makeWindow(WordNet::Healthy, false);
        QTRY_COMPARE(sideWidth(*form), InfoPanels::CollapsedWidth); // offline: collapsed at start
        generate(*form, u"bright"_s);
        clickWord(*form, u"vivid"_s);
        QTRY_COMPARE(sideWidth(*form), InfoPanels::expandedWidth(form->width()));
        QVERIFY(panelOf(*form)->text()->isVisible());

        clickWord(*form, u"brilliant"_s);
        QTest::mouseClick(form->findChild<QPushButton *>(u"Button1"_s), Qt::LeftButton);
        QTRY_COMPARE(sideWidth(*form), InfoPanels::CollapsedWidth);
        QTest::keyClick(form.get(), Qt::Key_Left, Qt::AltModifier);
        QTRY_COMPARE(sideWidth(*form), InfoPanels::expandedWidth(form->width()));
        QCOMPARE(panelOf(*form)->currentWord(), u"vivid"_s);
    }

    // Without WordNet, or with only a part of it, the meanings show without the
    // definitions it lacks and nothing else changes; what is missing is told once,
    // on a quiet line under the word.
    void definitionsComeFromWordNet_data()
    {
        QTest::addColumn<WordNet>("wordNet");
        QTest::addColumn<QString>("note");
        QTest::newRow("absent") << WordNet::Absent << QString();
        QTest::newRow("adjectives missing") << WordNet::Partial << u"data.adj"_s;
    }

    void definitionsComeFromWordNet()
    {
        QFETCH(WordNet, wordNet);
        QFETCH(QString, note);
        const QStringList definitions{u"having striking color"_s, u"emitting or reflecting"_s, u"with brightness"_s};
        QList<QStringList> defined;
        for (const WordNet source : {WordNet::Healthy, wordNet}) {
            const auto form = makeWindow(source);
            generate(*form, u"bright"_s);
            clickWord(*form, u"vivid"_s);
            QList<QStringList> pages{shownLines(*form)};
            QVERIFY(clickLink(panelOf(*form)->text(), u"bright"_s));
            pages.append(shownLines(*form));
            if (source == WordNet::Healthy) {
                defined = pages;
                QVERIFY(pages.at(1).join(u'\n').contains(definitions.at(1)));
                continue;
            }
            for (qsizetype page = 0; page < pages.size(); ++page) {
                QStringList shown = pages.at(page);
                const QString text = shown.join(u'\n');
                for (const QString &definition : definitions)
                    QVERIFY2(!text.contains(definition), qPrintable(text));
                if (page == 0 && !note.isEmpty()) {
                    // Each missing file is named once, under the first word looked up.
                    QStringList notes;
                    while (shown.value(1).startsWith(u"Cannot read the WordNet file"_s))
                        notes.append(shown.takeAt(1));
                    QVERIFY2(notes.join(u'\n').contains(note), qPrintable(text));
                }
                // WordNet's antonyms come with its senses: "dull" is the data's own.
                QCOMPARE(withoutDefinitions(shown, definitions), withoutDefinitions(defined.at(page), definitions));
            }
        }
    }

    // "Browse to online dictionary": no site answers under a reserved address, so
    // the word's meanings show instead and no address is opened; a served site's
    // page opens in the browser as ever and the panel stays as it was.
    void dictionaryMenuItem()
    {
        {
            const auto form = makeWindow();
            generate(*form, u"bright"_s);
            QSignalSpy opened(form.get(), &TForm1::dictionaryRequested);
            chooseDictionary(*form, u"vivid"_s);
            QCOMPARE(sideFront(*form), u"pnlMeanings"_s);
            QCOMPARE(panelOf(*form)->currentWord(), u"vivid"_s);
            QCOMPARE(shownLines(*form).value(2), u"1. having striking color"_s);
            QVERIFY(m_opened->isEmpty());
            QCOMPARE(opened.size(), 0);
        }
        QHttpServer server;
        server.setMissingHandler([](const QHttpServerRequest &, QHttpServerResponder &&responder) {
            responder.write("<html><body><p>page</p></body></html>", "text/html");
        });
        const quint16 port = server.listen(QHostAddress::LocalHost);
        QVERIFY(port != 0);
        const QString base = u"http://127.0.0.1:%1"_s.arg(port);
        SiteAddress::setBaseUrlForTesting(base);
        const auto form = makeWindow(WordNet::Healthy, true);
        generate(*form, u"bright"_s);
        QSignalSpy opened(form.get(), &TForm1::dictionaryRequested);
        chooseDictionary(*form, u"vivid"_s);
        QCOMPARE(*m_opened, QStringList{base + u"/dictionaries/lookup.php?word=vivid&lang=en"_s});
        QCOMPARE(opened.size(), 1);
        QCOMPARE(sideFront(*form), u"wb1"_s);
        QVERIFY(panelOf(*form)->currentWord().isEmpty());
    }

    // The word tree window shows the meanings of its selected node below the tree.
    void wordTreeWindowShowsTheSelectedWord()
    {
        const auto form = makeWindow();
        generate(*form, u"bright"_s);
        CheckListBox *list = form->columns().at(0)->list();
        const QPoint vivid = onWord(list, rowOf(list, u"vivid"_s));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, vivid);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, vivid);
        settle();
        TForm2 *tree = nullptr;
        for (QWidget *window : QApplication::topLevelWidgets())
            tree = tree ? tree : qobject_cast<TForm2 *>(window);
        QVERIFY(tree);
        QTRY_VERIFY(tree->isVisible());
        const auto close = qScopeGuard([tree] { delete tree; });
        MeaningsPanel *panel = panelOf(*tree);
        QVERIFY(panel && panel->isVisible());
        QCOMPARE(panel->parentWidget(), tree->findChild<QSplitter *>(u"splMeanings"_s));
        QCOMPARE(tree->tv1->currentItem()->text(0), u"vivid"_s);
        QCOMPARE(panel->currentWord(), u"vivid"_s);
        QCOMPARE(shownLines(*tree).value(2), u"1. having striking color"_s);

        // Another node, by a click, then by the keys.
        QTreeWidgetItem *brilliant = tree->tv1->topLevelItem(0)->child(1);
        QCOMPARE(brilliant->text(0), u"brilliant"_s);
        QTest::mouseClick(tree->tv1->viewport(), Qt::LeftButton, {}, tree->tv1->visualItemRect(brilliant).center());
        settle();
        QCOMPARE(panel->currentWord(), u"brilliant"_s);
        QCOMPARE(shownLines(*tree).value(0), u"brilliant"_s);
        QTest::keyClick(tree->tv1, Qt::Key_Up);
        settle();
        QCOMPARE(panel->currentWord(), tree->tv1->currentItem()->text(0));
        QTest::keyClick(tree, Qt::Key_Left, Qt::AltModifier);
        settle();
        QCOMPARE(panel->currentWord(), u"brilliant"_s);
        // The main window's panel is its own.
        QVERIFY(panelOf(*form)->currentWord() != u"brilliant"_s || panelOf(*form) != panel);
    }

    // The page itself: the data's text escaped, labels where no part of speech is
    // named, the root that answered, notes, a failed lookup's message, the style's
    // link colour.
    void pageOfAnAnswer_data()
    {
        using WordMeanings::Meaning;
        QTest::addColumn<WordMeanings::Answer>("answer");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("links");

        Meaning tags;
        tags.label = u"(adj)"_s;
        tags.partOfSpeech = u"adj"_s;
        tags.words = {{u"<b>bold</b>"_s, {}}, {u"a & b"_s, u"ugs."_s}, {u"<similar>"_s, WordMeanings::Similar}};
        tags.antonyms = {u"x<y"_s};
        tags.definition = u"less <than> & more"_s;
        QTest::newRow("escaped") << WordMeanings::Answer{u"<i>w</i>"_s, u"<i>w</i>"_s, {tags}, {}} << QString()
                                 << QStringList{u"<i>w</i>"_s,
                                                u"Adjective"_s,
                                                u"1. less <than> & more"_s,
                                                u"<b>bold</b>, a & b (ugs.)"_s,
                                                u"Similar: <similar>"_s,
                                                u"Antonyms: x<y"_s}
                                 << QStringList{u"<b>bold</b>"_s, u"a & b"_s, u"<similar>"_s, u"x<y"_s};

        Meaning german;
        german.label = u"-"_s;
        german.words = {{u"Haus"_s, {}}, {u"Gebäude"_s, WordMeanings::Generic}};
        Meaning german2 = german;
        german2.words = {{u"Heim"_s, {}}};
        QTest::newRow("no parts of speech")
            << WordMeanings::Answer{u"Häuser"_s, u"Haus"_s, {german, german2}, {}} << QString()
            << QStringList{u"Häuser"_s, u"Meanings of Haus."_s, u"1. Haus"_s, u"Broader terms: Gebäude"_s, u"2. Heim"_s}
            << QStringList{u"Haus"_s, u"Haus"_s, u"Gebäude"_s, u"Heim"_s};

        Meaning noun;
        noun.label = u"(Nom)"_s;
        noun.partOfSpeech = u"noun"_s;
        noun.words = {{u"clarté"_s, {}}};
        Meaning both;
        both.label = u"(Adjectif Nom)"_s;
        both.words = {{u"évident"_s, {}}};
        QTest::newRow("label naming two")
            << WordMeanings::Answer{u"clair"_s, u"clair"_s, {both, noun}, {u"a note"_s}} << QString()
            << QStringList{u"clair"_s,     u"a note"_s,         u"Noun"_s,
                           u"1. clarté"_s, u"Other meanings"_s, u"1. (Adjectif Nom) évident"_s}
            << QStringList{u"clarté"_s, u"évident"_s};

        QTest::newRow("not found") << WordMeanings::Answer{u"zzz"_s, {}, {}, {}} << QString()
                                   << QStringList{u"zzz"_s, u"No meanings found for “zzz”."_s} << QStringList{};
        QTest::newRow("failed lookup") << WordMeanings::Answer{u"w"_s, {}, {}, {}}
                                       << u"th_en_US_v2.dat: offset past the end"_s
                                       << QStringList{u"w"_s, u"th_en_US_v2.dat: offset past the end"_s} << QStringList{};
    }

    void pageOfAnAnswer()
    {
        QFETCH(WordMeanings::Answer, answer);
        QFETCH(QString, error);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, links);

        MeaningsPanel panel;
        QStringList asked;
        panel.setLookup([&](const QString &word) {
            asked.append(word);
            if (!error.isEmpty())
                throw AppError(error);
            return answer;
        });
        panel.resize(500, 400);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QSignalSpy shown(&panel, &MeaningsPanel::wordShown);
        panel.showWord(answer.word);
        QCOMPARE(asked, QStringList{answer.word});
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shownLines(panel), lines);
        QCOMPARE(linkedWords(panel.text()), links);
        QCOMPARE(panel.text()->accessibleName(), u"Meanings of %1"_s.arg(answer.word));

        // A new style's link colour reaches the links of the page shown.
        QPalette palette = panel.palette();
        palette.setColor(QPalette::Link, QColor(0x12, 0x34, 0x56));
        panel.setPalette(palette);
        for (QTextBlock block = panel.text()->document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                if (it.fragment().charFormat().isAnchor())
                    QCOMPARE(it.fragment().charFormat().foreground().color(), QColor(0x12, 0x34, 0x56));
            }
        }
        QCOMPARE(asked.size(), 1); // made again from the answer, not looked up again
    }
};

QTEST_MAIN(TestMeaningsPanel)
#include "test_meaningspanel.moc"
