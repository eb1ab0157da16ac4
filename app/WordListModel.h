#pragma once

#include "thesaurus/SynonymExpansion.h"

#include <QAbstractListModel>

#include <vector>

// The words of one result column: text (DisplayRole), check state (CheckStateRole)
// and SynonymTier (UserRole), which screen readers hear as the accessible description.
// The tooltip (ToolTipRole) begins with the whole word, made when it is asked for.
class WordListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    static constexpr int TierRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;

    // Replaces all words in one go: views repaint once, not per word.
    void setEntries(const SynonymExpansion::ColumnWords &entries);

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

private:
    struct Item {
        QString text;
        SynonymExpansion::Tier tier = SynonymExpansion::DirectSynonym;
        bool checked = false;
    };
    std::vector<Item> m_items;
};
