// Windows-1252, the 8-bit texts' code page: every byte reads and writes back
// unchanged, characters it lacks become '?', and limits count bytes.
#include "base/Win1252.h"

#include <gtest/gtest.h>

using namespace Quorvel1;

TEST(Win1252, EveryByteReadsAndWritesBackUnchanged)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = DecodeWin1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(EncodeWin1252(text), all);
}

TEST(Win1252, BytesReadAsTheirCharacters)
{
    struct {
        std::uint8_t Byte;
        char16_t CodePoint;
    } const cases[] = {
        {0x41, u'A'},     {0x80, 0x20AC}, {0x81, 0x0081}, {0x8A, 0x0160}, {0x8D, 0x008D},
        {0x8F, 0x008F},   {0x90, 0x0090}, {0x92, 0x2019}, {0x96, 0x2013}, {0x9D, 0x009D},
        {0x9F, 0x0178},   {0xA0, 0x00A0}, {0xE9, 0x00E9}, {0xFF, 0x00FF}, {0x00, 0x0000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Byte));
        EXPECT_EQ(Win1252ToUnicode(c.Byte), c.CodePoint);
        EXPECT_EQ(std::uint8_t(Win1252FromUnicode(c.CodePoint)), c.Byte);
    }
}

TEST(Win1252, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(EncodeWin1252(u"K\u00e4lte 5\u20ac"), QByteArray("K\xe4lte 5\x80"));
    EXPECT_EQ(EncodeWin1252(u"\u0080\u0100\u4e2d"), QByteArray("???"));
    // One character above U+FFFF is one '?', not two.
    EXPECT_EQ(EncodeWin1252(QString::fromUtf8("a\xF0\x9F\x98\x80" "b")), QByteArray("a?b"));
    EXPECT_EQ(EncodeWin1252(QString(QChar(0xD800))), QByteArray("?")); // a lone half
}

TEST(Win1252, LimitsCountBytes)
{
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    struct {
        QString Text;
        qsizetype Max;
        QByteArray Bytes;
    } const cases[] = {
        {"ABCDEF", 4, "ABCD"},
        {"AB", 4, "AB"},
        {emoji + emoji + "C", 2, "??"},
        {emoji + "CD", 2, "?C"},
        {QString::fromUtf8("\xc3\xa9\xc3\xa9\xc3\xa9"), 2, "\xe9\xe9"},
        {"ABC", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text.toStdString());
        EXPECT_EQ(EncodeWin1252(c.Text, c.Max), c.Bytes);
    }
}
