#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
namespace WebEngineApi {
struct Functions;
}

// A web page area of the window. Navigation never waits for the page. The page
// itself (a Qt WebEngine view) is made when the area is first shown, so that
// pages that are never looked at cost nothing; in a window that holds the engine
// back (holdEngineUntilFirstPaint), not before the window's first frame is
// painted. A page that cannot be loaded is not shown: a short note stands in its
// place, and the page is tried again at the area's next showing (or when the
// window asks with retryIfFailed). An address under a name reserved never to
// resolve is never loaded: the note stands there at once, and no engine starts.
class BrowserView : public QWidget
{
    Q_OBJECT

public:
    explicit BrowserView(QWidget *parent = nullptr);

    // The web views of the window, and so the web engine, wait until the window's
    // first frame is painted: the window shows at once, without the engine's start.
    static void holdEngineUntilFirstPaint(QWidget *window);
    // Whether this area's window still holds the engine back.
    bool isEngineHeld() const;

    void navigate(const QString &address);
    // Every address asked for, in order.
    const QStringList &navigations() const { return m_navigations; }

    // The browser's own visibility, apart from the area's.
    void setBrowserVisible(bool visible);
    bool isBrowserVisible() const { return m_browserVisible; }

    // Whether the last load of the page failed (no answer, refused, unknown host),
    // or the page can never load (see neverLoads).
    bool hasFailed() const { return m_failed; }
    // The address is under a name reserved never to resolve: no page, no engine.
    bool neverLoads() const { return m_neverLoads; }
    // Whether the page of the last address has arrived and is what the area shows.
    bool hasLoaded() const { return m_loaded; }
    // Loads the last address again when its load failed.
    void retryIfFailed();
    // Loads the page as soon as the window lets the engine start, shown or not:
    // for a page that is to replace something else once it has arrived.
    void loadEvenIfHidden();

    // The web view (a QWebEngineView), once made.
    QWidget *view() const { return m_view; }
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
    friend class FirstPaintGate;

    void load(const QString &address);
    void onLoadFinished(bool ok);
    void updateVisibility();
    void showNote(const QString &text);
    // Makes the web view and loads what waits, when the window lets the engine start.
    void makeView();
    // The window painted its first frame: a page that waits for the engine may start.
    void engineReleased();

    QStringList m_navigations;
    QString m_pending;
    QString m_address; // the page being shown or tried
    bool m_browserVisible = true;
    bool m_failed = false;
    bool m_neverLoads = false;
    bool m_loaded = false;
    bool m_wanted = false; // to be made when the engine may start, shown or not
    QWidget *m_view = nullptr;
    const WebEngineApi::Functions *m_engine = nullptr;
    QLabel *m_unavailable = nullptr;
};
