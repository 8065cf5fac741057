// A unit's settings come from the definition file its settings-address file
// names, in the program folder's Adf folder, found without regard to case.
#include "base/ProgramFolder.h"
#include "site/ADFList.h"
#include "site/SiteExt.h"
#include "site/Unit.h"
#include "support/SettingsAddressFiles.h"

#include <QDir>
#include <QFile>

using namespace Quorvel1;

namespace {

class SiteDefinitionListTest : public QuorvelTest::SettingsAddressFiles {
protected:
    void SetUp() override
    {
        QDir().mkpath(ProgramFolder() + "/Adf");
        site.AddUnit(std::make_unique<TUnit>(5, 1, 1, 0, 0, QByteArray("FRIDGE"), 0x0C05));
    }
    void TearDown() override { QDir(ProgramFolder() + "/Adf").removeRecursively(); }

    void WriteAdf(const QString& fileName, const QByteArray& text)
    {
        QFile file(ProgramFolder() + "/Adf/" + fileName);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    void Name(const QByteArray& adfName)
    {
        WriteSettingsAddressFile(0x0C05, "012-005," + adfName + "\r\n32,SETPOINT\r\n");
        site.RebuildUnitTable();
    }

    TSiteExt site;
};

TEST_F(SiteDefinitionListTest, TheNamedFileIsFoundWhateverItsCaseAndBoundToTheUnit)
{
    WriteAdf("FRIDGE12.ADF", "STWORDSET,SetPt,,,,SETPOINT,W,1,-400,400,-1,C\r\nSTBYTESET,Bad,,,,X,B,1,z\r\n");
    Name("fridge12");
    TADFList* list = site.DefinitionList(5);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Item(0).Address(), 32);
    EXPECT_EQ(list->AppId, 0x0C05);
    EXPECT_EQ(list->EEBlock(), site.EEImage(5));
    EXPECT_EQ(site.DefinitionList(5), list); // kept in the record
    const QStringList errors = site.TakeDefinitionErrors(5);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("FRIDGE12.ADF, Line 1: ")) << errors[0].toStdString();
    EXPECT_TRUE(site.TakeDefinitionErrors(5).isEmpty());
}

TEST_F(SiteDefinitionListTest, ANameThatLeavesTheFolderReadsNothing)
{
    WriteAdf("secret.adf", "STBYTESET,A\r\n");
    Name("../Adf/secret");
    ASSERT_NE(site.DefinitionList(5), nullptr);
    EXPECT_EQ(site.DefinitionList(5)->Count(), 0);
    EXPECT_EQ(site.TakeDefinitionErrors(5).size(), 1);
    EXPECT_EQ(site.DefinitionList(31), nullptr);
}

} // namespace
