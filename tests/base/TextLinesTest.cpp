#include "base/TextLines.h"

#include <gtest/gtest.h>

using Quorvel1::JoinTextLines;
using Quorvel1::SplitTextLines;

TEST(TextLines, WindowsAndUnixLineEndsSplitAlike)
{
    EXPECT_EQ(SplitTextLines("a\r\nb\nc\r\n"), QStringList({"a", "b", "c"}));
}

TEST(TextLines, ALastLineWithoutItsLineEndCountsAndEmptyLinesAreKept)
{
    EXPECT_EQ(SplitTextLines("a\n\nb"), QStringList({"a", "", "b"}));
    EXPECT_TRUE(SplitTextLines("").isEmpty());
    EXPECT_EQ(SplitTextLines("\n"), QStringList({""}));
}

TEST(TextLines, TextInTheWindowsCodePageIsReadAsWindows1252)
{
    EXPECT_EQ(SplitTextLines("5,\xB0""C\r\n"), QStringList({QString::fromUtf8("5,\u00B0C")}));
    EXPECT_EQ(SplitTextLines("\x80""5,\x96"), QStringList({QString::fromUtf8("\u20AC5,\u2013")}));
    EXPECT_EQ(SplitTextLines("5,\xC2\xB0""C"), QStringList({QString::fromUtf8("5,\u00B0C")}));
}

TEST(TextLines, EveryLineIsWrittenWithALineEnd)
{
    EXPECT_EQ(JoinTextLines({"U5,012-003", "16,200"}), QByteArray("U5,012-003\n16,200\n"));
    EXPECT_EQ(JoinTextLines({}), QByteArray());
}
