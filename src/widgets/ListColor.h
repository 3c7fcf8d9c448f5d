#pragma once
// Colours of report-list cells: 0xRRGGBB, or DefaultColor for the system's colour
// (window text for text, window for background).

#include <QColor>

namespace dbkeel {

using ListColor = int;

inline constexpr ListColor DefaultColor = -1;

constexpr ListColor rgb(int red, int green, int blue)
{
    return (red & 0xFF) << 16 | (green & 0xFF) << 8 | (blue & 0xFF);
}

constexpr bool isValidListColor(ListColor color)
{
    return color == DefaultColor || (color >= 0 && color <= 0xFFFFFF);
}

inline QColor toQColor(ListColor color)
{
    return QColor((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

inline ListColor fromQColor(const QColor &color)
{
    return rgb(color.red(), color.green(), color.blue());
}

// The row colours of the installation's lists and what each one means.
namespace listcolor {
inline constexpr ListColor Blue = rgb(0, 0, 255);           // normal, stored and live
inline constexpr ListColor Olive = rgb(128, 128, 0);        // withdrawn
inline constexpr ListColor Red = rgb(255, 0, 0);            // faulty
inline constexpr ListColor Teal = rgb(0, 128, 128);         // added and not stored
inline constexpr ListColor Green = rgb(0, 128, 0);          // assigned or stored
inline constexpr ListColor PaleGreen = rgb(240, 247, 233);  // background of most lists
}  // namespace listcolor

}  // namespace dbkeel
