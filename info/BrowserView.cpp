#include "info/BrowserView.h"

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
        m_view->load(QUrl(address));
    else
        m_pending = address;
}

void BrowserView::setBrowserVisible(bool visible)
{
    m_browserVisible = visible;
    if (m_view)
        m_view->setVisible(visible);
}

void BrowserView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_view)
        return;
    m_view = new QWebEngineView(this);
    m_view->setObjectName(objectName() + QStringLiteral("View"));
    layout()->addWidget(m_view);
    m_view->setVisible(m_browserVisible);
    if (!m_pending.isEmpty())
        m_view->load(QUrl(std::exchange(m_pending, QString())));
}
