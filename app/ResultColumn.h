#pragma once

#include "widgets/DisplayFont.h"
#include "thesaurus/SynonymExpansion.h"

#include <QFrame>

class CheckListBox;
class QLabel;
class QMenu;

// One column of the Results area: the typed word as its heading and its tiered
// synonyms as a list of check boxes. Built as a shell with the heading first; a
// word with synonyms then gets its list.
class ResultColumn : public QFrame
{
    Q_OBJECT

public:
    static constexpr int CollapsedWidth = 140;

    ResultColumn(const QString &typedWord, const DisplayFont &font, QWidget *parent = nullptr);

    // Adds the list with the entries, all unchecked, filled in one go, and its popup menu.
    void complete(const SynonymExpansion::ColumnWords &entries);

    QString typedWord() const { return m_typedWord; }
    // The word whose synonyms the column shows, when it is not the typed word itself:
    // the heading stays the typed word and its tooltip names the root.
    void setRoot(const QString &root);
    QLabel *heading() const { return m_heading; }
    CheckListBox *list() const { return m_list; }
    QMenu *popupMenu() const { return m_menu; }

    // The panel's font: the heading shows it whole, the rows take face and size, and
    // their height from it.
    const DisplayFont &displayFont() const { return m_font; }
    void setDisplayFont(const DisplayFont &font);

    // 0 collapsed, 1 expanded.
    int Expanded = 0;

    // The pixel height of "test" in a font, plus 3: the row height of the list.
    static int rowHeightFor(const DisplayFont &font);

Q_SIGNALS:
    void headingClicked(ResultColumn *column);
    void menuRequested(ResultColumn *column, const QPoint &viewportPos);
    void wordDoubleClicked(ResultColumn *column, int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyFont();

    QString m_typedWord;
    DisplayFont m_font;
    QLabel *m_heading;
    CheckListBox *m_list = nullptr;
    QMenu *m_menu = nullptr;
};
