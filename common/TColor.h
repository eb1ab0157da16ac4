#pragma once

#include <cstdint>

// Colours as the stored settings encode them: 0x00BBGGRR for a plain colour (red in
// the low byte), 0xFF0000nn for the system colour number nn, and clDefault for a
// font without a colour of its own.
namespace TColor {

inline constexpr std::int32_t clDefault = 0x20000000;
inline constexpr std::int32_t clNone = 0x1FFFFFFF;
inline constexpr std::int32_t clWindowText = std::int32_t(0xFF000008u);
inline constexpr std::int32_t clWindow = std::int32_t(0xFF000005u);
inline constexpr std::int32_t clBtnFace = std::int32_t(0xFF00000Fu);

constexpr bool isSystem(std::int32_t color)
{
    return (std::uint32_t(color) & 0xFF000000u) == 0xFF000000u;
}
constexpr int systemIndex(std::int32_t color)
{
    return int(std::uint32_t(color) & 0xFFu);
}
constexpr std::int32_t fromRgb(int red, int green, int blue)
{
    return blue << 16 | green << 8 | red;
}
constexpr int red(std::int32_t color)
{
    return color & 0xFF;
}
constexpr int green(std::int32_t color)
{
    return (color >> 8) & 0xFF;
}
constexpr int blue(std::int32_t color)
{
    return (color >> 16) & 0xFF;
}

} // namespace TColor
