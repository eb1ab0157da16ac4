// The writer's options of the main window: part of speech, broader terms, most
// common first, and the phrase history offered by the phrase box.

#include "GuiTestDoubles.h"
#include "MainWindowHarness.h"
#include "../TestFiles.h"

#include "app/CheckListBox.h"
#include "app/CommonnessSource.h"
#include "app/Main.h"
#include "app/ResultColumn.h"
#include "app/WordListModel.h"
#include "app/WriterOptions.h"
#include "settings/PhraseHistory.h"
#include "settings/SettingsFile.h"
#include "thesaurus/TSpellCheck.h"
#include "thesaurus/WordNetReader.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QComboBox>
#include <QCompleter>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;
using MainWindowHarness::settle;

namespace {

const QString Data = QStringLiteral(VERBARIUM_TEST_DATA);

} // namespace

class TestWriterOptions : public QObject
{
    Q_OBJECT

    std::shared_ptr<GuiTestDoubles::StubConnectivity::Network> m_network;
    QTemporaryDir m_dir;

    // The main window over the labelled fixture data, with SCOWL's fixture lists.
    std::unique_ptr<TForm1> makeWindow()
    {
        auto form = std::make_unique<TForm1>();
        form->SpellCheck1->setWordNet(std::make_unique<WordNetReader>(QStringList{}));
        options(*form)->commonness()->setScowlSearchPath({Data + u"/scowl"_s});
        options(*form)->commonness()->setCacheFolder(m_dir.filePath(u"cache"_s));
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qFatal("the main window was never exposed");
        settle();
        return form;
    }

    static WriterOptions *options(const TForm1 &form) { return form.findChild<WriterOptions *>(); }

    template <class T>
    static T *find(const TForm1 &form, const QString &name)
    {
        T *widget = form.findChild<T *>(name);
        if (!widget)
            qFatal("no control named %s", qPrintable(name));
        return widget;
    }

    static void chooseLanguage(TForm1 &form, const QString &name)
    {
        auto *cbb2 = find<QComboBox>(form, u"cbb2"_s);
        cbb2->setCurrentIndex(LanguageTable::listIndexForName(name));
        settle();
    }

    static void generate(TForm1 &form, const QString &phrase, int depth = 0)
    {
        find<QLineEdit>(form, u"edt1"_s)->setText(phrase);
        find<QComboBox>(form, u"cbb1"_s)->setCurrentIndex(depth);
        QTest::mouseClick(find<QPushButton>(form, u"btn2"_s), Qt::LeftButton);
    }

    static QString column(const TForm1 &form, int index = 0)
    {
        if (form.columns().size() <= index || !form.columns()[index]->list())
            return u"<no column>"_s;
        WordListModel *words = form.columns()[index]->list()->words();
        QStringList list;
        for (int row = 0; row < words->rowCount(); ++row)
            list.append(words->text(row));
        return list.join(u' ');
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("VERBARIUM_THESAURUS_PATH", QFile::encodeName(Data + u"/meanings"_s));
        m_network = GuiTestDoubles::installStubConnectivity();
    }

    void init() { QFile::remove(PhraseHistory::defaultPath()); }

    // The first level as the part of speech and broader terms choose it; the
    // defaults give the column as it is without them.
    void partOfSpeechAndBroaderTerms_data()
    {
        QTest::addColumn<int>("partOfSpeech");
        QTest::addColumn<bool>("broaderTerms");
        QTest::addColumn<QString>("words");
        QTest::newRow("defaults") << 0 << true << u"radiance light shine beam"_s;
        QTest::newRow("nouns") << 1 << true << u"radiance light shine"_s;
        QTest::newRow("verbs") << 2 << true << u"shine beam"_s;
        QTest::newRow("no broader terms") << 0 << false << u"radiance shine beam"_s;
        QTest::newRow("nouns without broader terms") << 1 << false << u"radiance"_s;
    }
    void partOfSpeechAndBroaderTerms()
    {
        QFETCH(int, partOfSpeech);
        QFETCH(bool, broaderTerms);
        QFETCH(QString, words);
        auto form = makeWindow();
        chooseLanguage(*form, u"English US"_s);
        auto *pos = find<QComboBox>(*form, u"cbbPartOfSpeech"_s);
        QVERIFY(pos->isEnabled());
        pos->setCurrentIndex(partOfSpeech);
        find<QCheckBox>(*form, u"chkBroaderTerms"_s)->setChecked(broaderTerms);
        generate(*form, u"glow"_s);
        QCOMPARE(column(*form), words);
    }

    // A language whose data names no parts of speech shows the choice disabled and
    // says why; the choice made for another language does not filter it.
    void languageWithoutPartsOfSpeech()
    {
        auto form = makeWindow();
        chooseLanguage(*form, u"English US"_s);
        auto *pos = find<QComboBox>(*form, u"cbbPartOfSpeech"_s);
        pos->setCurrentIndex(1);
        chooseLanguage(*form, u"German"_s);
        QVERIFY(!pos->isEnabled());
        QVERIFY2(pos->toolTip().contains(u"does not name parts of speech"_s), qPrintable(pos->toolTip()));
        generate(*form, u"hell"_s);
        QCOMPARE(column(*form), u"licht strahlend Helligkeit"_s);
        chooseLanguage(*form, u"French"_s);
        QVERIFY(pos->isEnabled());
    }

    // Most common first: SCOWL's levels load off the window's thread; a Generate
    // made before they arrive is in the data's order and is ordered when they
    // do, its ticks kept. The next Generate is ordered at once.
    void mostCommonFirst()
    {
        auto form = makeWindow();
        chooseLanguage(*form, u"English US"_s);
        find<QCheckBox>(*form, u"chkMostCommonFirst"_s)->setChecked(true);
        generate(*form, u"bright"_s);
        const QString dataOrder = u"shining luminous vivid brilliant colorful smart intelligent brightness light brightly"_s;
        QCOMPARE(column(*form), dataOrder);
        WordListModel *words = form->columns()[0]->list()->words();
        QVERIFY(words->setData(words->index(3), Qt::Checked, Qt::CheckStateRole)); // brilliant
        QTRY_COMPARE(column(*form),
                     u"luminous shining vivid brilliant colorful smart intelligent brightness light brightly"_s);
        QCOMPARE(form->columns()[0]->list()->words()->checkedWords(), QStringList{u"brilliant"_s});
        // Copy merges the rows as shown: "luminous", now first, before "brilliant".
        QVERIFY(words->setData(words->index(0), Qt::Checked, Qt::CheckStateRole));
        QTest::mouseClick(find<QPushButton>(*form, u"btn1"_s), Qt::LeftButton);
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY2(copied.indexOf(u"luminous"_s) >= 0 && copied.indexOf(u"luminous"_s) < copied.indexOf(u"brilliant"_s),
                 qPrintable(copied));

        generate(*form, u"bright"_s);
        QCOMPARE(column(*form).section(u' ', 0, 1), u"luminous shining"_s);

        // Off again: the data's order.
        find<QCheckBox>(*form, u"chkMostCommonFirst"_s)->setChecked(false);
        generate(*form, u"bright"_s);
        QCOMPARE(column(*form), dataOrder);
    }

    // Without SCOWL's lists English keeps the data's order and the Settings tab says so.
    void mostCommonFirstWithoutWordLists()
    {
        auto form = makeWindow();
        options(*form)->commonness()->setScowlSearchPath({m_dir.filePath(u"none"_s)});
        chooseLanguage(*form, u"English US"_s);
        find<QCheckBox>(*form, u"chkMostCommonFirst"_s)->setChecked(true);
        auto *note = find<QLabel>(*form, u"lblOptionsNote"_s);
        QTRY_VERIFY(note->text().contains(u"scowl"_s));
        generate(*form, u"bright"_s);
        QCOMPARE(column(*form).section(u' ', 0, 1), u"shining luminous"_s);
    }

    // Generated phrases are offered back: Down in the empty phrase box opens them
    // all, most recent first; choosing one restores its language and depth and
    // generates it. The history outlives the window.
    void historyRestoresLanguageAndDepth()
    {
        {
            auto form = makeWindow();
            chooseLanguage(*form, u"French"_s);
            generate(*form, u"clair"_s, 2);
            chooseLanguage(*form, u"English US"_s);
            generate(*form, u"glow"_s, 1);
            form->close();
        }
        auto form = makeWindow();
        chooseLanguage(*form, u"German"_s);
        auto *edt1 = find<QLineEdit>(*form, u"edt1"_s);
        edt1->clear();
        edt1->setFocus();
        QTest::keyClick(edt1, Qt::Key_Down);
        QCompleter *completer = edt1->completer();
        QVERIFY(completer);
        QTRY_VERIFY(completer->popup()->isVisible());
        QCOMPARE(completer->completionCount(), 2);
        QCOMPARE(completer->completionModel()->index(0, 0).data().toString(), u"glow"_s);
        // The second: "clair", in French at "Doraz 3".
        QAbstractItemView *popup = completer->popup();
        popup->setCurrentIndex(completer->completionModel()->index(1, 0));
        QTest::keyClick(popup, Qt::Key_Return);
        settle();
        QCOMPARE(find<QComboBox>(*form, u"cbb2"_s)->currentText(), u"French"_s);
        QCOMPARE(find<QComboBox>(*form, u"cbb1"_s)->currentText(), u"Doraz 3"_s);
        QCOMPARE(edt1->text(), u"clair"_s);
        QCOMPARE(form->columns().size(), 1);
        QVERIFY(column(*form).startsWith(u"lumineux"_s));
    }

    // Two windows open at once keep one history: a window's save takes in what the
    // other wrote, and its popup offers those phrases at the rows it chooses from.
    void twoWindowsAtOnceShareTheHistory()
    {
        auto first = makeWindow();
        auto second = makeWindow();
        chooseLanguage(*first, u"French"_s);
        chooseLanguage(*second, u"English US"_s);
        generate(*first, u"clair"_s);
        options(*first)->saveHistory();
        generate(*second, u"glow"_s);
        options(*second)->saveHistory();

        auto *edt1 = find<QLineEdit>(*second, u"edt1"_s);
        edt1->clear();
        edt1->setFocus();
        QTest::keyClick(edt1, Qt::Key_Down);
        QCompleter *completer = edt1->completer();
        QTRY_VERIFY(completer->popup()->isVisible());
        QCOMPARE(completer->completionCount(), 2);
        QAbstractItemView *popup = completer->popup();
        popup->setCurrentIndex(completer->completionModel()->index(1, 0));
        QTest::keyClick(popup, Qt::Key_Return);
        settle();
        QCOMPARE(edt1->text(), u"clair"_s);
        QCOMPARE(find<QComboBox>(*second, u"cbb2"_s)->currentText(), u"French"_s);
        QVERIFY(column(*second).startsWith(u"lumineux"_s));
    }

    void typingOffersMatchingPhrases()
    {
        auto form = makeWindow();
        chooseLanguage(*form, u"English US"_s);
        generate(*form, u"bright"_s);
        generate(*form, u"glow"_s);
        auto *edt1 = find<QLineEdit>(*form, u"edt1"_s);
        edt1->clear();
        edt1->setFocus();
        QTest::keyClicks(edt1, u"gl"_s);
        QCompleter *completer = edt1->completer();
        QTRY_VERIFY(completer->popup()->isVisible());
        QCOMPARE(completer->completionCount(), 1);
        QCOMPARE(completer->currentCompletion(), u"glow"_s);
    }

    // "Keep a history" off remembers nothing new; "Clear history" forgets all.
    void keepAndClear()
    {
        auto form = makeWindow();
        chooseLanguage(*form, u"English US"_s);
        generate(*form, u"bright"_s);
        find<QCheckBox>(*form, u"chkKeepHistory"_s)->setChecked(false);
        generate(*form, u"glow"_s);
        const WriterOptions *writer = options(*form);
        QCOMPARE(writer->history().items().size(), 1);
        QCOMPARE(writer->history().items()[0].phrase, u"bright"_s);
        QTest::mouseClick(find<QPushButton>(*form, u"btnClearHistory"_s), Qt::LeftButton);
        QVERIFY(writer->history().items().isEmpty());
        PhraseHistory stored;
        QVERIFY(stored.load().isEmpty());
        QVERIFY(stored.items().isEmpty());
    }

    // A damaged history is set aside and the Settings tab says so; the window works.
    void damagedHistory()
    {
        QVERIFY(QDir().mkpath(QFileInfo(PhraseHistory::defaultPath()).absolutePath()));
        TestFiles::writeAll(PhraseHistory::defaultPath(), "{ not a history");
        auto form = makeWindow();
        QVERIFY2(find<QLabel>(*form, u"lblOptionsNote"_s)->text().contains(u".damaged"_s),
                 qPrintable(find<QLabel>(*form, u"lblOptionsNote"_s)->text()));
        chooseLanguage(*form, u"English US"_s);
        generate(*form, u"glow"_s);
        QCOMPARE(options(*form)->history().items().size(), 1);
        QFile::remove(PhraseHistory::defaultPath() + u".damaged"_s);
    }

    // The options are kept in the Settings file and come back at the next start.
    void optionsSurviveARestart()
    {
        {
            auto form = makeWindow();
            find<QCheckBox>(*form, u"chkMostCommonFirst"_s)->setChecked(true);
            find<QCheckBox>(*form, u"chkKeepHistory"_s)->setChecked(false);
            form->close();
        }
        const SettingsFile::Values stored = SettingsFile::load(SettingsFile::path());
        QVERIFY(stored.mostCommonFirst);
        QVERIFY(!stored.keepHistory);
        auto form = makeWindow();
        QVERIFY(find<QCheckBox>(*form, u"chkMostCommonFirst"_s)->isChecked());
        QVERIFY(!find<QCheckBox>(*form, u"chkKeepHistory"_s)->isChecked());
        find<QCheckBox>(*form, u"chkMostCommonFirst"_s)->setChecked(false);
        find<QCheckBox>(*form, u"chkKeepHistory"_s)->setChecked(true);
        form->close();
    }
};

QTEST_MAIN(TestWriterOptions)
#include "test_writeroptions.moc"
