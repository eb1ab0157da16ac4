#include "info/BrowserView.h"

#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

#include <utility>

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
    layout()->addWidget(m_view);
    connect(m_view, &QWebEngineView::loadFinished, this, &BrowserView::onLoadFinished);
    updateVisibility();
    if (!m_pending.isEmpty())
        load(std::exchange(m_pending, QString()));
}
