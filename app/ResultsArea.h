#pragma once

#include "app/WordListModel.h"
#include "thesaurus/Generate.h"
#include "widgets/DisplayFont.h"

#include <QList>
#include <QScrollArea>
#include <QStringList>

class QHBoxLayout;
class ResultColumn;

// The Results area: the columns of the last Generate side by side, scrolled
// sideways in the order of the phrase, each collapsed or expanded to half the
// window, all in one font.
class ResultsArea : public QScrollArea
{
    Q_OBJECT

public:
    // New columns take the font; the font changes here change it too.
    explicit ResultsArea(DisplayFont &font, QWidget *parent = nullptr);

    // The columns in the order they were created.
    const QList<ResultColumn *> &columns() const { return m_columns; }

    void clear();
    // A column for each word that found synonyms, after the columns shown.
    void append(const QList<SynonymExpansion::GeneratedColumn> &found);

    // A collapsed column widens in place to half the window's width, with three rows
    // of words across, and the area scrolls to show it whole; an expanded one
    // narrows in place. The other columns keep their places beside it.
    void toggleExpanded(ResultColumn *column, int windowWidth);

    // One point larger or smaller, for every column and the font of new ones.
    void changePointSize(int step);
    void setDisplayFont(const DisplayFont &font);

    // The ticked words of each column, in column order.
    QList<QStringList> tickedWords() const;

    // Where the columns' tooltips find the senses of their words, for the columns
    // shown and those to come. Asked only when a tooltip is, never while filling.
    void setMeaningsLookup(WordListModel::MeaningsLookup lookup);
    const WordListModel::MeaningsLookup &meaningsLookup() const { return m_meaningsLookup; }

Q_SIGNALS:
    void headingClicked(ResultColumn *column);
    void menuRequested(ResultColumn *column, const QPoint &viewportPos);
    void wordDoubleClicked(ResultColumn *column, int row);
    // The items of a column's popup menu.
    void dictionaryChosen();
    void wordTreeChosen();

private:
    void bringIntoView(ResultColumn *column);

    DisplayFont &m_font;
    QHBoxLayout *m_layout;
    QList<ResultColumn *> m_columns;
    WordListModel::MeaningsLookup m_meaningsLookup;
};
