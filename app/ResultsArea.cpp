#include "app/ResultsArea.h"

#include "app/CheckListBox.h"
#include "app/ResultColumn.h"
#include "app/WordListModel.h"
#include "common/LayoutMath.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>

#include <algorithm>
#include <limits>

ResultsArea::ResultsArea(DisplayFont &font, QWidget *parent) : QScrollArea(parent), m_font(font)
{
    setObjectName(QStringLiteral("ScrollBox1"));
    setWidgetResizable(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto *host = new QWidget;
    host->setObjectName(QStringLiteral("ScrollBox1Contents"));
    m_layout = new QHBoxLayout(host);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addStretch(1);
    setWidget(host);
}

void ResultsArea::clear()
{
    qDeleteAll(m_columns);
    m_columns.clear();
}

void ResultsArea::append(const QList<SynonymExpansion::GeneratedColumn> &found)
{
    for (const SynonymExpansion::GeneratedColumn &words : found) {
        auto *column = new ResultColumn(words.word, m_font);
        m_layout->insertWidget(m_layout->count() - 1, column);
        column->complete(words.entries);
        column->setRoot(words.root);
        column->list()->words()->setMeaningsLookup(m_meaningsLookup);
        connect(column, &ResultColumn::headingClicked, this, &ResultsArea::headingClicked);
        connect(column, &ResultColumn::menuRequested, this, &ResultsArea::menuRequested);
        connect(column, &ResultColumn::wordDoubleClicked, this, &ResultsArea::wordDoubleClicked);
        QMenu *menu = column->popupMenu();
        connect(menu->findChild<QAction *>(QStringLiteral("miDictionary")), &QAction::triggered, this,
                &ResultsArea::dictionaryChosen);
        connect(menu->findChild<QAction *>(QStringLiteral("miDoraz3")), &QAction::triggered, this,
                &ResultsArea::wordTreeChosen);
        m_columns.append(column);
    }
}

void ResultsArea::toggleExpanded(ResultColumn *column, int windowWidth)
{
    // The column changes its width where it stands: the order of the columns is the
    // order of the phrase, on screen as in every export.
    if (column->Expanded == 0) {
        column->setFixedWidth(halfRoundedToEven(windowWidth));
        column->Expanded = 1;
        column->list()->setColumns(3);
        bringIntoView(column);
    } else {
        column->setFixedWidth(ResultColumn::CollapsedWidth);
        column->Expanded = 0;
        column->list()->setColumns(1);
    }
}

void ResultsArea::bringIntoView(ResultColumn *column)
{
    // The row of columns takes its new width now rather than at the next layout pass,
    // so that the scroll range already holds the widened column.
    QWidget *host = widget();
    host->resize(std::max(viewport()->width(), host->minimumSizeHint().width()), host->height());
    m_layout->activate();
    ensureWidgetVisible(column, 0, 0);
}

namespace {

// The size a step makes: unbounded as sizes go, but a size stored at the end of
// an int's range stays there instead of wrapping around to the other end.
int steppedSize(int size, int step)
{
    return int(std::clamp<qint64>(qint64(size) + step, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

void ResultsArea::changePointSize(int step)
{
    for (auto it = m_columns.rbegin(); it != m_columns.rend(); ++it) {
        DisplayFont font = (*it)->displayFont();
        font.pointSize = steppedSize(font.pointSize, step);
        (*it)->setDisplayFont(font);
    }
    m_font.pointSize = steppedSize(m_font.pointSize, step);
}

void ResultsArea::setDisplayFont(const DisplayFont &font)
{
    for (auto it = m_columns.rbegin(); it != m_columns.rend(); ++it)
        (*it)->setDisplayFont(font);
    m_font = font;
}

QList<QStringList> ResultsArea::tickedWords() const
{
    QList<QStringList> ticked;
    for (ResultColumn *column : m_columns)
        ticked.append(column->list()->words()->checkedWords());
    return ticked;
}

void ResultsArea::setMeaningsLookup(WordListModel::MeaningsLookup lookup)
{
    m_meaningsLookup = std::move(lookup);
    for (ResultColumn *column : m_columns)
        column->list()->words()->setMeaningsLookup(m_meaningsLookup);
}
