#pragma once

#include "widgets/DisplayFont.h"

#include <QPointer>
#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;
class TSpellCheck;

// A small stay-on-top window with a word's synonyms as a tree three levels deep.
// It fills itself while it is shown, closes itself at once when the word has no
// synonyms, and frees itself when closed.
class TForm2 : public QWidget
{
    Q_OBJECT

public:
    // The thesaurus and the display font of the main window, which outlives it.
    TForm2(TSpellCheck *spellCheck, const DisplayFont *displayFont);

    QString aWord;
    QTreeWidget *tv1;

    // The first top-level node whose text is exactly the text, or none.
    static QTreeWidgetItem *FindRootNode(const QString &text, QTreeWidget *tree);

    // The lookups the fill made, in order.
    const QStringList &lookups() const { return m_lookups; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();

    // Both are used only while the window fills itself, right after it was opened.
    QPointer<TSpellCheck> m_spellCheck;
    const DisplayFont *m_displayFont;
    QStringList m_lookups;
    QString m_root; // the word that answered for aWord
    bool m_filled = false;
};
