#pragma once

#include <QStringList>
#include <QWidget>

class QWebEngineView;

// A web page area of the window. Navigation never waits for the page. The page
// itself (a Qt WebEngine view) is made when the area is first shown, so that
// pages that are never looked at cost nothing.
class BrowserView : public QWidget
{
    Q_OBJECT

public:
    explicit BrowserView(QWidget *parent = nullptr);

    void navigate(const QString &address);
    // Every address asked for, in order.
    const QStringList &navigations() const { return m_navigations; }

    // The browser's own visibility, apart from the area's.
    void setBrowserVisible(bool visible);
    bool isBrowserVisible() const { return m_browserVisible; }

    QWebEngineView *view() const { return m_view; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QStringList m_navigations;
    QString m_pending;
    bool m_browserVisible = true;
    QWebEngineView *m_view = nullptr;
};
