#include "thesaurus/LanguageTable.h"

namespace LanguageTable {

std::int32_t identifier(TSpellCheckLanguage language)
{
    return Identifiers[static_cast<std::uint8_t>(language) % Count];
}

LocaleInfo localeForIdentifier(std::int32_t identifier)
{
    // Ordinals 0 and 1 (identifiers 0 and 1024) have no locale and are skipped.
    for (const Row &row : Rows) {
        if (row.identifier != identifier || !row.locale)
            continue;
        LocaleInfo info{QString::fromLatin1(row.locale), QString::fromLatin1(row.language), {}};
        for (const Row &other : Rows) {
            if (other.preferredForLanguage && info.language == QLatin1StringView(other.language)) {
                info.preferredLocale = QString::fromLatin1(other.locale);
                break;
            }
        }
        return info;
    }
    return {};
}

const QStringList &listItems()
{
    static const QStringList items = [] {
        QStringList texts;
        for (const Row &row : Rows) {
            if (row.listText)
                texts.append(QString::fromLatin1(row.listText));
        }
        return texts;
    }();
    return items;
}

TSpellCheckLanguage languageForListIndex(int listIndex)
{
    return static_cast<TSpellCheckLanguage>(static_cast<std::uint8_t>(listIndex + 2));
}

namespace {
// "Greek," and "Russian " as people type them: without the blanks and commas at the ends.
QString bare(const QString &name)
{
    qsizetype begin = 0, end = name.size();
    const auto loose = [](QChar c) { return c.isSpace() || c == QLatin1Char(','); };
    while (begin < end && loose(name[begin]))
        ++begin;
    while (end > begin && loose(name[end - 1]))
        --end;
    return name.mid(begin, end - begin);
}
} // namespace

int listIndexForName(const QString &name)
{
    const QString wanted = bare(name);
    const QStringList &items = listItems();
    for (int i = 0; i < items.size(); ++i) {
        if (items[i].compare(name, Qt::CaseInsensitive) == 0 || bare(items[i]).compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace LanguageTable
