#include "info/BrowserView.h"

#include "info/LinkOpener.h"
#include "info/SiteAddress.h"

#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <utility>

namespace {

// Whether an address is a page of our own site: http or https on the base
// address's host.
bool isOnSite(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return (scheme == u"http" || scheme == u"https") && !url.host().isEmpty()
           && url.host().compare(QUrl(SiteAddress::baseUrl()).host(), Qt::CaseInsensitive) == 0;
}

// A page that stays on our site: a link elsewhere goes to the user's browser,
// any other way off the site (a script, a redirect, a form, a frame) is refused.
class SitePage : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override
    {
        if (isOnSite(url) || url == QUrl(QStringLiteral("about:blank")))
            return true;
        if (isMainFrame && type == NavigationTypeLinkClicked)
            LinkOpener::instance().openLink(url.toString());
        return false;
    }

    // A link that asks for a new window opens in the user's browser instead: the
    // page made here only learns the address and hands it over.
    QWebEnginePage *createWindow(WebWindowType) override;
};

class HandOverPage : public QWebEnginePage
{
public:
    HandOverPage(QWebEngineProfile *profile, QObject *parent) : QWebEnginePage(profile, parent)
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
        LinkOpener::instance().openLink(url.toString());
        deleteLater();
    }

    bool m_handedOver = false;
};

QWebEnginePage *SitePage::createWindow(WebWindowType)
{
    return new HandOverPage(profile(), this);
}

} // namespace

BrowserView::BrowserView(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void BrowserView::navigate(const QString &address)
{
    m_navigations.append(address);
    if (m_view)
        load(address);
    else
        m_pending = address;
}

void BrowserView::load(const QString &address)
{
    m_address = address;
    m_view->load(QUrl(address));
}

void BrowserView::retryIfFailed()
{
    if (m_failed && m_view && !m_address.isEmpty())
        m_view->load(QUrl(m_address));
    else if (m_failed && !m_view && !m_address.isEmpty())
        m_pending = m_address;
}

void BrowserView::setBrowserVisible(bool visible)
{
    m_browserVisible = visible;
    updateVisibility();
}

void BrowserView::updateVisibility()
{
    if (m_view)
        m_view->setVisible(m_browserVisible && !m_failed);
    if (m_unavailable)
        m_unavailable->setVisible(m_browserVisible && m_failed);
}

void BrowserView::onLoadFinished(bool ok)
{
    // The web view's own error page ("This site can't be reached") is never shown:
    // the note stands in its place until a later load succeeds.
    const bool failed = !ok;
    if (failed && !m_unavailable) {
        m_unavailable = new QLabel(tr("This page cannot be shown now. It is tried again when it is shown next."), this);
        m_unavailable->setObjectName(objectName() + QStringLiteral("Unavailable"));
        m_unavailable->setAlignment(Qt::AlignCenter);
        m_unavailable->setWordWrap(true);
        layout()->addWidget(m_unavailable);
    }
    m_failed = failed;
    updateVisibility();
    if (failed)
        Q_EMIT loadFailed();
    else
        Q_EMIT loadSucceeded();
}

void BrowserView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_view) {
        retryIfFailed();
        return;
    }
    m_view = new QWebEngineView(this);
    m_view->setObjectName(objectName() + QStringLiteral("View"));
    m_view->setAccessibleName(accessibleName());
    m_view->setPage(new SitePage(m_view));
    // Our pages run their scripts, but may not open windows, read local files or
    // be replaced by whatever is dropped on them.
    QWebEngineSettings *settings = m_view->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    m_view->setAcceptDrops(false);
    layout()->addWidget(m_view);
    connect(m_view, &QWebEngineView::loadFinished, this, &BrowserView::onLoadFinished);
    updateVisibility();
    if (!m_pending.isEmpty())
        load(std::exchange(m_pending, QString()));
}
