#include "app/TierDelegate.h"

#include "app/WordListModel.h"
#include "settings/TStyleManager.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyleOption>

#include <algorithm>

TierLook TierDelegate::look(SynonymExpansion::Tier tier)
{
    return TStyleManager::tierLook(int(tier));
}

QFont TierDelegate::tierFont(const QFont &listFont, SynonymExpansion::Tier tier)
{
    const TierLook tierLook = look(tier);
    QFont font = listFont;
    font.setBold(tierLook.bold);
    font.setItalic(tierLook.italic);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

TierDelegate::TierDelegate(int rowHeight, QObject *parent) : QStyledItemDelegate(parent), m_rowHeight(rowHeight) {}

QSize TierDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return QSize(option.rect.width() > 0 ? option.rect.width() : 1, m_rowHeight);
}

void TierDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();

    const QRect check = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, widget);
    const bool rtl = opt.direction == Qt::RightToLeft;
    QRect text = opt.rect;
    if (rtl)
        text.setRight(check.left() - 1);
    else
        text.setLeft(check.right() + 1);

    const auto tierId = SynonymExpansion::Tier(index.data(WordListModel::TierRole).toInt());
    const TierLook tier = look(tierId);
    painter->save();
    // The whole row lies on the tier's grey, the box included, so that the box
    // stands on the same ground in every style.
    painter->fillRect(opt.rect, tier.background);
    drawCheckBox(painter, check, opt.checkState == Qt::Checked);
    const QFont font = tierFont(opt.font, tierId);
    painter->setFont(font);
    painter->setPen(tier.text);
    painter->setClipRect(text);
    text.adjust(rtl ? 0 : 2, 0, rtl ? -2 : 0, 0);
    // A word wider than its room ends in "…"; its tooltip shows it whole.
    const QString word = QFontMetrics(font).elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight,
                                                       text.width(), Qt::TextSingleLine);
    painter->drawText(text, int(Qt::TextSingleLine | Qt::AlignVCenter | (rtl ? Qt::AlignRight : Qt::AlignLeft)), word);
    painter->restore();

    if (opt.state & QStyle::State_HasFocus)
        drawFocusFrame(painter, opt, tier.background);
}

void TierDelegate::drawFocusFrame(QPainter *painter, const QStyleOptionViewItem &option, const QColor &ground)
{
    // The current word of the focused list wears the style's focus frame, however the
    // focus came: some styles draw it only after a Tab, and a click into a list and
    // then the arrow keys and Space would tick a word no one can see is current.
    QStyleOptionFocusRect frame;
    frame.QStyleOption::operator=(option);
    frame.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
    frame.backgroundColor = ground;
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    // Only the frame's edge: the tint some styles lay inside it would change the tier's ground.
    painter->save();
    painter->setClipRegion(QRegion(option.rect) - QRegion(option.rect.adjusted(2, 2, -2, -2)));
    style->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, painter, widget);
    painter->restore();
}

void TierDelegate::drawCheckBox(QPainter *painter, const QRect &box, bool checked)
{
    // Drawn here rather than by the style: the styles draw their boxes for their own
    // ground, and on the tiers' light greys those are faint, in dark styles invisible.
    // This outline keeps a contrast of at least 5:1 on every tier's grey.
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(QColor::fromRgb(CheckBoxOutline), 1));
    painter->setBrush(QColor(0xFF, 0xFF, 0xFF));
    painter->drawRect(box.adjusted(0, 0, -1, -1));
    if (checked) {
        painter->setRenderHint(QPainter::Antialiasing, true);
        const QRectF r = QRectF(box).adjusted(2.5, 2.5, -2.5, -2.5);
        QPen tick(QColor(0x00, 0x00, 0x00), std::max(1.5, box.width() / 7.0));
        tick.setCapStyle(Qt::RoundCap);
        tick.setJoinStyle(Qt::RoundJoin);
        painter->setPen(tick);
        const QPointF points[] = {
            {r.left(), r.top() + r.height() * 0.55}, {r.left() + r.width() * 0.38, r.bottom()}, {r.right(), r.top()}};
        painter->drawPolyline(points, 3);
    }
    painter->restore();
}
