#pragma once

#include <QListView>

class WordListModel;
class TierDelegate;

// A result column's list of check boxes: rows of one height, single selection, shown as one
// list or in newspaper columns (top to bottom, then into the next column).
class CheckListBox : public QListView
{
    Q_OBJECT

public:
    CheckListBox(int rowHeight, QWidget *parent = nullptr);

    WordListModel *words() const { return m_model; }
    int rowHeight() const;
    // Every row at once, laid out again.
    void setRowHeight(int rowHeight);

    void setColumns(int columns);
    int columns() const { return m_columns; }

    // The row under a point of the viewport, or -1.
    int itemAt(const QPoint &viewportPos) const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateGrid();

    WordListModel *m_model;
    TierDelegate *m_delegate;
    int m_columns = 1;
};
