#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// How deep a Generate goes, named once: the depth list of the window shows these
// names in this order, and the command lines take their numbers.
enum class Depth { QuickMatch = 0, Verbarium = 1, Doraz3 = 2 };

namespace Depths {

struct Entry {
    Depth depth;
    const char16_t *name;
};
inline constexpr std::array<Entry, 3> All{{
    {Depth::QuickMatch, u"Quick Match"},
    {Depth::Verbarium, u"Verbarium"},
    {Depth::Doraz3, u"Doraz 3"},
}};

// The depth list's index as a Generate reads it: any index that names no depth
// (none chosen, a typed text) acts as Quick Match.
constexpr Depth fromIndex(int index)
{
    return index > 0 && index < int(All.size()) ? All[std::size_t(index)].depth : Depth::QuickMatch;
}

// The names in list order.
inline QStringList names()
{
    QStringList list;
    for (const Entry &entry : All)
        list.append(QString::fromUtf16(entry.name));
    return list;
}

// "0 Quick Match, 1 Verbarium, 2 Doraz 3", for the command lines' help.
inline QString numberedNames()
{
    QStringList parts;
    for (const Entry &entry : All)
        parts.append(QString::number(int(entry.depth)) + u' ' + QString::fromUtf16(entry.name));
    return parts.join(QStringLiteral(", "));
}

// "0, 1 or 2", for the command lines' messages.
inline QString numbers()
{
    QStringList parts;
    for (const Entry &entry : All)
        parts.append(QString::number(int(entry.depth)));
    const QString last = parts.takeLast();
    return parts.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

// A depth's number as typed on a command line ("0", "1", "2", blanks around it
// allowed), or nothing.
inline std::optional<int> parseNumber(const QString &text)
{
    const QString number = text.trimmed();
    for (const Entry &entry : All) {
        if (number == QString::number(int(entry.depth)))
            return int(entry.depth);
    }
    return std::nullopt;
}

} // namespace Depths
