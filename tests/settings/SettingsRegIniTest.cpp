#include "settings/RegIni.h"
#include "SettingsRegistryFixture.h"

#include <QFile>

using Quorvel1::TRegIni;

namespace {

class RegIni : public QuorvelTest::SettingsRegistry {
protected:
    TRegIni reg_{"Software\\Mestra Apps\\Quorvel\\Settings"};
};

} // namespace

TEST_F(RegIni, SectionsAreGroupsUnderSettingsInTheQuorvelFileOfMestraApps)
{
    EXPECT_TRUE(reg_.IsOpen());
    reg_.WriteString("Comms", "LocalPort", "/dev/ttyUSB0");
    reg_.WriteInteger("Comms", "ModemTimeout", 45);
    reg_.WriteBool("Paths", "AutoSave", false);

    EXPECT_TRUE(QFile::exists(SettingsFile()));
    EXPECT_EQ(OnDisk("Settings/Comms/LocalPort"), QVariant(QString("/dev/ttyUSB0")));
    EXPECT_EQ(OnDisk("Settings/Comms/ModemTimeout"), QVariant(QString("45")));
    EXPECT_EQ(OnDisk("Settings/Paths/AutoSave"), QVariant(QString("0")));
    EXPECT_EQ(AllKeysOnDisk().size(), 3);
}

TEST_F(RegIni, BooleansAreStoredAsOneAndZeroAndAnyOtherNumberReadsTrue)
{
    reg_.WriteBool("Comms", "PelkLog", true);
    EXPECT_EQ(OnDisk("Settings/Comms/PelkLog"), QVariant(QString("1")));
    EXPECT_TRUE(reg_.ReadBool("Comms", "PelkLog", false));

    StoreText("Settings/Comms/PelkLog", "0");
    EXPECT_FALSE(reg_.ReadBool("Comms", "PelkLog", true));
    StoreText("Settings/Comms/PelkLog", "7");
    EXPECT_TRUE(reg_.ReadBool("Comms", "PelkLog", false));
    StoreText("Settings/Comms/PelkLog", "on");
    EXPECT_FALSE(reg_.ReadBool("Comms", "PelkLog", false));
}

TEST_F(RegIni, IntegersThatAreNotNumbersReadAsTheDefault)
{
    for (const char* text : {"", "abc", "12abc", "1.5", "99999999999"}) {
        StoreText("Settings/Comms/ModemDevice", text);
        EXPECT_EQ(reg_.ReadInteger("Comms", "ModemDevice", -3), -3) << text;
    }
    StoreText("Settings/Comms/ModemDevice", "-17");
    EXPECT_EQ(reg_.ReadInteger("Comms", "ModemDevice", 0), -17);
    EXPECT_EQ(reg_.ReadInteger("Comms", "Missing", 8), 8);
}

TEST_F(RegIni, TextsComeBackAsTheyWereWrittenNotAsOtherTypes)
{
    const QStringList texts = {"a, b,c", "\"quoted\"", "C:\\old\\path", "@Variant(x)", "true",
                               "", " padded "};
    for (const QString& text : texts) {
        reg_.WriteString("Paths", "LastSite", text);
        EXPECT_EQ(reg_.ReadString("Paths", "LastSite", "default"), text);
        const QVariant stored = OnDisk("Settings/Paths/LastSite");
        EXPECT_EQ(stored.userType(), QMetaType::QString) << text.toStdString();
        EXPECT_EQ(stored.toString(), text);
    }
}

TEST_F(RegIni, SectionListsValuesAndErase)
{
    reg_.WriteString("Comms", "LocalPort", "/dev/ttyS1");
    reg_.WriteInteger("Comms", "ModemDevice", 2);
    reg_.WriteString("Paths", "LastSite", "/data/North.ste");

    QStringList list{"stale"};
    reg_.ReadSections(list);
    list.sort();
    EXPECT_EQ(list, QStringList({"Comms", "Paths"}));
    reg_.ReadSection("Comms", list);
    list.sort();
    EXPECT_EQ(list, QStringList({"LocalPort", "ModemDevice"}));
    reg_.ReadSectionValues("Comms", list);
    list.sort();
    EXPECT_EQ(list, QStringList({"LocalPort=/dev/ttyS1", "ModemDevice=2"}));

    reg_.EraseSection("Comms");
    reg_.ReadSection("Comms", list);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(AllKeysOnDisk(), QStringList({"Settings/Paths/LastSite"}));
}

TEST_F(RegIni, AnEmptySectionNameNeverReachesTheWholeStore)
{
    reg_.WriteString("Paths", "LastSite", "/data/North.ste");
    reg_.EraseSection("");
    reg_.WriteString("", "Stray", "x");
    EXPECT_EQ(AllKeysOnDisk(), QStringList({"Settings/Paths/LastSite"}));
}

TEST_F(RegIni, AClosedStoreReadsDefaultsAndWritesNothing)
{
    reg_.WriteString("Comms", "LocalPort", "/dev/ttyS1");
    reg_.Close();
    EXPECT_FALSE(reg_.IsOpen());
    EXPECT_EQ(reg_.ReadString("Comms", "LocalPort", "COM1"), QString("COM1"));
    reg_.WriteString("Comms", "LocalPort", "/dev/ttyS2");
    QStringList list{"stale"};
    reg_.ReadSections(list);
    EXPECT_TRUE(list.isEmpty());

    reg_.Open("Software\\Mestra Apps\\Quorvel\\Settings");
    EXPECT_EQ(reg_.ReadString("Comms", "LocalPort", "COM1"), QString("/dev/ttyS1"));
}
