// Fixed-point values to text and back.
#include "site/FixedPoint.h"

#include <gtest/gtest.h>

#include <climits>

using namespace Quorvel1;

TEST(FormatFixed, PlacesTheDecimalPoint)
{
    EXPECT_EQ(FormatFixed(1234, -1), "123.4");
    EXPECT_EQ(FormatFixed(5, -2), "0.05");
    EXPECT_EQ(FormatFixed(-5, -1), "-0.5");
    EXPECT_EQ(FormatFixed(-384, -1), "-38.4");
    EXPECT_EQ(FormatFixed(0, -2), "0.00");
}

TEST(FormatFixed, PositiveExponentAppendsZerosExceptForZero)
{
    EXPECT_EQ(FormatFixed(12, 2), "1200");
    EXPECT_EQ(FormatFixed(0, 2), "0");
    EXPECT_EQ(FormatFixed(-3, 1), "-30");
}

TEST(FormatFixed, PadsOnTheLeftButNeverCuts)
{
    EXPECT_EQ(FormatFixed(-12345, -3, 8), " -12.345");
    EXPECT_EQ(FormatFixed(7, 0, 3), "  7");
    EXPECT_EQ(FormatFixed(-12345, -3, 4), "-12.345");
}

TEST(FormatFixed, HandlesTheWidestValues)
{
    EXPECT_EQ(FormatFixed(-32767, 0), "-32767");
    EXPECT_EQ(FormatFixed(LONG_MIN, 0), QString::number(LONG_MIN));
}

TEST(FormatFixed, ManyFractionDigits)
{
    EXPECT_EQ(FormatFixed(1, -12), "0.000000000001");
}

TEST(ParseFixed, ScalesToTheExponent)
{
    int result = 0;
    EXPECT_EQ(ParseFixed("1.234", -2, &result), 123);
    EXPECT_EQ(result, 123);
    EXPECT_EQ(ParseFixed("1.2", -2), 120);
    EXPECT_EQ(ParseFixed("-3", -2), -300);
    EXPECT_EQ(ParseFixed("21", -1), 210);
}

TEST(ParseFixed, StopsAtOtherCharacters)
{
    EXPECT_EQ(ParseFixed("21.5 C", -1), 215);
    EXPECT_EQ(ParseFixed("21.57", -1), 215);
    EXPECT_EQ(ParseFixed("1.2.3", -2), 120);
    EXPECT_EQ(ParseFixed("12x34", 0), 12);
}

TEST(ParseFixed, MinusAnywhereMakesTheNumberNegative)
{
    EXPECT_EQ(ParseFixed("5-", 0), -5);
    EXPECT_EQ(ParseFixed("2.-5", -1), -25);
}

TEST(ParseFixed, PositiveExponentDropsLowDigits)
{
    EXPECT_EQ(ParseFixed("1234", 2), 12);
    EXPECT_EQ(ParseFixed("21.5", 0), 21);
}

TEST(ParseFixed, TextWithoutDigitLeavesResultUntouched)
{
    int result = 77;
    EXPECT_EQ(ParseFixed("abc", -1, &result), 0);
    EXPECT_EQ(result, 77);
    EXPECT_EQ(ParseFixed("-.", -1, &result), 0);
    EXPECT_EQ(result, 77);
    EXPECT_EQ(ParseFixed("", -1, &result), 0);
    EXPECT_EQ(result, 77);
}

TEST(ParseFixed, HugeEntriesSaturateInsteadOfWrapping)
{
    EXPECT_EQ(ParseFixed("99999999999999999999", 0), INT_MAX);
    EXPECT_EQ(ParseFixed("-99999999999", -2), INT_MIN);
}

TEST(FixedPoint, FormattedTextParsesBackToTheSameValue)
{
    for (int exponent : {-3, -2, -1, 0}) {
        for (int value : {0, 1, -1, 9, 10, 215, -384, 32767, -32767}) {
            const QString text = FormatFixed(value, exponent, 9);
            EXPECT_EQ(ParseFixed(text.trimmed(), exponent), value) << text.toStdString();
        }
    }
}
