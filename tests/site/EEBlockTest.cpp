#include "site/EEBlock.h"

#include "support/FileSizeLimit.h"
#include "support/OneFileTest.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <memory>

using Quorvel1::TEEBlock;
namespace EEState = Quorvel1::EEState;

namespace {

const QString Name = QStringLiteral("U5,012-003");

// A 2048-byte image of `path` whose every byte has been read from the unit:
// far more than 64 bytes to save.
std::unique_ptr<TEEBlock> LargeImageReadFromTheUnit(const QString& path)
{
    auto image = std::make_unique<TEEBlock>(0x7FF, Name);
    image->Load(path);
    for (int address = 0; address <= image->TopAddress(); ++address) {
        image->SetByte(address, 0xFF);
        image->SetState(address, EEState::Read);
    }
    return image;
}

class EEBlock : public QuorvelTest::OneFileTest {
protected:
    EEBlock() : OneFileTest("4660.ee") {}

    TEEBlock image_{0, Name};
};

} // namespace

TEST_F(EEBlock, TheNameHoldsTheUnitNumberAndTheApplicationBytes)
{
    EXPECT_EQ(TEEBlock::ImageName(5, 0x0C03), QString("U5,012-003"));
    EXPECT_EQ(TEEBlock::ImageName(0, 0), QString("U0,000-000"));
    EXPECT_EQ(TEEBlock::ImageName(30, 0xFFFF), QString("U30,255-255"));
}

TEST_F(EEBlock, ANewImageIsAllZeroWithNothingKnown)
{
    EXPECT_EQ(image_.TopAddress(), 0x1FF);
    for (int address = 0; address <= image_.TopAddress(); ++address) {
        ASSERT_EQ(image_.GetByte(address), 0);
        ASSERT_EQ(image_.GetState(address), EEState::NoValue);
    }
    EXPECT_FALSE(image_.IsModified());
}

TEST_F(EEBlock, SetByteMarksTheByteChangedAndTheImageModified)
{
    image_.SetByte(0x1FF, 77);
    EXPECT_EQ(image_.GetByte(0x1FF), 77);
    EXPECT_EQ(image_.GetState(0x1FF), EEState::Changed);
    EXPECT_TRUE(image_.IsModified());
}

TEST_F(EEBlock, SetStateLeavesTheModifiedFlagAlone)
{
    image_.SetState(3, EEState::Read);
    EXPECT_EQ(image_.GetState(3), EEState::Read);
    EXPECT_FALSE(image_.IsModified());
}

TEST_F(EEBlock, AddressesOutsideTheImageReadAsZeroAndAreNeverWritten)
{
    image_.SetByte(0x200, 9);
    image_.SetByte(-1, 9);
    image_.SetState(0x200, EEState::Read);
    EXPECT_FALSE(image_.IsModified());
    EXPECT_EQ(image_.GetByte(0x200), 0);
    EXPECT_EQ(image_.GetByte(-1), 0);
    EXPECT_EQ(image_.GetState(0x200), EEState::NoValue);
}

TEST_F(EEBlock, ClearForgetsEveryByteAndState)
{
    image_.SetByte(10, 5);
    image_.SetState(11, EEState::Read);
    image_.Clear();
    EXPECT_EQ(image_.GetByte(10), 0);
    EXPECT_EQ(image_.GetState(10), EEState::NoValue);
    EXPECT_EQ(image_.GetState(11), EEState::NoValue);
}

TEST_F(EEBlock, LoadTakesValidLinesAsFromFileAndSkipsTheRest)
{
    WriteFile("U5,012-003\r\n"
              "16,200\r\n"
              "600,17\r\n" // beyond a 512-byte image
              "17,256\r\n"
              "18,-1\r\n"
              "-1,4\r\n"
              "19\r\n"
              "x,4\r\n"
              "20,y\r\n"
              "21,7,extra\r\n"
              "511,255\r\n");
    image_.SetByte(30, 1);
    image_.Load(Path());

    EXPECT_EQ(image_.GetByte(16), 200);
    EXPECT_EQ(image_.GetState(16), EEState::FromFile);
    EXPECT_EQ(image_.GetByte(21), 7);
    EXPECT_EQ(image_.GetByte(511), 255);
    EXPECT_EQ(image_.GetState(511), EEState::FromFile);
    for (int address : {17, 18, 19, 20}) {
        EXPECT_EQ(image_.GetByte(address), 0) << address;
        EXPECT_EQ(image_.GetState(address), EEState::NoValue) << address;
    }
    EXPECT_FALSE(image_.IsModified());
    EXPECT_EQ(image_.FilePath(), Path());
}

TEST_F(EEBlock, AFileOfAnotherUnitOrApplicationIsIgnoredEntirely)
{
    for (const QByteArray& first : {QByteArray("U6,012-003"), QByteArray("U5,012-004"),
                                    QByteArray("u5,012-003")}) {
        WriteFile(first + "\n16,200\n");
        image_.Load(Path());
        EXPECT_EQ(image_.GetByte(16), 0) << first.constData();
        EXPECT_EQ(image_.GetState(16), EEState::NoValue) << first.constData();
    }
}

TEST_F(EEBlock, AMissingFileOnlyRemembersThePath)
{
    image_.SetByte(2, 4);
    image_.Load(Path());
    EXPECT_EQ(image_.FilePath(), Path());
    EXPECT_EQ(image_.GetByte(2), 4);
    EXPECT_EQ(image_.GetState(2), EEState::Changed);
}

TEST_F(EEBlock, SaveWritesOnlyBytesKnownFromTheUnitOrTheFileInAddressOrder)
{
    image_.SetByte(0x1FF, 9);
    image_.SetState(0x1FF, EEState::Read);
    image_.SetByte(1, 11); // changed, not yet written
    image_.SetByte(2, 22);
    image_.SetState(2, EEState::Written);
    image_.SetByte(16, 200);
    image_.SetState(16, EEState::FromFile);
    image_.SetState(0, EEState::Read); // a byte read as 0

    ASSERT_TRUE(image_.Save(Path()));
    EXPECT_EQ(FileBytes(), QByteArray("U5,012-003\n0,0\n16,200\n511,9\n"));
    EXPECT_FALSE(image_.IsModified());
}

TEST_F(EEBlock, AChangedByteIsSavedOnlyOnceReadBackFromTheUnit)
{
    image_.SetByte(5, 42);
    ASSERT_TRUE(image_.Save(Path()));
    EXPECT_EQ(FileBytes(), QByteArray("U5,012-003\n"));
    image_.SetState(5, EEState::Read);
    ASSERT_TRUE(image_.Save(Path()));
    EXPECT_EQ(FileBytes(), QByteArray("U5,012-003\n5,42\n"));
}

TEST_F(EEBlock, ASavedImageLoadsBackIntoAFreshImageOfTheSameName)
{
    image_.SetByte(100, 123);
    image_.SetState(100, EEState::Read);
    ASSERT_TRUE(image_.Save(Path()));

    TEEBlock fresh(0, Name);
    fresh.Load(Path());
    EXPECT_EQ(fresh.GetByte(100), 123);
    EXPECT_EQ(fresh.GetState(100), EEState::FromFile);
}

TEST_F(EEBlock, SaveWithoutAPathUsesTheLoadedPath)
{
    image_.Load(Path());
    image_.SetByte(7, 70);
    image_.SetState(7, EEState::Read);
    ASSERT_TRUE(image_.Save());
    EXPECT_EQ(FileBytes(), QByteArray("U5,012-003\n7,70\n"));
}

TEST_F(EEBlock, AModifiedImageIsSavedWhenDestroyed)
{
    auto image = std::make_unique<TEEBlock>(0, Name);
    image->Load(Path());
    image->SetByte(8, 80);
    image->SetState(8, EEState::Read);
    image.reset();
    EXPECT_EQ(FileBytes(), QByteArray("U5,012-003\n8,80\n"));
}

TEST_F(EEBlock, AnUnmodifiedImageWritesNothingWhenDestroyed)
{
    auto image = std::make_unique<TEEBlock>(0, Name);
    image->Load(Path());
    image->SetState(8, EEState::Read);
    image.reset();
    EXPECT_FALSE(QFile::exists(Path()));
}

// The old image file must stay whole, with no temporary file left, and the
// image must stay modified so that a later save can still succeed.
TEST_F(EEBlock, ASaveThatFailsLeavesTheOldFileWholeAndTheImageModified)
{
    const QByteArray old = "U5,012-003\n16,200\n";
    WriteFile(old);
    const std::unique_ptr<TEEBlock> large = LargeImageReadFromTheUnit(Path());

    bool savedOk = true;
    {
        const QuorvelTest::FileSizeLimit limit(64);
        savedOk = large->Save(Path());
    }

    EXPECT_FALSE(savedOk);
    EXPECT_TRUE(large->IsModified());
    EXPECT_EQ(FileBytes(), old);
    EXPECT_EQ(FolderEntries(), QStringList({"4660.ee"}));
}

TEST_F(EEBlock, ASaveIntoAMissingFolderFails)
{
    image_.SetByte(1, 1);
    EXPECT_FALSE(image_.Save(folder_.file("no/such/folder/1.ee")));
    EXPECT_TRUE(image_.IsModified());
}

TEST_F(EEBlock, AnImageWhoseSaveFailsWhenDestroyedLeavesTheOldFileWhole)
{
    const QByteArray old = "U5,012-003\n16,200\n";
    WriteFile(old);
    std::unique_ptr<TEEBlock> large = LargeImageReadFromTheUnit(Path());
    ASSERT_TRUE(large->IsModified());

    {
        const QuorvelTest::FileSizeLimit limit(64);
        large.reset();
    }

    EXPECT_EQ(FileBytes(), old);
    EXPECT_EQ(FolderEntries(), QStringList({"4660.ee"}));
}
