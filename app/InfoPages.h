#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class BrowserView;
class MeaningsPanel;
class QLabel;
class QStackedWidget;
class QTabWidget;
class QWidget;

// The information pages of the main window: the Help, About and Contact sheets of
// the top tabs, the content stack that shows the search panel or the page of a
// tab (web or built-in, as the connection allows), and the Info side panel.
class InfoPages : public QObject
{
    Q_OBJECT

public:
    // The pages are children of the window's widgets; the window's width sizes the side panel.
    InfoPages(QWidget *window, QTabWidget *tabs);

    // Appends the Help, About and Contact sheets to the top tabs.
    void addSheets();
    // The content stack: the search panel first, then the information panels.
    QStackedWidget *buildContentStack(QWidget *searchPanel);
    // The Info side panel at its designed width.
    QTabWidget *buildSidePanel();

    // The window is built: the search panel in front, the side panel open when
    // online, the pages loading.
    void start();

    // A sheet of the top tabs shows its web page when online, its built-in text otherwise.
    void showSheetPage(const char *browserName, const char *path);
    // The panel of the current tab comes to the front of the content stack.
    void showPanelOfCurrentTab();
    void showReadMe();

    void collapseSidePanel();
    // Opens the collapsed side panel, giving a page that failed another try.
    void expandSidePanel();
    bool isSidePanelCollapsed() const;
    // The open side panel keeps half the window's width.
    void fitSidePanel();

    // The side panel's page of a word's meanings; it looks words up once given a lookup.
    MeaningsPanel *meaningsPanel() const { return m_meanings; }
    // Shows a word's meanings in the side panel, in place of its web page or hint,
    // and opens the panel when it is collapsed.
    void showMeanings(const QString &word);

Q_SIGNALS:
    // A link of a built-in text was clicked.
    void linkClicked(const QString &address);
    // A press on the side panel's own surface, its tab strip included; not on its page.
    void sidePanelPressed(Qt::MouseButton button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A panel of the content stack: its heading and its page, a built-in text or a web page.
    struct InfoPanel {
        const char *name;
        QString heading;
        const char *body;
        const char *text; // built-in text resource, or none for a web page
        const char *face;
        qreal points;
        bool scrollBars;
        int tab = 0; // of a web page: the tab that shows it
    };

    BrowserView *browser(const char *name) const;
    void fillPanel(QWidget *panel, const InfoPanel &info);
    // Every panel comes to the front of the stack through here, filled first if it is not yet.
    void bringToFront(QWidget *panel);
    void showBuiltInTextWhenPageFails(BrowserView *page, int tab);
    // A page whose built-in text was shown while it was on its way replaces it.
    void showPageWhenItArrives(BrowserView *page, int tab);

    QWidget *m_window;
    QTabWidget *m_tabs;
    QStackedWidget *m_stack = nullptr;
    QWidget *m_searchPanel = nullptr;
    QTabWidget *m_sidePanel = nullptr;
    // The side panel's pages: its web page, the hint that stands in for a page
    // that cannot be shown, and a word's meanings once a word was shown.
    QStackedWidget *m_sideStack = nullptr;
    QLabel *m_hint = nullptr;
    MeaningsPanel *m_meanings = nullptr;
    // The panels whose contents are made when they are first shown.
    QHash<QWidget *, InfoPanel> m_unfilled;
    // The headings that take their font when their panel first comes to the front.
    QHash<QWidget *, QLabel *> m_plainHeadings;
    // The tab whose built-in text is in front until its web page arrives, or 0.
    int m_awaitedTab = 0;
};
