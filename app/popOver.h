#pragma once

#include "widgets/DisplayFont.h"

#include <QPointer>
#include <QWidget>

class MeaningsPanel;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;
class TSpellCheck;

// A small stay-on-top window with a word's synonyms as a tree three levels deep,
// and below it the meanings of the selected word. It fills itself while it is
// shown, closes itself at once when the word has no synonyms, and frees itself
// when closed.
class TForm2 : public QWidget
{
    Q_OBJECT

public:
    // The thesaurus and the display font of the main window, which outlives it.
    TForm2(TSpellCheck *spellCheck, const DisplayFont *displayFont);

    QString aWord;
    QTreeWidget *tv1;
    QSplitter *splMeanings;
    MeaningsPanel *pnlMeanings;

    // The first top-level node whose text is exactly the text, or none.
    static QTreeWidgetItem *FindRootNode(const QString &text, QTreeWidget *tree);

    // The lookups the fill made, in order.
    const QStringList &lookups() const { return m_lookups; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();

    // The thesaurus fills the tree while the window is shown and then answers the
    // meanings of the selected word, while the main window lives.
    QPointer<TSpellCheck> m_spellCheck;
    // Used only while the window fills itself, right after it was opened.
    const DisplayFont *m_displayFont;
    QStringList m_lookups;
    QString m_root; // the word that answered for aWord
    bool m_filled = false;
};
