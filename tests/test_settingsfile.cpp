// The Settings file: its place, its keys, their defaults and encodings.

#include "TestFiles.h"

#include "common/AppError.h"
#include "common/TColor.h"
#include "settings/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

using TestFiles::readAll;
using TestFiles::writeAll;

namespace {

QByteArray eol(QByteArray text)
{
#ifdef Q_OS_WIN
    return text.replace("\n", "\r\n");
#else
    return text;
#endif
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void pathBesideTheExecutable_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("expected");
        QTest::newRow("extension replaced") << u"/opt/vp/Verbarium.exe"_s << u"/opt/vp/Verbarium.ini"_s;
        QTest::newRow("no extension") << u"/opt/vp/verbarium-pro"_s << u"/opt/vp/verbarium-pro.ini"_s;
        QTest::newRow("only the last period") << u"/opt/vp/my.app.exe"_s << u"/opt/vp/my.app.ini"_s;
        QTest::newRow("a period in the folder") << u"/opt/v1.0/prog"_s << u"/opt/v1.0/prog.ini"_s;
    }

    void pathBesideTheExecutable()
    {
        QFETCH(QString, executable);
        QFETCH(QString, expected);
        QCOMPARE(SettingsFile::pathFor(executable), expected);
    }

    void firstStartWithoutAFile()
    {
        const QString ini = path(u"none.ini"_s);
        const SettingsFile::Values values = SettingsFile::load(ini);
        QCOMPARE(values.faceName, u"Arial"_s);
        QCOMPARE(values.color, TColor::clDefault);
        QCOMPARE(values.size, 10);
        QCOMPARE(values.style, quint8(0));
        // The default ". " loses its blank on reading: a period alone, not ", ".
        QCOMPARE(values.delimiter, u"."_s);
        QVERIFY(!QFile::exists(ini)); // nothing is written at load time
    }

    // One stored line each; every other key reads as its default.
    void loading_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("expected");

        const auto color = [](const char *name, const QByteArray &text, qint32 value) {
            QTest::newRow(name) << QByteArray("[Font]\nFontColor=" + text) << u"color"_s << QVariant(value);
        };
        color("colour: words give the default", "red", TColor::clDefault);
        color("colour: 0x", "0xFF", 255);
        color("colour: $", "$FF", 255);
        color("colour: x", "xFF", 255);
        color("colour: system colour as hex", "$FF000008", TColor::clWindowText);
        color("colour: system colour as decimal", "-16777208", TColor::clWindowText);
        color("colour: plain BGR", "4227327", TColor::fromRgb(255, 128, 64));
        color("colour: out of range", "4294967295", TColor::clDefault);

        const auto size = [](const char *name, const QByteArray &text, qint32 value) {
            QTest::newRow(name) << QByteArray("[Font]\nFontSize=" + text) << u"size"_s << QVariant(value);
        };
        size("size: hex", "0x10", 16);
        size("size: fraction", "12.5", 10);
        size("size: empty", "", 10);
        size("size: zero kept", "0", 0);
        size("size: negative kept", "-4", -4);

        const auto style = [](const char *name, const QByteArray &text, int value) {
            QTest::newRow(name) << QByteArray("[Font]\nFontStyle=" + text) << u"style"_s << QVariant(value);
        };
        style("style: bold italic", "3", 3);
        style("style: a bit no font has, kept", "16", 16);
        style("style: low eight bits", "0x1FF", 0xFF);
        style("style: negative", "-1", 0xFF);
        style("style: junk", "bold", 0);

        const auto face = [](const char *name, const QByteArray &text, const QString &value) {
            QTest::newRow(name) << QByteArray("[Font]\nFontName=" + text) << u"face"_s << QVariant(value);
        };
        face("face: blanks dropped", "  Times New Roman  ", u"Times New Roman"_s);
        face("face: empty stays empty", "", QString());
        face("face: UTF-8", "\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91", u"\u5FAE\u8F6F\u96C5\u9ED1"_s);

        const auto delimiter = [](const char *name, const QByteArray &text, const QString &value) {
            QTest::newRow(name) << QByteArray("[General]\nClipBoardDelimiter=" + text) << u"delimiter"_s
                                << QVariant(value);
        };
        delimiter("delimiter: comma and blank", "\xC2\xA7, \xC2\xA7", u", "_s);
        delimiter("delimiter: empty", "\xC2\xA7\xC2\xA7", QString());
        delimiter("delimiter: doubled quote goes",
                  "\xC2\xA7"
                  "a\xC2\xA7\xC2\xA7"
                  "b\xC2\xA7",
                  u"ab"_s);
        delimiter("delimiter: one quote character", "\xC2\xA7\xC2\xA7\xC2\xA7\xC2\xA7", QString());
        delimiter("delimiter: by hand without quotes", ";", u";"_s);
        delimiter("delimiter: by hand, blanks lost", "  ; ", u";"_s);
        delimiter("delimiter: quotation marks kept inside", "\xC2\xA7\"x\"\xC2\xA7", u"\"x\""_s);
        delimiter("delimiter: quotation marks by hand", "\" , \"", u" , "_s);
        delimiter("delimiter: a stray quote anywhere goes",
                  "a\xC2\xA7"
                  "b",
                  u"ab"_s);
        delimiter("delimiter: old 8-bit file", "\xA7, \xA7", u", "_s);
        delimiter("delimiter: empty value", "", QString());
    }

    void loading()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, field);
        QFETCH(QVariant, expected);
        const QString ini = path(u"load.ini"_s);
        writeAll(ini, line + "\n");
        const SettingsFile::Values values = SettingsFile::load(ini);
        const QVariant actual = field == u"color"   ? QVariant(values.color)
                                : field == u"size"  ? QVariant(values.size)
                                : field == u"style" ? QVariant(int(values.style))
                                : field == u"face"  ? QVariant(values.faceName)
                                                    : QVariant(values.delimiter);
        QCOMPARE(actual, expected);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("comma and blank") << u", "_s << u", "_s;
        QTest::newRow("blanks at both ends") << u"  -  "_s << u"  -  "_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("tab") << u"\t"_s << u"\t"_s;
        QTest::newRow("quotation marks") << u"\""_s << u"\""_s;
        QTest::newRow("quoted") << u"'x'"_s << u"'x'"_s;
        QTest::newRow("quote character lost") << u"a\u00A7b"_s << u"ab"_s;
        QTest::newRow("quote character alone") << u"\u00A7"_s << QString();
        QTest::newRow("quote character then n") << u"\u00A7n"_s << u"n"_s;
        // A pasted line break must neither cut the value nor add lines to the file.
        QTest::newRow("line feed") << u"\n"_s << u"\n"_s;
        QTest::newRow("line break in text") << u"a\r\nb"_s << u"a\r\nb"_s;
        QTest::newRow("injection attempt") << u"x\n[Font]\nFontSize=99"_s << u"x\n[Font]\nFontSize=99"_s;
        QTest::newRow("non-Latin") << u"\u3001"_s << u"\u3001"_s;
    }

    void roundTrip()
    {
        QFETCH(QString, delimiter);
        QFETCH(QString, expected);
        const QString ini = path(u"round.ini"_s);
        QFile::remove(ini);
        SettingsFile::Values values;
        values.faceName = u"\u5FAE\u8F6F\u96C5\u9ED1"_s;
        values.color = TColor::clWindowText;
        values.size = -3;
        values.style = 16 | SettingsFile::fsBold | SettingsFile::fsStrikeOut;
        values.delimiter = delimiter;
        SettingsFile::save(ini, values);

        SettingsFile::Values back = SettingsFile::load(ini);
        QCOMPARE(back.delimiter, expected);
        back.delimiter = delimiter;
        QVERIFY(back == values);
        QCOMPARE(readAll(ini).count('\n'), 8); // two headers, five keys, one blank line
    }

    void writtenFromScratch()
    {
        const QString ini = path(u"scratch.ini"_s);
        QFile::remove(ini);
        SettingsFile::Values values;
        values.delimiter = u", "_s;
        SettingsFile::save(ini, values);
        QCOMPARE(readAll(ini), eol("[Font]\nFontName=Arial\nFontColor=536870912\nFontSize=10\nFontStyle=0\n\n"
                                   "[General]\nClipBoardDelimiter=\xC2\xA7, \xC2\xA7\n"));
    }

    // The writer's options: absent from a file that never set them, written once
    // set, and kept (as off) once written.
    void options()
    {
        const QString ini = path(u"options.ini"_s);
        QFile::remove(ini);
        SettingsFile::Values values;
        SettingsFile::save(ini, values);
        const QByteArray untouched = readAll(ini);
        QVERIFY(!untouched.contains("MostCommonFirst") && !untouched.contains("KeepHistory"));
        QCOMPARE(SettingsFile::load(ini), values);

        values.mostCommonFirst = true;
        values.keepHistory = false;
        SettingsFile::save(ini, values);
        QCOMPARE(readAll(ini), untouched + eol("MostCommonFirst=1\nKeepHistory=0\n"));
        QCOMPARE(SettingsFile::load(ini), values);

        values.mostCommonFirst = false;
        values.keepHistory = true;
        SettingsFile::save(ini, values);
        QCOMPARE(readAll(ini), untouched + eol("MostCommonFirst=0\nKeepHistory=1\n"));
        QCOMPARE(SettingsFile::load(ini), values);
    }

    void savingUpdatesKeysWhereTheyStand()
    {
        const QString ini = path(u"kept.ini"_s);
        writeAll(ini, "; mine\n[General]\nclipboarddelimiter=;\nOther=1\n[Window]\nx=2\n[font]\nfontsize=8\n");
        SettingsFile::Values values;
        values.size = 12;
        values.style = 3;
        SettingsFile::save(ini, values);
        QCOMPARE(readAll(ini), QByteArray("; mine\n[General]\nclipboarddelimiter=\xC2\xA7.\xC2\xA7\nOther=1\n"
                                          "[Window]\nx=2\n[font]\nfontsize=12\nFontName=Arial\n"
                                          "FontColor=536870912\nFontStyle=3\n"));
    }

    void unwritableFolder()
    {
        const QString blocker = path(u"blocker"_s);
        writeAll(blocker, "a file where the folder should be");
        const QString ini = blocker + u"/verbarium.ini"_s;
        try {
            SettingsFile::save(ini, {});
            QFAIL("the save did not report the failure");
        } catch (const AppError &error) {
            QCOMPARE(error.message(), u"Unable to write to "_s + QDir::toNativeSeparators(ini));
        }
        QCOMPARE(readAll(blocker), QByteArray("a file where the folder should be"));
    }

    void failedSaveKeepsTheOldFile()
    {
        // A folder in the file's place: nothing can be written, and nothing is lost.
        const QString ini = path(u"taken.ini"_s);
        QDir().mkpath(ini);
        QVERIFY_THROWS_EXCEPTION(AppError, SettingsFile::save(ini, {}));
        QVERIFY(QFileInfo(ini).isDir());

        // A save never leaves a half-written file beside the old one.
        const QString good = path(u"good.ini"_s);
        writeAll(good, "[Font]\nFontSize=20\n");
        SettingsFile::save(good, {});
        QCOMPARE(QDir(m_dir.path()).entryList({u"good.ini*"_s}, QDir::Files), QStringList{u"good.ini"_s});
    }

    // A FIFO in the file's place is neither waited on nor replaced: the load gives
    // the defaults at once, the save reports the failure.
    void fifoInPlaceOfTheFile()
    {
        const QString ini = path(u"fifo.ini"_s);
        QCOMPARE(mkfifo(QFile::encodeName(ini).constData(), 0600), 0);
        QTest::ignoreMessage(QtWarningMsg, qPrintable(u"Cannot read \"%1\": it is not a regular file."_s.arg(ini)));
        const SettingsFile::Values values = SettingsFile::load(ini);
        QCOMPARE(values.size, SettingsFile::Values().size);
        QCOMPARE(values.faceName, SettingsFile::Values().faceName);
        QVERIFY_THROWS_EXCEPTION(AppError, SettingsFile::save(ini, {}));
        QVERIFY(!QFileInfo(ini).isFile() && QFileInfo::exists(ini));
    }

    void pathFromTheEnvironment()
    {
        const QString chosen = path(u"chosen.ini"_s);
        qputenv("VERBARIUM_SETTINGS_FILE", chosen.toUtf8());
        QCOMPARE(SettingsFile::path(), chosen);
        qunsetenv("VERBARIUM_SETTINGS_FILE");
        QCOMPARE(SettingsFile::path(), SettingsFile::pathFor(QCoreApplication::applicationFilePath()));
    }

    void locationOfAnInstalledOrPortableCopy_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<bool>("existingFile");
        QTest::addColumn<QString>("expected");
        const QString config = path(u"config"_s);
        const QString portable = path(u"portable"_s);
        QTest::newRow("existing file beside")
            << portable + u"/old/verbarium-pro"_s << true << portable + u"/old/verbarium-pro.ini"_s;
        QTest::newRow("writable folder") << portable + u"/new/verbarium-pro"_s << false
                                         << portable + u"/new/verbarium-pro.ini"_s;
        // Nothing can be made in /proc, not even by root: the installed copy's case.
        QTest::newRow("folder that takes no files")
            << u"/proc/verbarium-pro"_s << false << config + u"/verbarium-pro/verbarium-pro.ini"_s;
        QTest::newRow("missing folder") << u"/proc/no-such-folder/Verbarium.bin"_s << false
                                        << config + u"/verbarium-pro/Verbarium.ini"_s;
    }

    void locationOfAnInstalledOrPortableCopy()
    {
        QFETCH(QString, executable);
        QFETCH(bool, existingFile);
        QFETCH(QString, expected);
        const QString folder = QFileInfo(executable).absolutePath();
        if (executable.startsWith(m_dir.path()))
            QVERIFY(QDir().mkpath(folder));
        if (existingFile)
            writeAll(SettingsFile::pathFor(executable), "[Font]\nFontSize=12\n");
        // Only what looking could leave: other processes change a folder such as /proc meanwhile.
        const QStringList ours{u".verbarium-probe-*"_s, u"*.ini"_s};
        const auto filters = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
        const QStringList before = QDir(folder).entryList(ours, filters);

        QCOMPARE(SettingsFile::locate(executable, path(u"config"_s)), expected);
        // Looking leaves nothing behind.
        QCOMPARE(QDir(folder).entryList(ours, filters), before);
    }

    void configurationFolderFromTheEnvironment()
    {
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        const auto restore = qScopeGuard([&] { qputenv("XDG_CONFIG_HOME", saved); });
        qputenv("XDG_CONFIG_HOME", "/somewhere/config/");
        QCOMPARE(SettingsFile::configHome(), u"/somewhere/config"_s);
        // XDG says a relative value is ignored.
        for (const char *ignored : {"", "config"}) {
            qputenv("XDG_CONFIG_HOME", ignored);
            QCOMPARE(SettingsFile::configHome(), QDir::homePath() + u"/.config"_s);
        }
    }

    void firstSaveMakesTheConfigurationFolder()
    {
        const QString ini = path(u"fresh/config/verbarium-pro/verbarium-pro.ini"_s);
        SettingsFile::save(ini, {});
        QCOMPARE(SettingsFile::load(ini).delimiter, u"."_s);
        QVERIFY(readAll(ini).startsWith("[Font]\nFontName=Arial\n"));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settingsfile.moc"
