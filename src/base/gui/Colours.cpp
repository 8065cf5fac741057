#include "base/gui/Colours.h"

#include <QGuiApplication>

namespace Quorvel1 {

namespace {

QPalette::ColorRole RoleOf(TColor colour)
{
    switch (colour) {
    case clWindow:
        return QPalette::Base;
    case clHighlight:
        return QPalette::Highlight;
    case clHighlightText:
        return QPalette::HighlightedText;
    case clBtnFace:
        return QPalette::Button;
    case clBtnShadow:
        return QPalette::Dark;
    case clBtnText:
        return QPalette::ButtonText;
    case clBtnHighlight:
        return QPalette::Light;
    case clInfoText:
        return QPalette::ToolTipText;
    case clInfoBk:
        return QPalette::ToolTipBase;
    default:
        return QPalette::Text;
    }
}

} // namespace

QColor ToQColor(TColor colour, const QPalette& palette)
{
    if (colour == clGrayText)
        return palette.color(QPalette::Disabled, QPalette::Text);
    if (IsSystemColour(colour))
        return palette.color(QPalette::Active, RoleOf(colour));
    return QColor(int(colour & 0xFF), int(colour >> 8 & 0xFF), int(colour >> 16 & 0xFF));
}

QColor ToQColor(TColor colour)
{
    return ToQColor(colour, QGuiApplication::palette());
}

} // namespace Quorvel1
