#include "app/WordListModel.h"

#include <exception>

namespace {

// How many of a meaning's words its line names before "…".
constexpr int SenseWords = 3;
// Plain tooltips are not wrapped by Qt: a long definition is broken here.
constexpr int LineWidth = 80;

QString wrapped(const QString &line)
{
    QString result;
    qsizetype lineStart = 0;
    for (const QString &word : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (result.size() > lineStart && result.size() - lineStart + 1 + word.size() > LineWidth) {
            result += QLatin1Char('\n');
            lineStart = result.size();
        } else if (result.size() > lineStart) {
            result += QLatin1Char(' ');
        }
        result += word;
    }
    return result;
}

} // namespace

void WordListModel::setEntries(const SynonymExpansion::ColumnWords &entries)
{
    beginResetModel();
    m_items.clear();
    m_meanings.clear();
    m_items.reserve(size_t(entries.size()));
    for (const SynonymExpansion::Entry &entry : entries)
        m_items.push_back({entry.text, entry.tier, false});
    endResetModel();
}

void WordListModel::orderByRank(const SynonymExpansion::Rank &rank)
{
    SynonymExpansion::ColumnWords entries;
    entries.reserve(qsizetype(m_items.size()));
    QHash<QString, bool> ticked; // a column holds each word once
    for (const Item &item : m_items) {
        entries.append({item.text, item.tier});
        ticked.insert(item.text, item.checked);
    }
    beginResetModel();
    m_items.clear();
    for (const SynonymExpansion::Entry &entry : SynonymExpansion::MostCommonFirst(entries, rank))
        m_items.push_back({entry.text, entry.tier, ticked.value(entry.text)});
    endResetModel();
}

void WordListModel::setColumnWord(const QString &typed, const QString &root)
{
    m_typedWord = typed;
    m_root = root.isEmpty() ? typed : root;
    m_meanings.clear();
}

void WordListModel::setMeaningsLookup(MeaningsLookup lookup)
{
    m_lookup = std::move(lookup);
    m_meanings.clear();
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
    case Qt::ToolTipRole: return toolTip(index.row());
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

int WordListModel::parentRow(int row) const
{
    // The column is a pre-order walk of the synonyms: a word's parent is the
    // nearest word above it one tier up.
    const int tier = int(m_items[size_t(row)].tier);
    if (tier == SynonymExpansion::DirectSynonym)
        return -1;
    for (int above = row - 1; above >= 0; --above) {
        if (int(m_items[size_t(above)].tier) == tier - 1)
            return above;
    }
    return -1;
}

QString WordListModel::senseLine(const WordMeanings::Meaning &meaning)
{
    QStringList parts;
    if (!meaning.partOfSpeech.isEmpty())
        parts.append(QLatin1Char('(') + meaning.partOfSpeech + QLatin1Char(')'));
    else if (!meaning.label.isEmpty() && meaning.label != u"-")
        parts.append(meaning.label);
    // The meaning's own words name it; its broader terms only when it has no others.
    QStringList words = meaning.plainWords();
    if (words.isEmpty())
        words = meaning.broaderTerms();
    if (words.size() > SenseWords) {
        words.resize(SenseWords);
        words.append(QStringLiteral("…"));
    }
    if (!words.isEmpty())
        parts.append(words.join(QStringLiteral(", ")));
    QString line = parts.join(QLatin1Char(' '));
    if (!meaning.definition.isEmpty())
        line += (line.isEmpty() ? QString() : QStringLiteral(": ")) + meaning.definition;
    return line;
}

const WordMeanings::Meaning *WordListModel::senseUnder(const QString &parent, const QString &word) const
{
    if (!m_lookup || parent.isEmpty())
        return nullptr;
    auto cached = m_meanings.constFind(parent);
    if (cached == m_meanings.cend()) {
        WordMeanings::Answer answer;
        // A tooltip is no place for an error box: a failed lookup leaves the
        // tooltip without a sense, and nothing may leave data() by an exception.
        try {
            answer = m_lookup(parent);
        } catch (const std::exception &) {
            // AppError among them
        }
        cached = m_meanings.insert(parent, std::move(answer));
    }
    const QList<WordMeanings::Meaning> &meanings = cached->meanings;
    // The first meaning that lists the word: the column keeps a word where it was
    // first found, and the data's first meaning with it is where the walk met it.
    for (Qt::CaseSensitivity sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        for (const WordMeanings::Meaning &meaning : meanings) {
            for (const WordMeanings::Word &listed : meaning.words) {
                if (listed.text.compare(word, sensitivity) == 0)
                    return &meaning;
            }
        }
    }
    return nullptr;
}

QString WordListModel::toolTip(int row) const
{
    const Item &item = m_items[size_t(row)];
    // The whole word, for one cut short by a narrow column. It comes first:
    // anything told about the word follows it.
    QStringList lines{item.text};
    const int parent = parentRow(row);
    if (item.tier != SynonymExpansion::DirectSynonym) {
        QStringList path{item.text};
        for (int above = parent; above >= 0; above = parentRow(above))
            path.prepend(m_items[size_t(above)].text);
        if (!m_typedWord.isEmpty())
            path.prepend(m_typedWord);
        lines.append(path.join(QStringLiteral(" → ")));
    }
    // A deeper row without a row above it one tier up has no known parent.
    const bool parentKnown = item.tier == SynonymExpansion::DirectSynonym || parent >= 0;
    if (parentKnown) {
        const QString parentWord = parent >= 0 ? m_items[size_t(parent)].text : m_root;
        if (const WordMeanings::Meaning *sense = senseUnder(parentWord, item.text)) {
            const QString line = senseLine(*sense);
            if (!line.isEmpty())
                lines.append(wrapped(line));
        }
    }
    return lines.join(QLatin1Char('\n'));
}
