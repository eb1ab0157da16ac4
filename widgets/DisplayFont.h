#pragma once

#include "common/TColor.h"

#include <QColor>
#include <QFont>
#include <QString>

class QPalette;

// The display font of the result columns: face, size in points, colour and style.
// The size is a plain number that the font buttons may take to 0 and below; such
// sizes are drawn at the smallest size the platform allows. The colour keeps the
// stored encoding, so that system colours and "no colour" survive a round trip.
struct DisplayFont {
    QString family = QStringLiteral("Arial");
    int pointSize = 10;
    std::int32_t color = TColor::clDefault;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    QFont toQFont() const;
    // The colour to draw with; invalid for clDefault (use the theme's text colour).
    QColor qColor(const QPalette &palette) const;

    // The font dialog's design font: Tahoma, 8 points, the window text colour.
    static DisplayFont dialogDesignFont();
    static DisplayFont fromQFont(const QFont &font, std::int32_t color);

    bool operator==(const DisplayFont &) const = default;
};
