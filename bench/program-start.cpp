// verbarium-program-start: the program's start as bench/start-bench.py times it,
// from outside. It does what the program's main does for a window without a
// request (the application, the style "Luna", the main window, the single-instance
// socket) and links what the program links, so that the libraries it loads at start
// are the program's own: Qt WebEngine only when the first web page is made.
//
//   verbarium-program-start [SITE]
//
// Prints "painted WxH X,Y,W,H" at the window's first frame (the window's size and
// the side panel's page area, for the floors) and, with a site's base address (the
// machine then counts as online), "page" once the side panel's page has arrived and
// the window is painted with it ("failed" if it did not). Then it runs until its
// standard input ends. The registry, Settings and socket files go where the
// environment says (start-bench.py gives a folder of its own).

#include "FirstFrame.h"
#include "app/Main.h"
#include "app/SingleInstance.h"
#include "info/BrowserView.h"
#include "info/Connectivity.h"
#include "info/SiteAddress.h"
#include "settings/TStyleManager.h"

#include <QApplication>
#include <QRect>

#include <memory>

namespace {

// The machine online, for a start with a site: the side panel opens and shows its page.
class Online : public Connectivity
{
public:
    bool isOnline() override { return true; }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Verbarium Pro"));
    const QString site = QCoreApplication::arguments().value(1);
    if (!site.isEmpty()) {
        SiteAddress::setBaseUrlForTesting(site);
        Connectivity::setInstance(std::make_unique<Online>());
    }
    SingleInstance instance;
    TStyleManager::TrySetStyle(QStringLiteral("Luna"));
    TForm1 form;
    instance.listen();
    auto *wb1 = form.findChild<BrowserView *>(QStringLiteral("wb1"));
    if (!wb1)
        return 1;
    if (!site.isEmpty()) {
        QObject::connect(wb1, &BrowserView::loadSucceeded, &form, [&form] {
            form.grab();
            FirstFrame::tell("page");
        });
        QObject::connect(wb1, &BrowserView::loadFailed, &form, [] { FirstFrame::tell("failed"); });
    }
    FirstFrame::showAndTell(&form, [&form, wb1] {
        const QRect page(wb1->mapTo(&form, QPoint(0, 0)), wb1->size());
        return QStringLiteral("painted %1x%2 %3,%4,%5,%6")
            .arg(form.width())
            .arg(form.height())
            .arg(page.x())
            .arg(page.y())
            .arg(page.width())
            .arg(page.height())
            .toUtf8();
    });
    FirstFrame::quitWhenInputEnds();
    return QApplication::exec();
}
