#include "app/MainLayout.h"

#include "Version.h"
#include "info/SiteAddress.h"
#include "settings/SettingsFile.h"
#include "settings/Theme.h"
#include "thesaurus/Depth.h"
#include "thesaurus/LanguageTable.h"
#include "widgets/Logo.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>

#include <algorithm>
#include <functional>
#include <initializer_list>

namespace {

// In pixels at 96 dpi; Qt scales it on denser screens.
constexpr int FooterHeight = 36;

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

// The style's icons are read from image files: each is read once for every window
// of the style, and let go with the application.
QIcon standardIcon(QWidget *widget, QStyle::StandardPixmap which)
{
    static QHash<std::pair<QString, int>, QIcon> icons;
    static const bool cleared = [] {
        qAddPostRoutine([] { icons.clear(); });
        return true;
    }();
    Q_UNUSED(cleared);
    const std::pair<QString, int> key(QApplication::style()->name(), int(which));
    auto found = icons.constFind(key);
    if (found == icons.constEnd())
        found = icons.insert(key, widget->style()->standardIcon(which));
    return *found;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text, const QRect &geometry, qreal points,
                    QStyle::StandardPixmap icon = QStyle::SP_CustomBase)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1StringView(name));
    // Fixed sizes: the themes' roomy padding would clip the captions. Marked before
    // the button is first polished, so that the themes' rule for compact buttons
    // meets it without a style sheet of the page's own, which would restyle every
    // control of the page apart from the application's sheet.
    b->setProperty(Theme::CompactProperty, true);
    b->setGeometry(geometry);
    b->setFont(MainLayout::tahoma(points));
    b->setAutoDefault(false);
    b->setDefault(false);
    if (icon != QStyle::SP_CustomBase)
        b->setIcon(standardIcon(b, icon));
    return b;
}

// Runs `redo` now, and again whenever one of the events reaches the widget: for
// what a widget takes from its style, palette or font and must take again after
// each change.
void redoOn(QWidget *widget, std::initializer_list<QEvent::Type> events, std::function<void()> redo)
{
    class Watcher : public QObject
    {
    public:
        Watcher(QWidget *widget, std::initializer_list<QEvent::Type> events, std::function<void()> redo)
            : QObject(widget), m_widget(widget), m_events(events), m_redo(std::move(redo))
        {
            widget->installEventFilter(this);
            m_redo();
        }

        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (watched == m_widget && m_events.contains(event->type()))
                m_redo();
            return QObject::eventFilter(watched, event);
        }

    private:
        QWidget *m_widget;
        QList<QEvent::Type> m_events;
        std::function<void()> m_redo;
    };
    new Watcher(widget, events, std::move(redo));
}

// The depth box ends where it ends at design, 5 pixels before Generate.
constexpr int DepthBoxRight = 473;
constexpr int DepthBoxDesignWidth = 89;
constexpr int DepthBoxGap = 6;

// Keeps the depth box as wide as its style asks for its longest item, ending where
// it ends at design; its label moves with it and the phrase box gives up the room.
void fitDepthBox(QLineEdit *phrase, QLabel *label, QComboBox *box)
{
    const int width = std::max(DepthBoxDesignWidth, box->sizeHint().width());
    const int left = DepthBoxRight + 1 - width;
    box->setGeometry(left, box->y(), width, box->height());
    label->move(left, label->y());
    phrase->resize(left - DepthBoxGap - phrase->x(), phrase->height());
}

// Keeps a button's drawn icon in the button's text colour, so that it stands out
// as the caption does.
void inkIcon(QPushButton *button, QIcon (*draw)(const QColor &))
{
    redoOn(button, {QEvent::PaletteChange, QEvent::StyleChange}, [button, draw, drawnIn = QColor()]() mutable {
        const QColor ink = button->palette().color(QPalette::ButtonText);
        if (ink == drawnIn)
            return;
        drawnIn = ink;
        button->setIcon(draw(ink));
    });
}

// Gives the footer a ground on which its texts keep 4.5:1: the style's highlight,
// made darker (or lighter) where the style's own pair stands out too little. Taken
// from the application's palette each time, never from the footer's own, which
// holds the last answer. The maker's link is written in the same ink.
void makeLegible(QWidget *footer, QLabel *link, const QString &address, const QString &name)
{
    const QPalette application = QApplication::palette(footer);
    const QColor ink = application.color(QPalette::HighlightedText);
    QColor ground = application.color(QPalette::Highlight);
    const bool lightInk = ink.lightnessF() > 0.5;
    for (int i = 0; i < 20 && Theme::contrastRatio(ink, ground) < 4.5; ++i)
        ground = lightInk ? ground.darker(110) : ground.lighter(110);
    QPalette palette = footer->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Highlight, ground);
        palette.setColor(group, QPalette::HighlightedText, ink);
    }
    footer->setPalette(palette);
    const QString text = QStringLiteral("<a href=\"%1\" style=\"color: %2;\">%3</a>")
                             .arg(address.toHtmlEscaped(), ink.name(), name.toHtmlEscaped());
    if (link->text() != text)
        link->setText(text);
}

QLabel *label(QWidget *parent, const char *name, const QString &text, const QPoint &at)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1StringView(name));
    l->move(at);
    // Sized for the application's font, which some themes show it in, even where
    // the page's own font is smaller: it is never clipped.
    l->setFont(QApplication::font(l));
    l->adjustSize();
    l->setFont(QFont());
    return l;
}

} // namespace

void MainLayout::substituteWindowsFonts()
{
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                                          QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Calibri"), {QStringLiteral("Carlito"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

void MainLayout::makeEditable(QComboBox *box)
{
    // setEditable(true) also builds the drop-down's list and its frame at once;
    // given its line edit, the box builds them when the list first drops down.
    box->setLineEdit(new QLineEdit(box));
}

QFont MainLayout::tahoma(qreal points, bool bold)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

const QStringList &MainLayout::partOfSpeechChoices()
{
    static const QStringList choices{QString(), QStringLiteral("noun"), QStringLiteral("verb"), QStringLiteral("adj"),
                                     QStringLiteral("adv")};
    return choices;
}

MainLayout::ThesaurusTool MainLayout::thesaurusTool(QTabWidget *tabs, qreal devicePixelRatio)
{
    ThesaurusTool tool;
    auto *page = tool.page = new QWidget;
    page->setObjectName(QStringLiteral("ts1"));
    // The page joins its tab before its controls are made: they take the tab's style
    // and fonts as they are made instead of being restyled all together afterwards.
    tabs->addTab(page, tr("Thesaurus Tool"));

    auto *img1 = new QLabel(page);
    img1->setObjectName(QStringLiteral("img1"));
    img1->setGeometry(0, 0, 75, 77);
    img1->setPixmap(Logo::pixmap(QSize(64, 64), devicePixelRatio));
    img1->setAlignment(Qt::AlignCenter);

    label(page, "lbl1", tr("Please type text here :"), {81, 11});
    auto *edt1 = tool.edt1 = new QLineEdit(page);
    edt1->setObjectName(QStringLiteral("edt1"));
    // fitDepthBox below takes from its width what the depth box needs.
    edt1->setGeometry(81, 30, 297, 21);
    edt1->setPlaceholderText(tr("<Type text here>"));

    QLabel *lbl2 = label(page, "lbl2", tr("Choose level :"), {384, 11});
    auto *cbb1 = tool.cbb1 = new QComboBox(page);
    cbb1->setObjectName(QStringLiteral("cbb1"));
    cbb1->setGeometry(384, 30, DepthBoxDesignWidth, 21);
    makeEditable(cbb1);
    cbb1->setInsertPolicy(QComboBox::NoInsert);
    cbb1->addItems(Depths::names());
    cbb1->setCurrentIndex(0);
    selectFollowingTyping(cbb1);
    // The box is narrow: show a chosen depth from its start, not scrolled to its end.
    const auto showStart = [cbb1] {
        if (!cbb1->lineEdit()->hasFocus())
            cbb1->lineEdit()->setCursorPosition(0);
    };
    QObject::connect(cbb1, &QComboBox::currentIndexChanged, cbb1, showStart);
    showStart();
    redoOn(cbb1, {QEvent::StyleChange, QEvent::FontChange}, [edt1, lbl2, cbb1] { fitDepthBox(edt1, lbl2, cbb1); });

    tool.btn2 = button(page, "btn2", tr("Generate"), {478, 18, 98, 42}, 12);
    inkIcon(tool.btn2, Logo::playIcon);
    tool.btnButton2 = button(page, "btnButton2", tr("Save"), {577, 18, 98, 42}, 12, QStyle::SP_DialogSaveButton);
    tool.btn1 = button(page, "btn1", tr("Copy"), {676, 18, 64, 42}, 8, QStyle::SP_FileDialogDetailedView);
    tool.btn3 = button(page, "btn3", tr("Clear\nclipboard"), {741, 18, 64, 42}, 8);
    tool.btn4 = button(page, "btn4", tr("Font"), {806, 18, 81, 42}, 12);
    inkIcon(tool.btn4, [](const QColor &ink) { return Logo::letterIcon(QStringLiteral("Aa"), ink); });
    tool.btn7 = button(page, "btn7", tr("Help"), {888, 18, 81, 42}, 12, QStyle::SP_MessageBoxQuestion);
    tool.btn6 = button(page, "btn6", QStringLiteral("+"), {81, 51, 21, 25}, 12);
    tool.btn5 = button(page, "btn5", QStringLiteral("-"), {108, 51, 21, 25}, 12);
    tool.btn2->setToolTip(tr("Look up the synonyms of every word of the phrase"));
    tool.btnButton2->setToolTip(tr("Save the ticked words to a text file"));
    tool.btn1->setToolTip(tr("Copy the ticked words to the clipboard"));
    tool.btn3->setToolTip(tr("Empty the clipboard"));
    tool.btn4->setToolTip(tr("Choose the font of the result columns"));
    tool.btn6->setToolTip(tr("Larger font"));
    tool.btn5->setToolTip(tr("Smaller font"));

    auto *pos = tool.cbbPartOfSpeech = new QComboBox(page);
    pos->setObjectName(QStringLiteral("cbbPartOfSpeech"));
    pos->setGeometry(140, 53, 110, 21);
    pos->addItems({tr("All"), tr("Nouns"), tr("Verbs"), tr("Adjectives"), tr("Adverbs")});
    pos->setToolTip(tr("First-level words only from meanings of this part of speech"));
    pos->setAccessibleName(tr("Part of speech"));
    auto *broader = tool.chkBroaderTerms = new QCheckBox(tr("Broader terms"), page);
    broader->setObjectName(QStringLiteral("chkBroaderTerms"));
    broader->setChecked(true);
    broader->move(258, 55);
    redoOn(broader, {QEvent::StyleChange, QEvent::FontChange}, [broader] { broader->adjustSize(); });
    broader->setToolTip(tr("Off: words the data marks as broader terms are left out of the first level"));

    QWidget *order[] = {edt1,      cbb1, tool.btnButton2, tool.btn1, tool.btn2, tool.btn3, tool.btn5,
                        tool.btn6, pos,  broader,         tool.btn4, tool.btn7};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    return tool;
}

MainLayout::SettingsTab MainLayout::settingsTab(QTabWidget *tabs)
{
    SettingsTab tab;
    auto *page = tab.page = new QWidget;
    page->setObjectName(QStringLiteral("ts5"));
    tabs->addTab(page, tr("Settings"));

    // Each control stands at its designed place or, where this system's font makes
    // the label before it wider, just after that label.
    const auto after = [](QWidget *before, int designedLeft) {
        return std::max(designedLeft, before->geometry().right() + 5);
    };

    QLabel *lbl10 = label(page, "lbl10", tr("Thesaurus language :"), {16, 32});
    auto *cbb2 = tab.cbb2 = new QComboBox(page);
    cbb2->setObjectName(QStringLiteral("cbb2"));
    // The lists are wider than designed: the longest names fit them in every style.
    cbb2->setGeometry(after(lbl10, 126), 29, 160, 21);
    makeEditable(cbb2);
    cbb2->setInsertPolicy(QComboBox::NoInsert);
    cbb2->setMaxVisibleItems(20);
    cbb2->addItems(LanguageTable::listItems());
    cbb2->setCurrentIndex(5); // English US
    selectFollowingTyping(cbb2);

    tab.lblLanguageNote = new QLabel(page);
    tab.lblLanguageNote->setObjectName(QStringLiteral("lblLanguageNote"));
    tab.lblLanguageNote->setGeometry(cbb2->x(), 52, 420, 16);

    QLabel *lbl9 = label(page, "lbl9", tr("Application appareance :"), {after(cbb2, 277), 32});
    auto *cbb3 = tab.cbb3 = new QComboBox(page);
    cbb3->setObjectName(QStringLiteral("cbb3"));
    cbb3->setGeometry(after(lbl9, 402), 29, 160, 21);
    cbb3->setMaxVisibleItems(30);

    QLabel *lbl11 = label(page, "lbl11", tr("Clipboard delimiter : "), {after(cbb3, 553), 32});
    auto *edt2 = tab.edt2 = new QLineEdit(SettingsFile::Values().delimiter, page);
    edt2->setObjectName(QStringLiteral("edt2"));
    edt2->setGeometry(after(lbl11, 654), 29, 50, 21);
    edt2->setToolTip(tr("Put after every word that is copied or saved"));

    auto *common = tab.chkMostCommonFirst = new QCheckBox(tr("Most common first"), page);
    common->setObjectName(QStringLiteral("chkMostCommonFirst"));
    common->setToolTip(tr("Order each column's words by how common they are, the everyday ones first"));
    auto *keep = tab.chkKeepHistory = new QCheckBox(tr("Keep a history"), page);
    keep->setObjectName(QStringLiteral("chkKeepHistory"));
    keep->setChecked(true);
    keep->setToolTip(tr("Remember the generated phrases: the phrase box offers them as you type"));
    auto *clear = tab.btnClearHistory = new QPushButton(tr("Clear history"), page);
    clear->setObjectName(QStringLiteral("btnClearHistory"));
    clear->setAutoDefault(false);
    // One row, each control as wide as its style and font make its text, the next after it.
    const auto placeRow = [common, keep, clear] {
        common->adjustSize();
        common->move(16, 80);
        keep->adjustSize();
        keep->move(std::max(200, common->geometry().right() + 20), 80);
        clear->adjustSize();
        clear->move(keep->geometry().right() + 12, 78);
    };
    for (QWidget *control : {static_cast<QWidget *>(common), static_cast<QWidget *>(keep), static_cast<QWidget *>(clear)})
        redoOn(control, {QEvent::StyleChange, QEvent::FontChange}, placeRow);
    tab.lblOptionsNote = new QLabel(page);
    tab.lblOptionsNote->setObjectName(QStringLiteral("lblOptionsNote"));
    tab.lblOptionsNote->setGeometry(16, 104, 700, 32);
    tab.lblOptionsNote->setWordWrap(true);

    QWidget::setTabOrder(cbb2, cbb3);
    QWidget::setTabOrder(cbb3, edt2);
    QWidget::setTabOrder(edt2, common);
    QWidget::setTabOrder(common, keep);
    QWidget::setTabOrder(keep, clear);
    return tab;
}

QFrame *MainLayout::footer(QWidget *parent)
{
    auto *footer = new QFrame(parent);
    footer->setObjectName(QStringLiteral("pnlFooterPanel"));
    footer->setFixedHeight(FooterHeight);
    footer->setFrameStyle(QFrame::NoFrame);
    // The footer's own colours, legible in every style (makeLegible).
    footer->setAutoFillBackground(true);
    footer->setBackgroundRole(QPalette::Highlight);
    footer->setForegroundRole(QPalette::HighlightedText);

    auto *row = new QHBoxLayout(footer);
    row->setContentsMargins(16, 0, 16, 0);
    row->setSpacing(6);
    const QString site = SiteAddress::baseUrl();
    auto *link = new QLabel(footer); // its text comes with its colour, from makeLegible
    link->setObjectName(QStringLiteral("LinkLabel1"));
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setOpenExternalLinks(false);
    auto *before = new QLabel(tr("Brought to You By"), footer);
    before->setObjectName(QStringLiteral("lblBroughtBy"));
    auto *after = new QLabel(tr("Visit today for more information"), footer);
    after->setObjectName(QStringLiteral("lblVisit"));
    for (QLabel *l : {before, link, after}) {
        l->setForegroundRole(QPalette::HighlightedText);
        row->addWidget(l);
    }
    row->addStretch(1);
    redoOn(footer, {QEvent::PaletteChange, QEvent::StyleChange},
           [footer, link, site] { makeLegible(footer, link, site, QString::fromLatin1(Version::MakerName)); });
    return footer;
}

void MainLayout::describeControls(QWidget *window)
{
    const auto buddy = [window](const char *labelName, QWidget *field) {
        auto *caption = window->findChild<QLabel *>(QLatin1StringView(labelName));
        caption->setBuddy(field);
        // The caption without its colon and blanks is the field's name.
        QString name = caption->text();
        while (!name.isEmpty() && (name.back() == QLatin1Char(':') || name.back().isSpace()))
            name.chop(1);
        field->setAccessibleName(name);
        if (auto *box = qobject_cast<QComboBox *>(field); box && box->lineEdit())
            box->lineEdit()->setAccessibleName(name);
    };
    buddy("lbl1", window->findChild<QWidget *>(QStringLiteral("edt1")));
    buddy("lbl2", window->findChild<QWidget *>(QStringLiteral("cbb1")));
    buddy("lbl10", window->findChild<QWidget *>(QStringLiteral("cbb2")));
    buddy("lbl9", window->findChild<QWidget *>(QStringLiteral("cbb3")));
    buddy("lbl11", window->findChild<QWidget *>(QStringLiteral("edt2")));

    const auto name = [window](const char *objectName, const QString &accessibleName) {
        window->findChild<QWidget *>(QLatin1StringView(objectName))->setAccessibleName(accessibleName);
    };
    name("img1", tr("Verbarium Pro"));
    name("btn3", tr("Clear clipboard"));
    name("btn6", tr("Larger font"));
    name("btn5", tr("Smaller font"));
    name("pgc1", tr("Pages"));
    name("pgc2", tr("Info side panel"));
    name("ScrollBox1", tr("Results"));
    name("wb1", tr("Info"));
    // The pages of the content stack are named by their headings where they are made.
    name("wb2", tr("Help"));
    name("wb3", tr("About"));
    name("wb4", tr("Contacts"));
}

void MainLayout::installShortcuts(QWidget *window)
{
    const auto bind = [window](std::initializer_list<QKeySequence> keys, const char *buttonName) {
        auto *target = window->findChild<QPushButton *>(QLatin1StringView(buttonName));
        for (const QKeySequence &key : keys) {
            auto *shortcut = new QShortcut(key, window);
            QObject::connect(shortcut, &QShortcut::activated, target, &QPushButton::click);
        }
    };
    bind({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}, "btn2");
    bind({QKeySequence(Qt::CTRL | Qt::Key_S)}, "btnButton2");
    bind({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)}, "btn1");
    bind({QKeySequence(Qt::Key_F1)}, "btn7");
    bind({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}, "btn6");
    bind({QKeySequence(Qt::CTRL | Qt::Key_Minus)}, "btn5");
    QObject::connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), window), &QShortcut::activated, window,
                     &QWidget::close);
}
