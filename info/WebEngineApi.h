#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

// What the web engine's module (verbarium-web) offers the program: the program
// links no Qt WebEngine, and loads the module, with the engine's libraries, only
// when the first web page is made (WebEngineModule).
namespace WebEngineApi {

// What a page asks of the program.
struct Callbacks {
    // Whether an address is a page of our site, where the page may go.
    std::function<bool(const QUrl &)> isOnSite;
    // A link that leads off the site, or asks for a new window: the user's browser opens it.
    std::function<void(const QString &)> openLink;
    // A load of the page ended, well or not.
    std::function<void(bool ok)> loadFinished;
};

struct Functions {
    int version;
    // A web view in parent that stays on the site (scripts run; no windows, no
    // local files, no drops); the view owns the callbacks.
    QWidget *(*create)(QWidget *parent, const Callbacks &callbacks);
    void (*load)(QWidget *view, const QUrl &address);
};

inline constexpr int Version = 1;
// The module's one exported symbol: a function returning its Functions.
inline constexpr char EntryPoint[] = "verbarium_web_engine";

} // namespace WebEngineApi
