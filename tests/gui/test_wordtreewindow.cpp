#include "../ScriptedSource.h"
#include "GuiTestDoubles.h"

#include "app/CheckListBox.h"
#include "widgets/Dialogs.h"
#include "app/Main.h"
#include "app/ResultColumn.h"
#include "app/WordListModel.h"
#include "thesaurus/LanguageTable.h"
#include "thesaurus/TSpellCheck.h"
#include "app/popOver.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTreeWidget>
#include <QWindow>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;
using GuiTestDoubles::Message;

namespace {

// The tree as indented lines, two blanks a level.
QString outline(const QTreeWidget *tree)
{
    QStringList lines;
    std::function<void(const QTreeWidgetItem *, int)> walk = [&](const QTreeWidgetItem *item, int level) {
        lines.append(QString(2 * level, QLatin1Char(' ')) + item->text(0));
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i), level + 1);
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        walk(tree->topLevelItem(i), 0);
    return lines.join(QLatin1Char('\n'));
}

// Every node that has children is expanded.
bool allExpanded(const QTreeWidget *tree)
{
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget *>(tree)); *it; ++it) {
        if ((*it)->childCount() > 0 && !(*it)->isExpanded())
            return false;
    }
    return true;
}

// The thesaurus's calls for a window: the fill's lookups, then the one of the
// meanings panel, which shows the selected node (the root, once filled).
QStringList withMeanings(QStringList lookups, const QString &root)
{
    lookups.append(root);
    return lookups;
}

int nodeCount(QTreeWidget *tree)
{
    int count = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        ++count;
    return count;
}

// What a widget receives from a double click: press, release, double click, release.
void doubleClick(QWidget *widget, QPoint at)
{
    QTest::mousePress(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

QList<TForm2 *> treeWindows()
{
    QList<TForm2 *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *form = qobject_cast<TForm2 *>(widget))
            windows.append(form);
    }
    return windows;
}

// A thesaurus over a script, with the source's log kept for the test.
struct Thesaurus {
    explicit Thesaurus(const QString &script, bool failStart = false)
    {
        auto source = ScriptedSource::fromText(script);
        source->failStart = failStart;
        log = source->log;
        scripted = source.get();
        spellCheck = std::make_unique<TSpellCheck>(nullptr, std::move(source));
    }
    std::shared_ptr<ScriptedSource::Log> log;
    ScriptedSource *scripted = nullptr;
    std::unique_ptr<TSpellCheck> spellCheck;
};

} // namespace

class TestWordTreeWindow : public QObject
{
    Q_OBJECT

    QList<Message> m_messages;
    DisplayFont m_font;

    // Opens a window the way the main window does.
    QPointer<TForm2> open(TSpellCheck *spellCheck, const QString &word)
    {
        auto *form = new TForm2(spellCheck, &m_font);
        form->aWord = word;
        form->show();
        form->raise();
        return form;
    }

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private Q_SLOTS:
    void initTestCase()
    {
        GuiTestDoubles::recordMessagesInto(m_messages);
        GuiTestDoubles::installStubConnectivity();
        GuiTestDoubles::keepPagesOnThisMachine();
    }

    void init()
    {
        m_messages.clear();
        m_font = DisplayFont();
    }

    void cleanup()
    {
        qDeleteAll(treeWindows());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void fill_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("tree");
        QTest::addColumn<QStringList>("lookups");

        // Depth first; a word placed under an earlier entry blocks it later.
        QTest::newRow("order")
            << u"bright: shining, smart; shining: brilliant, gleaming; brilliant: radiant; gleaming: glossy;"_s
               u"smart: clever, brilliant; clever: keen"_s
            << u"bright"_s
            << u"bright\n  shining\n    brilliant\n      radiant\n    gleaming\n      glossy\n  smart\n    clever\n"_s
               u"      keen"_s
            << QStringList{u"bright"_s, u"shining"_s, u"brilliant"_s, u"gleaming"_s, u"smart"_s, u"clever"_s};
        // A level-3 "Quick" after "quick" and the reverse; a level-2 candidate is
        // skipped the same way, without a lookup.
        QTest::newRow("placed lower then upper")
            << u"fast: rapid, swift; rapid: hasty; hasty: quick; swift: speedy, QUICK; speedy: Quick"_s << u"fast"_s
            << u"fast\n  rapid\n    hasty\n      quick\n  swift\n    speedy"_s
            << QStringList{u"fast"_s, u"rapid"_s, u"hasty"_s, u"swift"_s, u"speedy"_s};
        QTest::newRow("placed upper then lower")
            << u"fast: rapid, swift; rapid: hasty; hasty: Quick; swift: speedy, quick; speedy: quick"_s << u"fast"_s
            << u"fast\n  rapid\n    hasty\n      Quick\n  swift\n    speedy"_s
            << QStringList{u"fast"_s, u"rapid"_s, u"hasty"_s, u"swift"_s, u"speedy"_s};
        // Level-1 entries are never tested: a repeat gets its node and its lookup.
        QTest::newRow("repeated level 1")
            << u"big: large, huge, large; large: vast, great; vast: immense; huge: enormous, vast; great: grand"_s
            << u"big"_s << u"big\n  large\n    vast\n      immense\n    great\n      grand\n  huge\n    enormous\n  large"_s
            << QStringList{u"big"_s, u"large"_s, u"vast"_s, u"great"_s, u"huge"_s, u"enormous"_s, u"large"_s};
        QTest::newRow("level 2 word again at level 1")
            << u"cold: chilly, icy; chilly: icy, cool; icy: frozen, glacial; cool: frozen"_s << u"cold"_s
            << u"cold\n  chilly\n    icy\n      frozen\n      glacial\n    cool\n  icy"_s
            << QStringList{u"cold"_s, u"chilly"_s, u"icy"_s, u"cool"_s, u"icy"_s};
        // The root word never counts as placed.
        QTest::newRow("root at level 2") << u"hot: warm; warm: hot, heated; heated: warm, hot"_s << u"hot"_s
                                         << u"hot\n  warm\n    hot\n    heated"_s
                                         << QStringList{u"hot"_s, u"warm"_s, u"hot"_s, u"heated"_s};
        QTest::newRow("several meanings in order")
            << u"light: pale, fair | easy; pale: wan; easy: simple"_s << u"light"_s
            << u"light\n  pale\n    wan\n  fair\n  easy\n    simple"_s
            << QStringList{u"light"_s, u"pale"_s, u"wan"_s, u"fair"_s, u"easy"_s, u"simple"_s};
    }

    void fill()
    {
        QFETCH(QString, script);
        QFETCH(QString, word);
        QFETCH(QString, tree);
        QFETCH(QStringList, lookups);
        Thesaurus thesaurus(script);

        QPointer<TForm2> form = open(thesaurus.spellCheck.get(), word);
        QCOMPARE(outline(form->tv1), tree);
        QCOMPARE(thesaurus.log->words(), withMeanings(lookups, word));
        QCOMPARE(form->lookups(), lookups);
        QVERIFY(allExpanded(form->tv1));
        QCOMPARE(form->tv1->currentItem(), form->tv1->topLevelItem(0));
        QCOMPARE(form->windowTitle(), word);
        // The platform window's title is the word alone.
        QCOMPARE(form->windowHandle()->title(), word);
        QVERIFY(m_messages.isEmpty());
        // A filled window stays open and is not filled again by a second showing.
        form->hide();
        form->show();
        QTest::qWait(20);
        QVERIFY(form);
        QCOMPARE(thesaurus.log->words(), withMeanings(lookups, word));
        QCOMPARE(outline(form->tv1), tree);
    }

    void lookupCountFollowsTheTree()
    {
        // 1 + level-1 entries + level-2 nodes, whatever the level-3 words do.
        Thesaurus thesaurus(QStringLiteral("a: b, c, b; b: d, e, a; d: f, g; e: d, h; c: e, i; i: b"));
        QPointer<TForm2> form = open(thesaurus.spellCheck.get(), QStringLiteral("a"));
        int level1 = 0;
        int level2 = 0;
        const QTreeWidgetItem *root = form->tv1->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i) {
            ++level1;
            level2 += root->child(i)->childCount();
        }
        QCOMPARE(level1, 3);
        QCOMPARE(thesaurus.log->calls.size(), 1 + level1 + level2 + 1); // and the root's meanings
    }

    void theLanguageIsLeftAlone()
    {
        Thesaurus thesaurus(QStringLiteral("Hund: Köter; Köter: Töle"));
        thesaurus.spellCheck->setLanguage(wdGerman);
        open(thesaurus.spellCheck.get(), QStringLiteral("Hund"));
        QCOMPARE(thesaurus.log->calls.size(), 3 + 1); // the meanings too, in the same language
        for (const ScriptedSource::Call &call : std::as_const(thesaurus.log->calls))
            QCOMPARE(call.languageId, LanguageTable::identifier(wdGerman));
    }

    void closesWithoutSynonyms_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("failStart");
        QTest::addColumn<QStringList>("lookups");
        QTest::newRow("unknown word") << u"zzyzx"_s << false << QStringList{u"zzyzx"_s};
        QTest::newRow("empty word") << u""_s << false << QStringList{u""_s};
        QTest::newRow("found without synonyms") << u"lonely"_s << false << QStringList{u"lonely"_s};
        QTest::newRow("inactive thesaurus") << u"bright"_s << true << QStringList{};
    }

    void closesWithoutSynonyms()
    {
        QFETCH(QString, word);
        QFETCH(bool, failStart);
        QFETCH(QStringList, lookups);
        Thesaurus thesaurus(QStringLiteral("bright: shining; lonely:"), failStart);

        QPointer<TForm2> form = open(thesaurus.spellCheck.get(), word);
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), word);
        QCOMPARE(thesaurus.log->words(), lookups);
        QTRY_VERIFY(form.isNull());
        QVERIFY(treeWindows().isEmpty());
        QVERIFY(m_messages.isEmpty());
    }

    void errorKeepsThePartialTree()
    {
        Thesaurus thesaurus(QStringLiteral("bright: shining, smart, keen; shining: brilliant; brilliant: radiant;"
                                           "smart: clever; keen: sharp"));
        thesaurus.scripted->throwAtCall = 3; // the lookup of "smart", after its node
        QString treeAtMessage;
        bool hourglassAtMessage = true;
        QPointer<TForm2> form;
        Dialogs::setMessageRecorder([&](Dialogs::MessageKind kind, const QString &text) {
            m_messages.append({kind, text});
            treeAtMessage = form ? outline(form->tv1) : QString();
            hourglassAtMessage = QGuiApplication::overrideCursor() != nullptr;
        });
        auto restoreRecorder = qScopeGuard([this] { GuiTestDoubles::recordMessagesInto(m_messages); });

        form = new TForm2(thesaurus.spellCheck.get(), &m_font);
        form->aWord = QStringLiteral("bright");
        form->show();

        const QString partial = QStringLiteral("bright\n  shining\n    brilliant\n      radiant\n  smart");
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].kind, Dialogs::MessageKind::Error);
        QCOMPARE(m_messages[0].text, QStringLiteral("scripted failure at call 3."));
        QCOMPARE(treeAtMessage, partial);
        QVERIFY(!hourglassAtMessage);
        QCOMPARE(thesaurus.log->words(),
                 withMeanings({u"bright"_s, u"shining"_s, u"brilliant"_s, u"smart"_s}, u"bright"_s));
        QTest::qWait(50);
        QVERIFY(form);
        QCOMPARE(outline(form->tv1), partial);
        QCOMPARE(form->tv1->currentItem(), form->tv1->topLevelItem(0));
    }

    void errorAtTheRootLookupKeepsTheWindow()
    {
        Thesaurus thesaurus(QStringLiteral("bright: shining"));
        thesaurus.scripted->throwAtCall = 0;
        QPointer<TForm2> form = open(thesaurus.spellCheck.get(), QStringLiteral("bright"));
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].kind, Dialogs::MessageKind::Error);
        QTest::qWait(50);
        QVERIFY(form);
        QCOMPARE(outline(form->tv1), QStringLiteral("bright"));
    }

    void windowKind()
    {
        Thesaurus thesaurus(QStringLiteral("bright: shining"));
        QPointer<TForm2> form = open(thesaurus.spellCheck.get(), QStringLiteral("bright"));
        QCOMPARE(form->windowTitle(), QStringLiteral("bright"));
        const Qt::WindowFlags flags = form->windowFlags();
        QCOMPARE(form->windowType(), Qt::Tool);
        QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!form->isModal());
        QVERIFY(form->testAttribute(Qt::WA_DeleteOnClose));
        QVERIFY(!form->parentWidget());

        // Closed by the user, it frees itself.
        form->close();
        QTRY_VERIFY(form.isNull());
    }

    // Escape and Ctrl+W close the window as the window manager's close does, from
    // wherever the focus is in it; other keys leave it open.
    void closesByKeyboard_data()
    {
        QTest::addColumn<QKeyCombination>("keys");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Escape") << QKeyCombination(Qt::Key_Escape) << true;
        QTest::newRow("Ctrl+W") << QKeyCombination(Qt::ControlModifier, Qt::Key_W) << true;
        QTest::newRow("W alone") << QKeyCombination(Qt::Key_W) << false;
        QTest::newRow("Ctrl+Q") << QKeyCombination(Qt::ControlModifier, Qt::Key_Q) << false;
    }

    void closesByKeyboard()
    {
        QFETCH(QKeyCombination, keys);
        QFETCH(bool, closes);
        Thesaurus thesaurus(QStringLiteral("bright: shining, vivid; shining: gleaming"));
        QPointer<TForm2> form = open(thesaurus.spellCheck.get(), QStringLiteral("bright"));
        QApplication::setActiveWindow(form);
        QVERIFY(QTest::qWaitForWindowActive(form));
        QTRY_VERIFY(form->tv1->hasFocus());
        form->tv1->setCurrentItem(form->tv1->topLevelItem(0)->child(0)->child(0));

        QTest::keyClick(form->tv1, keys.key(), keys.keyboardModifiers());
        if (closes) {
            QTRY_VERIFY(form.isNull()); // closed and freed
        } else {
            QTest::qWait(20);
            QVERIFY(form && form->isVisible());
        }
    }

    void treeFontIsACopyTakenAtShow()
    {
        Thesaurus thesaurus(QStringLiteral("bright: shining"));
        m_font.family = QStringLiteral("Courier New");
        m_font.pointSize = 10;
        auto *form = new TForm2(thesaurus.spellCheck.get(), &m_font);
        form->aWord = QStringLiteral("bright");
        // Changes before the showing count...
        m_font.pointSize = 17;
        m_font.bold = true;
        m_font.color = TColor::fromRgb(200, 10, 20);
        form->show();
        QCOMPARE(form->tv1->font().pointSize(), 17);
        QVERIFY(form->tv1->font().bold());
        QCOMPARE(form->tv1->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(form->tv1->palette().color(QPalette::Text), QColor(200, 10, 20));

        // ...later ones do not.
        m_font.pointSize = 30;
        m_font.bold = false;
        m_font.color = TColor::fromRgb(0, 0, 255);
        form->update();
        QTest::qWait(20);
        QCOMPARE(form->tv1->font().pointSize(), 17);
        QVERIFY(form->tv1->font().bold());
        QCOMPARE(form->tv1->palette().color(QPalette::Text), QColor(200, 10, 20));
    }

    void sameWordTwiceGivesIndependentWindows()
    {
        Thesaurus thesaurus(QStringLiteral("bright: shining; shining: gleaming"));
        QPointer<TForm2> first = open(thesaurus.spellCheck.get(), QStringLiteral("bright"));
        // The second window asks the thesaurus again: it sees what the thesaurus says now.
        thesaurus.scripted->script(QStringLiteral("bright: shining, vivid"));
        QPointer<TForm2> second = open(thesaurus.spellCheck.get(), QStringLiteral("bright"));

        QVERIFY(first && second && first != second);
        QCOMPARE(outline(first->tv1), QStringLiteral("bright\n  shining\n    gleaming"));
        QCOMPARE(outline(second->tv1), QStringLiteral("bright\n  shining\n    gleaming\n  vivid"));
        QCOMPARE(first->lookups(), (QStringList{u"bright"_s, u"shining"_s, u"gleaming"_s}));
        QCOMPARE(second->lookups(), (QStringList{u"bright"_s, u"shining"_s, u"gleaming"_s, u"vivid"_s}));
        QCOMPARE(thesaurus.log->calls.size(), 7 + 2); // and each window's meanings of "bright"

        first->close();
        QTRY_VERIFY(first.isNull());
        QVERIFY(second);
        QCOMPARE(second->tv1->topLevelItemCount(), 1);
    }

    void findRootNode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("topLevel"); // -1: none
        QTest::newRow("exact, first of two") << u"Fast"_s << 1;
        QTest::newRow("other case") << u"fast"_s << 0;
        QTest::newRow("no top-level node in this case") << u"FAST"_s << -1;
        QTest::newRow("only as a child") << u"speedy"_s << -1;
        QTest::newRow("empty text") << u""_s << -1;
    }

    void findRootNode()
    {
        QFETCH(QString, text);
        QFETCH(int, topLevel);
        QTreeWidget tree;
        auto *fast = new QTreeWidgetItem(&tree, {QStringLiteral("fast")});
        new QTreeWidgetItem(fast, {QStringLiteral("Fast")});
        new QTreeWidgetItem(fast, {QStringLiteral("speedy")});
        new QTreeWidgetItem(new QTreeWidgetItem(fast, {QStringLiteral("quick")}), {QStringLiteral("FAST")});
        new QTreeWidgetItem(&tree, {QStringLiteral("Fast")});
        new QTreeWidgetItem(&tree, {QStringLiteral("Fast")});

        QTreeWidgetItem *found = TForm2::FindRootNode(text, &tree);
        QCOMPARE(found, topLevel < 0 ? nullptr : tree.topLevelItem(topLevel));
    }

    void largeTree()
    {
        // 20 synonyms, each with 20 of their own, each of those with 10: 4420 nodes.
        Thesaurus thesaurus{QString()};
        QStringList first;
        for (int i = 0; i < 20; ++i) {
            const QString w1 = QStringLiteral("w%1").arg(i);
            first.append(w1);
            QStringList second;
            for (int j = 0; j < 20; ++j) {
                const QString w2 = QStringLiteral("w%1_%2").arg(i).arg(j);
                second.append(w2);
                QStringList third;
                for (int k = 0; k < 10; ++k)
                    third.append(QStringLiteral("w%1_%2_%3").arg(i).arg(j).arg(k));
                thesaurus.scripted->meanings.insert(w2, {third});
            }
            thesaurus.scripted->meanings.insert(w1, {second});
        }
        thesaurus.scripted->meanings.insert(QStringLiteral("root"), {first});

        QPointer<TForm2> form = open(thesaurus.spellCheck.get(), QStringLiteral("root"));
        QCOMPARE(nodeCount(form->tv1), 1 + 20 + 400 + 4000);
        QCOMPARE(thesaurus.log->calls.size(), 1 + 20 + 400 + 1); // and the root's meanings
        QVERIFY(allExpanded(form->tv1));
        const QTreeWidgetItem *last = form->tv1->topLevelItem(0)->child(19)->child(19)->child(9);
        QCOMPARE(last->text(0), QStringLiteral("w19_19_9"));
    }

    // The window makes its items while the lookups go on, a batch of nodes at a
    // time: a lookup failing after several batches still leaves every node placed
    // before it, in place, and the message once.
    void largeTreeFailingMidway_data()
    {
        QTest::addColumn<int>("throwAtCall");
        QTest::addColumn<QString>("lastNode");
        // Calls: root 0, w0 1, w0_0 .. w0_19 2..21, w1 22, ...: w<i> is call 1 + 21 i.
        QTest::newRow("inside a synonym's subtree") << 150 << "w7_1";
        QTest::newRow("at a synonym of the word") << 211 << "w10";
    }
    void largeTreeFailingMidway()
    {
        QFETCH(int, throwAtCall);
        QFETCH(QString, lastNode);
        Thesaurus thesaurus{QString()};
        QStringList first;
        QStringList partial{QStringLiteral("root")}; // the outline up to the failing lookup
        bool failed = false;
        for (int i = 0; i < 20; ++i) {
            const QString w1 = QStringLiteral("w%1").arg(i);
            first.append(w1);
            QStringList second;
            if (!failed)
                partial.append(QStringLiteral("  ") + w1);
            failed = failed || w1 == lastNode;
            for (int j = 0; j < 20; ++j) {
                const QString w2 = QStringLiteral("w%1_%2").arg(i).arg(j);
                second.append(w2);
                if (!failed)
                    partial.append(QStringLiteral("    ") + w2);
                failed = failed || w2 == lastNode;
                QStringList third;
                for (int k = 0; k < 10; ++k) {
                    third.append(QStringLiteral("w%1_%2_%3").arg(i).arg(j).arg(k));
                    if (!failed)
                        partial.append(QStringLiteral("      ") + third.constLast());
                }
                thesaurus.scripted->meanings.insert(w2, {third});
            }
            thesaurus.scripted->meanings.insert(w1, {second});
        }
        thesaurus.scripted->meanings.insert(QStringLiteral("root"), {first});
        thesaurus.scripted->throwAtCall = throwAtCall;
        QVERIFY(partial.size() > 2 * 256); // more than one batch before the failure

        QString treeAtMessage;
        QPointer<TForm2> form;
        Dialogs::setMessageRecorder([&](Dialogs::MessageKind kind, const QString &text) {
            m_messages.append({kind, text});
            treeAtMessage = form ? outline(form->tv1) : QString();
        });
        auto restoreRecorder = qScopeGuard([this] { GuiTestDoubles::recordMessagesInto(m_messages); });
        form = new TForm2(thesaurus.spellCheck.get(), &m_font);
        form->aWord = QStringLiteral("root");
        form->show();

        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].text, QStringLiteral("scripted failure at call %1.").arg(throwAtCall));
        // The failing lookup was the fill's last; the root's meanings follow it.
        QCOMPARE(thesaurus.log->calls.size(), throwAtCall + 2);
        QCOMPARE(thesaurus.log->calls.at(throwAtCall).word, lastNode);
        QCOMPARE(thesaurus.log->calls.constLast().word, u"root"_s);
        const QString expected = partial.join(QLatin1Char('\n'));
        QCOMPARE(treeAtMessage, expected);
        QCOMPARE(outline(form->tv1), expected);
        QVERIFY(allExpanded(form->tv1));
    }

    // The main window opens tree windows from a column: by a double click on a
    // word and by the popup menu's "Doraz 3", with the language of the last Generate.
    void openedFromTheMainWindow()
    {
        auto source = ScriptedSource::fromText(QStringLiteral("hell: licht, klar; licht: hell, lichtvoll; klar: rein"));
        const auto log = source->log;
        TForm1 form(std::move(source));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        form.findChild<QComboBox *>(QStringLiteral("cbb2"))->setCurrentIndex(1); // German
        form.findChild<QLineEdit *>(QStringLiteral("edt1"))->setText(QStringLiteral("hell"));
        auto *generate = form.findChild<QPushButton *>(QStringLiteral("btn2"));
        QTest::mouseClick(generate, Qt::LeftButton, {}, generate->rect().center());
        QCOMPARE(form.columns().size(), 1);
        CheckListBox *list = form.columns()[0]->list();
        QCOMPARE(list->words()->text(1), QStringLiteral("klar"));
        log->calls.clear();

        // Double click on "klar".
        const QPoint klar = list->visualRect(list->model()->index(1, 0)).center();
        doubleClick(list->viewport(), klar);
        QCOMPARE(treeWindows().size(), 1);
        TForm2 *byDoubleClick = treeWindows()[0];
        QCOMPARE(byDoubleClick->windowTitle(), QStringLiteral("klar"));
        QCOMPARE(outline(byDoubleClick->tv1), QStringLiteral("klar\n  rein"));
        for (const ScriptedSource::Call &call : std::as_const(log->calls))
            QCOMPARE(call.languageId, LanguageTable::identifier(wdGerman));

        // Right click on "licht", then "Doraz 3".
        const QPoint licht = list->visualRect(list->model()->index(0, 0)).center();
        QTest::mouseClick(form.windowHandle(), Qt::RightButton, {}, list->viewport()->mapTo(&form, licht));
        QCOMPARE(form.SelectedWord, QStringLiteral("licht"));
        QMenu *menu = form.columns()[0]->popupMenu();
        QTRY_VERIFY(menu->isVisible());
        QAction *doraz3 = menu->findChild<QAction *>(QStringLiteral("miDoraz3"));
        QVERIFY(doraz3);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(doraz3).center());
        QTRY_COMPARE(treeWindows().size(), 2);
        TForm2 *byMenu = treeWindows().first() == byDoubleClick ? treeWindows().last() : treeWindows().first();
        QCOMPARE(byMenu->windowTitle(), QStringLiteral("licht"));
        QCOMPARE(outline(byMenu->tv1),
                 QStringLiteral("licht\n  hell\n    licht\n      lichtvoll\n    klar\n      rein\n  lichtvoll"));
        QVERIFY(byDoubleClick->isVisible()); // the older window stays open

        // Nothing recorded yet: the window asks for the empty word and goes.
        TForm1 fresh(ScriptedSource::fromText(QStringLiteral("hell: licht")));
        fresh.findChild<QLineEdit *>(QStringLiteral("edt1"))->setText(QStringLiteral("hell"));
        fresh.findChild<QPushButton *>(QStringLiteral("btn2"))->click();
        QCOMPARE(fresh.columns().size(), 1);
        fresh.columns()[0]->popupMenu()->findChild<QAction *>(QStringLiteral("miDoraz3"))->trigger();
        QCOMPARE(treeWindows().size(), 3);
        QTRY_COMPARE(treeWindows().size(), 2);
    }
};

QTEST_MAIN(TestWordTreeWindow)
#include "test_wordtreewindow.moc"
