#include "TestFiles.h"

#include "settings/PhraseHistory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using Item = PhraseHistory::Item;

namespace {

Item item(const QString &phrase, const char *depth = "Verbarium")
{
    return {phrase, QStringLiteral("English US"), QString::fromLatin1(depth)};
}

QStringList phrases(const PhraseHistory &history)
{
    QStringList list;
    for (const Item &each : history.items())
        list.append(each.phrase);
    return list;
}

} // namespace

class TestPhraseHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Written, read back in a new history: the same items in the same order,
    // languages, depths and text that JSON must escape included.
    void roundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("state/verbarium-pro/history"));
        PhraseHistory history(path);
        QVERIFY(history.load().isEmpty());
        QVERIFY(history.items().isEmpty());
        history.add(item(QStringLiteral("bright morning")));
        history.add({QStringLiteral("château \"fort\"\ttab\\"), QStringLiteral("French"), QStringLiteral("Doraz 3")});
        history.add(item(QStringLiteral("run"), "Quick Match"));
        QVERIFY(history.save().isEmpty());

        PhraseHistory again(path);
        QVERIFY(again.load().isEmpty());
        QCOMPARE(again.items(), history.items());
        QCOMPARE(phrases(again), (QStringList{QStringLiteral("run"), QStringLiteral("château \"fort\"\ttab\\"),
                                              QStringLiteral("bright morning")}));
        QCOMPARE(again.items()[1].language, QStringLiteral("French"));
        QCOMPARE(again.items()[1].depth, QStringLiteral("Doraz 3"));
    }

    // A phrase generated again moves to the front, with its new depth.
    void repeatedPhraseMovesFirst()
    {
        QTemporaryDir dir;
        PhraseHistory history(dir.filePath(QStringLiteral("history")));
        history.add(item(QStringLiteral("a")));
        history.add(item(QStringLiteral("b")));
        history.add(item(QStringLiteral("a"), "Doraz 3"));
        QCOMPARE(phrases(history), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
        QCOMPARE(history.items()[0].depth, QStringLiteral("Doraz 3"));
    }

    void keepsTheLatest500()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("history"));
        PhraseHistory history(path);
        for (int i = 0; i < PhraseHistory::MaxItems + 20; ++i)
            history.add(item(QStringLiteral("phrase %1").arg(i)));
        QVERIFY(history.save().isEmpty());
        QCOMPARE(history.items().size(), PhraseHistory::MaxItems);
        QCOMPARE(history.items().front().phrase, QStringLiteral("phrase 519"));
        QCOMPARE(history.items().back().phrase, QStringLiteral("phrase 20"));
        PhraseHistory again(path);
        again.load();
        QCOMPARE(again.items(), history.items());
    }

    // A file that is not a history is set aside whole, with a message naming
    // both files; the history starts empty and writes a new file.
    void damagedFileIsSetAside_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("cut short") << QByteArray("{\"format\": 1, \"phrases\": [{\"phrase\": \"bri");
        QTest::newRow("not JSON") << QByteArray("\x00\x01\x02garbage", 10);
        QTest::newRow("another format") << QByteArray("{\"format\": 7, \"phrases\": []}");
        QTest::newRow("no phrases") << QByteArray("[1, 2, 3]");
        QTest::newRow("an entry without a phrase")
            << QByteArray("{\"format\": 1, \"phrases\": [{\"language\": \"French\"}]}");
    }
    void damagedFileIsSetAside()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("history"));
        TestFiles::writeAll(path, bytes);
        PhraseHistory history(path);
        const QString message = history.load();
        QVERIFY2(message.contains(path) && message.contains(path + QStringLiteral(".damaged")), qPrintable(message));
        QVERIFY(history.items().isEmpty());
        QCOMPARE(TestFiles::readAll(path + QStringLiteral(".damaged")), bytes);
        QVERIFY(!QFile::exists(path));
        history.add(item(QStringLiteral("new")));
        QVERIFY(history.save().isEmpty());
        PhraseHistory again(path);
        QVERIFY(again.load().isEmpty());
        QCOMPARE(phrases(again), QStringList{QStringLiteral("new")});
    }

    // A history damaged again while an earlier damaged one is still set aside: the
    // earlier copy stays, and the new one goes beside it.
    void secondDamagedFileKeepsTheFirst()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("history"));
        const QString aside = path + QStringLiteral(".damaged");
        const QByteArray first("{\"format\": 1, \"phrases\": [{\"phrase\": \"the first year's phr");
        const QByteArray second("{\"format\": 9, \"phrases\": []}");
        TestFiles::writeAll(path, first);
        QVERIFY(!PhraseHistory(path).load().isEmpty());
        TestFiles::writeAll(path, second);
        PhraseHistory history(path);
        const QString message = history.load();
        QCOMPARE(TestFiles::readAllOrMarker(aside), first);
        const QStringList setAside = QDir(dir.path()).entryList({QStringLiteral("history.damaged*")}, QDir::Files);
        QCOMPARE(setAside.size(), 2);
        const QString secondAside = dir.filePath(setAside.at(setAside.at(0) == u"history.damaged" ? 1 : 0));
        QCOMPARE(TestFiles::readAllOrMarker(secondAside), second);
        QVERIFY2(message.contains(secondAside), qPrintable(message));
        QVERIFY(!QFile::exists(path));
    }

    // XDG's folders must be absolute; a relative one is not used, as if unset (it
    // would put the history under whatever folder the program was started from).
    void defaultPathTakesOnlyAnAbsoluteStateFolder_data()
    {
        QTest::addColumn<QByteArray>("state");
        QTest::addColumn<QString>("expected");
        const QString home = QDir::homePath() + QStringLiteral("/.local/state/verbarium-pro/history");
        QTest::newRow("absolute") << QByteArray("/var/tmp/st") << QStringLiteral("/var/tmp/st/verbarium-pro/history");
        QTest::newRow("unset") << QByteArray() << home;
        QTest::newRow("relative") << QByteArray("state") << home;
        QTest::newRow("relative with a dot") << QByteArray("./state") << home;
    }
    void defaultPathTakesOnlyAnAbsoluteStateFolder()
    {
        QFETCH(QByteArray, state);
        QFETCH(QString, expected);
        const QByteArray before = qgetenv("XDG_STATE_HOME");
        const bool wasSet = qEnvironmentVariableIsSet("XDG_STATE_HOME");
        const auto restore = qScopeGuard([&] {
            if (wasSet)
                qputenv("XDG_STATE_HOME", before);
            else
                qunsetenv("XDG_STATE_HOME");
        });
        if (state.isNull())
            qunsetenv("XDG_STATE_HOME");
        else
            qputenv("XDG_STATE_HOME", state);
        QCOMPARE(PhraseHistory::defaultPath(), expected);
    }

    // Two windows open at once (a plain second start runs a window of its own) each
    // write the history whole: what the one added since it read the file is kept
    // when the other writes, in the order the phrases were made. A clear empties the
    // file for both.
    void twoWindowsAtOnceKeepEachOthersPhrases()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("history"));
        {
            PhraseHistory earlier(path);
            earlier.add(item(QStringLiteral("old")));
            QVERIFY(earlier.save().isEmpty());
        }
        PhraseHistory first(path), second(path);
        QVERIFY(first.load().isEmpty());
        QVERIFY(second.load().isEmpty());
        first.add(item(QStringLiteral("bright")));
        QVERIFY(first.save().isEmpty());
        second.add(item(QStringLiteral("dark")));
        second.add(item(QStringLiteral("old"), "Doraz 3"));
        QVERIFY(second.save().isEmpty());
        first.add(item(QStringLiteral("quick")));
        QVERIFY(first.save().isEmpty());

        PhraseHistory reader(path);
        QVERIFY(reader.load().isEmpty());
        const QStringList expected{QStringLiteral("quick"), QStringLiteral("old"), QStringLiteral("dark"),
                                   QStringLiteral("bright")};
        QCOMPARE(phrases(reader), expected);
        QCOMPARE(reader.items().at(1).depth, QStringLiteral("Doraz 3"));
        QCOMPARE(phrases(first), expected); // the window's own list shows the other's phrases too

        QVERIFY(second.clear().isEmpty());
        QVERIFY(reader.load().isEmpty());
        QVERIFY(reader.items().isEmpty());
        first.add(item(QStringLiteral("after")));
        QVERIFY(first.save().isEmpty());
        QVERIFY(reader.load().isEmpty());
        QCOMPARE(phrases(reader), QStringList{QStringLiteral("after")});
    }

    // A FIFO in place of the history: refused at once rather than waited on, and
    // left as it is: no history of this run is written over it.
    void unreadableFileIsLeftAsItIs()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("history"));
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        PhraseHistory history(path);
        const QString message = history.load();
        QVERIFY2(message.contains(path) && message.contains(QStringLiteral("not a regular file")), qPrintable(message));
        history.add(item(QStringLiteral("bright")));
        QCOMPARE(history.save(), message);
        QCOMPARE(history.clear(), message);
        const QFileInfo info(path);
        QVERIFY(info.exists() && !info.isFile());
        QVERIFY(!QFile::exists(path + QStringLiteral(".damaged")));
    }

    void unwritableFileIsTold()
    {
        PhraseHistory history(QStringLiteral("/dev/null/history"));
        QVERIFY(history.load().isEmpty());
        history.add(item(QStringLiteral("bright")));
        const QString message = history.save();
        QVERIFY2(message.contains(QStringLiteral("/dev/null/history")), qPrintable(message));
        // Kept in memory all the same.
        QCOMPARE(phrases(history), QStringList{QStringLiteral("bright")});
    }

    void clearEmptiesTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("history"));
        PhraseHistory history(path);
        history.add(item(QStringLiteral("bright")));
        QVERIFY(history.save().isEmpty());
        QVERIFY(history.clear().isEmpty());
        PhraseHistory again(path);
        QVERIFY(again.load().isEmpty());
        QVERIFY(again.items().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPhraseHistory)
#include "test_phrasehistory.moc"
