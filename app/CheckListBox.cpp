#include "app/CheckListBox.h"

#include "app/TierDelegate.h"
#include "app/WordListModel.h"

#include <QResizeEvent>

#include <algorithm>

CheckListBox::CheckListBox(int rowHeight, QWidget *parent)
    : QListView(parent), m_model(new WordListModel(this)), m_delegate(new TierDelegate(rowHeight, this))
{
    setModel(m_model);
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFlow(QListView::TopToBottom);
    setResizeMode(QListView::Adjust);
    setLayoutMode(QListView::SinglePass);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setColumns(1);
}

int CheckListBox::rowHeight() const
{
    return m_delegate->rowHeight();
}

void CheckListBox::setRowHeight(int rowHeight)
{
    if (rowHeight == m_delegate->rowHeight())
        return;
    m_delegate->setRowHeight(rowHeight);
    updateGrid();
}

void CheckListBox::setColumns(int columns)
{
    m_columns = std::max(1, columns);
    setWrapping(m_columns > 1);
    updateGrid();
}

void CheckListBox::updateGrid()
{
    // Every row spans a whole list column; the width follows the client width.
    const int width = std::max(1, viewport()->width() / m_columns);
    setGridSize(QSize(width, rowHeight()));
}

void CheckListBox::resizeEvent(QResizeEvent *event)
{
    QListView::resizeEvent(event);
    updateGrid();
}

int CheckListBox::itemAt(const QPoint &viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    return index.isValid() ? index.row() : -1;
}
