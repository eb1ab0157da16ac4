// The web engine's module (libverbarium-web): the only code of the program that
// uses Qt WebEngine. The program loads it when it makes its first web page.

#include "info/WebEngineApi.h"

#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <utility>

namespace {

// A page that stays on our site: a link elsewhere goes to the user's browser,
// any other way off the site (a script, a redirect, a form, a frame) is refused.
class SitePage : public QWebEnginePage
{
public:
    SitePage(WebEngineApi::Callbacks callbacks, QObject *parent)
        : QWebEnginePage(parent), m_callbacks(std::move(callbacks))
    {
    }

    const WebEngineApi::Callbacks &callbacks() const { return m_callbacks; }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override
    {
        if (m_callbacks.isOnSite(url) || url == QUrl(QStringLiteral("about:blank")))
            return true;
        if (isMainFrame && type == NavigationTypeLinkClicked)
            m_callbacks.openLink(url.toString());
        return false;
    }

    // A link that asks for a new window opens in the user's browser instead: the
    // page made here only learns the address and hands it over.
    QWebEnginePage *createWindow(WebWindowType) override;

private:
    WebEngineApi::Callbacks m_callbacks;
};

class HandOverPage : public QWebEnginePage
{
public:
    HandOverPage(std::function<void(const QString &)> openLink, QWebEngineProfile *profile, QObject *parent)
        : QWebEnginePage(profile, parent), m_openLink(std::move(openLink))
    {
        // The first address of a new window may come as a navigation request or
        // only as the page's address; either one is handed over, once.
        connect(this, &QWebEnginePage::urlChanged, this, [this](const QUrl &url) { handOver(url); });
    }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame) override
    {
        if (isMainFrame)
            handOver(url);
        return false;
    }

private:
    void handOver(const QUrl &url)
    {
        if (url.isEmpty() || url == QUrl(QStringLiteral("about:blank")) || std::exchange(m_handedOver, true))
            return;
        m_openLink(url.toString());
        deleteLater();
    }

    std::function<void(const QString &)> m_openLink;
    bool m_handedOver = false;
};

QWebEnginePage *SitePage::createWindow(WebWindowType)
{
    return new HandOverPage(m_callbacks.openLink, profile(), this);
}

QWidget *create(QWidget *parent, const WebEngineApi::Callbacks &callbacks)
{
    auto *view = new QWebEngineView(parent);
    auto *page = new SitePage(callbacks, view);
    view->setPage(page);
    // Our pages run their scripts, but may not open windows, read local files or
    // be replaced by whatever is dropped on them.
    QWebEngineSettings *settings = view->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    view->setAcceptDrops(false);
    QObject::connect(view, &QWebEngineView::loadFinished, view, [page](bool ok) { page->callbacks().loadFinished(ok); });
    return view;
}

void load(QWidget *view, const QUrl &address)
{
    if (auto *web = qobject_cast<QWebEngineView *>(view))
        web->load(address);
}

const WebEngineApi::Functions Functions{WebEngineApi::Version, &create, &load};

} // namespace

extern "C" Q_DECL_EXPORT const WebEngineApi::Functions *verbarium_web_engine()
{
    return &Functions;
}
