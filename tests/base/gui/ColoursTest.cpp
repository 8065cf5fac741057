// The windows' colour names as Qt colours: fixed colours by value, system
// colours from the desktop's palette, so a dark theme stays dark.
#include "base/gui/Colours.h"

#include <gtest/gtest.h>

using namespace Quorvel1;

TEST(Colours, FixedColoursAreBlueGreenRedValues)
{
    struct {
        TColor Colour;
        QColor Qt;
    } const cases[] = {
        {clRed, QColor(255, 0, 0)},     {clLime, QColor(0, 255, 0)},  {clBlue, QColor(0, 0, 255)},
        {clYellow, QColor(255, 255, 0)}, {clAqua, QColor(0, 255, 255)}, {clNavy, QColor(0, 0, 128)},
        {clBlack, QColor(0, 0, 0)},     {clWhite, QColor(255, 255, 255)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Colour);
        EXPECT_EQ(ToQColor(c.Colour, QPalette()), c.Qt);
    }
    EXPECT_EQ(InvertedColour(clRed), clAqua);
}

TEST(Colours, SystemColoursComeFromThePalette)
{
    QPalette dark;
    dark.setColor(QPalette::Button, QColor(40, 40, 40));
    dark.setColor(QPalette::Base, QColor(20, 20, 20));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Highlight, QColor(0, 90, 160));
    dark.setColor(QPalette::HighlightedText, QColor(250, 250, 250));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    struct {
        TColor Colour;
        QColor Qt;
    } const cases[] = {
        {clBtnFace, QColor(40, 40, 40)},        {clWindow, QColor(20, 20, 20)},
        {clWindowText, QColor(230, 230, 230)},  {clHighlight, QColor(0, 90, 160)},
        {clHighlightText, QColor(250, 250, 250)}, {clGrayText, QColor(120, 120, 120)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Colour);
        EXPECT_TRUE(IsSystemColour(c.Colour));
        EXPECT_EQ(ToQColor(c.Colour, dark), c.Qt);
    }
}
