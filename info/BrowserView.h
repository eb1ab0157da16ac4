#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QWebEngineView;

// A web page area of the window. Navigation never waits for the page. The page
// itself (a Qt WebEngine view) is made when the area is first shown, so that
// pages that are never looked at cost nothing. A page that cannot be loaded is not
// shown: a short note stands in its place, and the page is tried again at the
// area's next showing (or when the window asks with retryIfFailed).
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

    // Whether the last load of the page failed (no answer, refused, unknown host).
    bool hasFailed() const { return m_failed; }
    // Loads the last address again when its load failed.
    void retryIfFailed();

    QWebEngineView *view() const { return m_view; }
    // The note shown in place of a page that could not be loaded.
    QLabel *unavailableNote() const { return m_unavailable; }

Q_SIGNALS:
    // A load of the page failed; the area now shows its note.
    void loadFailed();
    // The page arrived; the area shows it.
    void loadSucceeded();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void load(const QString &address);
    void onLoadFinished(bool ok);
    void updateVisibility();

    QStringList m_navigations;
    QString m_pending;
    QString m_address; // the page being shown or tried
    bool m_browserVisible = true;
    bool m_failed = false;
    QWebEngineView *m_view = nullptr;
    QLabel *m_unavailable = nullptr;
};
