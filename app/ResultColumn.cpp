#include "app/ResultColumn.h"

#include "app/CheckListBox.h"
#include "app/TierDelegate.h"
#include "app/WordListModel.h"

#include <QEvent>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <algorithm>

ResultColumn::ResultColumn(const QString &typedWord, const DisplayFont &font, QWidget *parent)
    : QFrame(parent), m_typedWord(typedWord), m_font(font), m_heading(new QLabel(this))
{
    setObjectName(QStringLiteral("ResultColumn"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setFixedWidth(CollapsedWidth);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    m_heading->setObjectName(QStringLiteral("heading"));
    m_heading->setText(QStringLiteral("  ") + typedWord);
    m_heading->setTextFormat(Qt::PlainText);
    m_heading->setCursor(Qt::PointingHandCursor);
    m_heading->setToolTip(tr("Click to widen or narrow this column"));
    // The heading is reached with Tab and widened with Space or Enter, like a button.
    m_heading->setFocusPolicy(Qt::StrongFocus);
    m_heading->setAccessibleName(typedWord);
    m_heading->setAccessibleDescription(tr("Column heading: Space or Enter widens or narrows the column"));
    m_heading->installEventFilter(this);
    layout->addWidget(m_heading);
    layout->addStretch(1);
    applyFont();
}

void ResultColumn::setRoot(const QString &root)
{
    // The first-level words are the root's synonyms: their senses are the root's meanings.
    if (m_list)
        m_list->words()->setColumnWord(m_typedWord, root);
    if (root.isEmpty() || root == m_typedWord)
        return;
    m_heading->setToolTip(tr("Synonyms of “%1”").arg(root) + QLatin1Char('\n')
                          + tr("Click to widen or narrow this column"));
}

int ResultColumn::rowHeightFor(const DisplayFont &font)
{
    // The height a line of text takes in the font, as "test" measures it, in the
    // tallest of the faces the tiers draw in (a bold or italic face may reach further).
    int height = 0;
    for (auto tier : {SynonymExpansion::DirectSynonym, SynonymExpansion::SecondLevel, SynonymExpansion::ThirdLevel}) {
        const QFont face = TierDelegate::tierFont(font.toQFont(), tier);
        height = std::max(height, QFontMetrics(face).size(Qt::TextSingleLine, QStringLiteral("test")).height());
    }
    return height + 3;
}

void ResultColumn::complete(const SynonymExpansion::ColumnWords &entries)
{
    m_list = new CheckListBox(rowHeightFor(m_font), this);
    m_list->setObjectName(QStringLiteral("CheckListBox"));
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->setAccessibleName(tr("Synonyms of %1").arg(m_typedWord));
    m_list->installEventFilter(this);
    m_menu = new QMenu(m_list);
    m_menu->setObjectName(QStringLiteral("PopupMenu"));
    m_menu->addAction(tr("Browse to online dictionary"))->setObjectName(QStringLiteral("miDictionary"));
    m_menu->addAction(tr("Doraz 3"))->setObjectName(QStringLiteral("miDoraz3"));
    m_list->words()->setColumnWord(m_typedWord);
    m_list->words()->setEntries(entries);

    auto *layout = static_cast<QVBoxLayout *>(this->layout());
    delete layout->takeAt(1); // the stretch that kept the heading at the top
    layout->addWidget(m_list, 1);
    applyFont();

    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { Q_EMIT menuRequested(this, pos); });
    connect(m_list, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { Q_EMIT wordDoubleClicked(this, index.row()); });
}

void ResultColumn::setDisplayFont(const DisplayFont &font)
{
    m_font = font;
    applyFont();
}

void ResultColumn::applyFont()
{
    const QFont font = m_font.toQFont();
    m_heading->setFont(font);
    // A system colour is looked up in the column's palette, which follows the style:
    // the heading's own holds the colour of the style it was last given.
    const QColor color = m_font.qColor(palette());
    QPalette palette;
    if (color.isValid())
        palette.setColor(QPalette::WindowText, color);
    m_heading->setPalette(palette);
    if (m_list) {
        m_list->setFont(font);
        m_list->setRowHeight(rowHeightFor(m_font)); // descenders stay in their rows
    }
}

void ResultColumn::changeEvent(QEvent *event)
{
    // System colours follow the theme.
    if (event->type() == QEvent::PaletteChange && TColor::isSystem(m_font.color))
        applyFont();
    QFrame::changeEvent(event);
}

bool ResultColumn::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_heading || (m_list && watched == m_list)) && event->type() == QEvent::StyleChange) {
        // A style with a sheet gives a widget back, as it lets it go, the font and
        // palette the widget had when the style took it: the column's font is put
        // back once the new style has taken the widget.
        applyFont();
    }
    if (watched == m_heading && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            Q_EMIT headingClicked(this);
            return true;
        }
    }
    if (watched == m_heading && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        // A focused heading shows a frame, as a focused button does.
        m_heading->setFrameShape(m_heading->hasFocus() ? QFrame::Box : QFrame::NoFrame);
    }
    if (m_list && watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_list->currentIndex().isValid()) {
            // Enter on a word does what a double click does: opens its word tree.
            Q_EMIT wordDoubleClicked(this, m_list->currentIndex().row());
            return true;
        }
    }
    if (m_list && watched == m_list && event->type() == QEvent::ContextMenu
        && static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Keyboard) {
        // The menu key opens the menu of the current word, wherever the pointer is.
        const QModelIndex current = m_list->currentIndex();
        if (current.isValid()) {
            m_list->scrollTo(current);
            Q_EMIT menuRequested(this, m_list->visualRect(current).center());
        }
        return true;
    }
    if (watched == m_heading && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton
        && m_heading->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint())) {
        Q_EMIT headingClicked(this);
        return true;
    }
    return QFrame::eventFilter(watched, event);
}
