#include "app/MissLine.h"

#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace {
// The export note stays at the end of the line; misses go before it.
constexpr int FixedItems = 1;
constexpr int RowSpacing = 2;
} // namespace

// The line's items left to right, going on to a new row where the next one would
// not fit. Beside an open Info panel the line is narrow, and a row that cannot
// wrap would squeeze its texts and push the last buttons out of sight. An item
// wider than the whole line is cut at its end; the line never asks for more width.
class MissLineFlow : public QLayout
{
public:
    explicit MissLineFlow(QWidget *parent) : QLayout(parent) {}
    ~MissLineFlow() override
    {
        while (QLayoutItem *item = takeAt(0))
            delete item;
    }

    void insertWidget(int index, QWidget *widget)
    {
        addChildWidget(widget);
        m_items.insert(std::clamp(index, 0, int(m_items.size())), new QWidgetItem(widget));
        invalidate();
    }

    void addItem(QLayoutItem *item) override
    {
        m_items.append(item);
        invalidate();
    }
    int count() const override { return int(m_items.size()); }
    QLayoutItem *itemAt(int index) const override { return m_items.value(index); }
    QLayoutItem *takeAt(int index) override
    {
        if (index < 0 || index >= m_items.size())
            return nullptr;
        QLayoutItem *item = m_items.takeAt(index);
        invalidate();
        return item;
    }

    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return arrange(QRect(0, 0, width, 0), false); }
    QSize minimumSize() const override
    {
        int height = 0;
        for (const QLayoutItem *item : m_items) {
            if (!item->isEmpty())
                height = std::max(height, item->sizeHint().height());
        }
        const QMargins margins = contentsMargins();
        return {margins.left() + margins.right(), height + margins.top() + margins.bottom()};
    }
    QSize sizeHint() const override { return minimumSize(); }
    void setGeometry(const QRect &rect) override
    {
        QLayout::setGeometry(rect);
        arrange(rect, true);
    }

private:
    // Places the items in the rectangle when asked to, each centred in its row;
    // returns the height they take.
    int arrange(const QRect &rect, bool place) const
    {
        const QRect area = rect.marginsRemoved(contentsMargins());
        struct Placed {
            QLayoutItem *item;
            QRect at;
        };
        QList<Placed> row;
        int x = area.x();
        int y = area.y();
        int rowHeight = 0;
        const auto endRow = [&] {
            if (place) {
                // Right to left, the rows run from the right edge.
                const Qt::LayoutDirection direction = parentWidget() ? parentWidget()->layoutDirection() : Qt::LeftToRight;
                for (const Placed &placed : std::as_const(row)) {
                    const QRect at = placed.at.translated(0, (rowHeight - placed.at.height()) / 2);
                    placed.item->setGeometry(QStyle::visualRect(direction, area, at));
                }
            }
            row.clear();
        };
        for (QLayoutItem *item : m_items) {
            if (item->isEmpty())
                continue;
            const QSize hint = item->sizeHint();
            const int width = std::min(hint.width(), std::max(1, area.width()));
            if (x > area.x() && x + width > area.x() + area.width()) {
                endRow();
                x = area.x();
                y += rowHeight + RowSpacing;
                rowHeight = 0;
            }
            row.append({item, QRect(x, y, width, hint.height())});
            x += width + spacing();
            rowHeight = std::max(rowHeight, hint.height());
        }
        endRow();
        const QMargins margins = contentsMargins();
        return y + rowHeight - area.y() + margins.top() + margins.bottom();
    }

    QList<QLayoutItem *> m_items;
};

MissLine::MissLine(QWidget *parent) : QFrame(parent), m_layout(new MissLineFlow(this)), m_exportNote(new QLabel(this))
{
    setObjectName(QStringLiteral("pnlMissLine"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    m_layout->setContentsMargins(6, 2, 6, 2);
    m_layout->setSpacing(4);
    m_exportNote->setObjectName(QStringLiteral("lblExportNote"));
    m_exportNote->setTextFormat(Qt::PlainText);
    m_exportNote->hide();
    m_layout->addWidget(m_exportNote);
    hide();
}

void MissLine::setExportNote(const QString &note)
{
    m_exportNote->setText(note);
    m_exportNote->setVisible(!note.isEmpty());
    updateVisibility();
}

void MissLine::updateVisibility()
{
    setVisible(m_layout->count() > FixedItems || m_exportNote->isVisibleTo(this));
}

void MissLine::clear()
{
    m_exportNote->clear();
    m_exportNote->hide();
    // A button may be the one whose click is being handled: its end is queued.
    while (m_layout->count() > FixedItems) {
        QLayoutItem *item = m_layout->takeAt(0);
        if (QWidget *widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
    updateVisibility();
}

void MissLine::setMisses(const QList<Miss> &misses, const QStringList &notes)
{
    clear();
    int at = 0;
    const auto add = [this, &at](QWidget *widget) { m_layout->insertWidget(at++, widget); };
    const auto text = [this](const QString &name, const QString &content) {
        auto *label = new QLabel(content, this);
        label->setObjectName(name);
        label->setTextFormat(Qt::PlainText);
        return label;
    };

    // The buttons are new: they join the focus chain where the line stands, so
    // that Tab reaches them after the controls above the columns.
    QWidget *before = previousInFocusChain();
    while (before != this && !(before->focusPolicy() & Qt::TabFocus))
        before = before->previousInFocusChain();
    for (qsizetype i = 0; i < misses.size(); ++i) {
        const Miss &miss = misses[i];
        const QString word = miss.root.typed;
        QString said = tr("No synonyms for “%1”").arg(word);
        if (!miss.root.suggestions.isEmpty())
            said += tr("; did you mean:");
        else if (i + 1 < misses.size())
            said += QLatin1Char(';');
        else
            said += QLatin1Char('.');
        add(text(QStringLiteral("lblMiss"), said));
        for (const QString &suggestion : miss.root.suggestions) {
            auto *button = new QPushButton(suggestion, this);
            button->setObjectName(QStringLiteral("btnSuggestion"));
            button->setFlat(true);
            button->setCursor(Qt::PointingHandCursor);
            button->setFocusPolicy(Qt::StrongFocus);
            button->setToolTip(tr("Look up “%1” in place of “%2”").arg(suggestion, word));
            button->setAccessibleName(tr("Suggestion %1 for %2").arg(suggestion, word));
            const int piece = miss.piece;
            const QString newPiece = miss.root.withCore(suggestion);
            connect(button, &QPushButton::clicked, this,
                    [this, piece, newPiece] { Q_EMIT suggestionChosen(piece, newPiece); });
            add(button);
            if (before != this)
                QWidget::setTabOrder(before, button);
            before = button;
        }
    }
    for (const QString &note : notes)
        add(text(QStringLiteral("lblDictionaryNote"), note));
    updateVisibility();
}
