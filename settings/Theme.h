#pragma once

#include <QByteArray>
#include <QColor>
#include <QPalette>
#include <QString>

#include <array>

// How the result lists draw the words of one tier (direct synonyms, second and
// third level): the row's ground, the word's ink, and its face.
struct TierLook {
    QColor background;
    QColor text;
    bool bold = false;
    bool italic = false;
    bool operator==(const TierLook &) const = default;
};
// By tier: direct synonyms, second level, third level.
using TierLooks = std::array<TierLook, 3>;

// One of our own looks, as read from its data file: what the application gets
// when the theme is applied (Fusion + this palette + this style sheet), and the
// looks of the result lists' tiers.
class Theme
{
public:
    QString name;
    QPalette palette;
    QString styleSheet;
    // A theme's file may set any of them ("tiers": {"second": {"text": "#006400"}});
    // what it leaves out keeps these defaults.
    TierLooks tiers = defaultTierLooks();

    // Black bold on #F9F9F9, green italic on #EFEFEF, blue italic on #E5E5E5: the
    // looks of the platform's own style and of every theme that sets none.
    static TierLooks defaultTierLooks();

    // A button whose property of this name is true is compact: every theme read
    // from its file ends with a rule that gives it a tight padding (2px 3px), for
    // fixed sizes that have no room for a theme's roomy one. Set it before the
    // button is first shown or polished.
    static constexpr const char *CompactProperty = "compact";

    // Throws AppError naming the fault when the data is not a complete theme.
    static Theme fromJson(const QByteArray &json);
    // As fromJson, the rules every theme shares added at the end of its sheet.
    static Theme fromFile(const QString &path);

    // WCAG 2 contrast ratio of two opaque colours: 1 (same) up to 21 (black on white).
    static double contrastRatio(const QColor &a, const QColor &b);
};
