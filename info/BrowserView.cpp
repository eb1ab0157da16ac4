#include "info/BrowserView.h"

#include "info/LinkOpener.h"
#include "info/SiteAddress.h"
#include "info/WebEngineModule.h"

#include <QEvent>
#include <QLabel>
#include <QSet>
#include <QUrl>
#include <QVBoxLayout>

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

} // namespace

namespace {
// The windows whose web views wait for their first frame.
QSet<const QWidget *> &heldWindows()
{
    static QSet<const QWidget *> windows;
    return windows;
}
} // namespace

// Holds the web views of a window back until the window's first frame: the first
// paint event of the window releases them, once that frame is finished.
class FirstPaintGate : public QObject
{
public:
    explicit FirstPaintGate(QWidget *window) : QObject(window), m_window(window)
    {
        heldWindows().insert(window);
        window->installEventFilter(this);
    }
    ~FirstPaintGate() override { heldWindows().remove(m_window); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint) {
            m_window->removeEventFilter(this);
            // The window's widgets are being painted now, in one go: queued, the
            // release comes after the frame, at the next turn of the event loop.
            QMetaObject::invokeMethod(this, &FirstPaintGate::release, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void release()
    {
        heldWindows().remove(m_window);
        const QList<BrowserView *> views = m_window->findChildren<BrowserView *>();
        for (BrowserView *view : views)
            view->engineReleased();
        deleteLater();
    }

    QWidget *m_window;
};

BrowserView::BrowserView(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void BrowserView::holdEngineUntilFirstPaint(QWidget *window)
{
    if (!heldWindows().contains(window))
        new FirstPaintGate(window);
}

bool BrowserView::isEngineHeld() const
{
    return heldWindows().contains(window());
}

void BrowserView::navigate(const QString &address)
{
    m_navigations.append(address);
    m_loaded = false;
    m_neverLoads = SiteAddress::isReservedNeverResolving(QUrl(address));
    if (m_neverLoads) {
        // Known without asking: no page will come, so the note shows at once and
        // no engine starts for it.
        m_address = address;
        m_pending.clear();
        m_failed = true;
        showNote(tr("No web site is set up for this copy of Verbarium Pro, so there is no page to show here. "
                    "Help, About and Contact are in the tabs above."));
        updateVisibility();
        Q_EMIT loadFailed();
        return;
    }
    if (m_view) {
        load(address);
        return;
    }
    m_pending = address;
    if (m_wanted)
        makeView();
}

void BrowserView::load(const QString &address)
{
    m_address = address;
    m_engine->load(m_view, QUrl(address));
}

void BrowserView::retryIfFailed()
{
    if (!m_failed || m_neverLoads || m_address.isEmpty())
        return;
    if (m_view)
        m_engine->load(m_view, QUrl(m_address));
    else
        m_pending = m_address;
}

void BrowserView::loadEvenIfHidden()
{
    m_wanted = true;
    makeView();
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
    // The note is shown only once its area is: a long wrapped text that is part of
    // a hidden page's layout would be laid out again and again for every layout of
    // the window, at each width it is asked about, all for nothing seen.
    if (m_unavailable)
        m_unavailable->setVisible(m_browserVisible && m_failed && isVisible());
}

void BrowserView::showNote(const QString &text)
{
    if (!m_unavailable) {
        m_unavailable = new QLabel(this);
        m_unavailable->setObjectName(objectName() + QStringLiteral("Unavailable"));
        m_unavailable->setAlignment(Qt::AlignCenter);
        m_unavailable->setWordWrap(true);
        layout()->addWidget(m_unavailable);
    }
    m_unavailable->setText(text);
}

void BrowserView::onLoadFinished(bool ok)
{
    // A late answer for a page left for an address that never loads changes nothing.
    if (m_neverLoads)
        return;
    // The web view's own error page ("This site can't be reached") is never shown:
    // the note stands in its place until a later load succeeds.
    m_failed = !ok;
    m_loaded = ok;
    if (m_failed)
        showNote(tr("This page cannot be shown now. It is tried again when it is shown next."));
    updateVisibility();
    if (m_failed)
        Q_EMIT loadFailed();
    else
        Q_EMIT loadSucceeded();
}

void BrowserView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    updateVisibility();
    if (m_view) {
        retryIfFailed();
        return;
    }
    m_wanted = true;
    makeView();
}

void BrowserView::engineReleased()
{
    if (m_wanted)
        makeView();
}

void BrowserView::makeView()
{
    if (m_view || isEngineHeld())
        return;
    // Nothing that could ever load, nothing to start the engine for.
    const QString address = m_pending.isEmpty() ? m_address : m_pending;
    if (m_neverLoads || (address.isEmpty() && !SiteAddress::pagesCanLoad()))
        return;
    QString error;
    const WebEngineApi::Functions *engine = WebEngineModule::functions(&error);
    if (!engine) {
        // No engine to be had: as a page that cannot be loaded, for good.
        m_neverLoads = m_failed = true;
        m_pending.clear();
        showNote(tr("Web pages cannot be shown: the web engine could not be loaded (%1).").arg(error));
        updateVisibility();
        Q_EMIT loadFailed();
        return;
    }
    m_engine = engine;
    m_view = engine->create(this, {isOnSite, [](const QString &link) { LinkOpener::instance().openLink(link); },
                                   [this](bool ok) { onLoadFinished(ok); }});
    m_view->setObjectName(objectName() + QStringLiteral("View"));
    m_view->setAccessibleName(accessibleName());
    layout()->addWidget(m_view);
    updateVisibility();
    if (!m_pending.isEmpty())
        load(std::exchange(m_pending, QString()));
}
