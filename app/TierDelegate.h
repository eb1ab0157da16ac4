#pragma once

#include <QStyledItemDelegate>

// Draws a result row by its SynonymTier: the check box as the style draws it, then
// the word in the tier's colours and style, whatever the selection. Rows have one
// fixed height.
class TierDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    struct TierLook {
        QColor background;
        QColor text;
        bool bold;
        bool italic;
    };
    static TierLook look(int tier);

    explicit TierDelegate(int rowHeight, QObject *parent = nullptr);

    int rowHeight() const { return m_rowHeight; }
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int m_rowHeight;
};
