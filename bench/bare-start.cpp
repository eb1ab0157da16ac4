// The floors of the program's start as a whole process (bench/start-bench.py):
// a plain Qt Widgets window of the main window's size, built without Qt WebEngine
// (verbarium-widgets-start), and the same window holding one web view at the place
// of the main window's side panel (verbarium-webview-start), which may load a page.
//
//   verbarium-widgets-start WxH
//   verbarium-webview-start WxH X,Y,W,H [ADDRESS]
//
// Prints "painted" at the window's first frame and, with an address, "page" once
// the page has loaded and the window is painted with it ("failed" if it did not
// load); then runs until its standard input ends.

#include "FirstFrame.h"

#include <QApplication>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QWidget>
#ifdef VERBARIUM_WEB_VIEW
#include <QUrl>
#include <QWebEngineView>
#endif

int main(int argc, char *argv[])
{
#ifdef VERBARIUM_WEB_VIEW
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
#endif
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QStringList size = arguments.value(1).split(QLatin1Char('x'));
    QWidget window;
    window.resize(size.value(0).toInt(), size.value(1).toInt());
#ifdef VERBARIUM_WEB_VIEW
    const QStringList place = arguments.value(2).split(QLatin1Char(','));
    auto *view = new QWebEngineView(&window);
    view->setGeometry(place.value(0).toInt(), place.value(1).toInt(), place.value(2).toInt(), place.value(3).toInt());
    const QString address = arguments.value(3);
    if (!address.isEmpty()) {
        QObject::connect(view, &QWebEngineView::loadFinished, &window, [&window](bool ok) {
            window.grab();
            FirstFrame::tell(ok ? "page" : "failed");
        });
        view->load(QUrl(address));
    }
#endif
    FirstFrame::showAndTell(&window, [] { return QByteArray("painted"); });
    FirstFrame::quitWhenInputEnds();
    return QApplication::exec();
}
