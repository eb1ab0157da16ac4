#include "app/WordListModel.h"

void WordListModel::setEntries(const SynonymExpansion::ColumnWords &entries)
{
    beginResetModel();
    m_items.clear();
    m_items.reserve(size_t(entries.size()));
    for (const SynonymExpansion::Entry &entry : entries)
        m_items.push_back({entry.text, entry.tier, false});
    endResetModel();
}

QString WordListModel::tierDescription(SynonymExpansion::Tier tier)
{
    switch (tier) {
    case SynonymExpansion::SecondLevel: return tr("second level");
    case SynonymExpansion::ThirdLevel: return tr("third level");
    case SynonymExpansion::DirectSynonym: break;
    }
    return tr("first level");
}

int WordListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant WordListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Item &item = m_items[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: return item.text;
    case Qt::ToolTipRole:
        // The whole word, for one cut short by a narrow column. It comes first:
        // anything told about the word follows it.
        return item.text;
    case Qt::CheckStateRole: return item.checked ? Qt::Checked : Qt::Unchecked;
    case TierRole: return int(item.tier);
    case Qt::AccessibleDescriptionRole:
        // What the colours and italics tell a sighted user: how far the word lies from the typed one.
        return tierDescription(item.tier);
    default: return {};
    }
}

bool WordListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::CheckStateRole)
        return false;
    m_items[size_t(index.row())].checked = value.value<Qt::CheckState>() == Qt::Checked;
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags WordListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemNeverHasChildren;
}

QStringList WordListModel::checkedWords() const
{
    QStringList words;
    for (const Item &item : m_items) {
        if (item.checked)
            words.append(item.text);
    }
    return words;
}
