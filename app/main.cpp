// Verbarium Pro: a thesaurus and word-finding tool for writers.

#include "Version.h"
#include "app/Main.h"
#include "settings/TStyleManager.h"
#include "thesaurus/popOver.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The web views share their OpenGL context with the windows; Qt wants to know before it starts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // No display name: Qt would append it to every window title, and the titles are
    // exactly the caption and the word. Message boxes take the application name instead.
    QApplication::setApplicationName(QStringLiteral("Verbarium Pro"));
    QApplication::setApplicationVersion(QString::fromLatin1(Version::Text));
    QApplication::setDesktopFileName(QStringLiteral("verbarium-pro"));

    TStyleManager::TrySetStyle(QStringLiteral("Luna"));

    TForm1 form;
    form.show();
    const int status = QApplication::exec();
    // Word windows still open go with the program.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (qobject_cast<TForm2 *>(window))
            delete window;
    }
    return status;
}
