#include "base/CommaText.h"

#include <gtest/gtest.h>

using Quorvel1::JoinCommaText;
using Quorvel1::SplitCommaText;

TEST(CommaText, PlainValuesAreSplitAtCommas)
{
    EXPECT_EQ(SplitCommaText("12,TRIPFLAGS"), QStringList({"12", "TRIPFLAGS"}));
}

TEST(CommaText, BlanksBeforeTheFirstValueAndAroundCommasAreSkipped)
{
    EXPECT_EQ(SplitCommaText(" \t 16 ,  200\r"), QStringList({"16", "200"}));
}

TEST(CommaText, AnUnquotedValueEndsAtABlank)
{
    EXPECT_EQ(SplitCommaText("HIGH TEMP,3"), QStringList({"HIGH", "TEMP", "3"}));
}

TEST(CommaText, AQuotedValueKeepsBlanksAndCommas)
{
    EXPECT_EQ(SplitCommaText("\"SENSOR FAILURE\",\"A, B\""),
              QStringList({"SENSOR FAILURE", "A, B"}));
}

TEST(CommaText, TwoQuotesInsideAQuotedValueStandForOne)
{
    EXPECT_EQ(SplitCommaText("\"say \"\"hi\"\"\",x"), QStringList({"say \"hi\"", "x"}));
}

TEST(CommaText, AQuotedValueWithoutItsClosingQuoteRunsToTheEnd)
{
    EXPECT_EQ(SplitCommaText("1,\"open, end"), QStringList({"1", "open, end"}));
}

TEST(CommaText, CommasWithNothingBetweenGiveEmptyValues)
{
    EXPECT_EQ(SplitCommaText("a,,b"), QStringList({"a", "", "b"}));
    EXPECT_EQ(SplitCommaText(",a"), QStringList({"", "a"}));
}

TEST(CommaText, ATrailingCommaAddsOneEmptyValue)
{
    EXPECT_EQ(SplitCommaText("a,"), QStringList({"a", ""}));
    EXPECT_EQ(SplitCommaText("a,,"), QStringList({"a", "", ""}));
}

TEST(CommaText, EmptyOrBlankTextHasNoValues)
{
    EXPECT_TRUE(SplitCommaText("").isEmpty());
    EXPECT_TRUE(SplitCommaText("  \t ").isEmpty());
}

TEST(CommaText, AQuotedEmptyValueIsOneValue)
{
    EXPECT_EQ(SplitCommaText("\"\""), QStringList({""}));
}

TEST(CommaText, JoiningQuotesOnlyValuesThatNeedIt)
{
    EXPECT_EQ(JoinCommaText({"SENSOR FAILURE", "HIGH TEMPERATURE"}),
              QString("\"SENSOR FAILURE\",\"HIGH TEMPERATURE\""));
    EXPECT_EQ(JoinCommaText({"12", "TRIPFLAGS"}), QString("12,TRIPFLAGS"));
    EXPECT_EQ(JoinCommaText({"a,b", "say \"hi\"", ""}),
              QString("\"a,b\",\"say \"\"hi\"\"\",\"\""));
    EXPECT_EQ(JoinCommaText({}), QString());
}

TEST(CommaText, JoinedTextSplitsBackIntoTheSameValues)
{
    const QStringList lists[] = {
        {""},
        {"", ""},
        {"a", ""},
        {"", "a"},
        {"two words", "x,y", "\"", "\"\"", " lead", "trail ", "tab\there", "plain"},
    };
    for (const QStringList& values : lists)
        EXPECT_EQ(SplitCommaText(JoinCommaText(values)), values) << JoinCommaText(values).toStdString();
}
