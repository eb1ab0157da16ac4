#pragma once

#include "settings/Theme.h"
#include "thesaurus/SynonymExpansion.h"

#include <QStyledItemDelegate>

// Draws a result row by its SynonymTier: the tier's ground, a check box with a
// dark outline where the style places its box, then the word in the tier's colours
// and style, whatever the selection, cut with "…" where the row is too narrow; the
// current row of the focused list in the style's focus frame.
// All rows have one height, which follows the list's font.
class TierDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using TierLook = ::TierLook;
    // The tier's look in the style in force: the theme's, or the defaults.
    static TierLook look(SynonymExpansion::Tier tier);
    // The check box's outline: dark enough for 3:1 and more on every tier's ground.
    static constexpr QRgb CheckBoxOutline = 0xFF595959;
    static void drawCheckBox(QPainter *painter, const QRect &box, bool checked);
    // The style's focus frame around a row, on the row's ground.
    static void drawFocusFrame(QPainter *painter, const QStyleOptionViewItem &option, const QColor &ground);

    explicit TierDelegate(int rowHeight, QObject *parent = nullptr);

    int rowHeight() const { return m_rowHeight; }
    void setRowHeight(int rowHeight) { m_rowHeight = rowHeight; }
    // The font a tier's words are drawn in, from the list's font.
    static QFont tierFont(const QFont &listFont, SynonymExpansion::Tier tier);
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int m_rowHeight;
};
