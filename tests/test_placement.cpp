// The window placement store without a window: the registry-like file, the stored
// values and their meanings, and the rules of a restore and a save.

#include "TestFiles.h"

#include "common/AppError.h"
#include "settings/RegistryFile.h"
#include "settings/WindowPlacement.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using WP = WindowPlacement;
using Root = RegistryStore::Root;
using Type = RegistryStore::ValueType;
using TestFiles::readAll;
using TestFiles::writeAll;

Q_DECLARE_METATYPE(WindowPlacement::Stored)
Q_DECLARE_METATYPE(WindowPlacement::Record)
Q_DECLARE_METATYPE(std::optional<WindowPlacement::Stored>)

namespace {

const QString Key = u"\\software\\app\\Form1"_s;
const QByteArray Section = "[HKEY_CURRENT_USER\\software\\app\\Form1]\n";

WP::Options mainWindow(const QString &version = {})
{
    return {WP::Attributes{WP::atPosition, WP::atSize, WP::atMaximized}, version, true};
}

WP::Stored stored(std::optional<qint32> width, std::optional<qint32> height, bool place, std::optional<qint32> top,
                  std::optional<qint32> left, WP::State state = WP::State::Normal,
                  std::optional<bool> visible = std::nullopt)
{
    WP::Stored s;
    s.width = width;
    s.height = height;
    s.placePosition = place;
    s.top = top;
    s.left = left;
    s.state = state;
    s.visible = visible;
    return s;
}

} // namespace

class TestPlacement : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_file;

    // A registry file holding the main window's key with these lines.
    void storeKey(const QByteArray &lines) { writeAll(m_file, Section + lines); }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void init()
    {
        m_file = m_dir.filePath(u"registry.ini"_s);
        QFile::remove(m_file);
    }

    void typedValuesRoundTrip()
    {
        RegistryFile store(m_file);
        QVERIFY(store.openKey(Root::CurrentUser, Key, true));
        store.writeString(u"VERSION"_s, QString());
        store.writeString(u"NOTE"_s, u"  a\\b \"c\"\n\u00A7 "_s);
        store.writeInteger(u"TOP"_s, -20);
        store.writeInteger(u"LOW"_s, std::numeric_limits<qint32>::min());
        QVERIFY(store.closeKey());
        QVERIFY(readAll(m_file).contains("TOP=dword:ffffffec"));

        RegistryFile again(m_file);
        // Key paths and value names without regard to case.
        QVERIFY(again.openKey(Root::CurrentUser, u"SOFTWARE\\App\\\\FORM1"_s, false));
        QCOMPARE(again.valueType(u"version"_s), Type::String);
        QCOMPARE(again.readString(u"version"_s), QString());
        QCOMPARE(again.readString(u"Note"_s), u"  a\\b \"c\"\n\u00A7 "_s);
        QCOMPARE(again.readInteger(u"top"_s), -20);
        QCOMPARE(again.readInteger(u"LOW"_s), std::numeric_limits<qint32>::min());
        QCOMPARE(again.valueType(u"LEFT"_s), Type::Missing);
        QVERIFY(again.closeKey());

        // Another root is another key.
        QVERIFY(!again.openKey(Root::LocalMachine, Key, false));
    }

    void valueTypes_data()
    {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<int>("type");
        QTest::addColumn<qint32>("number");
        QTest::newRow("string") << QByteArray("\"143\"") << int(Type::String) << 0;
        QTest::newRow("empty string") << QByteArray("\"\"") << int(Type::String) << 0;
        QTest::newRow("number") << QByteArray("dword:0000008f") << int(Type::Integer) << 143;
        QTest::newRow("number, short and capitals") << QByteArray("DWORD:FFFFFFFF") << int(Type::Integer) << -1;
        QTest::newRow("plain text") << QByteArray("143") << int(Type::Other) << 0;
        QTest::newRow("number without digits") << QByteArray("dword:") << int(Type::Other) << 0;
        QTest::newRow("number too long") << QByteArray("dword:123456789") << int(Type::Other) << 0;
        QTest::newRow("number with junk") << QByteArray("dword:12g") << int(Type::Other) << 0;
        QTest::newRow("binary") << QByteArray("hex:01,02") << int(Type::Other) << 0;
    }

    void valueTypes()
    {
        QFETCH(QByteArray, raw);
        QFETCH(int, type);
        QFETCH(qint32, number);
        storeKey("TOP=" + raw + "\n");
        RegistryFile store(m_file);
        QVERIFY(store.openKey(Root::CurrentUser, Key, false));
        QCOMPARE(int(store.valueType(u"TOP"_s)), type);
        if (type == int(Type::Integer)) {
            QCOMPARE(store.readInteger(u"TOP"_s), number);
            QVERIFY_THROWS_EXCEPTION(AppError, store.readString(u"TOP"_s));
        } else {
            try {
                store.readInteger(u"TOP"_s);
                QFAIL("a value of another type was read as a number");
            } catch (const AppError &error) {
                QCOMPARE(error.message(), u"Invalid data type for 'TOP'"_s);
            }
        }
    }

    void openingKeys()
    {
        RegistryFile store(m_file);
        // Reading never creates anything.
        QVERIFY(!store.openKey(Root::CurrentUser, Key, false));
        QVERIFY(!QFile::exists(m_file));

        // Writing creates the file, its folders and the key, and keeps other keys.
        const QString nested = m_dir.filePath(u"a/b/registry.ini"_s);
        RegistryFile deep(nested);
        QVERIFY(deep.openKey(Root::CurrentUser, u"\\software\\other\\Form1"_s, true));
        deep.writeInteger(u"TOP"_s, 1);
        QVERIFY(deep.closeKey());
        QVERIFY(deep.openKey(Root::CurrentUser, Key, true));
        deep.writeInteger(u"TOP"_s, 2);
        QVERIFY(deep.closeKey());
        QVERIFY(deep.openKey(Root::CurrentUser, u"\\software\\other\\Form1"_s, false));
        QCOMPARE(deep.readInteger(u"TOP"_s), 1);

        // A folder that cannot be made: nothing written, and the failure reported.
        const QString blocker = m_dir.filePath(u"blocker"_s);
        writeAll(blocker, "file");
        RegistryFile blocked(blocker + u"/registry.ini"_s);
        const bool opened = blocked.openKey(Root::CurrentUser, Key, true);
        if (opened) {
            blocked.writeString(u"VERSION"_s, QString());
            QVERIFY(!blocked.closeKey());
        }
        QCOMPARE(readAll(blocker), QByteArray("file"));
    }

    void savedValuesOfTheMainWindow()
    {
        RegistryFile store(m_file);
        QVERIFY(WP::writeRegistry(store, Root::CurrentUser, Key, mainWindow(), {-20, -1500, 1142, 795, true, 1}));
        QVERIFY(store.openKey(Root::CurrentUser, Key, false));
        QCOMPARE(store.readString(u"VERSION"_s), QString());
        QCOMPARE(store.readInteger(u"TOP"_s), -20);
        QCOMPARE(store.readInteger(u"LEFT"_s), -1500);
        QCOMPARE(store.readInteger(u"WIDTH"_s), 1142);
        QCOMPARE(store.readInteger(u"HEIGHT"_s), 795);
        QCOMPARE(store.readInteger(u"STATE"_s), 1);
        QCOMPARE(store.valueType(u"VISIBLE"_s), Type::Missing);
        store.closeKey();

        QCOMPARE(WP::readRegistry(store, Root::CurrentUser, Key, mainWindow()),
                 stored(1142, 795, true, -20, -1500, WP::State::Maximized));
    }

    void savedValuesFollowTheAttributes()
    {
        RegistryFile store(m_file);
        const WP::Options visibleAndMinimized{WP::Attributes{WP::atVisible, WP::atMinimized}, u"2"_s, true};
        QVERIFY(WP::writeRegistry(store, Root::CurrentUser, Key, visibleAndMinimized, {1, 2, 3, 4, false, 2}));
        QVERIFY(store.openKey(Root::CurrentUser, Key, false));
        QCOMPARE(store.readString(u"VERSION"_s), u"2"_s);
        QCOMPARE(store.readInteger(u"VISIBLE"_s), 0);
        QCOMPARE(store.readInteger(u"STATE"_s), 2);
        for (const QString &absent : {u"TOP"_s, u"LEFT"_s, u"WIDTH"_s, u"HEIGHT"_s})
            QCOMPARE(store.valueType(absent), Type::Missing);
        store.closeKey();

        QVERIFY(WP::writeRegistry(store, Root::CurrentUser, Key, {WP::Attributes{WP::atSize}, {}, true},
                                  {1, 2, 3, 4, true, 1}));
        QVERIFY(store.openKey(Root::CurrentUser, Key, false));
        QCOMPARE(store.readInteger(u"STATE"_s), 2); // not written without a state attribute
        QCOMPARE(store.readInteger(u"VISIBLE"_s), 0);
        QCOMPARE(store.readInteger(u"WIDTH"_s), 3);
    }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<int>("attributes");
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("form");
        QTest::addColumn<std::optional<WP::Stored>>("expected");

        const int main = WP::Attributes{WP::atPosition, WP::atSize, WP::atMaximized}.bits();
        const int all = 0x1F;
        const QByteArray full = "VERSION=\"\"\nTOP=dword:0000000a\nLEFT=dword:00000014\nWIDTH=dword:00000474\n"
                                "HEIGHT=dword:0000031b\nSTATE=dword:00000000\n";
        using O = std::optional<WP::Stored>;

        QTest::newRow("all values") << full << main << QString() << true << O(stored(1140, 795, true, 10, 20));
        QTest::newRow("maximized") << QByteArray(full).replace("STATE=dword:00000000", "STATE=dword:00000001") << main
                                   << QString() << true << O(stored(1140, 795, true, 10, 20, WP::State::Maximized));
        QTest::newRow("minimized but not an attribute")
            << QByteArray(full).replace("STATE=dword:00000000", "STATE=dword:00000002") << main << QString() << true
            << O(stored(1140, 795, true, 10, 20));
        QTest::newRow("minimized as an attribute")
            << QByteArray(full).replace("STATE=dword:00000000", "STATE=dword:00000002") << all << QString() << true
            << O(stored(1140, 795, true, 10, 20, WP::State::Minimized));
        QTest::newRow("maximized, owner not a form")
            << QByteArray(full).replace("STATE=dword:00000000", "STATE=dword:00000001") << main << QString() << false
            << O(stored(1140, 795, true, 10, 20));
        QTest::newRow("only TOP: centred") << QByteArray("VERSION=\"\"\nTOP=dword:00000005\n") << main << QString()
                                           << true << O(stored({}, {}, true, {}, {}));
        QTest::newRow("only LEFT: centred") << QByteArray("VERSION=\"\"\nLEFT=dword:00000005\n") << main << QString()
                                            << true << O(stored({}, {}, true, {}, {}));
        QTest::newRow("only WIDTH: no size") << QByteArray("VERSION=\"\"\nWIDTH=dword:00000005\n") << main << QString()
                                             << true << O(stored({}, {}, true, {}, {}));
        QTest::newRow("WIDTH 0 is read as it is")
            << QByteArray("VERSION=\"\"\nWIDTH=dword:00000000\nHEIGHT=dword:000002bc\n") << main << QString() << true
            << O(stored(0, 700, true, {}, {}));
        QTest::newRow("position not an attribute") << full << int(WP::Attributes{WP::atSize}.bits()) << QString()
                                                   << true << O(stored(1140, 795, false, {}, {}));
        QTest::newRow("visible not an attribute") << QByteArray(full + "VISIBLE=dword:00000000\n") << main << QString()
                                                  << true << O(stored(1140, 795, true, 10, 20));
        QTest::newRow("hidden") << QByteArray(full + "VISIBLE=dword:00000000\n") << all << QString() << true
                                << O(stored(1140, 795, true, 10, 20, WP::State::Normal, false));
        QTest::newRow("version set by hand")
            << QByteArray(full).replace("VERSION=\"\"", "VERSION=\"1\"") << main << QString() << true << O();
        QTest::newRow("version letter case counts")
            << QByteArray(full).replace("VERSION=\"\"", "VERSION=\"A\"") << main << u"a"_s << true << O();
        QTest::newRow("version matches") << QByteArray(full).replace("VERSION=\"\"", "VERSION=\"a\"") << main << u"a"_s
                                         << true << O(stored(1140, 795, true, 10, 20));
        QTest::newRow("version missing") << QByteArray(full).replace("VERSION=\"\"\n", "") << main << QString() << true
                                         << O();
        QTest::newRow("first start: no key") << QByteArray() << main << QString() << true << O();
    }

    void reading()
    {
        QFETCH(QByteArray, lines);
        QFETCH(int, attributes);
        QFETCH(QString, version);
        QFETCH(bool, form);
        QFETCH(std::optional<WP::Stored>, expected);
        if (!lines.isEmpty())
            storeKey(lines);
        RegistryFile store(m_file);
        const WP::Options options{WP::Attributes::fromBits(quint8(attributes)), version, form};
        QCOMPARE(WP::readRegistry(store, Root::CurrentUser, Key, options), expected);
    }

    void wrongTypes_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QString>("name");
        QTest::newRow("TOP as text") << QByteArray("VERSION=\"\"\nTOP=\"10\"\nLEFT=dword:00000001\n") << u"TOP"_s;
        QTest::newRow("HEIGHT as plain text")
            << QByteArray("VERSION=\"\"\nWIDTH=dword:00000001\nHEIGHT=700\n") << u"HEIGHT"_s;
        QTest::newRow("STATE as text") << QByteArray("VERSION=\"\"\nSTATE=\"1\"\n") << u"STATE"_s;
        QTest::newRow("VERSION as a number") << QByteArray("VERSION=dword:00000000\n") << u"VERSION"_s;
    }

    void wrongTypes()
    {
        QFETCH(QByteArray, lines);
        QFETCH(QString, name);
        storeKey(lines);
        RegistryFile store(m_file);
        try {
            WP::readRegistry(store, Root::CurrentUser, Key, mainWindow());
            QFAIL("a value of the wrong type went unnoticed");
        } catch (const AppError &error) {
            QCOMPARE(error.message(), u"Invalid data type for '%1'"_s.arg(name));
        }
        // The key was closed on the way out: it can be written at once.
        QVERIFY(WP::writeRegistry(store, Root::CurrentUser, Key, mainWindow(), {}));
    }

    void mismatchedVersionIsOverwrittenAtTheNextSave()
    {
        storeKey("VERSION=\"1\"\nTOP=dword:00000005\nVISIBLE=dword:00000001\n");
        RegistryFile store(m_file);
        QVERIFY(!WP::readRegistry(store, Root::CurrentUser, Key, mainWindow()));
        QVERIFY(WP::writeRegistry(store, Root::CurrentUser, Key, mainWindow(), {7, 8, 9, 10, true, 0}));
        QVERIFY(store.openKey(Root::CurrentUser, Key, false));
        QCOMPARE(store.readString(u"VERSION"_s), QString());
        QCOMPARE(store.readInteger(u"TOP"_s), 7);
        QCOMPARE(store.readInteger(u"VISIBLE"_s), 1); // not written, left as it was
    }

    void restoredSize_data()
    {
        QTest::addColumn<WP::Stored>("stored");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("both") << stored(800, 600, false, {}, {}) << QSize(800, 600);
        QTest::newRow("WIDTH 0, HEIGHT 700") << stored(0, 700, false, {}, {}) << QSize(1142, 700);
        QTest::newRow("negative") << stored(-5, -1, false, {}, {}) << QSize(1142, 795);
        QTest::newRow("none") << stored({}, {}, false, {}, {}) << QSize(1142, 795);
    }

    void restoredSize()
    {
        QFETCH(WP::Stored, stored);
        QFETCH(QSize, expected);
        QCOMPARE(WP::restoredSize({1142, 795}, stored), expected);
    }

    void restoredPosition_data()
    {
        QTest::addColumn<WP::Stored>("stored");
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<std::optional<QPoint>>("expected");
        using P = std::optional<QPoint>;
        QTest::newRow("as stored") << stored({}, {}, true, 143, 389) << QSize(1920, 1080) << QSize(1142, 795)
                                   << P(QPoint(389, 143));
        QTest::newRow("negative, as stored")
            << stored({}, {}, true, -300, -1700) << QSize(1920, 1080) << QSize(1142, 795) << P(QPoint(-1700, -300));
        QTest::newRow("only one: centred")
            << stored({}, {}, true, 5, {}) << QSize(1920, 1080) << QSize(1142, 795) << P(QPoint(389, 143));
        QTest::newRow("odd sizes drop the fraction")
            << stored({}, {}, true, {}, {}) << QSize(1025, 769) << QSize(301, 201) << P(QPoint(512 - 150, 384 - 100));
        QTest::newRow("larger than the screen")
            << stored({}, {}, true, {}, {}) << QSize(800, 600) << QSize(1142, 795) << P(QPoint(400 - 571, 300 - 397));
        QTest::newRow("position not restored")
            << stored({}, {}, false, 1, 2) << QSize(1920, 1080) << QSize(1142, 795) << P();
    }

    void restoredPosition()
    {
        QFETCH(WP::Stored, stored);
        QFETCH(QSize, screen);
        QFETCH(QSize, window);
        QFETCH(std::optional<QPoint>, expected);
        QCOMPARE(WP::restoredPosition(stored, screen, window), expected);
    }

    void reachable_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("expected");
        const QRect primary(0, 0, 1920, 1080);
        const QRect left(-1280, 0, 1280, 1024);
        QTest::newRow("on the screen") << QRect(100, 100, 800, 600) << QList{primary} << QRect(100, 100, 800, 600);
        QTest::newRow("partly off, kept") << QRect(-700, -50, 800, 600) << QList{primary} << QRect(-700, -50, 800, 600);
        QTest::newRow("on the left screen")
            << QRect(-1200, 10, 800, 600) << QList{left, primary} << QRect(-1200, 10, 800, 600);
        QTest::newRow("left screen gone") << QRect(-1200, 10, 800, 600) << QList{primary} << QRect(0, 10, 800, 600);
        QTest::newRow("below and right") << QRect(5000, 3000, 800, 600) << QList{primary} << QRect(1120, 480, 800, 600);
        QTest::newRow("to the nearest of two")
            << QRect(-3000, 2000, 400, 300) << QList{primary, left} << QRect(-1280, 724, 400, 300);
        QTest::newRow("larger than the screen")
            << QRect(-5000, -5000, 2500, 1200) << QList{primary} << QRect(0, 0, 2500, 1200);
        QTest::newRow("no screens known") << QRect(-5000, 0, 10, 10) << QList<QRect>() << QRect(-5000, 0, 10, 10);
    }

    void reachable()
    {
        QFETCH(QRect, frame);
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, expected);
        QCOMPARE(WP::reachable(frame, screens), expected);
    }

    // Stored numbers far beyond any screen (a damaged or hand-made key) still give a
    // frame that is brought onto the screen: the window is made at the restored
    // position with its size, and its far edge must not wrap around.
    void farBeyondEveryScreen_data()
    {
        QTest::addColumn<qint32>("top");
        QTest::addColumn<qint32>("left");
        QTest::addColumn<QPoint>("expected");
        constexpr qint32 Largest = std::numeric_limits<qint32>::max();
        constexpr qint32 Smallest = std::numeric_limits<qint32>::min();
        QTest::newRow("largest") << Largest << Largest << QPoint(1120, 480);
        QTest::newRow("a window's width short of the largest") << Largest - 800 << Largest - 800 << QPoint(1120, 480);
        QTest::newRow("far right, at the top") << 0 << Largest << QPoint(1120, 0);
        QTest::newRow("smallest") << Smallest << Smallest << QPoint(0, 0);
    }

    void farBeyondEveryScreen()
    {
        QFETCH(qint32, top);
        QFETCH(qint32, left);
        QFETCH(QPoint, expected);
        const QSize window(800, 600);
        const QRect screen(0, 0, 1920, 1080);
        const std::optional<QPoint> position = WP::restoredPosition(stored({}, {}, true, top, left), screen.size(), window);
        QVERIFY(position);
        QCOMPARE(WP::reachable(QRect(*position, window), {screen}), QRect(expected, window));
    }

    void savedRecord_data()
    {
        QTest::addColumn<bool>("minimized");
        QTest::addColumn<bool>("maximized");
        QTest::addColumn<int>("attributes");
        QTest::addColumn<bool>("normalKnown");
        QTest::addColumn<WP::Record>("expected");
        const int main = WP::Attributes{WP::atPosition, WP::atSize, WP::atMaximized}.bits();
        const WP::Record bounds{-4, -4, 1928, 1088, true, 0};
        const WP::Record normal{30, 40, 1142, 795, true, 0};
        const auto with = [](WP::Record r, qint32 state) {
            r.state = state;
            return r;
        };
        QTest::newRow("normal") << false << false << main << true << bounds;
        QTest::newRow("maximized: the restored rectangle") << false << true << main << true << with(normal, 1);
        QTest::newRow("maximized, platform silent") << false << true << main << false << with(bounds, 1);
        QTest::newRow("minimized, not an attribute") << true << false << main << true << bounds;
        QTest::newRow("minimized as an attribute") << true << false << 0x1F << true << with(normal, 2);
        QTest::newRow("minimized from maximized") << true << true << 0x1F << true << with(normal, 1);
        QTest::newRow("maximized, not an attribute")
            << false << true << int(WP::Attributes{WP::atSize}.bits()) << true << bounds;
    }

    void savedRecord()
    {
        QFETCH(bool, minimized);
        QFETCH(bool, maximized);
        QFETCH(int, attributes);
        QFETCH(bool, normalKnown);
        QFETCH(WP::Record, expected);
        const std::optional<QRect> normal = normalKnown ? std::optional<QRect>(QRect(40, 30, 1142, 795)) : std::nullopt;
        QCOMPARE(WP::record(QRect(-4, -4, 1928, 1088), normal, true, minimized, maximized,
                            WP::Attributes::fromBits(quint8(attributes))),
                 expected);
    }

    void keyPaths_data()
    {
        QTest::addColumn<QString>("custom");
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("expected");
        QTest::newRow("app.exe") << QString() << u"C:/Program Files/app.exe"_s << u"Form1"_s << u"\\software\\app\\Form1"_s;
        QTest::newRow("no extension") << QString() << u"/usr/bin/verbarium-pro"_s << u"Form1"_s
                                      << u"\\software\\verbarium-pro\\Form1"_s;
        QTest::newRow("another executable, another key")
            << QString() << u"/usr/bin/app2.exe"_s << u"Form1"_s << u"\\software\\app2\\Form1"_s;
        QTest::newRow("another window, another key")
            << QString() << u"/usr/bin/app.exe"_s << u"Form2"_s << u"\\software\\app\\Form2"_s;
        QTest::newRow("custom key") << u"Maker\\Tool"_s << u"/x/app.exe"_s << u"Form1"_s << u"\\Maker\\Tool"_s;
        QTest::newRow("custom key with its backslash") << u"\\Maker"_s << u"/x/app.exe"_s << u"Form1"_s << u"\\Maker"_s;
    }

    void keyPaths()
    {
        QFETCH(QString, custom);
        QFETCH(QString, executable);
        QFETCH(QString, component);
        QFETCH(QString, expected);
        QCOMPARE(WP::registryKeyPath(custom, executable, component), expected);
    }

    void pathDelimiters_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("runs collapse") << u"C:\\data\\\\sub\\\\\\app.ini"_s << u"C:/data/sub/app.ini"_s;
        QTest::newRow("empty sub-folders") << u"/home/u/.local/share///app.ini"_s << u"/home/u/.local/share/app.ini"_s;
        QTest::newRow("network path keeps two") << u"\\\\server\\\\share\\app.ini"_s << u"//server/share/app.ini"_s;
        QTest::newRow("three at the start") << u"\\\\\\server\\a"_s << u"//server/a"_s;
        QTest::newRow("one at the start") << u"/a//b"_s << u"/a/b"_s;
        QTest::newRow("nothing to do") << u"a/b"_s << u"a/b"_s;
    }

    void pathDelimiters()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(WP::checkPathDelimiters(path), expected);
    }

    void iniFilePath()
    {
        const QString folder = m_dir.path();
        const QString custom = folder + u"/mine.ini"_s;
        QCOMPARE(WP::iniFile(custom, u"/base"_s, u"sub"_s, u"/x/app.exe"_s), custom);
        QCOMPARE(WP::iniFile(QString(), u"/base"_s, u"sub\\deeper"_s, u"/x/app.exe"_s), u"/base/sub/deeper/app.ini"_s);
        QCOMPARE(WP::iniFile(QString(), u"/base/"_s, QString(), u"/x/app"_s), u"/base/app.ini"_s);
        QCOMPARE(WP::iniFile(u"only-a-name.ini"_s, u"/base"_s, u"s"_s, u"/x/app.exe"_s), u"/base/s/only-a-name.ini"_s);
        QCOMPARE(WP::iniFile(folder + u"/missing/mine.ini"_s, u"/base"_s, QString(), u"/x/app.exe"_s),
                 WP::checkPathDelimiters(u"/base//"_s + folder + u"/missing/mine.ini"_s));
    }

    // A FIFO or a device in place of the store is refused at once: nothing is read,
    // nothing written, and the window keeps its own placement.
    void oddFileInPlaceOfTheStore_data()
    {
        QTest::addColumn<bool>("fifo");
        QTest::newRow("FIFO") << true;
        QTest::newRow("device") << false;
    }
    void oddFileInPlaceOfTheStore()
    {
        QFETCH(bool, fifo);
        const QString file = fifo ? m_dir.filePath(u"store-fifo.ini"_s) : u"/dev/zero"_s;
        if (fifo && !QFileInfo::exists(file))
            QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        const QByteArray warning = u"Cannot read \"%1\": it is not a regular file."_s.arg(file).toUtf8();
        for (int i = 0; i < 2; ++i) // one for each key the store opens
            QTest::ignoreMessage(QtWarningMsg, warning.constData());
        RegistryFile store(file);
        QVERIFY(!store.openKey(Root::CurrentUser, Key, false));
        QVERIFY(!store.openKey(Root::CurrentUser, Key, true));
        const WP::Options everything{WP::Attributes::fromBits(0x1F), u"3"_s, true};
        QVERIFY(!WP::readIniFile(file, u"Form1"_s, everything));
        QVERIFY(!WP::writeIniFile(file, u"Form1"_s, everything, {}));
        QVERIFY(!QFileInfo(file).isFile());
    }

    void iniFileStore()
    {
        const QString file = m_dir.filePath(u"ini/deep/app.ini"_s);
        const WP::Options everything{WP::Attributes::fromBits(0x1F), u"3"_s, true};
        QVERIFY(!WP::readIniFile(file, u"Form1"_s, everything));
        QVERIFY(!QFile::exists(file)); // reading creates nothing

        QVERIFY(WP::writeIniFile(file, u"Form1"_s, everything, {-5, -6, 700, 500, false, 2}));
        QCOMPARE(readAll(file), QByteArray("[Form1]\nVERSION=3\nTOP=-5\nLEFT=-6\nWIDTH=700\nHEIGHT=500\nVISIBLE=N\n"
                                           "STATE=2\n"));
        QCOMPARE(WP::readIniFile(file, u"form1"_s, everything),
                 std::optional(stored(700, 500, true, -5, -6, WP::State::Minimized, false)));
        QVERIFY(!WP::readIniFile(file, u"Form1"_s, mainWindow(u"4"_s)));

        const QString blocker = m_dir.filePath(u"ini-blocker"_s);
        writeAll(blocker, "file");
        QVERIFY(!WP::writeIniFile(blocker + u"/app.ini"_s, u"Form1"_s, everything, {}));
    }

    void iniFileReadingRules_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<std::optional<WP::Stored>>("expected");
        using O = std::optional<WP::Stored>;
        const auto v = [](std::optional<qint32> w, std::optional<qint32> h, std::optional<qint32> top,
                          std::optional<qint32> left, bool visible, WP::State state = WP::State::Normal) {
            return O(stored(w, h, true, top, left, state, visible));
        };
        QTest::newRow("missing WIDTH reads as 0") << QByteArray("VERSION=\nHEIGHT=700\n") << v(0, 700, {}, {}, true);
        QTest::newRow("WIDTH that does not convert") << QByteArray("VERSION=\nWIDTH=wide\n") << v(0, 0, {}, {}, true);
        QTest::newRow("VISIBLE exactly N") << QByteArray("VERSION=\nVISIBLE=N\n") << v(0, 0, {}, {}, false);
        QTest::newRow("VISIBLE n is visible") << QByteArray("VERSION=\nVISIBLE=n\n") << v(0, 0, {}, {}, true);
        QTest::newRow("VISIBLE with blanks") << QByteArray("VERSION=\nVISIBLE= N \n") << v(0, 0, {}, {}, false);
        QTest::newRow("STATE 1") << QByteArray("VERSION=\nSTATE=1\n") << v(0, 0, {}, {}, true, WP::State::Maximized);
        QTest::newRow("TOP and LEFT") << QByteArray("VERSION=\nTOP=$10\nLEFT=-2\n") << v(0, 0, 16, -2, true);
        QTest::newRow("only LEFT: centred") << QByteArray("VERSION=\nLEFT=4\n") << v(0, 0, {}, {}, true);
        QTest::newRow("no VERSION") << QByteArray("TOP=1\nLEFT=1\n") << O();
    }

    void iniFileReadingRules()
    {
        QFETCH(QByteArray, lines);
        QFETCH(std::optional<WP::Stored>, expected);
        const QString file = m_dir.filePath(u"rules.ini"_s);
        writeAll(file, "[Form1]\n" + lines);
        QCOMPARE(WP::readIniFile(file, u"Form1"_s, {WP::Attributes::fromBits(0x1F), QString(), true}), expected);
    }
};

QTEST_GUILESS_MAIN(TestPlacement)
#include "test_placement.moc"
