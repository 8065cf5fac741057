#include "settings/Ini.h"
#include "settings/IniBindings.h"
#include "support/FileSizeLimit.h"
#include "support/OneFileTest.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

using Quorvel1::TIni;
using Quorvel1::TIniBool;
using Quorvel1::TIniInt;
using Quorvel1::TIniSection;
using Quorvel1::TIniString;

namespace {

class IniFile : public QuorvelTest::OneFileTest {
protected:
    IniFile() : OneFileTest("North.ini") {}

    TIni ini_;
};

const QByteArray HandWritten = "[SITE]\r\n"
                               "ComSpeed = 9600\r\n"
                               "procid=abc\r\n"
                               "; kept\r\n"
                               "[Unit4]\r\n"
                               "ProcID=1234\r\n"
                               "RomID=17\r\n";

} // namespace

TEST_F(IniFile, NothingIsCreatedUntilTheFirstWrite)
{
    ini_.Open(Path());
    EXPECT_TRUE(ini_.IsOpen());
    EXPECT_EQ(ini_.ReadInteger("Site", "ComSpeed", -1), -1);
    ini_.EraseSection("Site");
    EXPECT_FALSE(QFile::exists(Path()));

    ini_.WriteInteger("Site", "Procid", 4660);
    EXPECT_EQ(FileBytes(), QByteArray("[Site]\nProcid=4660\n"));
}

TEST_F(IniFile, BindingsOverAnIniFileGiveDefaultsForMissingKeys)
{
    WriteFile(HandWritten);
    ini_.Open(Path());
    const TIniSection site("Site", ini_);
    const TIniInt comSpeed(site, "ComSpeed", -1);
    const TIniInt modemDev(site, "ModemDev", -1);
    const TIniInt procId(site, "Procid", 0);
    const TIniString lastLog(site, "LastLog", "");
    const TIniBool missingFlag(site, "Flag", true);

    EXPECT_EQ(comSpeed.Read(), 9600);
    EXPECT_EQ(modemDev.Read(), -1);
    EXPECT_EQ(procId.Read(), 0);
    EXPECT_EQ(lastLog.Read(), QString());
    EXPECT_TRUE(missingFlag.Read());
}

TEST_F(IniFile, BindingWritesReadBackThroughTheFile)
{
    ini_.Open(Path());
    const TIniSection site("Site", ini_);
    const TIniString lastLog(site, "LastLog", "");
    const TIniInt modemDev(site, "ModemDev", -1);
    const TIniBool flag(site, "Flag", true);

    lastLog.Write("/data/North/AB12C03.LOG");
    modemDev.Write(-1);
    flag.Write(false);

    EXPECT_EQ(FileBytes(),
              QByteArray("[Site]\nLastLog=/data/North/AB12C03.LOG\nModemDev=-1\nFlag=0\n"));
    EXPECT_EQ(lastLog.Read(), QString("/data/North/AB12C03.LOG"));
    EXPECT_EQ(modemDev.Read(), -1);
    EXPECT_FALSE(flag.Read());
}

TEST_F(IniFile, WritingOneKeyKeepsTheRestOfTheFileByteForByte)
{
    WriteFile(HandWritten);
    ini_.Open(Path());
    ini_.WriteString("unit4", "romid", "18");
    EXPECT_EQ(FileBytes(), QByteArray("[SITE]\r\n"
                                      "ComSpeed = 9600\r\n"
                                      "procid=abc\r\n"
                                      "; kept\r\n"
                                      "[Unit4]\r\n"
                                      "ProcID=1234\r\n"
                                      "RomID=18\r\n"));
}

TEST_F(IniFile, SectionListsAndValuesComeFromTheFile)
{
    WriteFile(HandWritten);
    ini_.Open(Path());
    QStringList list{"stale"};
    ini_.ReadSections(list);
    EXPECT_EQ(list, QStringList({"SITE", "Unit4"}));
    ini_.ReadSection("unit4", list);
    EXPECT_EQ(list, QStringList({"ProcID", "RomID"}));
    ini_.ReadSectionValues("Site", list);
    EXPECT_EQ(list, QStringList({"ComSpeed=9600", "procid=abc"}));
    ini_.ReadSection("Unit5", list);
    EXPECT_TRUE(list.isEmpty());
}

TEST_F(IniFile, EraseSectionRemovesTheUnitFromTheFile)
{
    WriteFile(HandWritten);
    ini_.Open(Path());
    ini_.EraseSection("Unit4");
    EXPECT_EQ(FileBytes(), QByteArray("[SITE]\r\nComSpeed = 9600\r\nprocid=abc\r\n; kept\r\n"));
    EXPECT_EQ(ini_.ReadInteger("Unit4", "ProcID", 0), 0);
}

TEST_F(IniFile, BooleansAreOneAndZeroAndAnyOtherNumberIsTrue)
{
    WriteFile("[s]\nseven=7\nzero=0\nword=yes\n");
    ini_.Open(Path());
    EXPECT_TRUE(ini_.ReadBool("s", "seven", false));
    EXPECT_FALSE(ini_.ReadBool("s", "zero", true));
    EXPECT_TRUE(ini_.ReadBool("s", "word", true));
    EXPECT_FALSE(ini_.ReadBool("s", "word", false));
    ini_.WriteBool("s", "on", true);
    EXPECT_EQ(ini_.ReadString("s", "on", ""), QString("1"));
}

TEST_F(IniFile, TwoObjectsOverOneFileKeepEachOthersWrites)
{
    TIni other;
    ini_.Open(Path());
    other.Open(Path());
    ini_.WriteString("Site", "LastLog", "a.LOG");
    other.WriteInteger("Unit1", "ProcID", 5);
    EXPECT_EQ(ini_.ReadInteger("Unit1", "ProcID", 0), 5);
    EXPECT_EQ(other.ReadString("Site", "LastLog", ""), QString("a.LOG"));
}

TEST_F(IniFile, AClosedStoreReadsDefaultsAndWritesNothing)
{
    WriteFile(HandWritten);
    ini_.Open(Path());
    ini_.Close();
    EXPECT_FALSE(ini_.IsOpen());
    EXPECT_EQ(ini_.ReadInteger("Site", "ComSpeed", -1), -1);
    ini_.WriteString("Site", "ComSpeed", "1200");
    ini_.EraseSection("Unit4");
    EXPECT_EQ(FileBytes(), HandWritten);
}

// A full disk in miniature: the file size limit makes the write of the new
// text fail part way. The old file must stay whole and no temporary file may
// be left behind.
TEST_F(IniFile, AWriteThatFailsLeavesTheOldFileWholeAndNoTemporaryFile)
{
    WriteFile(HandWritten);
    ini_.Open(Path());

    {
        const QuorvelTest::FileSizeLimit limit(64);
        ini_.WriteString("Site", "LastLog", QString(200, QLatin1Char('x')));
    }

    EXPECT_EQ(FileBytes(), HandWritten);
    EXPECT_EQ(FolderEntries(), QStringList({"North.ini"}));
    EXPECT_EQ(ini_.ReadString("Site", "LastLog", "none"), QString("none"));
}

// The file itself stays writable: only a write that goes by a temporary file
// and a rename keeps it whole.
TEST_F(IniFile, AWriteIntoAReadOnlyFolderLeavesTheOldFileWhole)
{
    WriteFile(HandWritten);
    ini_.Open(Path());
    int keptOldValue = -1;
    {
        const QuorvelTest::ReadOnlyFolder readOnly(folder_.path());
        keptOldValue = QuorvelTest::RunUnprivileged([this] {
            ini_.WriteString("Site", "ComSpeed", "1200");
            return ini_.ReadString("Site", "ComSpeed", "") == "9600" ? 1 : 0;
        });
    }

    EXPECT_EQ(keptOldValue, 1);
    EXPECT_EQ(FileBytes(), HandWritten);
    EXPECT_EQ(FolderEntries(), QStringList({"North.ini"}));
}
