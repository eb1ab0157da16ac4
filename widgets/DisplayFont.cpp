#include "widgets/DisplayFont.h"

#include <QPalette>

#include <algorithm>

QFont DisplayFont::toQFont() const
{
    QFont font(family);
    font.setPointSize(std::max(1, pointSize));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    return font;
}

QColor DisplayFont::qColor(const QPalette &palette) const
{
    if (color == TColor::clDefault || color == TColor::clNone)
        return {};
    if (!TColor::isSystem(color))
        return QColor(TColor::red(color), TColor::green(color), TColor::blue(color));
    switch (TColor::systemIndex(color)) {
    case 5: return palette.color(QPalette::Base);
    case 13: return palette.color(QPalette::Highlight);
    case 14: return palette.color(QPalette::HighlightedText);
    case 15: return palette.color(QPalette::Button);
    case 17: return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: return palette.color(QPalette::ButtonText);
    case 23: return palette.color(QPalette::ToolTipText);
    case 24: return palette.color(QPalette::ToolTipBase);
    case 26: return palette.color(QPalette::Link);
    default: return palette.color(QPalette::WindowText);
    }
}

DisplayFont DisplayFont::dialogDesignFont()
{
    DisplayFont font;
    font.family = QStringLiteral("Tahoma");
    font.pointSize = 8;
    font.color = TColor::clWindowText;
    return font;
}

DisplayFont DisplayFont::fromQFont(const QFont &font, std::int32_t color)
{
    DisplayFont result;
    result.family = font.family();
    result.pointSize = font.pointSize() > 0 ? font.pointSize() : qRound(font.pointSizeF());
    result.color = color;
    result.bold = font.bold();
    result.italic = font.italic();
    result.underline = font.underline();
    result.strikeOut = font.strikeOut();
    return result;
}
