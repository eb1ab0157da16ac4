#pragma once

#include "thesaurus/SynonymExpansion.h"
#include "thesaurus/WordMeanings.h"

#include <QAbstractListModel>
#include <QHash>

#include <functional>
#include <vector>

// The words of one result column: text (DisplayRole), check state (CheckStateRole)
// and SynonymTier (UserRole), which screen readers hear as the accessible description.
// The tooltip (ToolTipRole) begins with the whole word; for a deeper word the words
// it came through follow, then the sense it stands under. It is made when it is
// asked for: a Generate never looks up meanings.
class WordListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    static constexpr int TierRole = Qt::UserRole;
    // A word's meanings in the language of the column; may throw AppError.
    using MeaningsLookup = std::function<WordMeanings::Answer(const QString &word)>;

    using QAbstractListModel::QAbstractListModel;

    // Replaces all words in one go: views repaint once, not per word. The meanings
    // looked up for the words before go with them.
    void setEntries(const SynonymExpansion::ColumnWords &entries);

    // Orders the words most common first (SynonymExpansion::MostCommonFirst),
    // each keeping its tick.
    void orderByRank(const SynonymExpansion::Rank &rank);

    // The column's typed word, which the path of a deeper word starts from, and the
    // word that answered for it (the typed word when empty), whose meanings the
    // first-level words stand under.
    void setColumnWord(const QString &typed, const QString &root = {});
    // Without one, tooltips name the whole word and its path only.
    void setMeaningsLookup(MeaningsLookup lookup);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    QString text(int row) const { return m_items[size_t(row)].text; }
    bool isChecked(int row) const { return m_items[size_t(row)].checked; }
    // The ticked words, in list order.
    QStringList checkedWords() const;
    // A word's accessible description: its tier in words ("second level").
    static QString tierDescription(SynonymExpansion::Tier tier);
    // The row a word was found under: the nearest row above it one tier up; -1 for
    // a first-level word (found under the column's word) or a row without one.
    int parentRow(int row) const;
    // A meaning in one line: "(adj) smart, intelligent: characterized by quickness
    // and ease in learning", its part of speech (or the data's label), its first
    // words and, where there is one, its definition.
    static QString senseLine(const WordMeanings::Meaning &meaning);

private:
    struct Item {
        QString text;
        SynonymExpansion::Tier tier = SynonymExpansion::DirectSynonym;
        bool checked = false;
    };
    QString toolTip(int row) const;
    // The meaning of `parent` that lists `word`, or null; looked up once per parent.
    const WordMeanings::Meaning *senseUnder(const QString &parent, const QString &word) const;

    std::vector<Item> m_items;
    QString m_typedWord;
    QString m_root;
    MeaningsLookup m_lookup;
    // The meanings of the words asked about so far, by word; a failed lookup keeps
    // an empty answer so that it is not tried again at every hover.
    mutable QHash<QString, WordMeanings::Answer> m_meanings;
};
