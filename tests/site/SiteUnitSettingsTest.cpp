// The site's per-unit config blocks and EE images.
#include "support/SettingsAddressFiles.h"

#include "site/SiteExt.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace Quorvel1;

namespace {

constexpr std::uint16_t Fridge = 0x0C03;  // "012-003"
constexpr std::uint16_t Freezer = 0x0C04; // "012-004"
constexpr std::uint16_t FridgeProcessor = 4660;

class SiteUnitSettings : public QuorvelTest::SettingsAddressFiles {
protected:
    SiteUnitSettings()
    {
        WriteSettingsAddressFile(Fridge, "012-003,FRIDGE12\n12,TRIPFLAGS\n512,LOGSTART\n");
        WriteSettingsAddressFile(Freezer, "012-004,FREEZER\n20,TRIPFLAGS\n");
    }
    ~SiteUnitSettings() override { QDir::setCurrent(startFolder_); }

    // A saved and reloaded site with unit 5 of the fridge application, so that
    // its ini file is open in the test's folder.
    void OpenSiteWithFridgeAtUnit5()
    {
        site_.AddUnit(Unit(5, Fridge));
        site_.SetProcessorId(5, FridgeProcessor);
        ASSERT_TRUE(site_.Save(folder_.file("North.ste")));
    }

    static std::unique_ptr<TUnit> Unit(int number, std::uint16_t appId)
    {
        return std::make_unique<TUnit>(static_cast<std::uint8_t>(number), 1, 1, 0, 0, "FRIDGE",
                                       appId);
    }

    QString ImageFile(const QString& name) const { return folder_.file(name); }

    static void WriteFile(const QString& path, const QByteArray& bytes)
    {
        ASSERT_TRUE(QuorvelTest::WriteFileBytes(path, bytes)) << path.toStdString();
    }
    static QByteArray ReadFile(const QString& path) { return QuorvelTest::FileBytes(path); }

    QuorvelTest::TempFolder folder_;
    TSiteExt site_;

private:
    QString startFolder_ = QDir::currentPath();
};

} // namespace

TEST_F(SiteUnitSettings, RebuildingTheUnitTableGivesAUnitTheConfigBlockOfItsApplication)
{
    site_.AddUnit(Unit(5, Fridge));
    site_.AddUnit(Unit(7, Freezer));
    site_.RebuildUnitTable();

    ASSERT_NE(site_.ConfigBlock(5), nullptr);
    EXPECT_EQ(site_.ConfigBlock(5)->AddressByName("TripFlags"), 12);
    EXPECT_EQ(site_.ConfigBlock(5)->AdfName(), QString("FRIDGE12"));
    ASSERT_NE(site_.ConfigBlock(7), nullptr);
    EXPECT_EQ(site_.ConfigBlock(7)->AddressByName("TRIPFLAGS"), 20);
    EXPECT_EQ(site_.ConfigBlock(6), nullptr);
}

TEST_F(SiteUnitSettings, ConfigBlocksExistOnlyForUnitNumbers1To30)
{
    site_.AddUnit(Unit(30, Fridge));
    site_.RebuildUnitTable();
    EXPECT_NE(site_.ConfigBlock(30), nullptr);
    EXPECT_EQ(site_.ConfigBlock(0), nullptr);
    EXPECT_EQ(site_.ConfigBlock(31), nullptr);
    EXPECT_EQ(site_.ConfigBlock(-1), nullptr);
}

TEST_F(SiteUnitSettings, AUnitOfAnotherApplicationGetsANewConfigBlockAtTheNextRebuild)
{
    site_.AddUnit(Unit(5, Fridge));
    site_.RebuildUnitTable();
    site_.AddUnit(Unit(5, Freezer));
    site_.RebuildUnitTable();
    EXPECT_EQ(site_.ConfigBlock(5)->AdfName(), QString("FREEZER"));
}

TEST_F(SiteUnitSettings, TheEEImageIsLoadedFromTheProcessorIdentifiersFileInTheSiteFolder)
{
    OpenSiteWithFridgeAtUnit5();
    WriteFile(ImageFile("4660.ee"), "U5,012-003\n16,200\n");

    TEEBlock* image = site_.EEImage(5);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->FilePath(), ImageFile("4660.ee"));
    EXPECT_EQ(image->Name(), QString("U5,012-003"));
    EXPECT_EQ(image->Size(), 2048); // the fridge's block names address 512
    EXPECT_EQ(image->GetByte(16), 200);
    EXPECT_EQ(image->GetState(16), EEState::FromFile);
    EXPECT_EQ(site_.EEImage(5), image);
}

TEST_F(SiteUnitSettings, TheInterfaceUnitsImageCountsAsApplicationZeroWith512Bytes)
{
    OpenSiteWithFridgeAtUnit5();
    site_.SetProcessorId(0, 77);
    WriteFile(ImageFile("77.ee"), "U0,000-000\n3,9\n");

    TEEBlock* image = site_.EEImage(0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Name(), QString("U0,000-000"));
    EXPECT_EQ(image->Size(), 512);
    EXPECT_EQ(image->GetByte(3), 9);
    EXPECT_EQ(site_.EEImage(31), nullptr);
    EXPECT_EQ(site_.EEImage(-1), nullptr);
}

TEST_F(SiteUnitSettings, RebuildingTheUnitTableSavesAModifiedImageAndLoadsItAfresh)
{
    OpenSiteWithFridgeAtUnit5();
    TEEBlock* image = site_.EEImage(5);
    image->SetByte(40, 99);
    image->SetState(40, EEState::Read);

    site_.RebuildUnitTable();

    EXPECT_EQ(ReadFile(ImageFile("4660.ee")), QByteArray("U5,012-003\n40,99\n"));
    TEEBlock* reloaded = site_.EEImage(5);
    EXPECT_EQ(reloaded->GetByte(40), 99);
    EXPECT_EQ(reloaded->GetState(40), EEState::FromFile);
}

TEST_F(SiteUnitSettings, ANumberThatLosesItsUnitKeepsItsConfigBlockAndImage)
{
    OpenSiteWithFridgeAtUnit5();
    TEEBlock* image = site_.EEImage(5);
    const TConfigBlock* block = site_.ConfigBlock(5);

    site_.ClearUnits();

    EXPECT_EQ(site_.UnitByNumber(5), nullptr);
    EXPECT_EQ(site_.ConfigBlock(5), block);
    EXPECT_EQ(site_.EEImage(5), image);
}

// Another site (or a new one) must not show this site's unit settings, and
// an image read from a unit must not be lost when the site is replaced.
TEST_F(SiteUnitSettings, ANewSiteDropsEveryUnitsSettingsAndSavesModifiedImages)
{
    OpenSiteWithFridgeAtUnit5();
    site_.SetProcessorId(0, 77);
    site_.EEImage(0)->SetByte(1, 5);
    site_.EEImage(0)->SetState(1, EEState::Read);

    site_.NewSite();

    EXPECT_EQ(ReadFile(ImageFile("77.ee")), QByteArray("U0,000-000\n1,5\n"));
    EXPECT_EQ(site_.ConfigBlock(5), nullptr);
    EXPECT_EQ(site_.EEImage(0)->GetState(1), EEState::NoValue);
    EXPECT_EQ(site_.EEImage(5)->Size(), 512);
}
