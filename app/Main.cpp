#include "app/Main.h"

#include "Version.h"
#include "app/CheckListBox.h"
#include "widgets/Dialogs.h"
#include "widgets/HourglassCursor.h"
#include "widgets/Logo.h"
#include "app/MissLine.h"
#include "app/ResultColumn.h"
#include "app/SelectionExport.h"
#include "app/WordListModel.h"
#include "common/AppError.h"
#include "common/LayoutMath.h"
#include "info/BrowserView.h"
#include "info/BuiltInText.h"
#include "info/Connectivity.h"
#include "info/DictionaryAddress.h"
#include "info/InfoPanels.h"
#include "info/LinkOpener.h"
#include "info/SiteAddress.h"
#include "settings/FontSettings.h"
#include "settings/SettingsFile.h"
#include "settings/TStyleManager.h"
#include "settings/TcyIniForm.h"
#include "thesaurus/LanguageTable.h"
#include "thesaurus/Generate.h"
#include "thesaurus/TSpellCheck.h"
#include "app/popOver.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QFile>
#include <QMouseEvent>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

namespace {

// Sizes are in pixels at 96 dpi; Qt scales them on denser screens.
constexpr int DesignClientWidth = 1126;
constexpr int DesignClientHeight = 756;
constexpr int MinimumOuterWidth = 1120;
constexpr int TopTabsHeight = 105;
constexpr int FooterHeight = 36;
constexpr int InfoPanelWidth = 568;

// The window's sizes are made for Tahoma, Calibri and Arial; where those faces are
// missing, their closest metric-compatible kin stand in, so that captions fit their buttons.
void substituteWindowsFonts()
{
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                                         QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Calibri"), {QStringLiteral("Carlito"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

QFont tahoma(qreal points, bool bold = false)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// An editable drop-down whose selected item follows the typing: the first item
// that begins with the typed text, or none.
void selectFollowingTyping(QComboBox *box)
{
    QObject::connect(box->lineEdit(), &QLineEdit::textEdited, box, [box](const QString &typed) {
        int match = -1;
        for (int i = 0; i < box->count() && !typed.isEmpty(); ++i) {
            if (box->itemText(i).startsWith(typed, Qt::CaseInsensitive)) {
                match = i;
                break;
            }
        }
        {
            const QSignalBlocker blocker(box); // the edit keeps what was typed
            box->setCurrentIndex(match);
            box->setEditText(typed);
        }
        Q_EMIT box->currentIndexChanged(match);
    });
}

QPushButton *button(QWidget *parent, const char *name, const QString &text, const QRect &geometry, qreal points,
                    QStyle::StandardPixmap icon = QStyle::SP_CustomBase)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1StringView(name));
    b->setGeometry(geometry);
    b->setFont(tahoma(points));
    b->setAutoDefault(false);
    b->setDefault(false);
    if (icon != QStyle::SP_CustomBase)
        b->setIcon(b->style()->standardIcon(icon));
    return b;
}

// Replaces everything on the clipboard with one Unicode text.
void putOnClipboard(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        throw AppError(QStringLiteral("Cannot open clipboard: %1").arg(QObject::tr("there is no clipboard")));
    clipboard->setText(text);
    if (clipboard->text() != text)
        throw AppError(QStringLiteral("Cannot open clipboard: %1").arg(QObject::tr("the clipboard did not take the text")));
}

QLabel *label(QWidget *parent, const char *name, const QString &text, const QPoint &at)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1StringView(name));
    l->move(at);
    l->adjustSize();
    return l;
}

} // namespace

TForm1::TForm1(std::unique_ptr<ThesaurusSource> source, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    substituteWindowsFonts();
    setWindowTitle(QStringLiteral("Verbarium Pro"));
    setWindowIcon(Logo::icon());
    setFont(tahoma(8));
    resize(DesignClientWidth, DesignClientHeight);
    keepOuterMinimumWidth();

    // The components of the window, the thesaurus first.
    SpellCheck1 = new TSpellCheck(this, std::move(source));
    SpellCheck1->setObjectName(QStringLiteral("SpellCheck1"));

    buildWindow();
    connect(pgc1, &QTabWidget::currentChanged, this, &TForm1::onTabChanged);
    connect(this, &TForm1::wordTreeRequested, this, &TForm1::openWordTree);
    describeControls();
    installShortcuts();

    // The placement store: registry mode, screen-centred start. The window is built:
    // it restores the placement now, before FormCreate.
    cyIniForm1 = new TcyIniForm(this);
    cyIniForm1->setObjectName(QStringLiteral("cyIniForm1"));
    cyIniForm1->setIniDirectory(TcyIniForm::idCommonAppData);
    cyIniForm1->setMode(TcyIniForm::mRegistry);
    TcyIniForm::setOwnerPosition(this, TcyIniForm::poScreenCenter);
    cyIniForm1->Loaded();
    FormCreate();
}

bool CheckInternetConnection()
{
    return Connectivity::instance().isOnline();
}

BrowserView *TForm1::browser(const char *name) const
{
    return findChild<BrowserView *>(QLatin1StringView(name));
}

TForm1::~TForm1()
{
    // The window goes: the placement store saves, after the Settings file was
    // written at the close request.
    cyIniForm1->Notification(this, TcyIniForm::opRemove);
}

void TForm1::GetBuildInfo(unsigned short &major, unsigned short &minor, unsigned short &release, unsigned short &build)
{
    major = Version::Major;
    minor = Version::Minor;
    release = Version::Release;
    build = Version::Build;
}

void TForm1::buildWindow()
{
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    pgc1 = new QTabWidget(this);
    pgc1->setObjectName(QStringLiteral("pgc1"));
    pgc1->setFixedHeight(TopTabsHeight);
    pgc1->addTab(buildThesaurusTab(), tr("Thesaurus Tool"));
    for (const auto &[name, caption, browser] : {std::tuple{"ts2", tr("Help"), "wb2"},
                                                 std::tuple{"ts3", tr("About"), "wb3"},
                                                 std::tuple{"ts4", tr("Contact"), "wb4"}}) {
        auto *page = new QWidget;
        page->setObjectName(QLatin1StringView(name));
        auto *layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        auto *view = new BrowserView(page);
        view->setObjectName(QLatin1StringView(browser));
        layout->addWidget(view);
        pgc1->addTab(page, caption);
    }
    pgc1->addTab(buildSettingsTab(), tr("Settings"));
    root->addWidget(pgc1);

    auto *middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    middle->addWidget(buildContentStack(), 1);
    middle->addWidget(buildInfoPanel());
    root->addLayout(middle, 1);
    root->addWidget(buildFooter());
}

void TForm1::keepOuterMinimumWidth()
{
    // The minimum is the outer width; Qt's minimum is the client's. The frame is
    // known once the window manager has framed the window, and may change with it.
    const int frame = isWindow() ? frameGeometry().width() - geometry().width() : 0;
    const int minimum = MinimumOuterWidth - std::max(0, frame);
    if (minimumWidth() != minimum)
        setMinimumWidth(minimum);
}

void TForm1::describeControls()
{
    const auto buddy = [this](const char *labelName, QWidget *field) {
        auto *caption = findChild<QLabel *>(QLatin1StringView(labelName));
        caption->setBuddy(field);
        // The caption without its colon and blanks is the field's name.
        QString name = caption->text();
        while (!name.isEmpty() && (name.back() == QLatin1Char(':') || name.back().isSpace()))
            name.chop(1);
        field->setAccessibleName(name);
        if (auto *box = qobject_cast<QComboBox *>(field); box && box->lineEdit())
            box->lineEdit()->setAccessibleName(name);
    };
    buddy("lbl1", edt1);
    buddy("lbl2", cbb1);
    buddy("lbl10", cbb2);
    buddy("lbl9", cbb3);
    buddy("lbl11", edt2);

    const auto name = [this](const char *objectName, const QString &accessibleName) {
        findChild<QWidget *>(QLatin1StringView(objectName))->setAccessibleName(accessibleName);
    };
    name("img1", tr("Verbarium Pro"));
    name("btn3", tr("Clear clipboard"));
    name("btn6", tr("Larger font"));
    name("btn5", tr("Smaller font"));
    name("pgc1", tr("Pages"));
    name("pgc2", tr("Info side panel"));
    name("ScrollBox1", tr("Results"));
    name("wb1", tr("Info"));
    for (const char *page : {"wb2", "wb5", "cxRichEdit1"})
        name(page, tr("Help"));
    for (const char *page : {"wb3", "wb6", "RichEdit1"})
        name(page, tr("About"));
    for (const char *page : {"wb4", "wb7", "cxRichEdit2"})
        name(page, tr("Contacts"));
    for (const char *page : {"wb8", "cxRichEdit3"})
        name(page, tr("Settings"));
}

void TForm1::installShortcuts()
{
    // Each key clicks its button, so that it does exactly what the button does.
    const auto bind = [this](std::initializer_list<QKeySequence> keys, const char *buttonName) {
        auto *target = findChild<QPushButton *>(QLatin1StringView(buttonName));
        for (const QKeySequence &key : keys) {
            auto *shortcut = new QShortcut(key, this);
            connect(shortcut, &QShortcut::activated, target, &QPushButton::click);
        }
    };
    bind({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}, "btn2");
    bind({QKeySequence(Qt::CTRL | Qt::Key_S)}, "btnButton2");
    bind({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)}, "btn1");
    bind({QKeySequence(Qt::Key_F1)}, "btn7");
    bind({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}, "btn6");
    bind({QKeySequence(Qt::CTRL | Qt::Key_Minus)}, "btn5");
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this), &QShortcut::activated, this, &QWidget::close);
}

QWidget *TForm1::buildThesaurusTab()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("ts1"));
    // The buttons have fixed sizes: the themes' roomy padding would clip their captions.
    page->setStyleSheet(QStringLiteral("QPushButton { padding: 2px 3px; }"));

    auto *img1 = new QLabel(page);
    img1->setObjectName(QStringLiteral("img1"));
    img1->setGeometry(0, 0, 75, 77);
    img1->setPixmap(Logo::pixmap(QSize(64, 64), devicePixelRatioF()));
    img1->setAlignment(Qt::AlignCenter);

    label(page, "lbl1", tr("Please type text here :"), {81, 11});
    edt1 = new QLineEdit(page);
    edt1->setObjectName(QStringLiteral("edt1"));
    // The depth box takes 14 pixels of the phrase box, so that "Quick Match" fits
    // it in every style.
    edt1->setGeometry(81, 30, 283, 21);
    edt1->setPlaceholderText(tr("<Type text here>"));

    label(page, "lbl2", tr("Choose level :"), {370, 11});
    cbb1 = new QComboBox(page);
    cbb1->setObjectName(QStringLiteral("cbb1"));
    cbb1->setGeometry(370, 30, 103, 21);
    cbb1->setEditable(true);
    cbb1->setInsertPolicy(QComboBox::NoInsert);
    cbb1->addItems({tr("Quick Match"), tr("Verbarium"), tr("Doraz 3")});
    cbb1->setCurrentIndex(0);
    selectFollowingTyping(cbb1);
    // The box is narrow: show a chosen depth from its start, not scrolled to its end.
    const auto showStart = [this] {
        if (!cbb1->lineEdit()->hasFocus())
            cbb1->lineEdit()->setCursorPosition(0);
    };
    connect(cbb1, &QComboBox::currentIndexChanged, this, showStart);
    showStart();

    btn2 = button(page, "btn2", tr("Generate"), {478, 18, 98, 42}, 12, QStyle::SP_MediaPlay);
    auto *btnButton2 = button(page, "btnButton2", tr("Save"), {577, 18, 98, 42}, 12, QStyle::SP_DialogSaveButton);
    auto *btn1 = button(page, "btn1", tr("Copy"), {676, 18, 64, 42}, 8, QStyle::SP_FileDialogDetailedView);
    auto *btn3 = button(page, "btn3", tr("Clear\nclipboard"), {741, 18, 64, 42}, 8);
    auto *btn4 = button(page, "btn4", tr("Font"), {806, 18, 81, 42}, 12);
    btn4->setIcon(Logo::letterIcon(QStringLiteral("Aa")));
    auto *btn7 = button(page, "btn7", tr("Help"), {888, 18, 81, 42}, 12, QStyle::SP_MessageBoxQuestion);
    auto *btn6 = button(page, "btn6", QStringLiteral("+"), {81, 51, 21, 25}, 12);
    auto *btn5 = button(page, "btn5", QStringLiteral("-"), {108, 51, 21, 25}, 12);
    btn2->setToolTip(tr("Look up the synonyms of every word of the phrase"));
    btnButton2->setToolTip(tr("Save the ticked words to a text file"));
    btn1->setToolTip(tr("Copy the ticked words to the clipboard"));
    btn3->setToolTip(tr("Empty the clipboard"));
    btn4->setToolTip(tr("Choose the font of the result columns"));
    btn6->setToolTip(tr("Larger font"));
    btn5->setToolTip(tr("Smaller font"));

    connect(btn2, &QPushButton::clicked, this, &TForm1::btn2Click);
    connect(btnButton2, &QPushButton::clicked, this, [this, btnButton2] { btn1Click(btnButton2); });
    connect(btn1, &QPushButton::clicked, this, [this, btn1] { btn1Click(btn1); });
    connect(btn3, &QPushButton::clicked, this, &TForm1::btn3Click);
    connect(btn4, &QPushButton::clicked, this, &TForm1::btn4Click);
    connect(btn5, &QPushButton::clicked, this, &TForm1::btn5Click);
    connect(btn6, &QPushButton::clicked, this, &TForm1::btn6Click);
    connect(btn7, &QPushButton::clicked, this, &TForm1::btn7Click);

    QWidget *order[] = {edt1, cbb1, btnButton2, btn1, btn2, btn3, btn5, btn6, btn4, btn7};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    return page;
}

QWidget *TForm1::buildSettingsTab()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("ts5"));

    // Each control stands at its designed place or, where this system's font makes
    // the label before it wider, just after that label.
    const auto after = [](QWidget *before, int designedLeft) { return std::max(designedLeft, before->geometry().right() + 5); };

    QLabel *lbl10 = label(page, "lbl10", tr("Thesaurus language :"), {16, 32});
    cbb2 = new QComboBox(page);
    cbb2->setObjectName(QStringLiteral("cbb2"));
    // The lists are wider than designed: the longest names fit them in every style.
    cbb2->setGeometry(after(lbl10, 126), 29, 160, 21);
    cbb2->setEditable(true);
    cbb2->setInsertPolicy(QComboBox::NoInsert);
    cbb2->setMaxVisibleItems(20);
    cbb2->addItems(LanguageTable::listItems());
    cbb2->setCurrentIndex(5); // English US
    selectFollowingTyping(cbb2);

    lblLanguageNote = new QLabel(page);
    lblLanguageNote->setObjectName(QStringLiteral("lblLanguageNote"));
    lblLanguageNote->setGeometry(cbb2->x(), 52, 420, 16);
    connect(cbb2, &QComboBox::currentIndexChanged, this, &TForm1::updateLanguageNote);

    QLabel *lbl9 = label(page, "lbl9", tr("Application appareance :"), {after(cbb2, 277), 32});
    cbb3 = new QComboBox(page);
    cbb3->setObjectName(QStringLiteral("cbb3"));
    cbb3->setGeometry(after(lbl9, 402), 29, 160, 21);
    cbb3->setMaxVisibleItems(30);
    connect(cbb3, &QComboBox::activated, this, &TForm1::cbb3Change);

    QLabel *lbl11 = label(page, "lbl11", tr("Clipboard delimiter : "), {after(cbb3, 553), 32});
    edt2 = new QLineEdit(QStringLiteral(", "), page);
    edt2->setObjectName(QStringLiteral("edt2"));
    edt2->setGeometry(after(lbl11, 654), 29, 50, 21);
    edt2->setToolTip(tr("Put after every word that is copied or saved"));

    setTabOrder(cbb2, cbb3);
    setTabOrder(cbb3, edt2);
    updateLanguageNote();
    return page;
}

QWidget *TForm1::buildContentStack()
{
    contentStack = new QStackedWidget(this);
    contentStack->setObjectName(QStringLiteral("ContentStack"));

    pnlSearchPanel = new QWidget;
    pnlSearchPanel->setObjectName(QStringLiteral("pnlSearchPanel"));
    auto *searchLayout = new QVBoxLayout(pnlSearchPanel);
    searchLayout->setContentsMargins(0, 0, 0, 0);
    pnlMissLine = new MissLine(pnlSearchPanel);
    searchLayout->addWidget(pnlMissLine);
    // Queued: the button that was clicked goes with the line at the next Generate.
    connect(pnlMissLine, &MissLine::suggestionChosen, this, &TForm1::useSuggestion, Qt::QueuedConnection);
    ScrollBox1 = new QScrollArea(pnlSearchPanel);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto *host = new QWidget;
    host->setObjectName(QStringLiteral("ScrollBox1Contents"));
    columnsLayout = new QHBoxLayout(host);
    columnsLayout->setContentsMargins(0, 0, 0, 0);
    columnsLayout->setSpacing(0);
    columnsLayout->addStretch(1);
    ScrollBox1->setWidget(host);
    searchLayout->addWidget(ScrollBox1);
    contentStack->addWidget(pnlSearchPanel);

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
        auto *panel = new QWidget;
        panel->setObjectName(QLatin1StringView(info.name));
        auto *layout = new QVBoxLayout(panel);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        auto *title = new QLabel(info.heading, panel);
        QFont font(QStringLiteral("Calibri"));
        font.setPointSizeF(20);
        font.setBold(true);
        title->setFont(font);
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
            connect(text, &BuiltInText::linkClicked, this, &TForm1::cxRichEdit1PropertiesURLClick);
            body = text;
        } else {
            body = new BrowserView(panel);
        }
        body->setObjectName(QLatin1StringView(info.body));
        if (auto *page = qobject_cast<BrowserView *>(body))
            showBuiltInTextWhenPageFails(page, info.tab);
        layout->addWidget(body, 1);
        contentStack->addWidget(panel);
    }
    return contentStack;
}

QWidget *TForm1::buildInfoPanel()
{
    pgc2 = new QTabWidget(this);
    pgc2->setObjectName(QStringLiteral("pgc2"));
    pgc2->setTabPosition(QTabWidget::West);
    pgc2->setCursor(Qt::PointingHandCursor);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(12);
    pgc2->setFont(font);
    pgc2->setFixedWidth(InfoPanelWidth);

    auto *ts6 = new QWidget;
    ts6->setObjectName(QStringLiteral("ts6"));
    ts6->setCursor(Qt::ArrowCursor);
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
    auto *wb1 = new BrowserView(ts6);
    wb1->setObjectName(QStringLiteral("wb1"));
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    pgc2->installEventFilter(this);
    pgc2->tabBar()->installEventFilter(this);
    layout->addWidget(wb1, 1);
    pgc2->addTab(ts6, tr("Click for info"));
    return pgc2;
}

QWidget *TForm1::buildFooter()
{
    auto *footer = new QFrame(this);
    footer->setObjectName(QStringLiteral("pnlFooterPanel"));
    footer->setFixedHeight(FooterHeight);
    footer->setFrameStyle(QFrame::NoFrame);
    // The footer's own colours, legible in every style.
    footer->setAutoFillBackground(true);
    footer->setBackgroundRole(QPalette::Highlight);
    footer->setForegroundRole(QPalette::HighlightedText);

    auto *row = new QHBoxLayout(footer);
    row->setContentsMargins(16, 0, 16, 0);
    row->setSpacing(6);
    const QString site = SiteAddress::baseUrl();
    auto *link = new QLabel(QStringLiteral("<a href=\"%1\" style=\"color: white;\">%2</a>")
                                .arg(site.toHtmlEscaped(), QString::fromLatin1(Version::MakerName).toHtmlEscaped()),
                            footer);
    link->setObjectName(QStringLiteral("LinkLabel1"));
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setOpenExternalLinks(false);
    connect(link, &QLabel::linkActivated, this, &TForm1::LinkLabel1LinkClick);
    auto *before = new QLabel(tr("Brought to You By"), footer);
    before->setObjectName(QStringLiteral("lblBroughtBy"));
    auto *after = new QLabel(tr("Visit today for more information"), footer);
    after->setObjectName(QStringLiteral("lblVisit"));
    for (QLabel *l : {before, link, after}) {
        l->setForegroundRole(QPalette::HighlightedText);
        row->addWidget(l);
    }
    row->addStretch(1);
    return footer;
}

void TForm1::FormCreate()
{
    HourglassCursor hourglass;
    Dialogs::guard(this, [this] {
        contentStack->setCurrentWidget(pnlSearchPanel);
        pgc1->setCurrentIndex(0);
        pgc2->setFixedWidth(CheckInternetConnection() ? InfoPanels::expandedWidth(width()) : InfoPanels::CollapsedWidth);
        browser("wb1")->navigate(SiteAddress::page(QLatin1StringView(SiteAddress::InfoPage)));
        fillStyleList();
        browser("wb5")->navigate(SiteAddress::page(QLatin1StringView(SiteAddress::MainHelpPage)));
        browser("wb6")->navigate(SiteAddress::page(QLatin1StringView(SiteAddress::MainAboutPage)));
        browser("wb7")->navigate(SiteAddress::page(QLatin1StringView(SiteAddress::MainContactPage)));
        browser("wb8")->navigate(SiteAddress::page(QLatin1StringView(SiteAddress::MainSettingsPage)));
    });
}

void TForm1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    keepOuterMinimumWidth();
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TForm1::FormShow()
{
    HourglassCursor hourglass;
    Dialogs::guard(this, [this] {
        unsigned short major = 0, minor = 0, release = 0, build = 0;
        GetBuildInfo(major, minor, release, build);
        setWindowTitle(QStringLiteral("Verbarium Pro v. %1.%2.%3.%4").arg(major).arg(minor).arg(release).arg(build));
        const SettingsFile::Values stored = SettingsFile::load(SettingsFile::path());
        aFont = FontSettings::toFont(stored, aFontStyleRest);
        edt2->setText(stored.delimiter);
    });
}

void TForm1::closeEvent(QCloseEvent *event)
{
    // A failed write leaves FormCloseQuery with its error. The user may try again,
    // close without saving (an installed copy must never trap its window), or stay.
    for (;;) {
        try {
            FormCloseQuery();
            break;
        } catch (const AppError &error) {
            const Dialogs::FailedSaveChoice choice = Dialogs::askAfterFailedSave(this, error.message());
            if (choice == Dialogs::FailedSaveChoice::CloseWithoutSaving)
                break;
            if (choice == Dialogs::FailedSaveChoice::KeepOpen) {
                event->ignore();
                return;
            }
        }
    }
    QWidget::closeEvent(event);
}

void TForm1::FormCloseQuery()
{
    // Before the first show nothing was loaded: saving would put defaults over the user's values.
    if (!m_shown)
        return;
    SettingsFile::save(SettingsFile::path(),
                       FontSettings::fromFont(aFont, m_dialogSharesAFont ? 0 : aFontStyleRest, edt2->text()));
}

void TForm1::fillStyleList()
{
    HourglassCursor hourglass;
    cbb3->clear();
    QStringList names = TStyleManager::StyleNames();
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    cbb3->addItems(names);
    cbb3->setCurrentIndex(-1);
}

void TForm1::cbb3Change()
{
    if (cbb3->currentIndex() < 0)
        return;
    HourglassCursor hourglass;
    Dialogs::guard(this, [this] { TStyleManager::SetStyle(cbb3->currentText()); });
}

void TForm1::updateLanguageNote()
{
    const int index = cbb2->currentIndex();
    QString note;
    if (index < 0) {
        note = tr("No language of the list is chosen: nothing will be found.");
    } else {
        const auto id = LanguageTable::identifier(LanguageTable::languageForListIndex(index));
        if (!SpellCheck1->Active())
            note = tr("No thesaurus data is installed.");
        else if (!SpellCheck1->source()->hasData(id))
            note = tr("No thesaurus data is installed for this language.");
    }
    lblLanguageNote->setText(note);
    cbb2->setToolTip(note.isEmpty() ? tr("The language of the next Generate") : note);
}

void TForm1::clearColumns()
{
    qDeleteAll(m_columns);
    m_columns.clear();
}

ResultColumn *TForm1::createColumnShell(const QString &word)
{
    auto *column = new ResultColumn(word, aFont);
    columnsLayout->insertWidget(columnsLayout->count() - 1, column);
    connect(column, &ResultColumn::headingClicked, this, &TForm1::LabelClick);
    connect(column, &ResultColumn::menuRequested, this, &TForm1::OnMenuPopup);
    connect(column, &ResultColumn::wordDoubleClicked, this, &TForm1::ListDblClick);
    return column;
}

void TForm1::lookUp(const LookupRequest &request)
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
    pgc1->setCurrentIndex(0);
    edt1->setText(request.phrase);
    if (request.depth)
        cbb1->setCurrentIndex(*request.depth);
    if (request.languageIndex)
        cbb2->setCurrentIndex(*request.languageIndex);
    btn2Click();
}

void TForm1::btn2Click()
{
    HourglassCursor hourglass;
    const auto restore = qScopeGuard([this] {
        ScrollBox1->setVisible(true);
        btn2->repaint();
    });
    Dialogs::guard(this, [this] {
        const QString phrase = edt1->text();
        if (phrase.isEmpty()) {
            Dialogs::showMessage(this, SynonymExpansion::emptyPhraseMessage());
            return;
        }
        clearColumns();
        pnlMissLine->clear();
        ScrollBox1->setVisible(false);
        auto outcome = SynonymExpansion::Generate(
            *SpellCheck1, LanguageTable::languageForListIndex(cbb2->currentIndex()), phrase, cbb1->currentIndex());
        if (const auto *refusal = std::get_if<SynonymExpansion::Refusal>(&outcome)) {
            WordsInPhrase = refusal->pieceCount;
            Dialogs::showMessage(this, refusal->message);
            return;
        }
        auto &generated = std::get<SynonymExpansion::Generated>(outcome);
        WordsInPhrase = generated.pieceCount;
        for (SynonymExpansion::GeneratedColumn &found : generated.columns) {
            ResultColumn *column = createColumnShell(found.word);
            column->complete(found.entries);
            column->setRoot(found.root);
            QMenu *menu = column->popupMenu();
            connect(menu->findChild<QAction *>(QStringLiteral("miDictionary")), &QAction::triggered, this,
                    &TForm1::onWebBrowserDictionary);
            connect(menu->findChild<QAction *>(QStringLiteral("miDoraz3")), &QAction::triggered, this,
                    &TForm1::GoDoraz3);
            m_columns.append(column);
        }
        pnlMissLine->setMisses(generated.misses, generated.notes);
        // Whatever was found before a failing lookup is shown with the error.
        if (generated.failure)
            throw *generated.failure;
    });
}

void TForm1::useSuggestion(int piece, const QString &newPiece)
{
    QStringList pieces = edt1->text().split(QLatin1Char(' '), Qt::KeepEmptyParts);
    if (piece < 0 || piece >= pieces.size())
        return;
    pieces[piece] = newPiece;
    edt1->setText(pieces.join(QLatin1Char(' ')));
    btn2Click();
}

void TForm1::LabelClick(ResultColumn *column)
{
    QScrollBar *bar = ScrollBox1->horizontalScrollBar();
    if (column->Expanded == 0) {
        columnsLayout->removeWidget(column);
        columnsLayout->insertWidget(columnInsertIndexAtVisibleLeft(column), column);
        column->setFixedWidth(halfRoundedToEven(width()));
        column->Expanded = 1;
        ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        bar->setValue(0);
        column->list()->setColumns(3);
    } else {
        ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        column->setFixedWidth(ResultColumn::CollapsedWidth);
        column->Expanded = 0;
        column->list()->setColumns(1);
    }
}

int TForm1::columnInsertIndexAtVisibleLeft(ResultColumn *moving) const
{
    // Before every column that starts at or right of the visible left edge.
    const int visibleLeft = ScrollBox1->horizontalScrollBar()->value();
    int index = 0;
    for (int i = 0; i < columnsLayout->count(); ++i) {
        QWidget *widget = columnsLayout->itemAt(i)->widget();
        if (!widget || widget == moving)
            continue;
        if (widget->x() >= visibleLeft)
            return index;
        ++index;
    }
    return index;
}

void TForm1::OnMenuPopup(ResultColumn *column, const QPoint &viewportPos)
{
    const int row = column->list()->itemAt(viewportPos);
    if (row < 0)
        return; // nothing under the pointer: no word to act on
    SelectedWord = column->list()->words()->text(row);
    column->popupMenu()->popup(column->list()->viewport()->mapToGlobal(viewportPos));
}

void TForm1::GoDoraz3()
{
    Q_EMIT wordTreeRequested(SelectedWord);
}

void TForm1::onWebBrowserDictionary()
{
    const int index = cbb2->currentIndex();
    const QString item = index >= 0 ? cbb2->itemText(index) : QString();
    const QString address = DictionaryAddress::build(SiteAddress::baseUrl(), SelectedWord, item);
    Q_EMIT dictionaryRequested(SelectedWord);
    LinkOpener::instance().openLink(address);
}

void TForm1::openWordTree(const QString &word)
{
    auto *form2 = new TForm2(SpellCheck1, &aFont);
    form2->aWord = word;
    form2->show();
    form2->raise();
}

void TForm1::onTabChanged(int index)
{
    // A sheet's own show handler runs first, then the change handler, which runs
    // only for the user's changes of tab.
    switch (index) {
    case 1: ts2Show(); break;
    case 2: ts3Show(); break;
    case 3: ts4Show(); break;
    default: break;
    }
    if (!m_changingTabFromCode)
        pgc1Change();
}

void TForm1::pgc1Change()
{
    HourglassCursor hourglass;
    const int tab = pgc1->currentIndex();
    bool online = tab > 0 && CheckInternetConnection();
    if (online) {
        // A web page that could not be loaded gives way to the built-in text, as
        // offline, and is tried again for the next showing.
        auto *web = contentStack->findChild<QWidget *>(InfoPanels::panelForTab(tab, true));
        BrowserView *page = web ? web->findChild<BrowserView *>() : nullptr;
        if (page && page->hasFailed()) {
            page->retryIfFailed();
            online = false;
        }
    }
    if (QWidget *panel = contentStack->findChild<QWidget *>(InfoPanels::panelForTab(tab, online)))
        contentStack->setCurrentWidget(panel);
}

void TForm1::showBuiltInTextWhenPageFails(BrowserView *page, int tab)
{
    connect(page, &BrowserView::loadFailed, this, [this, page, tab] {
        // Failed while in front: the built-in text takes its place at once.
        if (contentStack->currentWidget() == page->parentWidget()) {
            if (QWidget *panel = contentStack->findChild<QWidget *>(InfoPanels::panelForTab(tab, false)))
                contentStack->setCurrentWidget(panel);
        }
    });
}

void TForm1::showSheetPage(const char *browserName, const char *path)
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

void TForm1::ts2Show() { showSheetPage("wb2", SiteAddress::HelpPage); }
void TForm1::ts3Show() { showSheetPage("wb3", SiteAddress::AboutPage); }
void TForm1::ts4Show() { showSheetPage("wb4", SiteAddress::ContactPage); }

void TForm1::btn7Click()
{
    m_changingTabFromCode = true;
    pgc1->setCurrentIndex(1);
    m_changingTabFromCode = false;
    contentStack->setCurrentWidget(contentStack->findChild<QWidget *>(QStringLiteral("pnlReadMePanel")));
}

void TForm1::Button1Click()
{
    pgc2->setFixedWidth(InfoPanels::CollapsedWidth);
}

void TForm1::pgc2MouseDown(Qt::MouseButton button)
{
    if (button == Qt::LeftButton && pgc2->width() == InfoPanels::CollapsedWidth) {
        pgc2->setFixedWidth(InfoPanels::expandedWidth(width()));
        browser("wb1")->retryIfFailed(); // opened again: a page that failed gets another try
    }
}

void TForm1::FormResize()
{
    if (pgc2->width() != InfoPanels::CollapsedWidth)
        pgc2->setFixedWidth(InfoPanels::expandedWidth(width()));
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    keepOuterMinimumWidth();
    FormResize();
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    // A press on the side panel's own surface, its tab strip included; not on its page.
    if ((watched == pgc2 || watched == pgc2->tabBar()) && event->type() == QEvent::MouseButtonPress)
        pgc2MouseDown(static_cast<QMouseEvent *>(event)->button());
    return QWidget::eventFilter(watched, event);
}

void TForm1::cxRichEdit1PropertiesURLClick(const QString &address)
{
    LinkOpener::instance().openLink(address);
}

void TForm1::LinkLabel1LinkClick(const QString &link)
{
    LinkOpener::instance().openLink(link);
}

void TForm1::ListDblClick(ResultColumn *column, int row)
{
    if (row < 0)
        return;
    const QString word = column->list()->words()->text(row);
    if (!word.isEmpty())
        Q_EMIT wordTreeRequested(word);
}

void TForm1::btn6Click()
{
    for (auto it = m_columns.rbegin(); it != m_columns.rend(); ++it) {
        DisplayFont font = (*it)->displayFont();
        ++font.pointSize;
        (*it)->setDisplayFont(font);
    }
    ++aFont.pointSize;
}

void TForm1::btn5Click()
{
    for (auto it = m_columns.rbegin(); it != m_columns.rend(); ++it) {
        DisplayFont font = (*it)->displayFont();
        --font.pointSize;
        (*it)->setDisplayFont(font);
    }
    --aFont.pointSize;
}

void TForm1::btn4Click()
{
    const DisplayFont initial = m_dialogSharesAFont ? aFont : DisplayFont::dialogDesignFont();
    const std::optional<DisplayFont> chosen = Dialogs::getFont(this, initial);
    if (!chosen)
        return;
    for (auto it = m_columns.rbegin(); it != m_columns.rend(); ++it)
        (*it)->setDisplayFont(*chosen);
    aFont = *chosen;
    m_dialogSharesAFont = true;
}

void TForm1::btn1Click(QPushButton *sender)
{
    const bool save = sender && sender->objectName() == u"btnButton2";
    QString fileName;
    if (save) {
        const std::optional<QString> chosen = Dialogs::getSaveFileName(
            this, {tr("Save selected words"), tr("Text Files (*.txt)"), QStringLiteral("txt"), m_lastSaveName});
        if (!chosen)
            return;
        fileName = *chosen;
        m_lastSaveName = fileName;
    }
    HourglassCursor hourglass;
    Dialogs::guard(this, [&] {
        QList<QStringList> ticked;
        for (ResultColumn *column : std::as_const(m_columns))
            ticked.append(column->list()->words()->checkedWords());
        const QString text = SelectionExport::outputText(SelectionExport::mergeRows(ticked, edt2->text()));
        if (save)
            SelectionExport::writeTextFile(fileName, text);
        else
            putOnClipboard(text);
    });
}

void TForm1::btn3Click()
{
    Dialogs::guard(this, [] { putOnClipboard(QString()); });
}
