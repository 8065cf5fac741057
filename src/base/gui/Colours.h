#pragma once
// The program's colours as the windows name them: fixed colours as
// 0x00BBGGRR values (clRed is 0x0000FF) and system colours, which stand for a
// role of the desktop's palette (clBtnFace is the button face of the current
// theme, dark or light). One function turns either kind into a QColor.
#include <QColor>
#include <QPalette>

#include <cstdint>

namespace Quorvel1 {

using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

// System colours: this flag and the system's colour index.
constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;

constexpr bool IsSystemColour(TColor colour)
{
    return (colour & clSystemColor) == clSystemColor;
}

// The colour with every bit of red, green and blue inverted: a row's own text
// colour on the highlight of a selected row.
constexpr TColor InvertedColour(TColor colour)
{
    return colour ^ 0xFFFFFF;
}

// A system colour is taken from `palette` (its active group); an unknown
// system colour gives the palette's text colour.
QColor ToQColor(TColor colour, const QPalette& palette);
// The same over the application's palette.
QColor ToQColor(TColor colour);

} // namespace Quorvel1
