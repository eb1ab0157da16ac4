// Starting from anywhere: the command line, the selection, and one window per user
// that takes the requests of later starts.

#include "../ScriptedSource.h"
#include "GuiTestDoubles.h"
#include "Version.h"
#include "app/CommandLine.h"
#include "app/Main.h"
#include "app/SingleInstance.h"
#include "thesaurus/LanguageTable.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using Action = CommandLine::Parsed::Action;

Q_DECLARE_METATYPE(Action)

namespace {

const QString Program = QStringLiteral(VERBARIUM_PRO_PROGRAM);
constexpr int EnglishUs = 5; // the window's language at start

struct Run {
    bool finished = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The real program, with these variables changed (an empty value removes one).
Run runProgram(const QStringList &arguments, const QList<std::pair<QString, QString>> &variables)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] : variables) {
        if (value.isEmpty())
            environment.remove(name);
        else
            environment.insert(name, value);
    }
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(Program, arguments);
    Run run;
    // A window would keep the program running: finishing is the proof that none opened.
    run.finished = process.waitForFinished(30000);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

const QList<std::pair<QString, QString>> NoDisplay{
    {u"QT_QPA_PLATFORM"_s, {}}, {u"DISPLAY"_s, {}}, {u"WAYLAND_DISPLAY"_s, {}}};

// What a crashed instance leaves: a socket file that no one serves.
bool leaveStaleSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    qstrncpy(address.sun_path, name.constData(), sizeof address.sun_path);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return bound && QFileInfo::exists(path);
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

    QTemporaryDir m_runtime;
    QList<GuiTestDoubles::Message> m_messages;

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_runtime.isValid());
        // This run's own runtime folder, for this process and the programs it starts.
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toUtf8());
        QVERIFY(SingleInstance::defaultSocketPath().startsWith(m_runtime.path()));
        GuiTestDoubles::installStubConnectivity();
        GuiTestDoubles::keepPagesOnThisMachine();
        QGuiApplication::setQuitOnLastWindowClosed(false);
        GuiTestDoubles::recordMessagesInto(m_messages);
    }

    void cleanup() { QFile::remove(SingleInstance::defaultSocketPath()); }

    void options_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<int>("depth");    // -1: the window keeps its own
        QTest::addColumn<int>("language"); // -1: the window keeps its own
        QTest::addColumn<bool>("fromSelection");
        QTest::addColumn<QString>("text"); // found in the help, version or error text

        QTest::newRow("no arguments: the usual start")
            << QStringList{} << Action::Start << QString() << -1 << -1 << false << QString();
        QTest::newRow("words joined into one phrase") << QStringList{u"bright"_s, u" morning\n"_s} << Action::Start
                                                      << u"bright morning"_s << -1 << -1 << false << QString();
        QTest::newRow("depth and language")
            << QStringList{u"--depth"_s, u"2"_s, u"--language"_s, u" english us, "_s, u"sun"_s} << Action::Start
            << u"sun"_s << 2 << EnglishUs << false << QString();
        QTest::newRow("selection with a depth") << QStringList{u"--depth=1"_s, u"--selection"_s} << Action::Start
                                                << QString() << 1 << -1 << true << QString();
        QTest::newRow("help") << QStringList{u"--help"_s, u"word"_s} << Action::Help << QString() << -1 << -1 << false
                              << u"--selection"_s;
        QTest::newRow("version") << QStringList{u"-v"_s} << Action::Version << QString() << -1 << -1 << false
                                 << u"verbarium-pro %1\n"_s.arg(QLatin1StringView(Version::Text));

        const auto error = [](const char *name, QStringList arguments, const QString &message) {
            QTest::newRow(name) << arguments << Action::Error << QString() << -1 << -1 << false << message;
        };
        error("unknown option", {u"--frobnicate"_s}, u"Unknown option 'frobnicate'"_s);
        error("depth out of range", {u"--depth"_s, u"7"_s, u"sun"_s}, u"The depth must be 0, 1 or 2, not \"7\""_s);
        error("depth not a number", {u"--depth=1x"_s, u"sun"_s}, u"The depth must be 0, 1 or 2"_s);
        error("depth without its value", {u"sun"_s, u"--depth"_s}, u"Missing value after '--depth'"_s);
        error("unknown language", {u"--language"_s, u"Klingon"_s, u"sun"_s}, u"Unknown language \"Klingon\""_s);
        error("phrase and selection together", {u"--selection"_s, u"sun"_s}, u"either a phrase or --selection"_s);
        error("blank phrase", {u"  "_s}, u"Write a phrase, first!"_s);
        error("depth with nothing to look up", {u"--depth"_s, u"1"_s}, u"need a phrase or --selection"_s);
    }

    void options()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Action, action);
        QFETCH(QString, phrase);
        QFETCH(int, depth);
        QFETCH(int, language);
        QFETCH(bool, fromSelection);
        QFETCH(QString, text);

        const CommandLine::Parsed parsed = CommandLine::parse(QStringList{u"verbarium-pro"_s} + arguments);
        QCOMPARE(parsed.action, action);
        QVERIFY2(parsed.text.contains(text), qPrintable(parsed.text));
        if (action == Action::Error) {
            QVERIFY(parsed.text.startsWith(u"verbarium-pro: "_s));
            QVERIFY(parsed.text.endsWith(u"Try 'verbarium-pro --help' for more information."_s));
            return;
        }
        QCOMPARE(parsed.request.phrase, phrase);
        QCOMPARE(parsed.request.depth.value_or(-1), depth);
        QCOMPARE(parsed.request.languageIndex.value_or(-1), language);
        QCOMPARE(parsed.fromSelection, fromSelection);
        QCOMPARE(parsed.hasRequest(), !phrase.isEmpty() || fromSelection);
    }

    void requestsOnTheWire_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("all fields") << QByteArray(R"({"phrase":"bright morning","depth":2,"language":5})") << true;
        QTest::newRow("phrase alone") << QByteArray(R"({"phrase":"sun"})") << true;
        QTest::newRow("not JSON") << QByteArray("sun") << false;
        QTest::newRow("no phrase") << QByteArray(R"({"depth":1})") << false;
        QTest::newRow("blank phrase") << QByteArray(R"({"phrase":"  "})") << false;
        QTest::newRow("phrase not text") << QByteArray(R"({"phrase":7})") << false;
        QTest::newRow("depth 3") << QByteArray(R"({"phrase":"sun","depth":3})") << false;
        QTest::newRow("depth not whole") << QByteArray(R"({"phrase":"sun","depth":1.5})") << false;
        QTest::newRow("depth as text") << QByteArray(R"({"phrase":"sun","depth":"1"})") << false;
        QTest::newRow("language past the list") << QByteArray(R"({"phrase":"sun","language":62})") << false;
        QTest::newRow("language negative") << QByteArray(R"({"phrase":"sun","language":-1})") << false;
        QTest::newRow("huge phrase") << QByteArray(R"({"phrase":")") + QByteArray(70000, 'a') + QByteArray(R"("})")
                                     << false;
    }

    void requestsOnTheWire()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, accepted);
        const std::optional<LookupRequest> request = LookupRequest::fromBytes(line);
        QCOMPARE(request.has_value(), accepted);
        if (request)
            QCOMPARE(LookupRequest::fromBytes(request->toBytes()), request); // what one start sends, the other reads
    }

    void selectionFromTheClipboard()
    {
        // The offscreen platform has no primary selection: the clipboard stands in.
        QClipboard *clipboard = QGuiApplication::clipboard();
        QVERIFY(!clipboard->supportsSelection());
        clipboard->setText(u"  bright\n\tmorning  "_s);
        QCOMPARE(CommandLine::selectionPhrase(), u"bright morning"_s);
        clipboard->setText(u" \n "_s);
        QCOMPARE(CommandLine::selectionPhrase(), QString());

        // A selection longer than a window takes is refused with its length.
        QCOMPARE(CommandLine::tooLongSelectionMessage(QString(64 * 1024, u'x')), QString());
        clipboard->setText(QString(64 * 1024 + 1, u'x'));
        QVERIFY(CommandLine::tooLongSelectionMessage(CommandLine::selectionPhrase())
                    .startsWith(u"verbarium-pro: The selection is too long: 65537 characters, at most 65536."_s));
    }

    void helpAndVersionNeedNoDisplay()
    {
        const Run help = runProgram({u"--help"_s}, NoDisplay);
        QVERIFY(help.finished);
        QCOMPARE(help.exitCode, 0);
        QCOMPARE(help.err, QByteArray());
        for (const char *option : {"--depth <0|1|2>", "--language <NAME>", "--selection", "--version", "[PHRASE...]"})
            QVERIFY2(help.out.contains(option), option);

        const Run version = runProgram({u"--version"_s}, NoDisplay);
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QByteArray("verbarium-pro ") + Version::Text + '\n');
        QCOMPARE(version.err, QByteArray());
    }

    void badInputOpensNoWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("unknown option") << QStringList{u"--frobnicate"_s} << QByteArray("Unknown option 'frobnicate'.");
        QTest::newRow("depth 7") << QStringList{u"--depth"_s, u"7"_s, u"sun"_s}
                                 << QByteArray("The depth must be 0, 1 or 2");
        QTest::newRow("unknown language")
            << QStringList{u"--language=Klingon"_s, u"sun"_s} << QByteArray("Unknown language");
        // A fresh offscreen program has nothing on its clipboard.
        QTest::newRow("empty selection") << QStringList{u"--selection"_s} << QByteArray("The selection is empty");
        // Longer than an open window takes a request: refused here, whether or not one is open.
        QTest::newRow("phrase too long") << QStringList{QString(64 * 1024 + 1, u'a')}
                                         << QByteArray("The phrase is too long: 65537 characters, at most 65536.");
        QTest::newRow("phrase too long in words")
            << QStringList{QString(32 * 1024, u'a'), QString(32 * 1024, u'b')}
            << QByteArray("The phrase is too long: 65537 characters, at most 65536.");
    }

    void badInputOpensNoWindow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, message);
        const Run run = runProgram(arguments, {{u"QT_QPA_PLATFORM"_s, u"offscreen"_s}});
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith("verbarium-pro: ") && run.err.contains(message), run.err.constData());
        QCOMPARE(run.out, QByteArray());
    }

    void secondStartHandsItsPhraseToTheFirstWindow()
    {
        TForm1 form(ScriptedSource::fromText(u"bright: brilliant, shining | smart"_s));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *edt1 = form.findChild<QLineEdit *>(u"edt1"_s);
        auto *cbb1 = form.findChild<QComboBox *>(u"cbb1"_s);
        auto *cbb2 = form.findChild<QComboBox *>(u"cbb2"_s);
        QVERIFY(edt1 && cbb1 && cbb2);
        cbb2->setCurrentIndex(0);
        form.showMinimized();

        SingleInstance instance;
        QVERIFY(instance.listen());
        connect(&instance, &SingleInstance::requestReceived, &form, &TForm1::lookUp);

        QProcess second;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        second.setProcessEnvironment(environment);
        second.start(Program, {u"--depth"_s, u"1"_s, u"--language"_s, u"English US"_s, u"bright"_s});
        // This process serves the socket, so it waits with its event loop running.
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 30000);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(second.readAllStandardError(), QByteArray());

        QTRY_COMPARE(edt1->text(), u"bright"_s);
        QCOMPARE(cbb1->currentIndex(), 1);
        QCOMPARE(cbb2->currentIndex(), EnglishUs);
        QVERIFY(!form.isMinimized());
        QCOMPARE(form.columns().size(), 1);
        QCOMPARE(m_messages, QList<GuiTestDoubles::Message>());
        form.hide();
    }

    // A request that comes while a box of the program is open waits for the box to
    // close: its Generate would replace the columns under the handler that opened
    // the box. Of the requests that came meanwhile, the latest is taken.
    void requestWaitsForAnOpenBox()
    {
        TForm1 form(ScriptedSource::fromText(u"bright: brilliant, shining | smart; dark: dim; cold: chilly"_s));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *edt1 = form.findChild<QLineEdit *>(u"edt1"_s);
        QVERIFY(edt1);
        form.lookUp({u"bright"_s, std::nullopt, std::nullopt});
        QCOMPARE(form.columns().size(), 1);
        const ResultColumn *before = form.columns().first();

        QDialog box(&form);
        box.setModal(true);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(QApplication::activeModalWidget(), &box);
        form.lookUp({u"dark"_s, std::nullopt, std::nullopt});
        form.lookUp({u"dark cold"_s, std::nullopt, std::nullopt});
        QTest::qWait(300);
        QCOMPARE(edt1->text(), u"bright"_s);
        QCOMPARE(form.columns().size(), 1);
        QCOMPARE(form.columns().first(), before);

        box.close();
        QTRY_COMPARE(edt1->text(), u"dark cold"_s);
        QCOMPARE(form.columns().size(), 2);
        QTest::qWait(300); // the earlier request is not taken after it
        QCOMPARE(edt1->text(), u"dark cold"_s);
        QCOMPARE(m_messages, QList<GuiTestDoubles::Message>());
        form.hide();
    }

    void staleSocketDoesNotBlockANewStart()
    {
        const QString path = SingleInstance::defaultSocketPath();
        QVERIFY(leaveStaleSocket(path));

        // A new start finds no one behind the socket, opens its window and serves in its place.
        QProcess first;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        first.setProcessEnvironment(environment);
        first.start(Program, {u"bright"_s});
        const auto stop = qScopeGuard([&first] {
            first.kill();
            first.waitForFinished();
        });
        SingleInstance::Delivery delivery = SingleInstance::Delivery::NoInstance;
        QDeadlineTimer deadline(60000);
        while (delivery != SingleInstance::Delivery::Delivered && !deadline.hasExpired()
               && first.state() != QProcess::NotRunning) {
            delivery = SingleInstance::send(path, {u"morning"_s, 0, {}}, 2000);
            if (delivery != SingleInstance::Delivery::Delivered)
                QTest::qWait(200);
        }
        QCOMPARE(delivery, SingleInstance::Delivery::Delivered);
        QCOMPARE(first.state(), QProcess::Running);

        // And in this process: the stale socket gives way to a server.
        first.kill();
        first.waitForFinished();
        QVERIFY(QFileInfo::exists(path)); // killed, it left its socket behind
        SingleInstance instance;
        QVERIFY(instance.listen());
    }

    void secondInstanceDoesNotServe()
    {
        SingleInstance first;
        QVERIFY(first.listen());
        SingleInstance second;
        QVERIFY(!second.listen());
        QVERIFY(first.listen()); // still serving
    }

    void otherUsersAreRefused_data()
    {
        QTest::addColumn<bool>("openToAll");
        QTest::newRow("folder and socket closed to others") << false;
        QTest::newRow("even where the socket is open to all") << true;
    }

    void otherUsersAreRefused()
    {
        QFETCH(bool, openToAll);
        if (::geteuid() != 0)
            QSKIP("only root can act as another user here");
        const QString path = SingleInstance::defaultSocketPath();
        SingleInstance instance;
        QVERIFY(instance.listen());
        int received = 0;
        connect(&instance, &SingleInstance::requestReceived, this, [&received] { ++received; });
        const QByteArray folder = QFile::encodeName(m_runtime.path());
        const QByteArray socketFile = QFile::encodeName(path);
        if (openToAll) {
            QCOMPARE(::chmod(folder.constData(), 0777), 0);
            QCOMPARE(::chmod(socketFile.constData(), 0777), 0);
        }
        const auto restore = qScopeGuard([&folder] { ::chmod(folder.constData(), 0700); });

        const QByteArray request = LookupRequest{u"sun"_s, {}, {}}.toBytes();
        // The other user's outcome comes back through a pipe: 0 means the request was taken.
        int outcome[2];
        QCOMPARE(::pipe(outcome), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            // Only calls that are safe after fork.
            const auto report = [&outcome](char code) {
                (void)!::write(outcome[1], &code, 1);
                ::_exit(0);
            };
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                report(20);
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            qstrncpy(address.sun_path, socketFile.constData(), sizeof address.sun_path);
            if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
                report(10);
            if (::write(fd, request.constData(), size_t(request.size())) != request.size())
                report(11);
            pollfd readable{fd, POLLIN, 0};
            char answer[3] = {};
            if (::poll(&readable, 1, 5000) == 1 && ::read(fd, answer, 3) == 3 && answer[0] == 'o' && answer[1] == 'k')
                report(0);
            report(12);
        }
        QVERIFY(child > 0);
        ::close(outcome[1]);
        const auto reap = qScopeGuard([&] {
            ::close(outcome[0]);
            ::waitpid(child, nullptr, 0);
        });
        char code = -1;
        pollfd done{outcome[0], POLLIN, 0};
        QTRY_VERIFY_WITH_TIMEOUT(::poll(&done, 1, 0) == 1, 15000);
        QCOMPARE(::read(outcome[0], &code, 1), 1);
        // Closed to others, the connection itself fails; open to all, the server hangs up.
        QCOMPARE(int(code), openToAll ? 12 : 10);
        QTest::qWait(100);
        QCOMPARE(received, 0);
    }
};

QTEST_MAIN(TestCommandLine)
#include "test_commandline.moc"
