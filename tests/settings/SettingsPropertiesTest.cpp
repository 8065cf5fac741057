#include "settings/Properties.h"
#include "SettingsRegistryFixture.h"

using Quorvel1::TProperties;

namespace {

using Properties = QuorvelTest::SettingsRegistry;

void SetEveryValueAwayFromItsDefault(TProperties& p)
{
    p.SitesPath = "/srv/sites";
    p.LocalPort = "/dev/ttyUSB1";
    p.ErrorLog = "/var/tmp/qw.txt";
    p.DialPrefix = "9,";
    p.DialSuffix = "#";
    p.LastSite = "/srv/sites/North.ste";
    p.ModemDevice = 2;
    p.ModemTimeout = 90;
    p.PelkLog = true;
    p.AutoSave = false;
}

} // namespace

TEST_F(Properties, AFirstStartGivesExactlyTheDefaults)
{
    const TProperties p("/opt/quorvel", "QuorvelW.ini");
    EXPECT_EQ(p.ProgramDir, QString("/opt/quorvel/"));
    EXPECT_EQ(p.SitesPath, qEnvironmentVariable("HOME") + "/MestraData");
    EXPECT_EQ(p.LocalPort, QString("COM1"));
    EXPECT_EQ(p.ErrorLog, QString("/opt/quorvel/QuorvelWLog.txt"));
    EXPECT_EQ(p.DialPrefix, QString(""));
    EXPECT_EQ(p.DialSuffix, QString(""));
    EXPECT_EQ(p.LastSite, QString(""));
    EXPECT_EQ(p.ModemDevice, 0);
    EXPECT_EQ(p.ModemTimeout, 0);
    EXPECT_FALSE(p.PelkLog);
    EXPECT_TRUE(p.AutoSave);
    EXPECT_TRUE(AllKeysOnDisk().isEmpty());
}

TEST_F(Properties, AProgramFolderThatEndsWithASeparatorKeepsOne)
{
    const TProperties p("/opt/quorvel/");
    EXPECT_EQ(p.ErrorLog, QString("/opt/quorvel/QuorvelWLog.txt"));
}

TEST_F(Properties, SaveWritesEveryKeyToItsSectionAsText)
{
    TProperties p("/opt/quorvel");
    SetEveryValueAwayFromItsDefault(p);
    p.Save();

    EXPECT_EQ(OnDisk("Settings/Paths/SitesPath"), QVariant(QString("/srv/sites")));
    EXPECT_EQ(OnDisk("Settings/Comms/LocalPort"), QVariant(QString("/dev/ttyUSB1")));
    EXPECT_EQ(OnDisk("Settings/Paths/ErrorLog"), QVariant(QString("/var/tmp/qw.txt")));
    EXPECT_EQ(OnDisk("Settings/Comms/DialPrefix"), QVariant(QString("9,")));
    EXPECT_EQ(OnDisk("Settings/Comms/DialSuffix"), QVariant(QString("#")));
    EXPECT_EQ(OnDisk("Settings/Paths/LastSite"), QVariant(QString("/srv/sites/North.ste")));
    EXPECT_EQ(OnDisk("Settings/Comms/ModemDevice"), QVariant(QString("2")));
    EXPECT_EQ(OnDisk("Settings/Comms/ModemTimeout"), QVariant(QString("90")));
    EXPECT_EQ(OnDisk("Settings/Comms/PelkLog"), QVariant(QString("1")));
    EXPECT_EQ(OnDisk("Settings/Paths/AutoSave"), QVariant(QString("0")));
    EXPECT_EQ(AllKeysOnDisk().size(), 10);
}

TEST_F(Properties, SaveThenLoadLeavesEveryValueUnchanged)
{
    TProperties saved("/opt/quorvel");
    SetEveryValueAwayFromItsDefault(saved);
    saved.Save();

    TProperties loaded("/elsewhere");
    EXPECT_EQ(loaded.SitesPath, saved.SitesPath);
    EXPECT_EQ(loaded.LocalPort, saved.LocalPort);
    EXPECT_EQ(loaded.ErrorLog, saved.ErrorLog);
    EXPECT_EQ(loaded.DialPrefix, saved.DialPrefix);
    EXPECT_EQ(loaded.DialSuffix, saved.DialSuffix);
    EXPECT_EQ(loaded.LastSite, saved.LastSite);
    EXPECT_EQ(loaded.ModemDevice, saved.ModemDevice);
    EXPECT_EQ(loaded.ModemTimeout, saved.ModemTimeout);
    EXPECT_EQ(loaded.PelkLog, saved.PelkLog);
    EXPECT_EQ(loaded.AutoSave, saved.AutoSave);
}

TEST_F(Properties, CachedValuesReachTheStoreOnlyOnSave)
{
    TProperties p("/opt/quorvel");
    p.LastSite = "/srv/sites/North.ste";
    p.ModemDevice = 3;
    EXPECT_TRUE(AllKeysOnDisk().isEmpty());

    p.Load(); // as the properties dialog's Cancel then reopening does
    EXPECT_EQ(p.LastSite, QString(""));
    EXPECT_EQ(p.ModemDevice, 0);
}

TEST_F(Properties, StoredValuesOfTheWrongFormReadAsTheirDefaultsOrAsNumbers)
{
    StoreText("Settings/Comms/ModemDevice", "second");
    StoreText("Settings/Comms/ModemTimeout", "30s");
    StoreText("Settings/Comms/PelkLog", "7");
    StoreText("Settings/Paths/AutoSave", "0");
    const TProperties p("/opt/quorvel");
    EXPECT_EQ(p.ModemDevice, 0);
    EXPECT_EQ(p.ModemTimeout, 0);
    EXPECT_TRUE(p.PelkLog);
    EXPECT_FALSE(p.AutoSave);
}

TEST_F(Properties, WindowLayoutIsKeptUnderTheWindowsSection)
{
    TProperties p("/opt/quorvel");
    const QByteArray state("\x00\xFF\x01,=\n[x]", 9);
    p.WriteWindowData("State", state);
    EXPECT_EQ(p.ReadWindowData("State"), state);
    EXPECT_EQ(AllKeysOnDisk(), QStringList({"Settings/TFQw/State"}));
    EXPECT_TRUE(p.ReadWindowData("Geometry").isEmpty());
}
