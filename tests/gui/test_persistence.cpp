// What survives a restart: the placement store on a plain window in both of its
// modes, and the real main window closed and opened again. Both stores live in a
// temporary folder for the whole run.

#include "../ScriptedSource.h"
#include "../TestFiles.h"
#include "GuiTestDoubles.h"
#include "widgets/Dialogs.h"
#include "widgets/DisplayFont.h"
#include "app/Main.h"
#include "common/TColor.h"
#include "settings/FontSettings.h"
#include "settings/RegistryFile.h"
#include "settings/SettingsFile.h"
#include "settings/TcyIniForm.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPalette>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Dialogs::FailedSaveChoice)
using GuiTestDoubles::Message;
using TestFiles::readAll;
using TestFiles::writeAllMakingFolders;

namespace {

QString keyOf(const QString &component)
{
    return WindowPlacement::registryKeyPath({}, QCoreApplication::applicationFilePath(), component);
}

// The key of a window named "Probe", with these lines in it.
QByteArray probeKey(const QByteArray &lines)
{
    return "[" + RegistryFile::sectionName(RegistryStore::Root::CurrentUser, keyOf(u"Probe"_s)).toUtf8() + "]\n" + lines;
}

std::optional<WindowPlacement::Stored> storedFor(const QString &component, const WindowPlacement::Options &options = {})
{
    RegistryFile store(qEnvironmentVariable("VERBARIUM_REGISTRY_FILE"));
    return WindowPlacement::readRegistry(store, RegistryStore::Root::CurrentUser, keyOf(component), options);
}

// A plain window as it is first made: designed at 0, 0 with a
// client area of 400 x 300, centred by its start position mode.
std::unique_ptr<QWidget> probeWindow()
{
    auto window = std::make_unique<QWidget>();
    window->setObjectName(u"Probe"_s);
    window->resize(400, 300);
    TcyIniForm::setOwnerPosition(window.get(), TcyIniForm::poScreenCenter);
    return window;
}

TcyIniForm *attach(QWidget *window, TcyIniForm::TMode mode = TcyIniForm::mRegistry)
{
    auto *store = new TcyIniForm(window);
    store->setMode(mode);
    store->setIniDirectory(TcyIniForm::idLocalAppData);
    return store;
}

bool showAndSettle(QWidget *window)
{
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return false;
    QTest::qWait(50);
    return true;
}

QMargins frameOf(const QWidget *window)
{
    const QRect f = window->frameGeometry(), g = window->geometry();
    return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom()};
}

// The sizes a window is given once it is shown.
class ResizesAfterShow : public QObject
{
public:
    explicit ResizesAfterShow(QWidget *window) : QObject(window) { window->installEventFilter(this); }
    QList<QSize> sizes;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            m_shown = true;
        else if (m_shown && event->type() == QEvent::Resize)
            sizes.append(static_cast<QResizeEvent *>(event)->size());
        return false;
    }

private:
    bool m_shown = false;
};

} // namespace

class TestPersistence : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QList<Message> m_messages;

    QString settingsPath() const { return m_dir.filePath(u"program/verbarium.ini"_s); }
    QString registryPath() const { return m_dir.filePath(u"config/registry.ini"_s); }

    std::unique_ptr<TForm1> openMainWindow()
    {
        auto form = std::make_unique<TForm1>(ScriptedSource::fromText(QString()));
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qFatal("the main window was never exposed");
        QTest::qWait(50);
        return form;
    }

    // Closed as the user closes it, then destroyed as at the end of the run.
    static void closeAndDestroy(std::unique_ptr<TForm1> &form)
    {
        QVERIFY(form->close());
        form.reset();
    }

    static QLineEdit *delimiterEdit(const TForm1 &form) { return form.findChild<QLineEdit *>(u"edt2"_s); }

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        GuiTestDoubles::installStubConnectivity();
        GuiTestDoubles::keepPagesOnThisMachine();
        qputenv("VERBARIUM_SETTINGS_FILE", settingsPath().toUtf8());
        qputenv("VERBARIUM_REGISTRY_FILE", registryPath().toUtf8());
        qputenv("XDG_DATA_HOME", m_dir.filePath(u"data"_s).toUtf8());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(u"config"_s).toUtf8());
        QGuiApplication::setQuitOnLastWindowClosed(false);
        GuiTestDoubles::recordMessagesInto(m_messages);
    }

    void init()
    {
        for (const QString &folder : {u"program"_s, u"config"_s, u"data"_s}) {
            QDir(m_dir.filePath(folder)).removeRecursively();
            QDir().mkpath(m_dir.filePath(folder));
        }
        m_messages.clear();
    }

    void cleanup() { QCOMPARE(QGuiApplication::overrideCursor(), nullptr); }

    void componentStartsAsDescribed()
    {
        QWidget window;
        TcyIniForm store(&window);
        QCOMPARE(store.Attributes(),
                 (WindowPlacement::Attributes{TcyIniForm::atPosition, TcyIniForm::atSize, TcyIniForm::atMaximized}));
        QVERIFY(store.AutoLoad());
        QVERIFY(store.AutoSave());
        QCOMPARE(store.IniDirectory(), TcyIniForm::idProgramLocation);
        QCOMPARE(store.Mode(), TcyIniForm::mFile);
        QCOMPARE(store.RegRoot(), TcyIniForm::rrKEY_CURRENT_USER);
        QVERIFY(store.IniCustomfile().isEmpty() && store.IniCustomSection().isEmpty() && store.IniSubDirs().isEmpty()
                && store.RegCustomKey().isEmpty() && store.StoreVersion().isEmpty());
        QCOMPARE(quint32(TcyIniForm::GetRootKey(TcyIniForm::rrKEY_CURRENT_CONFIG)), 0x80000005u);
        QCOMPARE(quint32(TcyIniForm::GetRootKey(TcyIniForm::rrKEY_CURRENT_USER)), 0x80000001u);
    }

    // What a window opens with, given what its key holds. Frames are outer rectangles.
    void restoring_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QRect>("frame"); // expected outer rectangle in the normal state
        QTest::addColumn<bool>("maximized");
        QTest::addColumn<bool>("restored"); // LoadDefinitions' verdict

        const QRect designed(0, 0, -1, -1); // the designed place and size, frame added
        const QByteArray stored = "VERSION=\"\"\nTOP=dword:0000001e\nLEFT=dword:00000028\nWIDTH=dword:000001f4\n"
                                  "HEIGHT=dword:00000190\n";
        QTest::newRow("first start: designed place, not centred") << QByteArray() << designed << false << false;
        QTest::newRow("as stored, exactly") << stored << QRect(40, 30, 500, 400) << false << true;
        QTest::newRow("maximized") << stored + "STATE=dword:00000001\n" << QRect(40, 30, 500, 400) << true << true;
        QTest::newRow("minimized is not an attribute") << stored + "STATE=dword:00000002\n"
                                                       << QRect(40, 30, 500, 400) << false << true;
        QTest::newRow("WIDTH 0") << QByteArray(stored).replace("WIDTH=dword:000001f4", "WIDTH=dword:00000000")
                                 << QRect(40, 30, -1, 400) << false << true;
        QTest::newRow("version set by hand")
            << QByteArray(stored).replace("VERSION=\"\"", "VERSION=\"1\"") << designed << false << false;
        QTest::newRow("TOP stored as text")
            << QByteArray(stored).replace("TOP=dword:0000001e", "TOP=\"30\"") << designed << false << false;
        QTest::newRow("partly off the screen, as stored")
            << QByteArray("VERSION=\"\"\nTOP=dword:ffffffec\nLEFT=dword:ffffff9c\n") << QRect(-100, -20, -1, -1)
            << false << true;
        QTest::newRow("off every screen: brought back")
            << QByteArray(stored).replace("LEFT=dword:00000028", "LEFT=dword:ffffec78").replace("TOP=dword:0000001e", "TOP=dword:ffffec78")
            << QRect(0, 0, 500, 400) << false << true;
        // Numbers far beyond any screen (the offscreen one is 800 x 800), where the
        // far edge of the window's rectangle would wrap around.
        QTest::newRow("far right: brought back")
            << QByteArray(stored).replace("LEFT=dword:00000028", "LEFT=dword:7fffffff") << QRect(300, 30, 500, 400)
            << false << true;
        QTest::newRow("farthest up and left: brought back")
            << QByteArray(stored).replace("LEFT=dword:00000028", "LEFT=dword:80000000").replace("TOP=dword:0000001e", "TOP=dword:80000000")
            << QRect(0, 0, 500, 400) << false << true;
    }

    void restoring()
    {
        QFETCH(QByteArray, key);
        QFETCH(QRect, frame);
        QFETCH(bool, maximized);
        QFETCH(bool, restored);
        if (!key.isEmpty())
            writeAllMakingFolders(registryPath(), probeKey(key));

        auto window = probeWindow();
        TcyIniForm *store = attach(window.get());
        store->setAutoLoad(false);
        store->Loaded();
        QCOMPARE(TcyIniForm::ownerPosition(window.get()), TcyIniForm::poScreenCenter); // only with AutoLoad
        store->setAutoLoad(true);
        store->Loaded();
        QCOMPARE(TcyIniForm::ownerPosition(window.get()), TcyIniForm::poDesigned);
        QCOMPARE(store->LoadDefinitions(), restored); // applying the same placement twice changes nothing

        QVERIFY(showAndSettle(window.get()));
        QCOMPARE(window->isMaximized(), maximized);
        if (maximized) {
            window->showNormal();
            QTest::qWait(50);
        }
        const QMargins margins = frameOf(window.get());
        QRect expected = frame;
        if (expected.width() < 0)
            expected.setWidth(400 + margins.left() + margins.right());
        if (expected.height() < 0)
            expected.setHeight(300 + margins.top() + margins.bottom());
        QTRY_COMPARE(window->frameGeometry(), expected);
    }

    // A restored size is taken off its frame before the window is first shown, where
    // the platform knows the frame by then: the window is laid out once, at its size.
    void restoredSizeBeforeTheFirstShow_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QSize>("outer"); // -1: the designed client size, frame added
        QTest::newRow("width and height")
            << QByteArray("VERSION=\"\"\nWIDTH=dword:000001f4\nHEIGHT=dword:00000190\n") << QSize(500, 400);
        QTest::newRow("WIDTH 0: height only")
            << QByteArray("VERSION=\"\"\nWIDTH=dword:00000000\nHEIGHT=dword:00000190\n") << QSize(-1, 400);
    }

    void restoredSizeBeforeTheFirstShow()
    {
        QFETCH(QByteArray, key);
        QFETCH(QSize, outer);
        writeAllMakingFolders(registryPath(), probeKey(key));
        auto window = probeWindow();
        attach(window.get())->Loaded();
        auto *resizes = new ResizesAfterShow(window.get());
        QVERIFY(showAndSettle(window.get()));
        const QMargins margins = frameOf(window.get());
        if (margins.isNull())
            QSKIP("this platform draws no frame");
        QSize expected = outer;
        if (expected.width() < 0)
            expected.setWidth(400 + margins.left() + margins.right());
        QCOMPARE(window->frameGeometry().size(), expected);
        QCOMPARE(resizes->sizes, QList<QSize>());
    }

    void centredWhenOnlyOneOfTopAndLeft()
    {
        writeAllMakingFolders(registryPath(), probeKey("VERSION=\"\"\nTOP=dword:00000005\nWIDTH=dword:0000012c\n"
                                                       "HEIGHT=dword:000000c8\n"));
        auto window = probeWindow();
        attach(window.get())->Loaded();
        QVERIFY(showAndSettle(window.get()));
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        QTRY_COMPARE(window->frameGeometry(), QRect(screen.width() / 2 - 150, screen.height() / 2 - 100, 300, 200));
    }

    void visibilityAndMinimizedWhenAttributes()
    {
        const TcyIniForm::TAttributes all{TcyIniForm::atPosition, TcyIniForm::atSize, TcyIniForm::atVisible,
                                          TcyIniForm::atMinimized, TcyIniForm::atMaximized};
        writeAllMakingFolders(registryPath(), probeKey("VERSION=\"\"\nVISIBLE=dword:00000001\nSTATE=dword:00000002\n"));
        auto shown = probeWindow();
        TcyIniForm *store = attach(shown.get());
        store->setAttributes(all);
        store->Loaded();
        QVERIFY(!shown->isVisible()); // not while the window is still being built
        QTRY_VERIFY(shown->isVisible());
        QVERIFY(shown->isMinimized());

        writeAllMakingFolders(registryPath(), probeKey("VERSION=\"\"\nVISIBLE=dword:00000000\n"));
        auto hidden = probeWindow();
        hidden->show();
        store = attach(hidden.get());
        store->setAttributes(all);
        store->Loaded();
        QVERIFY(!hidden->isVisible());
    }

    void savedOnceWhenTheOwnerGoes()
    {
        auto window = probeWindow();
        TcyIniForm *store = attach(window.get());
        store->Loaded();
        QVERIFY(showAndSettle(window.get()));
        window->move(60, 70);
        window->resize(350, 250);
        QTest::qWait(20);
        const QRect frame = window->frameGeometry();

        store->Notification(window.get(), TcyIniForm::opRemove);
        QVERIFY(!store->AutoSave());
        QCOMPARE(storedFor(u"Probe"_s),
                 std::optional(WindowPlacement::Stored{
                     frame.width(), frame.height(), true, frame.top(), frame.left(), {}, WindowPlacement::State::Normal}));
        const QByteArray first = readAll(registryPath());
        window->move(10, 10);
        store->Notification(window.get(), TcyIniForm::opRemove);
        QCOMPARE(readAll(registryPath()), first);

        // Without the request for the notice (AutoSave off at Loaded) nothing is saved.
        QFile::remove(registryPath());
        auto other = probeWindow();
        TcyIniForm *quiet = attach(other.get());
        quiet->setAutoSave(false);
        quiet->Loaded();
        quiet->setAutoSave(true);
        quiet->Notification(other.get(), TcyIniForm::opRemove);
        QVERIFY(!QFile::exists(registryPath()));
    }

    void savedWhileMaximized()
    {
        auto window = probeWindow();
        TcyIniForm *store = attach(window.get());
        store->Loaded();
        QVERIFY(showAndSettle(window.get()));
        window->move(25, 35);
        QTest::qWait(20);
        const QRect normal = window->frameGeometry();
        window->showMaximized();
        QTRY_VERIFY(window->isMaximized() && window->frameGeometry() != normal);

        store->Notification(window.get(), TcyIniForm::opRemove);
        const auto saved = storedFor(u"Probe"_s);
        QVERIFY(saved);
        QCOMPARE(QRect(*saved->left, *saved->top, *saved->width, *saved->height), normal);
        QCOMPARE(saved->state, WindowPlacement::State::Maximized);
    }

    void savedAsItWasWhenClosed()
    {
        auto window = probeWindow();
        TcyIniForm *store = attach(window.get());
        store->setAttributes({TcyIniForm::atPosition, TcyIniForm::atSize, TcyIniForm::atVisible});
        store->Loaded();
        QVERIFY(showAndSettle(window.get()));
        window->move(15, 45);
        QTest::qWait(20);
        const QRect frame = window->frameGeometry();
        QVERIFY(window->close());
        QVERIFY(!window->isVisible());

        store->Notification(window.get(), TcyIniForm::opRemove);
        const WindowPlacement::Options options{store->Attributes(), {}, true};
        const auto saved = storedFor(u"Probe"_s, options);
        QVERIFY(saved);
        QCOMPARE(QRect(*saved->left, *saved->top, *saved->width, *saved->height), frame);
        QCOMPARE(saved->visible, std::optional(true)); // it was open when the program ended
    }

    void iniFileMode()
    {
        auto window = probeWindow();
        TcyIniForm *store = attach(window.get(), TcyIniForm::mFile);
        store->setIniSubDirs(u"Maker\\\\Tool"_s);
        const QString file = m_dir.filePath(u"data/Maker/Tool/"_s)
                             + WindowPlacement::iniFileName(QCoreApplication::applicationFilePath());
        QCOMPARE(store->GetFile(window.get()), file);
        store->Loaded();
        QVERIFY(showAndSettle(window.get()));
        window->move(33, 44);
        QTest::qWait(20);
        const QRect frame = window->frameGeometry();
        store->Notification(window.get(), TcyIniForm::opRemove);
        QVERIFY(readAll(file).startsWith("[Probe]\nVERSION=\nTOP=44\nLEFT=33\n"));
        QVERIFY(!QFile::exists(registryPath()));
        window.reset();

        auto again = probeWindow();
        TcyIniForm *second = attach(again.get(), TcyIniForm::mFile);
        second->setIniSubDirs(u"Maker/Tool"_s);
        second->Loaded();
        QVERIFY(showAndSettle(again.get()));
        QTRY_COMPARE(again->frameGeometry(), frame);
    }

    void bothFallsBackToTheRegistry()
    {
        writeAllMakingFolders(m_dir.filePath(u"data/blocked"_s), "a file where the folder should be");
        auto window = probeWindow();
        TcyIniForm *store = attach(window.get(), TcyIniForm::mBoth);
        store->setIniSubDirs(u"blocked"_s);
        store->Loaded();
        QVERIFY(showAndSettle(window.get()));
        window->move(12, 21);
        QTest::qWait(20);
        const QRect frame = window->frameGeometry();
        QVERIFY(store->SaveDefinitions());
        const auto saved = storedFor(u"Probe"_s);
        QVERIFY(saved);
        QCOMPARE(QPoint(*saved->left, *saved->top), frame.topLeft());
        window.reset();

        auto again = probeWindow();
        TcyIniForm *second = attach(again.get(), TcyIniForm::mBoth);
        second->setIniSubDirs(u"blocked"_s);
        second->Loaded();
        QVERIFY(showAndSettle(again.get()));
        QTRY_COMPARE(again->frameGeometry(), frame);
    }

    void mainWindowFirstStart()
    {
        auto form = openMainWindow();
        QCOMPARE(form->aFont, DisplayFont()); // Arial, 10 points, clDefault, no style
        QCOMPARE(delimiterEdit(*form)->text(), u"."_s);
        QCOMPARE(form->frameGeometry().topLeft(), QPoint(0, 0));
        const QRect frame = form->frameGeometry();
        QCOMPARE(form->size(), QSize(1126, 756));
        closeAndDestroy(form);

        QVERIFY(readAll(settingsPath()).contains("[General]\nClipBoardDelimiter=\xC2\xA7.\xC2\xA7"));
        QCOMPARE(storedFor(u"Form1"_s),
                 std::optional(WindowPlacement::Stored{
                     frame.width(), frame.height(), true, 0, 0, {}, WindowPlacement::State::Normal}));
        RegistryFile store(registryPath());
        QVERIFY(store.openKey(RegistryStore::Root::CurrentUser, keyOf(u"Form1"_s), false));
        QCOMPARE(store.readString(u"VERSION"_s), QString());
        QCOMPARE(store.readInteger(u"STATE"_s), 0);
        QCOMPARE(store.valueType(u"VISIBLE"_s), RegistryStore::ValueType::Missing);
        QVERIFY(m_messages.isEmpty());
    }

    void mainWindowComesBackAsItWasLeft()
    {
        auto form = openMainWindow();
        DisplayFont font;
        font.family = u"DejaVu Serif"_s;
        font.pointSize = 14;
        font.color = TColor::clWindowText;
        font.bold = font.italic = true;
        form->aFont = font;
        QLineEdit *edt2 = delimiterEdit(*form);
        edt2->selectAll();
        QTest::keyClicks(edt2, u", "_s);
        form->move(37, 52);
        form->resize(1200, 700);
        QTest::qWait(20);
        const QRect frame = form->frameGeometry();
        closeAndDestroy(form);

        form = openMainWindow();
        QCOMPARE(form->aFont, font);
        QCOMPARE(delimiterEdit(*form)->text(), u", "_s);
        QTRY_COMPARE(form->frameGeometry(), frame);
        QVERIFY(!form->isMaximized());

        // Maximized: it opens maximized and restores to where it was before.
        form->showMaximized();
        QTRY_VERIFY(form->isMaximized());
        closeAndDestroy(form);
        form = openMainWindow();
        QVERIFY(form->isMaximized());
        form->showNormal();
        QTRY_COMPARE(form->frameGeometry(), frame);
        closeAndDestroy(form);
        QVERIFY(m_messages.isEmpty());
    }

    void mainWindowKeepsWhatItDoesNotUse()
    {
        writeAllMakingFolders(settingsPath(), "; notes\n[Font]\nFontStyle=19\nFontColor=$FF000008\n[Mine]\nkey=value\n");
        auto form = openMainWindow();
        QVERIFY(form->aFont.bold && form->aFont.italic && !form->aFont.underline && !form->aFont.strikeOut);
        QCOMPARE(form->aFont.color, TColor::clWindowText);
        closeAndDestroy(form);
        const QByteArray saved = readAll(settingsPath());
        QVERIFY(saved.startsWith("; notes\n[Font]\nFontStyle=19\nFontColor=-16777208\n"));
        QVERIFY(saved.contains("[Mine]\nkey=value\n"));
    }

    void mainWindowStaysOpenWhenTheSaveFails()
    {
        const QString blocker = m_dir.filePath(u"program/blocker"_s);
        writeAllMakingFolders(blocker, "a file where the folder should be");
        const QString unwritable = blocker + u"/verbarium.ini"_s;
        qputenv("VERBARIUM_SETTINGS_FILE", unwritable.toUtf8());
        auto restore = qScopeGuard([this] { qputenv("VERBARIUM_SETTINGS_FILE", settingsPath().toUtf8()); });

        auto form = openMainWindow();
        const Message expected{Dialogs::MessageKind::Error,
                               u"Unable to write to %1."_s.arg(QDir::toNativeSeparators(unwritable))};
        QVERIFY(!form->close());
        QVERIFY(form->isVisible());
        QCOMPARE(m_messages, QList{expected});
        QVERIFY(!form->close()); // every close request tries again
        QCOMPARE(m_messages, (QList{expected, expected}));

        restore.dismiss();
        qputenv("VERBARIUM_SETTINGS_FILE", settingsPath().toUtf8());
        QVERIFY(form->close());
        form.reset();
        QVERIFY(QFile::exists(settingsPath()));
    }

    void failedSaveOffersRetryAndCloseWithoutSaving_data()
    {
        QTest::addColumn<QList<Dialogs::FailedSaveChoice>>("choices");
        QTest::addColumn<bool>("fixedAfterFirstBox");
        QTest::addColumn<int>("boxes");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("saved");
        using enum Dialogs::FailedSaveChoice;
        QTest::newRow("retry after the cause is gone") << QList{Retry} << true << 1 << true << true;
        QTest::newRow("retry fails again, then close") << QList{Retry, CloseWithoutSaving} << false << 2 << true << false;
        QTest::newRow("close without saving") << QList{CloseWithoutSaving} << false << 1 << true << false;
        QTest::newRow("escape keeps the window") << QList{KeepOpen} << false << 1 << false << false;
    }

    void failedSaveOffersRetryAndCloseWithoutSaving()
    {
        QFETCH(QList<Dialogs::FailedSaveChoice>, choices);
        QFETCH(bool, fixedAfterFirstBox);
        QFETCH(int, boxes);
        QFETCH(bool, closed);
        QFETCH(bool, saved);
        // A file where the Settings file's folder should be: the save fails until it goes.
        const QString blocker = m_dir.filePath(u"program/blocker"_s);
        writeAllMakingFolders(blocker, "a file where the folder should be");
        const QString target = blocker + u"/verbarium.ini"_s;
        qputenv("VERBARIUM_SETTINGS_FILE", target.toUtf8());
        auto restore = qScopeGuard([this] {
            qputenv("VERBARIUM_SETTINGS_FILE", settingsPath().toUtf8());
            GuiTestDoubles::recordMessagesInto(m_messages);
            Dialogs::setNextFailedSaveChoices({});
        });

        auto form = openMainWindow();
        Dialogs::setMessageRecorder([&](Dialogs::MessageKind kind, const QString &text) {
            m_messages.append({kind, text});
            if (fixedAfterFirstBox)
                QFile::remove(blocker);
        });
        Dialogs::setNextFailedSaveChoices(choices);
        QCOMPARE(form->close(), closed);
        QCOMPARE(form->isVisible(), !closed);
        const Message expected{Dialogs::MessageKind::Error,
                               u"Unable to write to %1."_s.arg(QDir::toNativeSeparators(target))};
        QCOMPARE(m_messages, QList<Message>(boxes, expected));
        QCOMPARE(QFile::exists(target), saved);
        if (saved)
            QVERIFY(readAll(target).contains("[General]\nClipBoardDelimiter="));
        form.reset();
    }

    void mainWindowStartsOverBadStoredData()
    {
        writeAllMakingFolders(settingsPath(), QByteArray("[Font]\nFontSize=huge\nFontColor=red\nFontName=")
                                                  + QByteArray(5000, 'x') + "\n\x01\x02\xFF\xFE garbage without equals\n");
        const QByteArray section = RegistryFile::sectionName(RegistryStore::Root::CurrentUser, keyOf(u"Form1"_s)).toUtf8();
        writeAllMakingFolders(registryPath(), "[" + section
                                                  + "]\nVERSION=\"\"\nTOP=\"200\"\nLEFT=dword:00000064\nWIDTH=big\n"
                                                    "HEIGHT=dword:00000300\n");
        auto form = openMainWindow();
        QCOMPARE(form->frameGeometry().topLeft(), QPoint(0, 0));
        QCOMPARE(form->size(), QSize(1126, 756));
        QCOMPARE(form->aFont.pointSize, 10);
        QCOMPARE(form->aFont.color, TColor::clDefault);
        QCOMPARE(form->aFont.family, QString(2047, u'x'));
        closeAndDestroy(form);
        QVERIFY(storedFor(u"Form1"_s)); // written over with good values
        QVERIFY(m_messages.isEmpty());
    }

    // An empty face name keeps the face a new font has, which is then written back.
    void mainWindowTakesTheDefaultFaceForAnEmptyName()
    {
        writeAllMakingFolders(settingsPath(), QByteArray("[Font]\nFontName=\nFontSize=12\n"));
        auto form = openMainWindow();
        QVERIFY(QFont().family() != u"Arial");
        QCOMPARE(form->aFont.family, QFont().family());
        QCOMPARE(form->aFont.pointSize, 12);
        closeAndDestroy(form);
        QVERIFY2(readAll(settingsPath()).contains(QByteArray("FontName=" + QFont().family().toUtf8())),
                 readAll(settingsPath()).constData());
        QVERIFY(m_messages.isEmpty());
    }

    // The stored colour is drawn as the Qt colour it names and written back unchanged.
    void colours_data()
    {
        QTest::addColumn<qint32>("stored");
        QTest::addColumn<QColor>("drawn");
        const QPalette palette = QApplication::palette();
        QTest::newRow("clDefault: the theme's text colour") << TColor::clDefault << QColor();
        QTest::newRow("clWindowText") << TColor::clWindowText << palette.color(QPalette::WindowText);
        QTest::newRow("clHighlight") << qint32(0xFF00000Du) << palette.color(QPalette::Highlight);
        QTest::newRow("clWindow") << TColor::clWindow << palette.color(QPalette::Base);
        QTest::newRow("plain: red in the low byte") << qint32(0x004080FF) << QColor(255, 128, 64);
        QTest::newRow("plain black") << qint32(0) << QColor(0, 0, 0);
    }

    void colours()
    {
        QFETCH(qint32, stored);
        QFETCH(QColor, drawn);
        SettingsFile::Values values;
        values.color = stored;
        SettingsFile::save(settingsPath(), values);
        quint8 rest = 0;
        const DisplayFont font = FontSettings::toFont(SettingsFile::load(settingsPath()), rest);
        QCOMPARE(font.qColor(QApplication::palette()), drawn);
        SettingsFile::save(settingsPath(), FontSettings::fromFont(font, rest, u"."_s));
        QCOMPARE(SettingsFile::load(settingsPath()).color, stored);
    }
};

QTEST_MAIN(TestPersistence)
#include "test_persistence.moc"
