#pragma once

#include "thesaurus/Generate.h"

#include <QFrame>
#include <QList>

class QHBoxLayout;

// The line above the result columns that names the typed words that found
// nothing, with buttons for the spellings that would find something, and the
// notes on spelling dictionaries that could not be used. Hidden while empty.
class MissLine : public QFrame
{
    Q_OBJECT

public:
    using Miss = SynonymExpansion::Miss;

    explicit MissLine(QWidget *parent = nullptr);

    // Shows the misses and notes of one Generate, in place of the last ones.
    void setMisses(const QList<Miss> &misses, const QStringList &notes);
    void clear();

Q_SIGNALS:
    // A suggestion was chosen: the piece at that place becomes the new text.
    void suggestionChosen(int piece, const QString &newPiece);

private:
    QHBoxLayout *m_layout;
};
