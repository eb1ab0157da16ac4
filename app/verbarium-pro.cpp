// Verbarium Pro: a thesaurus and word-finding tool for writers.

#include "Version.h"
#include "app/CommandLine.h"
#include "app/Main.h"
#include "app/SingleInstance.h"
#include "settings/TStyleManager.h"
#include "app/popOver.h"

#include <QApplication>

#include <cstdio>

namespace {

void print(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    if (!bytes.endsWith('\n'))
        std::fputc('\n', stream);
}

} // namespace

int main(int argc, char *argv[])
{
    // The web views share their OpenGL context with the windows; Qt wants to know before it starts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);

    // The arguments are read before any window system is asked for: --help,
    // --version and bad input must work without a display.
    CommandLine::Parsed parsed;
    {
        QCoreApplication reader(argc, argv);
        parsed = CommandLine::parse(QCoreApplication::arguments());
    }
    switch (parsed.action) {
    case CommandLine::Parsed::Action::Help:
    case CommandLine::Parsed::Action::Version: print(stdout, parsed.text); return CommandLine::Success;
    case CommandLine::Parsed::Action::Error: print(stderr, parsed.text); return CommandLine::UsageError;
    case CommandLine::Parsed::Action::Start: break;
    }

    QApplication app(argc, argv);
    // No display name: Qt would append it to every window title, and the titles are
    // exactly the caption and the word. Message boxes take the application name instead.
    QApplication::setApplicationName(QStringLiteral("Verbarium Pro"));
    QApplication::setApplicationVersion(QString::fromLatin1(Version::Text));
    QApplication::setDesktopFileName(QStringLiteral(VERBARIUM_APP_ID));

    LookupRequest request = parsed.request;
    if (parsed.fromSelection) {
        request.phrase = CommandLine::selectionPhrase();
        if (request.phrase.isEmpty()) {
            print(stderr, CommandLine::emptySelectionMessage());
            return CommandLine::UsageError;
        }
        if (const QString tooLong = CommandLine::tooLongSelectionMessage(request.phrase); !tooLong.isEmpty()) {
            print(stderr, tooLong);
            return CommandLine::UsageError;
        }
    }

    // A window of this user that is open already takes the request and comes to the front.
    SingleInstance instance;
    if (parsed.hasRequest()) {
        switch (SingleInstance::send(instance.socketPath(), request)) {
        case SingleInstance::Delivery::Delivered: return CommandLine::Success;
        case SingleInstance::Delivery::NoAnswer:
            print(stderr, QStringLiteral("verbarium-pro: The open window did not take the request; try again."));
            return CommandLine::Failure;
        case SingleInstance::Delivery::NoInstance: break;
        }
    }

    TStyleManager::TrySetStyle(QStringLiteral("Luna"));

    TForm1 form;
    // Later starts reach this window; when another window serves already, this one just runs.
    instance.listen();
    QObject::connect(&instance, &SingleInstance::requestReceived, &form, &TForm1::lookUp);
    form.show();
    if (parsed.hasRequest())
        form.lookUp(request);
    const int status = QApplication::exec();
    // Word windows still open go with the program.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (qobject_cast<TForm2 *>(window))
            delete window;
    }
    return status;
}
