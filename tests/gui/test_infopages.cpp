#include "../ScriptedSource.h"
#include "GuiTestDoubles.h"

#include "app/CheckListBox.h"
#include "widgets/Dialogs.h"
#include "app/Main.h"
#include "app/ResultColumn.h"
#include "app/WordListModel.h"
#include "info/BrowserView.h"
#include "info/BuiltInText.h"
#include "info/InfoPanels.h"
#include "info/LinkOpener.h"
#include "info/SiteAddress.h"
#include "thesaurus/LanguageTable.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTextBlock>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QtTest>

#include <functional>
#include <tuple>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Web pages take their time to start up and load.
constexpr int PageTimeout = 30000;

// A page of our site with every way off it.
const QByteArray LinksPage = "<html><body>"
                             "<a id=away href='http://elsewhere.invalid/page'>away</a>"
                             "<a id=file href='file:///etc/hostname'>file</a>"
                             "<a id=newWindow target=_blank href='/FAQ/new.html'>new window</a>"
                             "<a id=home href='/FAQ/other.html'>home</a>"
                             "<button id=scripted onclick=\"location.href='http://elsewhere.invalid/script'\">s</button>"
                             "<button id=popup onclick=\"window.open('http://elsewhere.invalid/popup')\">p</button>"
                             "</body></html>";
const QByteArray TimerPage = "<html><body><script>setTimeout(() => {"
                             " location.href = 'http://elsewhere.invalid/timer';"
                             " setTimeout(() => { location.href = '/FAQ/after.html'; }, 300); }, 0);"
                             "</script></body></html>";

BrowserView *browser(const TForm1 &form, const char *name)
{
    return form.findChild<BrowserView *>(QLatin1StringView(name));
}

QTabWidget *pgc1(const TForm1 &form)
{
    return form.findChild<QTabWidget *>(u"pgc1"_s);
}
QTabWidget *pgc2(const TForm1 &form)
{
    return form.findChild<QTabWidget *>(u"pgc2"_s);
}

// The Info side panel's one-line hint, which stands in for a page that cannot be shown.
QLabel *sideHint(const TForm1 &form)
{
    return form.findChild<QLabel *>(u"lblMeaningsHint"_s);
}

// A panel's heading: large and bold.
bool hasHeadingFont(const QLabel *heading)
{
    const QFont font = heading->font();
    return font.family() == u"Calibri"_s && font.pointSizeF() == 20 && font.bold();
}

// The panel of the content stack that is in front.
QString front(const TForm1 &form)
{
    return form.findChild<QStackedWidget *>(u"ContentStack"_s)->currentWidget()->objectName();
}

void clickTab(TForm1 &form, int index)
{
    QTabBar *bar = pgc1(form)->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

void clickButton(TForm1 &form, const QString &name)
{
    auto *button = form.findChild<QPushButton *>(name);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

void pressInfoTab(TForm1 &form, Qt::MouseButton button)
{
    QTabBar *bar = pgc2(form)->tabBar();
    QTest::mousePress(bar, button, {}, bar->tabRect(0).center());
    QTest::mouseRelease(bar, button, {}, bar->tabRect(0).center());
}

// Calls back at every paint of a widget, before the widget paints.
class PaintWatch : public QObject
{
public:
    PaintWatch(QWidget *widget, std::function<void()> onPaint) : m_onPaint(std::move(onPaint))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            m_onPaint();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onPaint;
};

// The first link of a text: its address and a point on it, scrolled into view.
std::pair<QString, QPoint> firstLink(QTextEdit *text)
{
    for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isAnchor())
                continue;
            QTextCursor cursor(text->document());
            cursor.setPosition(fragment.position() + fragment.length() / 2);
            text->setTextCursor(cursor);
            text->ensureCursorVisible();
            return {fragment.charFormat().anchorHref(), text->cursorRect(cursor).center()};
        }
    }
    return {};
}

} // namespace

// Takes the addresses the desktop would open in the user's browser.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

class TestInfoPages : public QObject
{
    Q_OBJECT

    QHttpServer m_server;
    std::shared_ptr<GuiTestDoubles::StubConnectivity::Network> m_network; // switched by the test
    std::shared_ptr<QStringList> m_opened;                                // addresses handed to the default browser
    QStringList m_requested;                                              // paths the server was asked for
    QString m_base;
    QStringList m_errors;

    std::unique_ptr<TForm1> makeWindow(bool online, const QString &script = {})
    {
        m_network->online = online;
        m_network->asks = 0;
        return std::make_unique<TForm1>(ScriptedSource::fromText(script));
    }

    void show(TForm1 &form)
    {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }

    // Right click on a row of the first column, then a click on an item of its menu.
    void chooseFromMenu(TForm1 &form, int row, const QString &item)
    {
        CheckListBox *list = form.columns().at(0)->list();
        const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
        QTest::mouseClick(form.windowHandle(), Qt::RightButton, {}, list->viewport()->mapTo(&form, at));
        QMenu *menu = form.columns().at(0)->popupMenu();
        QTRY_VERIFY(menu->isVisible());
        QAction *action = menu->findChild<QAction *>(item);
        QVERIFY(action);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        QTRY_VERIFY(!menu->isVisible());
    }

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private Q_SLOTS:
    void initTestCase()
    {
        m_network = GuiTestDoubles::installStubConnectivity();
        m_opened = GuiTestDoubles::installRecordingLinkOpener();
        m_server.setMissingHandler([this](const QHttpServerRequest &request, QHttpServerResponder &&responder) {
            const QString path = request.url().path();
            m_requested.append(path);
            if (path == u"/links.html" || path == u"/timer.html") {
                responder.write(path == u"/links.html" ? LinksPage : TimerPage,
                                {{"Content-Type", "text/html; charset=utf-8"}, {"Cache-Control", "no-store"}});
                return;
            }
            responder.write(u"<html><head><title>%1</title></head><body><p>%1</p></body></html>"_s.arg(path).toUtf8(),
                            {{"Content-Type", "text/html; charset=utf-8"}, {"Cache-Control", "no-store"}});
        });
        const quint16 port = m_server.listen(QHostAddress::LocalHost);
        QVERIFY(port != 0);
        m_base = u"http://127.0.0.1:%1"_s.arg(port);
        SiteAddress::setBaseUrlForTesting(m_base);
        Dialogs::setMessageRecorder([this](Dialogs::MessageKind, const QString &text) { m_errors.append(text); });
    }

    void init()
    {
        m_opened->clear();
        m_errors.clear();
    }

    void cleanup()
    {
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void pagesAtCreation_data()
    {
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("panelWidth");
        QTest::newRow("online") << true << 563; // half the design client width of 1126
        QTest::newRow("offline") << false << InfoPanels::CollapsedWidth;
    }

    void pagesAtCreation()
    {
        QFETCH(bool, online);
        QFETCH(int, panelWidth);
        const auto form = makeWindow(online);
        QCOMPARE(m_network->asks, 1);

        // Loaded online or not; the tab sheets' own browsers wait for their tabs.
        const QList<std::pair<const char *, QString>> expected = {
            {"wb1", u"/FAQ/index.html"_s},
            {"wb5", u"/FAQ/mainhelp.html"_s},
            {"wb6", u"/FAQ/mainabout.html"_s},
            {"wb7", u"/FAQ/maincontact.html"_s},
            {"wb8", u"/FAQ/mainsettings.html"_s},
            {"wb2", {}},
            {"wb3", {}},
            {"wb4", {}},
        };
        for (const auto &[name, path] : expected) {
            QVERIFY2(browser(*form, name), name);
            QCOMPARE(browser(*form, name)->navigations(), path.isEmpty() ? QStringList() : QStringList{m_base + path});
        }
        QCOMPARE(pgc1(*form)->currentIndex(), 0);
        QCOMPARE(front(*form), u"pnlSearchPanel"_s);

        m_requested.clear();
        show(*form);
        QTRY_COMPARE(pgc2(*form)->width(), panelWidth);
        QCOMPARE(form->width(), 1126);
        // The Info panel's page really arrives, collapsed panel or not.
        QTRY_VERIFY_WITH_TIMEOUT(m_requested.contains(u"/FAQ/index.html"_s), PageTimeout);
        QCOMPARE(browser(*form, "wb1")->navigations().size(), 1);
    }

    void tabChanges()
    {
        struct Step {
            int tab;
            bool online;
            const char *panel;
            int asks;          // connectivity tests of the click
            const char *sheet; // the tab's own browser, if any
            int navigations;   // of that browser so far
            bool browserVisible;
        };
        const Step steps[] = {
            {1, true, "pnlWebHelp", 2, "wb2", 1, true},
            {2, true, "pnlWebAbout", 2, "wb3", 1, true},
            {3, false, "pnlNewsLetterPanel", 2, "wb4", 0, false},
            {4, false, "pnlSettings", 1, nullptr, 0, true},
            {0, false, "pnlSearchPanel", 0, nullptr, 0, true},
            {1, false, "pnlReadMePanel", 2, "wb2", 1, false},
            {2, false, "pnlHelpPanel", 2, "wb3", 1, false},
            {4, true, "pnlWebSettings", 1, nullptr, 0, true},
            // Shown online again, a browser hidden offline comes back.
            {3, true, "pnlWebContacts", 2, "wb4", 1, true},
            {1, true, "pnlWebHelp", 2, "wb2", 2, true},
            {0, true, "pnlSearchPanel", 0, nullptr, 0, true},
        };
        const QHash<QString, QString> sheetPages = {
            {u"wb2"_s, u"/FAQ/help.html"_s}, {u"wb3"_s, u"/FAQ/about.html"_s}, {u"wb4"_s, u"/FAQ/contact.html"_s}};

        const auto form = makeWindow(true);
        show(*form);
        // The web engine has started, after the first frame: an online tab shows its web panel.
        QTRY_VERIFY(browser(*form, "wb1")->view());
        m_requested.clear();
        int number = 0;
        for (const Step &step : steps) {
            const QByteArray where = "step " + QByteArray::number(++number);
            m_network->online = step.online;
            m_network->asks = 0;
            clickTab(*form, step.tab);
            QCOMPARE(pgc1(*form)->currentIndex(), step.tab);
            QVERIFY2(front(*form) == QLatin1StringView(step.panel), QByteArray(where + ": " + front(*form).toUtf8()));
            QVERIFY2(m_network->asks == step.asks, where);
            if (!step.sheet)
                continue;
            BrowserView *sheet = browser(*form, step.sheet);
            const QStringList expected(step.navigations, m_base + sheetPages.value(QLatin1StringView(step.sheet)));
            QVERIFY2(sheet->navigations() == expected, where);
            QVERIFY2(sheet->isBrowserVisible() == step.browserVisible, where);
            QVERIFY2(sheet->view() && sheet->view()->isHidden() == !step.browserVisible, where);
            // Every navigation really reaches the site.
            QTRY_COMPARE_WITH_TIMEOUT(m_requested.count(sheetPages.value(QLatin1StringView(step.sheet))),
                                      step.navigations, PageTimeout);
        }
    }

    // A page that cannot be loaded never shows the web view's error page: the
    // built-in text (or the area's note) stands in its place, and the page is tried
    // again at its next showing.
    void pagesThatCannotBeLoaded()
    {
        // A port where nothing listens: the connection is refused.
        quint16 port = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            port = probe.serverPort();
        }
        SiteAddress::setBaseUrlForTesting(u"http://127.0.0.1:%1"_s.arg(port));
        const auto restore = qScopeGuard([this] { SiteAddress::setBaseUrlForTesting(m_base); });
        const auto form = makeWindow(true);
        show(*form);

        // The side panel's page fails: the hint to click a word, not the error page.
        BrowserView *wb1 = browser(*form, "wb1");
        QTRY_VERIFY_WITH_TIMEOUT(wb1->hasFailed(), PageTimeout);
        QVERIFY(wb1->view()->isHidden());
        QVERIFY(sideHint(*form)->isVisible());
        QVERIFY(!wb1->isVisible());

        // The Help tab: its web page fails and the built-in guide takes its place;
        // the tab sheet's own page fails and gives way to its note.
        BrowserView *wb5 = browser(*form, "wb5");
        BrowserView *wb2 = browser(*form, "wb2");
        clickTab(*form, 1);
        QTRY_VERIFY_WITH_TIMEOUT(wb5->hasFailed(), PageTimeout);
        QCOMPARE(front(*form), u"pnlReadMePanel"_s);
        QTRY_VERIFY_WITH_TIMEOUT(wb2->hasFailed(), PageTimeout);
        QVERIFY(wb2->view()->isHidden());

        // The site answers now.
        QHttpServer late;
        late.setMissingHandler([](const QHttpServerRequest &request, QHttpServerResponder &&responder) {
            responder.write(u"<html><body><p>%1</p></body></html>"_s.arg(request.url().path()).toUtf8(),
                            {{"Content-Type", "text/html; charset=utf-8"}, {"Cache-Control", "no-store"}});
        });
        QCOMPARE(late.listen(QHostAddress::LocalHost, port), port);

        // The next showing keeps the built-in text and tries the page again ...
        clickTab(*form, 0);
        clickTab(*form, 1);
        QCOMPARE(front(*form), u"pnlReadMePanel"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!wb5->hasFailed(), PageTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(!wb2->hasFailed(), PageTimeout);
        QVERIFY(wb2->view()->isVisible());
        // ... and the one after that shows the page that arrived.
        clickTab(*form, 0);
        clickTab(*form, 1);
        QCOMPARE(front(*form), u"pnlWebHelp"_s);
        QVERIFY(wb5->view()->isVisible());

        // The side panel tries again when it is opened again.
        clickButton(*form, u"Button1"_s);
        QTRY_COMPARE(pgc2(*form)->width(), InfoPanels::CollapsedWidth);
        pressInfoTab(*form, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!wb1->hasFailed(), PageTimeout);
        QVERIFY(wb1->view()->isVisible());
        QVERIFY(!wb1->unavailableNote()->isVisible());
        QVERIFY(!sideHint(*form)->isVisible());
    }

    // A base address under a name reserved never to resolve: every page area shows
    // its built-in content at once, whatever is opened, and no web view is ever made.
    void reservedSiteStartsNoEngine_data()
    {
        QTest::addColumn<bool>("online");
        QTest::newRow("online") << true;
        QTest::newRow("offline") << false;
    }

    void reservedSiteStartsNoEngine()
    {
        QFETCH(bool, online);
        const QString reserved = u"https://verbarium-pro.example"_s;
        SiteAddress::setBaseUrlForTesting(reserved);
        const auto restore = qScopeGuard([this] { SiteAddress::setBaseUrlForTesting(m_base); });
        const auto webViews = [] {
            int count = 0;
            for (QWidget *widget : QApplication::allWidgets())
                count += qobject_cast<QWebEngineView *>(widget) ? 1 : 0;
            return count;
        };
        const int before = webViews(); // other tests' windows may be going still
        const auto form = makeWindow(online);
        show(*form);
        // The panel's sizing is as ever; its note shows at once.
        QTRY_COMPARE(pgc2(*form)->width(), online ? 563 : InfoPanels::CollapsedWidth);
        BrowserView *wb1 = browser(*form, "wb1");
        QCOMPARE(wb1->navigations(), QStringList{reserved + u"/FAQ/index.html"_s});
        QVERIFY(wb1->neverLoads() && wb1->hasFailed());
        QVERIFY(wb1->unavailableNote() && !wb1->unavailableNote()->text().isEmpty());
        // The hint to click a word stands in the page's place, and the note with it.
        QVERIFY(!wb1->unavailableNote()->isVisible());
        QCOMPARE(sideHint(*form)->text(), u"Click a word to see its meanings"_s);
        QVERIFY(sideHint(*form)->isVisible());

        // Every tab, online or not, shows its built-in text, and the sheets their note.
        const std::pair<int, const char *> tabs[] = {
            {1, "pnlReadMePanel"}, {2, "pnlHelpPanel"}, {3, "pnlNewsLetterPanel"}, {4, "pnlSettings"}, {1, "pnlReadMePanel"}};
        for (const auto &[tab, panel] : tabs) {
            clickTab(*form, tab);
            QCOMPARE(front(*form), QLatin1StringView(panel));
        }
        // Help is the current tab, shown twice; About and Contact once.
        const std::tuple<const char *, int, bool> sheets[] = {{"wb2", 2, true}, {"wb3", 1, false}, {"wb4", 1, false}};
        for (const auto &[sheet, shown, current] : sheets) {
            BrowserView *view = browser(*form, sheet);
            QCOMPARE(view->navigations().size(), online ? shown : 0);
            QCOMPARE(view->unavailableNote() && view->unavailableNote()->isVisible(), online && current);
        }
        clickButton(*form, u"btn7"_s);
        QCOMPARE(front(*form), u"pnlReadMePanel"_s);
        clickButton(*form, u"Button1"_s);
        pressInfoTab(*form, Qt::LeftButton); // opened again: no new try either
        QTRY_COMPARE(pgc2(*form)->width(), 563);

        // Long after the first frame: still no web view, in the window or anywhere.
        QTest::qWait(300);
        QCOMPARE(form->findChildren<QWebEngineView *>().size(), 0);
        QCOMPARE(webViews(), before);
    }

    // A served site: the window's first frame holds no web view; a tab opened before
    // the engine starts shows its built-in text, and its page takes the place of
    // that text once it has arrived, as the side panel's page does.
    void servedSiteAfterTheFirstFrame()
    {
        const auto form = makeWindow(true);
        m_requested.clear();
        int webViewsAtFirstPaint = -1;
        const auto filter = std::make_unique<PaintWatch>(form.get(), [&] {
            if (webViewsAtFirstPaint < 0)
                webViewsAtFirstPaint = int(form->findChildren<QWebEngineView *>().size());
        });

        // Opened before the window is shown: the built-in text is in front.
        pgc1(*form)->setCurrentIndex(1);
        QCOMPARE(front(*form), u"pnlReadMePanel"_s);
        show(*form);
        QCOMPARE(webViewsAtFirstPaint, 0);
        BrowserView *wb5 = browser(*form, "wb5");
        BrowserView *wb1 = browser(*form, "wb1");
        // The page arrives, and replaces the text; the side panel shows its page.
        QTRY_VERIFY_WITH_TIMEOUT(wb5->hasLoaded(), PageTimeout);
        QCOMPARE(front(*form), u"pnlWebHelp"_s);
        QVERIFY(wb5->view()->isVisible());
        // The panel was made at the start; its heading has its face now that it is in front.
        auto *heading = wb5->parentWidget()->findChild<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(heading && heading->isVisible() && heading->text() == u"Help"_s);
        QVERIFY(hasHeadingFont(heading));
        QTRY_VERIFY_WITH_TIMEOUT(wb1->hasLoaded(), PageTimeout);
        QVERIFY(wb1->view()->isVisible());
        QVERIFY(m_requested.contains(u"/FAQ/mainhelp.html"_s));
        QCOMPARE(m_requested.count(u"/FAQ/index.html"_s), 1);

        // A page that arrives after the user went elsewhere stays where it is.
        const auto other = makeWindow(true);
        pgc1(*other)->setCurrentIndex(2);
        QCOMPARE(front(*other), u"pnlHelpPanel"_s);
        pgc1(*other)->setCurrentIndex(0);
        show(*other);
        QTRY_VERIFY_WITH_TIMEOUT(browser(*other, "wb6")->hasLoaded(), PageTimeout);
        QCOMPARE(front(*other), u"pnlSearchPanel"_s);
        // The Help button's guide stays too, whatever page arrives meanwhile.
        const auto third = makeWindow(true);
        pgc1(*third)->setCurrentIndex(1);
        show(*third);
        clickButton(*third, u"btn7"_s);
        QTRY_VERIFY_WITH_TIMEOUT(browser(*third, "wb5")->hasLoaded(), PageTimeout);
        QCOMPARE(front(*third), u"pnlReadMePanel"_s);
    }

    // A page that was shown and fails later gives way to the built-in text, also
    // one that was waited for; a later showing tries it again.
    void pageThatFailsLater()
    {
        auto server = std::make_unique<QHttpServer>();
        server->setMissingHandler([](const QHttpServerRequest &request, QHttpServerResponder &&responder) {
            responder.write(u"<html><body>%1</body></html>"_s.arg(request.url().path()).toUtf8(),
                            {{"Content-Type", "text/html; charset=utf-8"}, {"Cache-Control", "no-store"}});
        });
        const quint16 port = server->listen(QHostAddress::LocalHost);
        QVERIFY(port != 0);
        SiteAddress::setBaseUrlForTesting(u"http://127.0.0.1:%1"_s.arg(port));
        const auto restore = qScopeGuard([this] { SiteAddress::setBaseUrlForTesting(m_base); });

        const auto form = makeWindow(true);
        show(*form);
        clickTab(*form, 3);
        BrowserView *wb7 = browser(*form, "wb7");
        QTRY_VERIFY_WITH_TIMEOUT(wb7->hasLoaded(), PageTimeout);
        QCOMPARE(front(*form), u"pnlWebContacts"_s);

        server.reset(); // the site goes away
        qobject_cast<QWebEngineView *>(wb7->view())->reload();
        QTRY_VERIFY_WITH_TIMEOUT(wb7->hasFailed(), PageTimeout);
        QCOMPARE(front(*form), u"pnlNewsLetterPanel"_s);
        QVERIFY(!wb7->hasLoaded());
        // Shown again: the text, and a new try.
        clickTab(*form, 0);
        clickTab(*form, 3);
        QCOMPARE(front(*form), u"pnlNewsLetterPanel"_s);
    }

    void helpButton()
    {
        const auto form = makeWindow(true);
        show(*form);
        m_requested.clear();
        BrowserView *wb2 = browser(*form, "wb2");

        // Online the sheet loads its page, and still the built-in guide is in front.
        m_network->asks = 0;
        clickButton(*form, u"btn7"_s);
        QCOMPARE(pgc1(*form)->currentIndex(), 1);
        QCOMPARE(front(*form), u"pnlReadMePanel"_s);
        QCOMPARE(wb2->navigations(), QStringList{m_base + u"/FAQ/help.html"_s});
        QCOMPARE(m_network->asks, 1); // the sheet's test only: no tab-change handling
        QTRY_VERIFY_WITH_TIMEOUT(m_requested.contains(u"/FAQ/help.html"_s), PageTimeout);

        clickTab(*form, 0);
        QCOMPARE(front(*form), u"pnlSearchPanel"_s);

        m_network->online = false;
        clickButton(*form, u"btn7"_s);
        QCOMPARE(pgc1(*form)->currentIndex(), 1);
        QCOMPARE(front(*form), u"pnlReadMePanel"_s);
        QCOMPARE(wb2->navigations().size(), 1);
        QVERIFY(!wb2->isBrowserVisible());
        QVERIFY(wb2->view()->isHidden());
    }

    void infoPanelWidth()
    {
        const auto form = makeWindow(false);
        show(*form);
        QTabWidget *panel = pgc2(*form);
        QTRY_COMPARE(panel->width(), 30);

        // Only a left press opens the collapsed panel.
        pressInfoTab(*form, Qt::RightButton);
        QTest::qWait(20);
        QCOMPARE(panel->width(), 30);
        pressInfoTab(*form, Qt::LeftButton);
        QTRY_COMPARE(panel->width(), 563);

        // An open panel follows the window at half its client width, a half pixel to even.
        const std::pair<int, int> sizes[] = {{1125, 562}, {1127, 564}, {1126, 563}, {1400, 700}};
        for (const auto &[clientWidth, half] : sizes) {
            form->resize(clientWidth, form->height());
            QTRY_COMPARE(form->width(), clientWidth);
            QTRY_COMPARE(panel->width(), half);
        }
        // A press on an open panel changes nothing.
        pressInfoTab(*form, Qt::LeftButton);
        QTest::qWait(20);
        QCOMPARE(panel->width(), 700);

        clickButton(*form, u"Button1"_s);
        QTRY_COMPARE(panel->width(), 30);
        clickButton(*form, u"Button1"_s);
        QTest::qWait(20);
        QCOMPARE(panel->width(), 30);
        // A collapsed panel stays collapsed whatever the window does.
        form->resize(1200, form->height());
        QTRY_COMPARE(form->width(), 1200);
        QTest::qWait(20);
        QCOMPARE(panel->width(), 30);
        pressInfoTab(*form, Qt::LeftButton);
        QTRY_COMPARE(panel->width(), 600);
        QCOMPARE(m_network->asks, 1); // only at creation
    }

    void linkClicks()
    {
        const auto form = makeWindow(false);
        show(*form);

        // Left and right clicks on a link of every built-in text that has links.
        const std::pair<int, const char *> texts[] = {{1, "cxRichEdit1"}, {2, "RichEdit1"}, {3, "cxRichEdit2"}};
        for (const auto &[tab, name] : texts) {
            clickTab(*form, tab);
            auto *text = form->findChild<BuiltInText *>(QLatin1StringView(name));
            QVERIFY2(text && text->isVisible(), name);
            m_opened->clear();

            // Off a link nothing opens.
            QTextCursor start(text->document());
            text->setTextCursor(start);
            text->ensureCursorVisible();
            const QPoint plain = text->cursorRect(start).center() + QPoint(2, 0);
            QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, plain);
            QTest::mouseClick(text->viewport(), Qt::RightButton, {}, plain);
            QVERIFY2(m_opened->isEmpty(), name);

            const auto [href, at] = firstLink(text);
            QVERIFY2(href.startsWith(m_base + u'/') || href == m_base, qPrintable(href));
            QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, at);
            QCOMPARE(*m_opened, QStringList{href});
            // Through the window, as the press also asks for the context menu.
            QTest::mouseClick(form->windowHandle(), Qt::RightButton, {}, text->viewport()->mapTo(form.get(), at));
            QCOMPARE(*m_opened, (QStringList{href, href}));
            QVERIFY(!QApplication::activePopupWidget());
        }

        // The footer's link goes to the site.
        m_opened->clear();
        auto *footer = form->findChild<QLabel *>(u"LinkLabel1"_s);
        QVERIFY(footer && footer->isVisible());
        const QPoint onLink(footer->fontMetrics().horizontalAdvance(u"M"_s), footer->height() / 2);
        QTest::mouseClick(footer, Qt::LeftButton, {}, onLink);
        QCOMPARE(*m_opened, QStringList{m_base});

        // Only web addresses are handed over, from either handler.
        m_opened->clear();
        const QString refused[] = {u"mailto:info@example.com"_s, u"file:///etc/passwd"_s,
                                   u"javascript:alert(1)"_s,     u"ftp://example.com/file"_s,
                                   u"data:text/html,hi"_s,       u"http://"_s,
                                   u"example.com/page"_s,        QString()};
        auto *helpText = form->findChild<BuiltInText *>(u"cxRichEdit1"_s);
        QVERIFY(helpText);
        for (const QString &address : refused) {
            Q_EMIT helpText->linkClicked(address);
            Q_EMIT footer->linkActivated(address);
        }
        QCOMPARE(*m_opened, QStringList());
        Q_EMIT helpText->linkClicked(u"HTTPS://example.com/a"_s);
        QCOMPARE(m_opened->size(), 1);
        QCOMPARE(m_network->asks, 1 + 2 * 3); // links never test the connection
    }

    // The real opener hands the desktop the address it accepted. A web page gives
    // its links decoded ("a%20b" comes as "a b"): such a link opens as well.
    void desktopOpenerOpensWhatItAccepts_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("path"); // of the address the browser gets
        QTest::newRow("a space, as a page gives it") << QUrl(u"https://example.org/a%20b"_s).toString() << u"/a b"_s;
        QTest::newRow("a space, encoded") << u"https://example.org/a%20b"_s << u"/a b"_s;
        QTest::newRow("non-ASCII") << u"https://example.org/wiki/Straße"_s << u"/wiki/Straße"_s;
        QTest::newRow("scheme in capitals") << u"HTTP://example.org/a"_s << u"/a"_s;
    }
    void desktopOpenerOpensWhatItAccepts()
    {
        QFETCH(QString, address);
        QFETCH(QString, path);
        UrlCatcher catcher;
        for (const QString &scheme : {u"http"_s, u"https"_s})
            QDesktopServices::setUrlHandler(scheme, &catcher, "open");
        LinkOpener::setInstance(std::make_unique<DesktopLinkOpener>());
        const auto restore = qScopeGuard([this] {
            for (const QString &scheme : {u"http"_s, u"https"_s})
                QDesktopServices::unsetUrlHandler(scheme);
            m_opened = GuiTestDoubles::installRecordingLinkOpener();
        });

        QVERIFY(LinkOpener::instance().openLink(address));
        QCOMPARE(catcher.urls.size(), 1);
        QVERIFY2(catcher.urls.first().isValid(), qPrintable(catcher.urls.first().errorString()));
        QCOMPARE(catcher.urls.first().host(), u"example.org"_s);
        QCOMPARE(catcher.urls.first().path(), path);
    }

    // A built-in text, whichever way its panel first comes to the front, shows every
    // line of its file under its heading and is named for screen readers.
    void builtInTextsWhenFirstInFront()
    {
        quint16 refusedPort = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            refusedPort = probe.serverPort();
        }
        struct Way {
            const char *what;
            bool online;
            bool refused; // the site refuses every connection
            std::function<void(TForm1 &)> bring;
            const char *panel;
            const char *text;
            const char *file;
            QString heading;
        };
        const auto tab = [](int index) { return [index](TForm1 &form) { clickTab(form, index); }; };
        const Way ways[] = {
            {"Help tab offline", false, false, tab(1), "pnlReadMePanel", "cxRichEdit1", ":/texts/help.txt", u"Help"_s},
            {"About tab offline", false, false, tab(2), "pnlHelpPanel", "RichEdit1", ":/texts/about.txt", u"About"_s},
            {"Contact tab offline", false, false, tab(3), "pnlNewsLetterPanel", "cxRichEdit2", ":/texts/contact.txt",
             u"Contacts"_s},
            {"Settings tab offline", false, false, tab(4), "pnlSettings", "cxRichEdit3", ":/texts/settings.txt",
             u"Settings"_s},
            {"Help button online", true, false, [](TForm1 &form) { clickButton(form, u"btn7"_s); }, "pnlReadMePanel",
             "cxRichEdit1", ":/texts/help.txt", u"Help"_s},
            {"Help tab online, its page refused", true, true, tab(1), "pnlReadMePanel", "cxRichEdit1",
             ":/texts/help.txt", u"Help"_s},
        };
        for (const Way &way : ways) {
            SiteAddress::setBaseUrlForTesting(way.refused ? u"http://127.0.0.1:%1"_s.arg(refusedPort) : m_base);
            const auto restore = qScopeGuard([this] { SiteAddress::setBaseUrlForTesting(m_base); });
            const auto form = makeWindow(way.online);
            show(*form);
            way.bring(*form);
            QTRY_VERIFY2_WITH_TIMEOUT(front(*form) == QLatin1StringView(way.panel), way.what, PageTimeout);

            auto *text = form->findChild<BuiltInText *>(QLatin1StringView(way.text));
            QVERIFY2(text && text->isVisible(), way.what);
            QCOMPARE(QAccessible::queryAccessibleInterface(text)->text(QAccessible::Name), way.heading);
            auto *title = text->parentWidget()->findChild<QLabel *>();
            QVERIFY2(title && title->isVisible() && title->text() == way.heading, way.what);
            QVERIFY2(hasHeadingFont(title), way.what);

            QFile file(QLatin1StringView(way.file));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
            QCOMPARE(text->document()->blockCount(), lines.size());
            const QString shown = text->document()->toPlainText();
            for (QString line : lines) {
                line.replace(u"%SITE%"_s, SiteAddress::baseUrl());
                QVERIFY2(shown.contains(line), qPrintable(u"%1: \"%2\""_s.arg(QLatin1StringView(way.what), line)));
            }
        }
    }

    // A panel's page stays on our site: a click that leads elsewhere or asks for a new
    // window goes to the user's browser; a script cannot take the page off the site
    // by itself; file links lead nowhere; scripts still run.
    void browsingKeptToTheSite()
    {
        BrowserView view;
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        auto *web = qobject_cast<QWebEngineView *>(view.view());
        QVERIFY(web);
        QVERIFY(web->settings()->testAttribute(QWebEngineSettings::JavascriptEnabled));
        QVERIFY(!web->settings()->testAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls));
        QVERIFY(!web->settings()->testAttribute(QWebEngineSettings::NavigateOnDropEnabled));

        QSignalSpy loaded(web, &QWebEngineView::loadFinished);
        QSignalSpy urls(web, &QWebEngineView::urlChanged);
        view.navigate(m_base + u"/links.html"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), PageTimeout);
        // A real mouse click on the element: a script's click() opens no window.
        const auto click = [&](const QString &id) {
            QVariantList centre;
            web->page()->runJavaScript(u"(() => { const r = document.getElementById('%1').getBoundingClientRect();"
                                       " return [r.x + r.width / 2, r.y + r.height / 2]; })()"_s.arg(id),
                                       [&](const QVariant &result) { centre = result.toList(); });
            QTRY_COMPARE_WITH_TIMEOUT(centre.size(), 2, PageTimeout);
            QTest::mouseClick(web->focusProxy(), Qt::LeftButton, {}, QPoint(centre[0].toInt(), centre[1].toInt()));
        };

        // Every click that leads off the site, by a link, a link for a new window or
        // a script, goes to the user's browser; a file link goes nowhere.
        click(u"file"_s);
        const std::pair<QString, QString> handedOver[] = {
            {u"away"_s, u"http://elsewhere.invalid/page"_s},
            {u"scripted"_s, u"http://elsewhere.invalid/script"_s},
            {u"popup"_s, u"http://elsewhere.invalid/popup"_s},
            {u"newWindow"_s, m_base + u"/FAQ/new.html"_s},
        };
        QStringList expected;
        for (const auto &[id, address] : handedOver) {
            click(id);
            expected.append(address);
            QTRY_COMPARE_WITH_TIMEOUT(m_opened->size(), expected.size(), PageTimeout);
            QCOMPARE(*m_opened, expected);
        }
        click(u"home"_s);
        QTRY_COMPARE_WITH_TIMEOUT(web->url().path(), u"/FAQ/other.html"_s, PageTimeout);
        // A page's script that goes elsewhere on its own never takes the panel off
        // the site: the page stays and its next step, on the site, follows. (The web
        // engine reports such a step as a link, so it goes to the user's browser.)
        view.navigate(m_base + u"/timer.html"_s);
        QTRY_COMPARE_WITH_TIMEOUT(web->url().path(), u"/FAQ/after.html"_s, PageTimeout);

        for (const QList<QVariant> &change : std::as_const(urls))
            QVERIFY2(change.at(0).toUrl().host() == u"127.0.0.1", qPrintable(change.at(0).toUrl().toString()));
        QCOMPARE(m_opened->mid(0, expected.size()), expected);
        QVERIFY(m_opened->size() <= expected.size() + 1);
        QVERIFY(!m_requested.contains(u"/FAQ/new.html"_s)); // the new window's page was never loaded here
    }

    void dictionaryMenuItem()
    {
        const auto form = makeWindow(false, u"ice: ice cream, frost"_s);
        show(*form);
        form->findChild<QLineEdit *>(u"edt1"_s)->setText(u"ice"_s);
        clickButton(*form, u"btn2"_s);
        QCOMPARE(form->columns().size(), 1);
        auto *languages = form->findChild<QComboBox *>(u"cbb2"_s);
        const QString lookup = m_base + u"/dictionaries/lookup.php?"_s;
        m_network->asks = 0;

        languages->setCurrentIndex(LanguageTable::listIndexForName(u"German"_s));
        chooseFromMenu(*form, 0, u"miDictionary"_s);
        QCOMPARE(form->SelectedWord, u"ice cream"_s);
        QCOMPARE(*m_opened, QStringList{lookup + u"word=ice%20cream&lang=ge"_s});

        // The language is read at every lookup.
        languages->setCurrentIndex(LanguageTable::listIndexForName(u"Swedish"_s));
        chooseFromMenu(*form, 1, u"miDictionary"_s);
        QCOMPARE(form->SelectedWord, u"frost"_s);
        QCOMPARE(m_opened->value(1), lookup + u"word=frost&lang=sw"_s);

        QCOMPARE(m_network->asks, 0); // offline or not, the browser is asked

        // Typed text that matches no item leaves no item selected: no code, whatever the box shows.
        clickTab(*form, 4);
        languages->lineEdit()->selectAll();
        QTest::keyClicks(languages->lineEdit(), u"Zz"_s);
        QCOMPARE(languages->currentIndex(), -1);
        QCOMPARE(languages->currentText(), u"Zz"_s);
        clickTab(*form, 0);
        chooseFromMenu(*form, 1, u"miDictionary"_s);
        QCOMPARE(m_opened->value(2), lookup + u"word=frost&lang="_s);
        QCOMPARE(m_opened->size(), 3);
    }
};

QTEST_MAIN(TestInfoPages)
#include "test_infopages.moc"
