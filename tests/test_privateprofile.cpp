// The INI layer against real files in a temporary folder.

#include "TestFiles.h"

#include "settings/PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

using TestFiles::readAll;
using TestFiles::writeAll;

namespace {

// A hand-kept file: comments, blank lines, a key before any section, keys in odd
// letter case and an unrelated section between the two that the program uses.
const QByteArray HandKept = "; kept by hand\n"
                            "orphan=1\n"
                            "[font]\n"
                            "  fontname = Courier New\n"
                            "; size below\n"
                            "FONTSIZE=12\n"
                            "\n"
                            "[Other]\n"
                            "x=y\n"
                            "[General]\n"
                            "ClipBoardDelimiter=;\n";

} // namespace

class TestPrivateProfile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void readingRules_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("defaultValue");
        QTest::addColumn<QString>("expected");

        const QString none;
        QTest::newRow("names without regard to case") << HandKept << u"FONT"_s << u"FontName"_s << none << u"Courier New"_s;
        QTest::newRow("blanks at both ends dropped")
            << QByteArray("[s]\nk= \t a b \t \n") << u"s"_s << u"k"_s << none << u"a b"_s;
        QTest::newRow("one enclosing pair of double quotes")
            << QByteArray("[s]\nk=  \"  a  \"  \n") << u"s"_s << u"k"_s << none << u"  a  "_s;
        QTest::newRow("only one pair") << QByteArray("[s]\nk=\"\"a\"\"\n") << u"s"_s << u"k"_s << none << u"\"a\""_s;
        QTest::newRow("single quotes") << QByteArray("[s]\nk='a'\n") << u"s"_s << u"k"_s << none << u"a"_s;
        QTest::newRow("unmatched quotes stay") << QByteArray("[s]\nk=\"a'\n") << u"s"_s << u"k"_s << none << u"\"a'"_s;
        QTest::newRow("a lone quote stays") << QByteArray("[s]\nk=\"\n") << u"s"_s << u"k"_s << none << u"\""_s;
        QTest::newRow("equals sign inside the value") << QByteArray("[s]\nk=a=b\n") << u"s"_s << u"k"_s << none << u"a=b"_s;
        QTest::newRow("empty value is not the default")
            << QByteArray("[s]\nk=\n") << u"s"_s << u"k"_s << u"d"_s << QString();
        QTest::newRow("missing key: default without trailing blanks")
            << HandKept << u"Font"_s << u"FontColor"_s << u" . \t "_s << u" ."_s;
        QTest::newRow("missing section") << HandKept << u"Nope"_s << u"x"_s << u"d"_s << u"d"_s;
        QTest::newRow("a key of another section") << HandKept << u"Font"_s << u"x"_s << u"d"_s << u"d"_s;
        QTest::newRow("a key before any section belongs to none")
            << HandKept << u"Font"_s << u"orphan"_s << u"d"_s << u"d"_s;
        QTest::newRow("commented key is not a key")
            << QByteArray("[s]\n;k=bad\nk=good\n") << u"s"_s << u"k"_s << none << u"good"_s;
        QTest::newRow("first of two sections") << QByteArray("[s]\nk=1\n[S]\nk=2\n") << u"s"_s << u"k"_s << none << u"1"_s;
        QTest::newRow("first of two keys") << QByteArray("[s]\nk=1\nK=2\n") << u"s"_s << u"k"_s << none << u"1"_s;
        QTest::newRow("header with blanks") << QByteArray("  [ s ]  \nk=1\n") << u"s"_s << u"k"_s << none << u"1"_s;
        QTest::newRow("CRLF line ends") << QByteArray("[s]\r\nk=1\r\n") << u"s"_s << u"k"_s << none << u"1"_s;
        QTest::newRow("3000 characters read as 2047")
            << QByteArray("[s]\nk=" + QByteArray(3000, 'v') + "\n") << u"s"_s << u"k"_s << none << QString(2047, u'v');
        QTest::newRow("a long default is cut the same way")
            << QByteArray() << u"s"_s << u"k"_s << QString(3000, u'd') << QString(2047, u'd');
    }

    void readingRules()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, defaultValue);
        QFETCH(QString, expected);
        const QString ini = path(u"read.ini"_s);
        writeAll(ini, file);
        QCOMPARE(PrivateProfile::GetPrivateProfileString(section, key, defaultValue, ini), expected);
    }

    void missingFileGivesDefaultAndStaysMissing()
    {
        const QString ini = path(u"absent/none.ini"_s);
        QCOMPARE(PrivateProfile::GetPrivateProfileString(u"s"_s, u"k"_s, u"d "_s, ini), u"d"_s);
        QVERIFY(!QFile::exists(ini));
        QVERIFY(!QDir(path(u"absent"_s)).exists());
    }

    void integers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<qint32>>("expected");
        using I = std::optional<qint32>;
        QTest::newRow("decimal") << u"10"_s << I(10);
        QTest::newRow("leading zeros") << u"0012"_s << I(12);
        QTest::newRow("leading blanks") << u"  \t7"_s << I(7);
        QTest::newRow("plus") << u"+7"_s << I(7);
        QTest::newRow("minus") << u"-16777208"_s << I(-16777208);
        QTest::newRow("largest") << u"2147483647"_s << I(2147483647);
        QTest::newRow("smallest") << u"-2147483648"_s << I(std::numeric_limits<qint32>::min());
        QTest::newRow("too large") << u"2147483648"_s << I();
        QTest::newRow("too small") << u"-2147483649"_s << I();
        QTest::newRow("far too large") << u"99999999999999999999"_s << I();
        QTest::newRow("0x") << u"0xFF"_s << I(255);
        QTest::newRow("0X") << u"0X10"_s << I(16);
        QTest::newRow("$") << u"$ff"_s << I(255);
        QTest::newRow("x") << u"xFF"_s << I(255);
        QTest::newRow("X") << u"XfF"_s << I(255);
        QTest::newRow("hex is a 32-bit pattern") << u"$FFFFFFFF"_s << I(-1);
        QTest::newRow("system colour") << u"$FF000008"_s << I(-16777208);
        QTest::newRow("sign before a prefix") << u"-$10"_s << I(-16);
        QTest::newRow("nine hex digits") << u"$123456789"_s << I();
        QTest::newRow("prefix alone") << u"0x"_s << I();
        QTest::newRow("dollar alone") << u"$"_s << I();
        QTest::newRow("empty") << QString() << I();
        QTest::newRow("blanks only") << u"   "_s << I();
        QTest::newRow("sign alone") << u"-"_s << I();
        QTest::newRow("word") << u"red"_s << I();
        QTest::newRow("fraction") << u"12.5"_s << I();
        QTest::newRow("exponent") << u"1e3"_s << I();
        QTest::newRow("trailing blank") << u"12 "_s << I();
        QTest::newRow("blank after the sign") << u"- 5"_s << I();
        QTest::newRow("two signs") << u"--5"_s << I();
        QTest::newRow("sign after prefix") << u"$-1"_s << I();
        QTest::newRow("non-ASCII digits") << u"\u0663"_s << I();
        QTest::newRow("full-width hex digit") << u"$\uFF21"_s << I();
    }

    void integers()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<qint32>, expected);
        QCOMPARE(PrivateProfile::toInteger(text), expected);
    }

    void integerReadUsesTheDefault()
    {
        PrivateProfile profile;
        profile.parse("[s]\nbad=twelve\ngood= $10 \nempty=\n");
        QCOMPARE(profile.readInteger(u"s"_s, u"bad"_s, 10), 10);
        QCOMPARE(profile.readInteger(u"s"_s, u"good"_s, 10), 16); // blanks go before converting
        QCOMPARE(profile.readInteger(u"s"_s, u"empty"_s, 10), 10);
        QCOMPARE(profile.readInteger(u"s"_s, u"missing"_s, -3), -3);
    }

    void writingKeepsTheRestOfTheFile_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("existing key in place, its spelling kept")
            << u"FONT"_s << u"FontSize"_s << u"14"_s << QByteArray(HandKept).replace("FONTSIZE=12", "FONTSIZE=14");
        QTest::newRow("blanks around the key's name kept")
            << u"Font"_s << u"FontName"_s << u"Arial"_s
            << QByteArray(HandKept).replace("  fontname = Courier New", "  fontname =Arial");
        QTest::newRow("new key after the section's last key, before its blank line")
            << u"Font"_s << u"FontColor"_s << u"-16777208"_s
            << QByteArray(HandKept).replace("FONTSIZE=12\n", "FONTSIZE=12\nFontColor=-16777208\n");
        QTest::newRow("new section at the end after a blank line")
            << u"New"_s << u"k"_s << u"v"_s << QByteArray(HandKept + "\n[New]\nk=v\n");
        QTest::newRow("value kept as given, blanks and all")
            << u"General"_s << u"ClipBoardDelimiter"_s << u" \u00A7, \u00A7 "_s
            << QByteArray(HandKept).replace("ClipBoardDelimiter=;", "ClipBoardDelimiter= \xC2\xA7, \xC2\xA7 ");
    }

    void writingKeepsTheRestOfTheFile()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, expected);
        const QString ini = path(u"write.ini"_s);
        writeAll(ini, HandKept);
        QVERIFY(PrivateProfile::WritePrivateProfileString(section, key, value, ini));
        QCOMPARE(readAll(ini), expected);
    }

    void fileWrittenFromScratch()
    {
        const QString ini = path(u"scratch/new.ini"_s);
        QDir().mkpath(path(u"scratch"_s));
        QFile::remove(ini);
        QVERIFY(PrivateProfile::WritePrivateProfileString(u"Font"_s, u"FontName"_s, u"Arial"_s, ini));
        QVERIFY(PrivateProfile::WritePrivateProfileString(u"Font"_s, u"FontSize"_s, u"10"_s, ini));
        QVERIFY(PrivateProfile::WritePrivateProfileString(u"General"_s, u"D"_s, u"x"_s, ini));
#ifdef Q_OS_WIN
        QCOMPARE(readAll(ini), QByteArray("[Font]\r\nFontName=Arial\r\nFontSize=10\r\n\r\n[General]\r\nD=x\r\n"));
#else
        QCOMPARE(readAll(ini), QByteArray("[Font]\nFontName=Arial\nFontSize=10\n\n[General]\nD=x\n"));
#endif
    }

    // A line break, or a name that could not be found again, would change other
    // keys of the file: refused, and the file left as it was.
    void unsafeWritesRefused_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("line feed in value") << u"General"_s << u"x"_s << u"a\n[Font]\nFontSize=99"_s;
        QTest::newRow("carriage return in value") << u"General"_s << u"x"_s << u"a\rb"_s;
        QTest::newRow("line break in key") << u"General"_s << u"x\ny"_s << u"v"_s;
        QTest::newRow("bracket in section") << u"Gen]eral"_s << u"x"_s << u"v"_s;
        QTest::newRow("equals sign in key") << u"General"_s << u"x=y"_s << u"v"_s;
        QTest::newRow("comment key") << u"General"_s << u";x"_s << u"v"_s;
        QTest::newRow("empty key") << u"General"_s << u"  "_s << u"v"_s;
        QTest::newRow("empty section") << QString() << u"x"_s << u"v"_s;
    }

    void unsafeWritesRefused()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        const QString ini = path(u"unsafe.ini"_s);
        writeAll(ini, HandKept);
        QVERIFY(!PrivateProfile::WritePrivateProfileString(section, key, value, ini));
        QCOMPARE(readAll(ini), HandKept);
    }

    void writeIntoAFolderThatCannotExist()
    {
        // A regular file where the folder should be: no user, root included, can write there.
        const QString blocker = path(u"blocker"_s);
        writeAll(blocker, "not a folder");
        const QString ini = blocker + u"/settings.ini"_s;
        QVERIFY(!PrivateProfile::WritePrivateProfileString(u"s"_s, u"k"_s, u"v"_s, ini));
        QCOMPARE(readAll(blocker), QByteArray("not a folder"));
    }

    void writeOverAFolderFails()
    {
        const QString folder = path(u"a-folder.ini"_s);
        QDir().mkpath(folder);
        QVERIFY(!PrivateProfile::WritePrivateProfileString(u"s"_s, u"k"_s, u"v"_s, folder));
        QVERIFY(QFileInfo(folder).isDir());
    }

    // A FIFO would block the read until a writer comes; it, a device and a folder
    // are refused at once, with the reason, and never written over.
    void onlyRegularFilesRead_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("FIFO") << u"fifo"_s << u"it is not a regular file"_s;
        QTest::newRow("folder") << u"folder"_s << u"it is a folder, not a file"_s;
        QTest::newRow("device") << u"device"_s << u"it is not a regular file"_s;
    }
    void onlyRegularFilesRead()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QString odd = path(u"odd-"_s + kind + u".ini"_s);
        if (kind == u"fifo")
            QCOMPARE(mkfifo(QFile::encodeName(odd).constData(), 0600), 0);
        else if (kind == u"folder")
            QVERIFY(QDir().mkpath(odd));
        else
            odd = u"/dev/zero"_s;

        PrivateProfile profile;
        QString error;
        QVERIFY(!profile.load(odd, &error));
        QCOMPARE(error, u"Cannot read \"%1\": %2."_s.arg(odd, reason));
        QCOMPARE(PrivateProfile::GetPrivateProfileString(u"s"_s, u"k"_s, u"default"_s, odd), u"default"_s);
        QVERIFY(!PrivateProfile::WritePrivateProfileString(u"s"_s, u"k"_s, u"v"_s, odd));
        const QFileInfo after(odd);
        QVERIFY(kind == u"folder" ? after.isDir() : !after.isFile() && after.exists());
    }

    void unicodeSurvives()
    {
        const QString ini = path(u"unicode.ini"_s);
        QFile::remove(ini);
        const QString face = u"\u5FAE\u8F6F\u96C5\u9ED1 \u00C9l\u00E9gante"_s;
        const QString quoted = u"\u00A7\u2014\u00A7\u00A7\U0001F600\u00A7"_s;
        QVERIFY(PrivateProfile::WritePrivateProfileString(u"Font"_s, u"FontName"_s, face, ini));
        QVERIFY(PrivateProfile::WritePrivateProfileString(u"General"_s, u"D"_s, quoted, ini));
        QCOMPARE(PrivateProfile::GetPrivateProfileString(u"Font"_s, u"FontName"_s, {}, ini), face);
        QCOMPARE(PrivateProfile::GetPrivateProfileString(u"General"_s, u"D"_s, {}, ini), quoted);
        QVERIFY(readAll(ini).contains(face.toUtf8()));
    }

    void oldCodePageFileKeepsItsKeys()
    {
        const QString ini = path(u"ansi.ini"_s);
        writeAll(ini,
                 "[Font]\r\nFontName=Caf\xE9 Sans\r\n[General]\r\nClipBoardDelimiter=\xA7, \xA7\r\n[Mine]\r\nnote=\x80\r\n");
        QCOMPARE(PrivateProfile::GetPrivateProfileString(u"Font"_s, u"FontName"_s, {}, ini), u"Caf\u00E9 Sans"_s);
        QCOMPARE(PrivateProfile::GetPrivateProfileString(u"General"_s, u"ClipBoardDelimiter"_s, {}, ini),
                 u"\u00A7, \u00A7"_s);

        // The next write turns the whole file into UTF-8, every key and line end kept.
        QVERIFY(PrivateProfile::WritePrivateProfileString(u"Font"_s, u"FontSize"_s, u"12"_s, ini));
        QCOMPARE(readAll(ini), QByteArray("[Font]\r\nFontName=Caf\xC3\xA9 Sans\r\nFontSize=12\r\n[General]\r\n"
                                          "ClipBoardDelimiter=\xC2\xA7, \xC2\xA7\r\n[Mine]\r\nnote=\xE2\x82\xAC\r\n"));
    }

    // A UTF-8 file into which an old editor put one line in the 8-bit code page:
    // each line is read in its own encoding, so the next write neither garbles the
    // UTF-8 lines (an em dash read as three Windows-1252 characters) nor loses the other.
    void lineInTheOldCodePageAmongUtf8Lines()
    {
        const QString ini = path(u"mixed.ini"_s);
        writeAll(ini, "[Font]\nFontName=\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91\n"
                      "; Schrift f\xFCr die Spalten\n"
                      "[General]\nClipBoardDelimiter=\xC2\xA7 \xE2\x80\x94 \xC2\xA7\n");
        QCOMPARE(PrivateProfile::GetPrivateProfileString(u"Font"_s, u"FontName"_s, {}, ini), u"\u5FAE\u8F6F\u96C5\u9ED1"_s);
        QCOMPARE(PrivateProfile::GetPrivateProfileString(u"General"_s, u"ClipBoardDelimiter"_s, {}, ini),
                 u"\u00A7 \u2014 \u00A7"_s);

        QVERIFY(PrivateProfile::WritePrivateProfileString(u"Font"_s, u"FontSize"_s, u"12"_s, ini));
        QCOMPARE(readAll(ini), QByteArray("[Font]\nFontName=\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91\n"
                                          "FontSize=12\n; Schrift f\xC3\xBCr die Spalten\n"
                                          "[General]\nClipBoardDelimiter=\xC2\xA7 \xE2\x80\x94 \xC2\xA7\n"));
    }

    void byteOrderMarks()
    {
        const QString utf8 = path(u"bom8.ini"_s);
        writeAll(utf8, "\xEF\xBB\xBF[s]\nk=\xC2\xA7\n");
        QCOMPARE(PrivateProfile::GetPrivateProfileString(u"s"_s, u"k"_s, {}, utf8), u"\u00A7"_s);
        QVERIFY(PrivateProfile::WritePrivateProfileString(u"s"_s, u"j"_s, u"1"_s, utf8));
        QCOMPARE(readAll(utf8), QByteArray("\xEF\xBB\xBF[s]\nk=\xC2\xA7\nj=1\n"));

        const QString utf16 = path(u"bom16.ini"_s);
        const QString text = u"[s]\r\nk=\u00A7x\u00A7\r\n"_s;
        writeAll(utf16, QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2));
        QCOMPARE(PrivateProfile::GetPrivateProfileString(u"s"_s, u"k"_s, {}, utf16), u"\u00A7x\u00A7"_s);
    }
};

QTEST_GUILESS_MAIN(TestPrivateProfile)
#include "test_privateprofile.moc"
