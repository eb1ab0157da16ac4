#include "app/InfoPages.h"

#include "app/MeaningsPanel.h"
#include "info/BrowserView.h"
#include "info/BuiltInText.h"
#include "info/Connectivity.h"
#include "info/InfoPanels.h"
#include "info/SiteAddress.h"
#include "widgets/HourglassCursor.h"

#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <tuple>

namespace {

constexpr int SidePanelWidth = 568;

// The font of a panel's heading.
QFont headingFont()
{
    QFont font(QStringLiteral("Calibri"));
    font.setPointSizeF(20);
    font.setBold(true);
    return font;
}

} // namespace

InfoPages::InfoPages(QWidget *window, QTabWidget *tabs) : QObject(window), m_window(window), m_tabs(tabs)
{
    setObjectName(QStringLiteral("InfoPages"));
    // The window shows first, with what it has built in; the web engine, which
    // takes longer to start than the whole window, starts after its first frame.
    BrowserView::holdEngineUntilFirstPaint(window);
}

BrowserView *InfoPages::browser(const char *name) const
{
    return m_window->findChild<BrowserView *>(QLatin1StringView(name));
}

void InfoPages::addSheets()
{
    for (const auto &[name, caption, browser] :
         {std::tuple{"ts2", tr("Help"), "wb2"}, std::tuple{"ts3", tr("About"), "wb3"},
          std::tuple{"ts4", tr("Contact"), "wb4"}}) {
        auto *page = new QWidget;
        page->setObjectName(QLatin1StringView(name));
        m_tabs->addTab(page, caption);
        auto *layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        auto *view = new BrowserView(page);
        view->setObjectName(QLatin1StringView(browser));
        layout->addWidget(view);
    }
}

QStackedWidget *InfoPages::buildContentStack(QWidget *searchPanel)
{
    m_stack = new QStackedWidget(m_window);
    m_stack->setObjectName(QStringLiteral("ContentStack"));
    m_searchPanel = searchPanel;
    m_stack->addWidget(searchPanel);

    const InfoPanel panels[] = {
        {"pnlReadMePanel", tr("Help"), "cxRichEdit1", ":/texts/help.txt", "Calibri", 11, true},
        {"pnlHelpPanel", tr("About"), "RichEdit1", ":/texts/about.txt", "Tahoma", 10, false},
        {"pnlNewsLetterPanel", tr("Contacts"), "cxRichEdit2", ":/texts/contact.txt", "Calibri", 11, true},
        {"pnlSettings", tr("Settings"), "cxRichEdit3", ":/texts/settings.txt", "Tahoma", 10, false},
        {"pnlWebHelp", tr("Help"), "wb5", nullptr, nullptr, 0, false, 1},
        {"pnlWebAbout", tr("About"), "wb6", nullptr, nullptr, 0, false, 2},
        {"pnlWebContacts", tr("Contacts"), "wb7", nullptr, nullptr, 0, false, 3},
        {"pnlWebSettings", tr("Settings"), "wb8", nullptr, nullptr, 0, false, 4},
    };
    for (const InfoPanel &info : panels) {
        // Each panel joins the stack empty, so that what it holds is made in place.
        auto *panel = new QWidget;
        panel->setObjectName(QLatin1StringView(info.name));
        m_stack->addWidget(panel);
        // A built-in text is read, laid out and styled only when its panel is first
        // shown; a web page's area is made now, as it starts loading at once.
        if (info.text)
            m_unfilled.insert(panel, info);
        else
            fillPanel(panel, info);
    }
    return m_stack;
}

void InfoPages::fillPanel(QWidget *panel, const InfoPanel &info)
{
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *title = new QLabel(info.heading, panel);
    // The heading takes its large bold face when its panel comes to the front
    // (bringToFront): loaded for a panel made at the start, that no frame shows yet,
    // the face would only slow the start down.
    m_plainHeadings.insert(panel, title);
    title->setFixedHeight(33);
    layout->addWidget(title);
    QWidget *body = nullptr;
    if (info.text) {
        auto *text = new BuiltInText(panel);
        QFile file(QString::fromLatin1(info.text));
        if (file.open(QIODevice::ReadOnly))
            text->setPlainLines(QString::fromUtf8(file.readAll()));
        QFont textFont{QString::fromLatin1(info.face)};
        textFont.setPointSizeF(info.points);
        text->setFont(textFont);
        const Qt::ScrollBarPolicy policy = info.scrollBars ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
        text->setHorizontalScrollBarPolicy(policy);
        text->setVerticalScrollBarPolicy(policy);
        connect(text, &BuiltInText::linkClicked, this, &InfoPages::linkClicked);
        body = text;
    } else {
        body = new BrowserView(panel);
    }
    body->setObjectName(QLatin1StringView(info.body));
    // Screen readers call the page by its heading.
    body->setAccessibleName(info.heading);
    if (auto *page = qobject_cast<BrowserView *>(body)) {
        showBuiltInTextWhenPageFails(page, info.tab);
        showPageWhenItArrives(page, info.tab);
    }
    layout->addWidget(body, 1);
}

void InfoPages::bringToFront(QWidget *panel)
{
    if (!panel)
        return;
    // Filled while still hidden: its controls are shown with it.
    if (const auto unfilled = m_unfilled.constFind(panel); unfilled != m_unfilled.constEnd()) {
        const InfoPanel info = *unfilled;
        m_unfilled.erase(unfilled);
        fillPanel(panel, info);
    }
    if (QLabel *heading = m_plainHeadings.take(panel))
        heading->setFont(headingFont());
    m_stack->setCurrentWidget(panel);
    m_awaitedTab = 0; // what is in front now was asked for
}

QTabWidget *InfoPages::buildSidePanel()
{
    m_sidePanel = new QTabWidget(m_window);
    m_sidePanel->setObjectName(QStringLiteral("pgc2"));
    m_sidePanel->setTabPosition(QTabWidget::West);
    m_sidePanel->setCursor(Qt::PointingHandCursor);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(12);
    m_sidePanel->setFont(font);
    m_sidePanel->setFixedWidth(SidePanelWidth);

    auto *ts6 = new QWidget;
    ts6->setObjectName(QStringLiteral("ts6"));
    ts6->setCursor(Qt::ArrowCursor);
    m_sidePanel->addTab(ts6, tr("Click for info"));
    auto *layout = new QVBoxLayout(ts6);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *pnl2 = new QWidget(ts6);
    pnl2->setObjectName(QStringLiteral("pnl2"));
    pnl2->setFixedHeight(30);
    auto *strip = new QHBoxLayout(pnl2);
    strip->setContentsMargins(0, 1, 0, 1);
    strip->addStretch(1);
    auto *Button1 = new QPushButton(tr("Hide"), pnl2);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setFixedSize(75, 28);
    Button1->setAutoDefault(false);
    strip->addWidget(Button1);
    layout->addWidget(pnl2);
    m_sideStack = new QStackedWidget(ts6);
    m_sideStack->setObjectName(QStringLiteral("stkInfo"));
    auto *wb1 = new BrowserView;
    wb1->setObjectName(QStringLiteral("wb1"));
    m_sideStack->addWidget(wb1);
    m_hint = new QLabel(tr("Click a word to see its meanings"));
    m_hint->setObjectName(QStringLiteral("lblMeaningsHint"));
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setWordWrap(true); // one line, but never cut in a narrow panel
    m_sideStack->addWidget(m_hint);
    m_meanings = new MeaningsPanel;
    m_meanings->setCursor(Qt::ArrowCursor);
    m_sideStack->addWidget(m_meanings);
    // Until a word is shown the panel shows its page, or the hint where the page
    // cannot be shown; a page that arrives later takes the hint's place.
    connect(wb1, &BrowserView::loadFailed, this, [this, wb1] {
        if (m_sideStack->currentWidget() == wb1)
            m_sideStack->setCurrentWidget(m_hint);
    });
    connect(wb1, &BrowserView::loadSucceeded, this, [this, wb1] {
        if (m_sideStack->currentWidget() == m_hint)
            m_sideStack->setCurrentWidget(wb1);
    });
    // Whatever shows a word (a click, a link of the page, Back or Forward) brings
    // the meanings to the front of an open panel.
    connect(m_meanings, &MeaningsPanel::wordShown, this, [this] {
        m_sideStack->setCurrentWidget(m_meanings);
        if (isSidePanelCollapsed())
            expandSidePanel();
    });
    m_sidePanel->installEventFilter(this);
    m_sidePanel->tabBar()->installEventFilter(this);
    layout->addWidget(m_sideStack, 1);
    return m_sidePanel;
}

void InfoPages::showMeanings(const QString &word)
{
    m_meanings->showWord(word);
}

void InfoPages::start()
{
    bringToFront(m_searchPanel);
    m_tabs->setCurrentIndex(0);
    m_sidePanel->setFixedWidth(CheckInternetConnection() ? InfoPanels::expandedWidth(m_window->width())
                                                         : InfoPanels::CollapsedWidth);
    browser("wb1")->navigate(SiteAddress::page(QLatin1StringView(SiteAddress::InfoPage)));
    browser("wb5")->navigate(SiteAddress::page(QLatin1StringView(SiteAddress::MainHelpPage)));
    browser("wb6")->navigate(SiteAddress::page(QLatin1StringView(SiteAddress::MainAboutPage)));
    browser("wb7")->navigate(SiteAddress::page(QLatin1StringView(SiteAddress::MainContactPage)));
    browser("wb8")->navigate(SiteAddress::page(QLatin1StringView(SiteAddress::MainSettingsPage)));
}

void InfoPages::showPanelOfCurrentTab()
{
    HourglassCursor hourglass;
    const int tab = m_tabs->currentIndex();
    bool online = tab > 0 && CheckInternetConnection();
    if (online) {
        // A web page that could not be loaded gives way to the built-in text, as
        // offline, and is tried again for the next showing.
        auto *web = m_stack->findChild<QWidget *>(InfoPanels::panelForTab(tab, true));
        BrowserView *page = web ? web->findChild<BrowserView *>() : nullptr;
        if (page && page->hasFailed()) {
            page->retryIfFailed();
            online = false;
        } else if (page && !page->hasLoaded() && page->isEngineHeld()) {
            // The engine waits for the window's first frame: the built-in text
            // shows until the page has arrived, and the page then takes its place.
            page->loadEvenIfHidden();
            bringToFront(m_stack->findChild<QWidget *>(InfoPanels::panelForTab(tab, false)));
            m_awaitedTab = tab;
            return;
        }
    }
    bringToFront(m_stack->findChild<QWidget *>(InfoPanels::panelForTab(tab, online)));
}

void InfoPages::showPageWhenItArrives(BrowserView *page, int tab)
{
    connect(page, &BrowserView::loadSucceeded, this, [this, page, tab] {
        // Only where its built-in text stands in for it, on its own tab still.
        if (m_awaitedTab == tab && m_tabs->currentIndex() == tab)
            bringToFront(page->parentWidget());
    });
}

void InfoPages::showBuiltInTextWhenPageFails(BrowserView *page, int tab)
{
    connect(page, &BrowserView::loadFailed, this, [this, page, tab] {
        // Failed while in front: the built-in text takes its place at once.
        if (m_stack->currentWidget() == page->parentWidget())
            bringToFront(m_stack->findChild<QWidget *>(InfoPanels::panelForTab(tab, false)));
    });
}

void InfoPages::showSheetPage(const char *browserName, const char *path)
{
    HourglassCursor hourglass;
    BrowserView *view = browser(browserName);
    if (CheckInternetConnection()) {
        view->setBrowserVisible(true);
        view->navigate(SiteAddress::page(QLatin1StringView(path)));
    } else {
        view->setBrowserVisible(false);
    }
}

void InfoPages::showReadMe()
{
    bringToFront(m_stack->findChild<QWidget *>(QStringLiteral("pnlReadMePanel")));
}

void InfoPages::collapseSidePanel()
{
    m_sidePanel->setFixedWidth(InfoPanels::CollapsedWidth);
}

bool InfoPages::isSidePanelCollapsed() const
{
    return m_sidePanel->width() == InfoPanels::CollapsedWidth;
}

void InfoPages::expandSidePanel()
{
    m_sidePanel->setFixedWidth(InfoPanels::expandedWidth(m_window->width()));
    browser("wb1")->retryIfFailed(); // opened again: a page that failed gets another try
}

void InfoPages::fitSidePanel()
{
    if (!isSidePanelCollapsed())
        m_sidePanel->setFixedWidth(InfoPanels::expandedWidth(m_window->width()));
}

bool InfoPages::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_sidePanel || watched == m_sidePanel->tabBar()) && event->type() == QEvent::MouseButtonPress)
        Q_EMIT sidePanelPressed(static_cast<QMouseEvent *>(event)->button());
    return QObject::eventFilter(watched, event);
}
