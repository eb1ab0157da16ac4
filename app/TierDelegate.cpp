#include "app/TierDelegate.h"

#include "app/WordListModel.h"

#include <QApplication>
#include <QPainter>

TierDelegate::TierLook TierDelegate::look(int tier)
{
    switch (tier) {
    case 1: return {QColor(0xEF, 0xEF, 0xEF), QColor(0x00, 0x80, 0x00), false, true};
    case 2: return {QColor(0xE5, 0xE5, 0xE5), QColor(0x00, 0x00, 0xFF), false, true};
    default: return {QColor(0xF9, 0xF9, 0xF9), QColor(0x00, 0x00, 0x00), true, false};
    }
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
    QStyleOptionViewItem checkOpt = opt;
    checkOpt.rect = check;
    checkOpt.state = checkOpt.state & ~QStyle::State_HasFocus;
    checkOpt.state |= opt.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &checkOpt, painter, widget);

    const bool rtl = opt.direction == Qt::RightToLeft;
    QRect text = opt.rect;
    if (rtl)
        text.setRight(check.left() - 1);
    else
        text.setLeft(check.right() + 1);

    const TierLook tier = look(index.data(WordListModel::TierRole).toInt());
    painter->save();
    painter->fillRect(text, tier.background);
    QFont font = opt.font;
    font.setBold(tier.bold);
    font.setItalic(tier.italic);
    font.setUnderline(false);
    font.setStrikeOut(false);
    painter->setFont(font);
    painter->setPen(tier.text);
    painter->setClipRect(text);
    text.adjust(rtl ? 0 : 2, 0, rtl ? -2 : 0, 0);
    painter->drawText(text, int(Qt::TextSingleLine | Qt::AlignVCenter | (rtl ? Qt::AlignRight : Qt::AlignLeft)),
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}
