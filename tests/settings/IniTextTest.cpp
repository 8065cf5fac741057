#include "settings/IniText.h"

#include <gtest/gtest.h>

using Quorvel1::IniText;

namespace {

const QByteArray SiteFile = "; written by hand\r\n"
                            "[SITE]\r\n"
                            "lastLog = /logs/AB12C03.LOG \r\n"
                            "Procid=4660\r\n"
                            "\r\n"
                            "; units follow\r\n"
                            "[Unit3]\r\n"
                            "PROCID=77\r\n"
                            "Prog=012-003\r\n"
                            "[SiteMap]\r\n"
                            "Image=plan.jpg\r\n";

} // namespace

TEST(IniText, CrlfFileWithMixedCaseNamesReadsRegardlessOfCase)
{
    const IniText ini = IniText::Parse(SiteFile);
    EXPECT_EQ(ini.Value("Site", "LastLog"), QString("/logs/AB12C03.LOG"));
    EXPECT_EQ(ini.Value("site", "PROCID"), QString("4660"));
    EXPECT_EQ(ini.Value("unit3", "ProcID"), QString("77"));
    EXPECT_EQ(ini.Value("SiteMap", "image"), QString("plan.jpg"));
    EXPECT_EQ(ini.Value("Site", "ComSpeed"), std::nullopt);
    EXPECT_EQ(ini.Value("Unit4", "ProcID"), std::nullopt);
}

TEST(IniText, ParsingAndSerialisingUnchangedTextGivesTheSameBytes)
{
    const QByteArray mixed = "\xEF\xBB\xBF[a]\nk=v\r\n\n  ; note\n[b]\r\nx = 1 \nno end";
    EXPECT_EQ(IniText::Parse(mixed).Serialise(), mixed);
}

// A set value changes only its own line; a new key goes after its section's
// last key and a new section at the end, each with the file's line end.
TEST(IniText, SettingAValueChangesOnlyWhatItMust)
{
    const struct {
        const char* Case;
        QByteArray Text;
        const char* Section;
        const char* Key;
        const char* Value;
        QByteArray Expected;
    } rows[] = {
        {"existing key", SiteFile, "site", "PROCID", "13", QByteArray(SiteFile).replace("Procid=4660", "Procid=13")},
        {"new key", SiteFile, "Site", "ComSpeed", "9600",
         QByteArray(SiteFile).replace("Procid=4660\r\n", "Procid=4660\r\nComSpeed=9600\r\n")},
        {"new section, file without CR LF", "[Site]\nProcid=1", "Unit7", "ProcID", "300",
         "[Site]\nProcid=1\n[Unit7]\nProcID=300\n"},
        // A Latin-1 file whose only bytes that are not UTF-8 were in the
        // replaced value would read back as UTF-8, turning its other values
        // into other characters; it is written in UTF-8, which keeps them.
        {"Latin-1 file losing its last byte that is not UTF-8", "[Site]\nLastLog=K\xF6ln.LOG\n[Unit1]\nApp=Caf\xC3\xA9\n",
         "Site", "LastLog", "a.LOG", "[Site]\nLastLog=a.LOG\n[Unit1]\nApp=Caf\xC3\x83\xC2\xA9\n"},
    };
    for (const auto& row : rows) {
        IniText ini = IniText::Parse(row.Text);
        ini.SetValue(row.Section, row.Key, row.Value);
        EXPECT_EQ(ini.Serialise(), row.Expected) << row.Case;
    }
}

TEST(IniText, ValuesWithCommasQuotesAndBackslashesStayVerbatim)
{
    const QString label = R"(U,"Cold room, north",120,\\srv\maps\"a".jpg)";
    IniText ini = IniText::Parse("[SiteMap]\r\nMO001=" + label.toUtf8() + "\r\n");
    EXPECT_EQ(ini.Value("SiteMap", "MO001"), label);

    ini.SetValue("SiteMap", "MO002", label);
    ini.SetValue("Site", "ComTimeouts", "10,2000,500,500,3000,5000");
    const IniText again = IniText::Parse(ini.Serialise());
    EXPECT_EQ(again.Value("SiteMap", "MO002"), label);
    EXPECT_EQ(again.Value("Site", "ComTimeouts"), QString("10,2000,500,500,3000,5000"));
    EXPECT_TRUE(ini.Serialise().contains("MO002=" + label.toUtf8() + "\r\n"));
}

TEST(IniText, EqualsSignsAfterTheFirstBelongToTheValue)
{
    const IniText ini = IniText::Parse("[s]\nk = a=b =c\n");
    EXPECT_EQ(ini.Value("s", "k"), QString("a=b =c"));
}

TEST(IniText, EraseSectionRemovesEveryBlockOfThatNameAndNothingElse)
{
    IniText ini = IniText::Parse("[Unit1]\nProcID=5\n; keep\n[unit2]\nProcID=6\n"
                                 "[UNIT1]\nRomID=9\n[Site]\nProcid=1\n");
    ini.EraseSection("Unit1");
    EXPECT_EQ(ini.Serialise(), QByteArray("[unit2]\nProcID=6\n[Site]\nProcid=1\n"));
    EXPECT_EQ(ini.Value("Unit1", "RomID"), std::nullopt);
}

TEST(IniText, ListsGiveDistinctNamesInFileOrderAsSpelledFirst)
{
    const IniText ini = IniText::Parse("[Unit2]\nProcID=1\nRomID=2\nprocid=3\n"
                                       "[Site]\nLastLog=x\n[UNIT2]\nApp=y\n");
    EXPECT_EQ(ini.Sections(), QStringList({"Unit2", "Site"}));
    EXPECT_EQ(ini.Keys("unit2"), QStringList({"ProcID", "RomID"}));
    EXPECT_EQ(ini.Value("Unit2", "PROCID"), QString("1"));
    EXPECT_EQ(ini.Keys("Missing"), QStringList());
}

TEST(IniText, CommentsAndKeysBeforeAnySectionAreNotSettings)
{
    const IniText ini = IniText::Parse("Stray=1\n[Site]\n;Procid=7\nnot a key\n =8\n");
    EXPECT_EQ(ini.Keys("Site"), QStringList());
    EXPECT_EQ(ini.Value("Site", "Procid"), std::nullopt);
    EXPECT_EQ(ini.Sections(), QStringList({"Site"}));
}

TEST(IniText, LineBreaksInAWrittenValueCannotForgeOtherSettings)
{
    IniText ini = IniText::Parse("[Site]\nProcid=1\n");
    ini.SetValue("Site", "LastLog", "a.LOG\n[Evil]\r\nProcid=9");
    EXPECT_EQ(ini.Sections(), QStringList({"Site"}));
    EXPECT_EQ(ini.Value("Site", "Procid"), QString("1"));
    EXPECT_EQ(ini.Value("Site", "LastLog"), QString("a.LOG [Evil]  Procid=9"));
}

TEST(IniText, FileThatIsNotUtf8IsReadAndWrittenAsLatin1)
{
    IniText ini = IniText::Parse("[Unit1]\nApp=Caf\xE9 cold\n[Site]\nProcid=1\n");
    EXPECT_EQ(ini.Value("Unit1", "App"), QString::fromUtf8("Caf\xC3\xA9 cold"));
    ini.SetValue("Site", "LastLog", QString::fromUtf8("d\xC3\xA9j\xC3\xA0.LOG"));
    EXPECT_EQ(ini.Serialise(),
              QByteArray("[Unit1]\nApp=Caf\xE9 cold\n[Site]\nProcid=1\nLastLog=d\xE9j\xE0.LOG\n"));
}
