// Every file the program writes is replaced whole or not at all: under a file-size
// limit and on a full disk the old file stays as it was and the write says it
// failed; leftovers of a killed write go at the next one.

#include "TestFiles.h"

#include "app/SelectionExport.h"
#include "common/AppError.h"
#include "common/WholeFile.h"
#include "settings/RegistryFile.h"
#include "settings/SettingsFile.h"
#include "settings/WindowPlacement.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

using namespace Qt::StringLiterals;

using TestFiles::readAll;
using TestFiles::readAllOrMarker;
using TestFiles::writeAll;

namespace {

// One kind of file the program writes, written with new content; false when the
// writer reported a failure.
using Writer = std::function<bool(const QString &path)>;

bool saveSettings(const QString &path)
{
    try {
        SettingsFile::Values values;
        values.faceName = u"DejaVu Serif"_s;
        values.delimiter = u"; "_s;
        SettingsFile::save(path, values);
        return true;
    } catch (const AppError &) {
        return false;
    }
}

bool savePlacement(const QString &path)
{
    RegistryFile store(path);
    WindowPlacement::Options options;
    options.storeVersion = u"1"_s;
    const WindowPlacement::Record record{10, 20, 800, 600, true, 0};
    return WindowPlacement::writeRegistry(store, RegistryStore::Root::CurrentUser, u"Software\\verbarium-pro\\Form1"_s,
                                          options, record);
}

bool exportWords(const QString &path)
{
    try {
        SelectionExport::writeTextFile(path, u"agleam, \r\nvivid, \r\n"_s);
        return true;
    } catch (const AppError &) {
        return false;
    }
}

const QByteArray OldContent = "[Font]\nName=Old\n; the user's notes, which must survive\n";

// Files beside `path` whose names begin with its name: the file and any leftovers.
QStringList filesOf(const QString &path)
{
    const QFileInfo info(path);
    return info.dir().entryList({info.fileName() + u'*'}, QDir::Files | QDir::Hidden, QDir::Name);
}

// Holds the process's file-size limit at `bytes` (a write past it fails with
// "File too large" instead of the signal) until it goes.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited{bytes, m_old.rlim_max};
        m_set = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool isSet() const { return m_set; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_set = false;
};

} // namespace

class TestWholeFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writersKeepTheOldFileWhenTheWriteFails_data();
    void writersKeepTheOldFileWhenTheWriteFails();
    void writersKeepTheOldFileOnAFullDisk_data();
    void writersKeepTheOldFileOnAFullDisk();
    void writesReplaceTheFileAndKeepItsPermissions();
    void aLinkIsFollowedAndStaysALink();
    void leftoversOfAKilledWriteGoAtTheNextWrite();
    void theUsersFilesBesideItStay_data();
    void theUsersFilesBesideItStay();
    void refusedTargets_data();
    void refusedTargets();
};

void addWriterRows()
{
    QTest::addColumn<Writer>("writer");
    QTest::addColumn<QString>("name");
    QTest::newRow("Settings file") << Writer(saveSettings) << u"verbarium-pro.ini"_s;
    QTest::newRow("placement store") << Writer(savePlacement) << u"registry.ini"_s;
    QTest::newRow("exported words") << Writer(exportWords) << u"keep.txt"_s;
}

void TestWholeFile::writersKeepTheOldFileWhenTheWriteFails_data()
{
    addWriterRows();
}

void TestWholeFile::writersKeepTheOldFileWhenTheWriteFails()
{
    QFETCH(Writer, writer);
    QFETCH(QString, name);
    // No byte may be written, and then a few: the new content is cut off either way.
    for (const rlim_t limit : {rlim_t(0), rlim_t(7)}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        writeAll(path, OldContent);
        bool written = true;
        {
            const FileSizeLimit limited(limit);
            QVERIFY(limited.isSet());
            written = writer(path);
        }
        QVERIFY2(!written, qPrintable(u"limit %1: the failure is reported"_s.arg(limit)));
        QCOMPARE(readAll(path), OldContent);
        QCOMPARE(filesOf(path), QStringList{name});
        // Once the limit is gone the same write goes through.
        QVERIFY(writer(path));
        QVERIFY(readAll(path) != OldContent);
        QCOMPARE(filesOf(path), QStringList{name});
    }
}

void TestWholeFile::writersKeepTheOldFileOnAFullDisk_data()
{
    addWriterRows();
}

void TestWholeFile::writersKeepTheOldFileOnAFullDisk()
{
    QFETCH(Writer, writer);
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString disk = dir.filePath(u"disk"_s);
    QVERIFY(QDir().mkpath(disk));
    if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP("a small tmpfs cannot be mounted here (needs root)");
    const auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH); });

    const QString path = disk + u'/' + name;
    writeAll(path, OldContent);
    // Fill the disk to its last byte.
    {
        QFile filler(disk + u"/filler"_s);
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (filler.write(block) > 0) {
        }
        while (filler.write("x", 1) > 0) {
        }
    }
    QVERIFY(!writer(path));
    QCOMPARE(readAll(path), OldContent);
    QCOMPARE(filesOf(path), QStringList{name});
}

void TestWholeFile::writesReplaceTheFileAndKeepItsPermissions()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"notes.txt"_s);
    writeAll(path, "old");
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QCOMPARE(WholeFile::write(path, "new content"), QString());
    QCOMPARE(readAll(path), QByteArray("new content"));
    struct stat info {
    };
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, mode_t(0640));

    // A new file: the user's usual permissions, and the empty content is a content too.
    const QString fresh = dir.filePath(u"fresh.txt"_s);
    QCOMPARE(WholeFile::write(fresh, QByteArray()), QString());
    QVERIFY(QFileInfo(fresh).isFile());
    QCOMPARE(QFileInfo(fresh).size(), 0);
}

void TestWholeFile::aLinkIsFollowedAndStaysALink()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"dotfiles"_s));
    const QString target = dir.filePath(u"dotfiles/verbarium-pro.ini"_s);
    writeAll(target, OldContent);
    const QString link = dir.filePath(u"verbarium-pro.ini"_s);
    QVERIFY(QFile::link(target, link));
    QCOMPARE(WholeFile::write(link, "[General]\n"), QString());
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readAll(target), QByteArray("[General]\n"));
}

void TestWholeFile::leftoversOfAKilledWriteGoAtTheNextWrite()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"s.ini"_s);
    writeAll(path, OldContent);
    // What a write killed before its rename leaves, and names that only look alike.
    writeAll(path + u".verbarium-Ab3xY9"_s, "half a new fi");
    writeAll(path + u".verbarium-q1w2e3"_s, "another half");
    writeAll(path + u".bak"_s, "the user's backup");
    writeAll(path + u".verbarium-Ab3xY9z"_s, "not ours: seven letters");
    writeAll(dir.filePath(u"t.ini.verbarium-Ab3xY9"_s), "another file's leftover");
    // A write still running holds its temporary file locked: it stays.
    const QString running = path + u".verbarium-Run123"_s;
    writeAll(running, "still being written");
    const int held = ::open(QFile::encodeName(running).constData(), O_RDONLY | O_CLOEXEC);
    QVERIFY(held >= 0);
    const auto release = qScopeGuard([held] { ::close(held); });
    QCOMPARE(::flock(held, LOCK_EX | LOCK_NB), 0);

    QVERIFY(saveSettings(path));
    QCOMPARE(filesOf(path),
             (QStringList{u"s.ini"_s, u"s.ini.bak"_s, u"s.ini.verbarium-Ab3xY9z"_s, u"s.ini.verbarium-Run123"_s}));
    QVERIFY(QFileInfo::exists(dir.filePath(u"t.ini.verbarium-Ab3xY9"_s)));
}

void TestWholeFile::theUsersFilesBesideItStay_data()
{
    addWriterRows();
}

// Names a writer gives copies of a file: a dot and six letters or digits after the
// whole name, as a temporary file's name might be. None of them is a leftover.
void TestWholeFile::theUsersFilesBesideItStay()
{
    QFETCH(Writer, writer);
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    writeAll(path, OldContent);
    const QStringList copies{name + u".backup"_s, name + u".german"_s, name + u".202412"_s, name + u".v2copy"_s};
    for (const QString &copy : copies)
        writeAll(dir.filePath(copy), "the writer's own copy");
    QVERIFY(writer(path));
    for (const QString &copy : copies)
        QCOMPARE(readAllOrMarker(dir.filePath(copy)), QByteArray("the writer's own copy"));
}

void TestWholeFile::refusedTargets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a folder") << u"folder"_s << qt_error_string(EISDIR);
    QTest::newRow("a read-only file") << u"readonly.txt"_s << qt_error_string(EACCES);
    QTest::newRow("a missing folder") << u"missing/words.txt"_s << qt_error_string(ENOENT);
    QTest::newRow("a pipe") << u"pipe"_s << u"Not a regular file"_s;
}

void TestWholeFile::refusedTargets()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    if (name == u"readonly.txt" && ::geteuid() == 0)
        QSKIP("root may write any file");
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
    writeAll(dir.filePath(u"readonly.txt"_s), "kept");
    QVERIFY(QFile::setPermissions(dir.filePath(u"readonly.txt"_s), QFile::ReadOwner));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(u"pipe"_s)).constData(), 0600), 0);

    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    QCOMPARE(WholeFile::write(dir.filePath(name), "words"), reason);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), before);
    QCOMPARE(readAll(dir.filePath(u"readonly.txt"_s)), QByteArray("kept"));
}

QTEST_GUILESS_MAIN(TestWholeFile)
#include "test_wholefile.moc"
