#pragma once

#include "thesaurus/Generate.h"

#include <QFrame>
#include <QList>

class QLabel;
class MissLineFlow;

// The line above the result columns that names the typed words that found
// nothing, with buttons for the spellings that would find something, and the
// notes on spelling dictionaries that could not be used; and, after a Copy or
// Save that had nothing to take, a note that says so. Hidden while empty.
class MissLine : public QFrame
{
    Q_OBJECT

public:
    using Miss = SynonymExpansion::Miss;

    explicit MissLine(QWidget *parent = nullptr);

    // Shows the misses and notes of one Generate, in place of the last ones.
    void setMisses(const QList<Miss> &misses, const QStringList &notes);
    void clear();

    // A note on the last Copy or Save, after the misses; an empty text takes it away.
    void setExportNote(const QString &note);

Q_SIGNALS:
    // A suggestion was chosen: the piece at that place becomes the new text.
    void suggestionChosen(int piece, const QString &newPiece);

private:
    void updateVisibility();

    MissLineFlow *m_layout;
    QLabel *m_exportNote;
};
