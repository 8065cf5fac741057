// Random, mutated and truncated settings-address and EE image files through
// the loaders: whatever the bytes, loading never crashes (the suite also runs
// under AddressSanitizer), never takes a byte outside the image, and a lookup
// by name finds the first item of that name.
#include "base/CommaText.h"
#include "base/TextLines.h"
#include "site/ConfigBlock.h"
#include "site/EEBlock.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <random>

using namespace Quorvel1;

namespace {

constexpr std::uint16_t AppId = 0x0C05;

QByteArray RandomBytes(std::mt19937& random, int maxLength)
{
    // Mostly the characters these files are made of, with some of anything.
    static const QByteArray Alphabet = "0123456789,\" -\r\n\tTRIPFLAGS012-005U.x";
    std::uniform_int_distribution<int> length(0, maxLength);
    std::uniform_int_distribution<int> pick(0, 9);
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<int> alphabet(0, int(Alphabet.size()) - 1);
    QByteArray bytes;
    for (int n = length(random); n > 0; --n)
        bytes.append(pick(random) == 0 ? char(anyByte(random)) : Alphabet[alphabet(random)]);
    return bytes;
}

QByteArray GoodSettingsFile()
{
    return "012-005,COLDROOM\r\n12,TRIPFLAGS\r\n14,LPRESETS\r\n15,HPRESETS\r\n511,END\r\n";
}

QByteArray GoodImageFile()
{
    return "U3,012-005\n0,17\n1,4\n16,200\n511,255\n";
}

QByteArray Mutated(QByteArray bytes, std::mt19937& random)
{
    std::uniform_int_distribution<int> anyByte(0, 255);
    for (int n = 0; n < 4 && !bytes.isEmpty(); ++n) {
        std::uniform_int_distribution<int> at(0, int(bytes.size()) - 1);
        bytes[at(random)] = char(anyByte(random));
    }
    return bytes;
}

int WholeImageValue(int address)
{
    switch (address) {
    case 0: return 17;
    case 1: return 4;
    case 16: return 200;
    default: return 255;
    }
}

void ExpectSaneBlock(const TConfigBlock& block)
{
    EXPECT_GE(block.HighestAddress(), 0);
    for (int i = 0; i < block.Count(); ++i) {
        EXPECT_LE(block.Address(i), block.HighestAddress());
        // A lookup by name finds the first item of that name, at or before i.
        int first = 0;
        while (block.Name(first).compare(block.Name(i), Qt::CaseInsensitive) != 0)
            ++first;
        EXPECT_EQ(block.AddressByName(block.Name(i)), block.Address(first));
    }
}

void ExpectSaneImage(const TEEBlock& image)
{
    EXPECT_EQ(image.GetByte(-1), 0);
    EXPECT_EQ(image.GetByte(image.TopAddress() + 1), 0);
    EXPECT_EQ(image.GetState(image.TopAddress() + 1), 0);
    EXPECT_FALSE(image.IsModified());
}

} // namespace

TEST(UnitFilesFuzz, RandomAndMutatedSettingsAddressFilesLoadWithoutHarm)
{
    std::mt19937 random(20261209);
    for (int round = 0; round < 3000; ++round) {
        const QByteArray bytes = round % 2 ? RandomBytes(random, 200) : Mutated(GoodSettingsFile(), random);
        TConfigBlock block(AppId, SplitTextLines(bytes));
        ExpectSaneBlock(block);
    }
}

TEST(UnitFilesFuzz, EveryTruncationOfASettingsAddressFileKeepsOnlyWholeItems)
{
    const QByteArray file = GoodSettingsFile();
    for (int length = 0; length <= file.size(); ++length) {
        TConfigBlock block(AppId, SplitTextLines(file.left(length)));
        ExpectSaneBlock(block);
        EXPECT_LE(block.Count(), 4);
    }
    EXPECT_EQ(TConfigBlock(AppId, SplitTextLines(file)).Count(), 4);
}

TEST(UnitFilesFuzz, RandomAndMutatedImageFilesNeverReachOutsideTheImage)
{
    std::mt19937 random(7);
    const QString name = TEEBlock::ImageName(3, AppId);
    for (int round = 0; round < 3000; ++round) {
        const QByteArray bytes = round % 2 ? RandomBytes(random, 200) : Mutated(GoodImageFile(), random);
        TEEBlock image(0x1FF, name);
        image.TakeImageLines(SplitTextLines(bytes));
        ExpectSaneImage(image);
        for (int address = 0; address <= image.TopAddress(); ++address) {
            const int state = image.GetState(address);
            EXPECT_TRUE(state == 0 || state == 3) << "address " << address;
        }
    }
}

TEST(UnitFilesFuzz, EveryTruncationOfAnImageFileTakesOnlyWholeLines)
{
    const QByteArray file = GoodImageFile();
    const QString name = TEEBlock::ImageName(3, AppId);
    for (int length = 0; length <= file.size(); ++length) {
        TEEBlock image(0x1FF, name);
        image.TakeImageLines(SplitTextLines(file.left(length)));
        ExpectSaneImage(image);
        // A cut last line ("16,2" of "16,200") may be taken with the digits it
        // kept; every value taken is a prefix of the whole file's value.
        for (int address : {0, 1, 16, 511}) {
            if (image.GetState(address) != 3)
                continue;
            const QString taken = QString::number(image.GetByte(address));
            const QString whole = QString::number(WholeImageValue(address));
            EXPECT_TRUE(whole.startsWith(taken)) << "address " << address << " took " << taken.toStdString();
        }
    }
    TEEBlock whole(0x1FF, name);
    ASSERT_TRUE(whole.TakeImageLines(SplitTextLines(file)));
    EXPECT_EQ(whole.GetByte(16), 200);
    EXPECT_EQ(whole.GetState(16), 3);
    EXPECT_EQ(whole.GetByte(511), 255);
}
