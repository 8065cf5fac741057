// Definition files: the line format, the setting classes' values and texts,
// and editing through a scripted editor.
#include "site/ADFList.h"
#include "site/ConfigBlock.h"
#include "site/EEBlock.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace Quorvel1;

namespace {

// Answers the dialogs as a test tells it and records the error boxes.
class ScriptedEditor : public TADFEditor {
public:
    std::optional<QString> value;
    std::optional<int> pick;
    int preselected = -2;
    std::optional<std::vector<bool>> mask;
    std::vector<bool> shownTicks;
    QStringList errors;

    std::optional<QString> AskValue(const TADFStSimpleSet&) override { return value; }
    std::optional<int> AskPick(const TADFStBytePick&, int shown) override
    {
        preselected = shown;
        return pick;
    }
    std::optional<std::vector<bool>> AskMask(const TADFStByteMask&, const std::vector<bool>& ticked) override
    {
        shownTicks = ticked;
        return mask;
    }
    void ShowError(const QString& text, const QString& caption) override { errors << caption + ": " + text; }
};

class ADFListTest : public ::testing::Test {
protected:
    TConfigBlock config{0x0C03, {"012-003,FRIDGE", "16,WORD", "20,BYTE", "21,MODE", "22,FLAGS", "511,TOP"}};
    TEEBlock image{0, "U5,012-003"};

    TADFLoad Parse(const QStringList& lines) { return ParseADF(lines, "/adf/fridge.adf", &config, &image); }
    TADFBase& Only(const QString& line)
    {
        load = Parse({line});
        EXPECT_TRUE(load.Errors.isEmpty()) << load.Errors.join('\n').toStdString();
        EXPECT_EQ(load.List->Count(), 1);
        return load.List->Item(0);
    }
    void Bytes(int address, std::initializer_list<int> bytes)
    {
        for (int b : bytes)
            image.SetByte(address++, std::uint8_t(b));
    }

    TADFLoad load;
};

TEST_F(ADFListTest, CommentsAndBlankLinesGiveNoSettings)
{
    const TADFLoad result = Parse({"; settings", "", "   \t", "  ; indented comment"});
    EXPECT_EQ(result.List->Count(), 0);
    EXPECT_TRUE(result.Errors.isEmpty());
}

TEST_F(ADFListTest, AKeywordAndANameTakeEveryOtherDefault)
{
    auto& setting = dynamic_cast<TADFStByteSet&>(Only("STBYTESET,Temp"));
    EXPECT_EQ(setting.Name(), "Temp");
    EXPECT_EQ(setting.Description(), "Temp");
    EXPECT_EQ(setting.ConfigItemName(), "");
    EXPECT_EQ(setting.Address(), -1);
    EXPECT_EQ(setting.Minimum(), 0);
    EXPECT_EQ(setting.Maximum(), 255);
    EXPECT_EQ(setting.Exponent(), 0);
    EXPECT_EQ(setting.HighestApplication(), 0xFFFF);
    EXPECT_EQ(setting.TypeLetter(), QChar('?'));
    EXPECT_TRUE(setting.IsEnabled());
    EXPECT_FALSE(setting.IsValid());
    EXPECT_EQ(setting.State(), 0);
}

TEST_F(ADFListTest, KeywordsAreTrimmedAndUpperCasedAndEachMakesItsClass)
{
    const TADFLoad result = Parse({"  stbyteset   ,A", "StWordSet,B", "STBYTEPICK,C", "stbytemask,D", "STBITSET,E"});
    ASSERT_EQ(result.List->Count(), 4);
    EXPECT_NE(dynamic_cast<TADFStByteSet*>(&result.List->Item(0)), nullptr);
    EXPECT_NE(dynamic_cast<TADFStWordSet*>(&result.List->Item(1)), nullptr);
    EXPECT_EQ(typeid(result.List->Item(2)), typeid(TADFStBytePick));
    EXPECT_EQ(typeid(result.List->Item(3)), typeid(TADFStByteMask));
    EXPECT_EQ(result.Errors, QStringList{"/adf/fridge.adf, Line 4: Unknown ADF class"});
}

TEST_F(ADFListTest, AllFieldsOfALineAreTakenInOrder)
{
    auto& setting = dynamic_cast<TADFStWordSet&>(
        Only("STWORDSET,SetPt,\"Set point\",012-001,012-009,word,W,3,-400,400,-1,C,2"));
    EXPECT_EQ(setting.Description(), "Set point");
    EXPECT_EQ(setting.LowestApplication(), 0x010C);
    EXPECT_EQ(setting.HighestApplication(), 0x090C);
    EXPECT_EQ(setting.Address(), 16);
    EXPECT_EQ(setting.TypeLetter(), QChar('W'));
    EXPECT_EQ(setting.LevelMask(), 3);
    EXPECT_EQ(setting.Minimum(), -400);
    EXPECT_EQ(setting.Maximum(), 400);
    EXPECT_EQ(setting.Exponent(), -1);
    EXPECT_EQ(setting.Units(), "C");
    EXPECT_EQ(setting.Flag(), 2);
}

TEST_F(ADFListTest, AnUnquotedDescriptionWithASpaceSplits)
{
    const TADFBase& setting = Only("STBYTESET,Fan,Fan speed");
    EXPECT_EQ(setting.Description(), "Fan");
    EXPECT_EQ(setting.LowestApplication(), 0);
}

TEST_F(ADFListTest, BadLinesAreReportedWithTheirZeroBasedLineAndSkipped)
{
    const TADFLoad result = Parse({"; header", "STBYTESET,A,,,,BYTE,B,1,abc", "STBYTESET,B,,,,BYTE,B,1,0,10,11",
                                   "STBYTESET,C,,,,BYTE,B,1,0,10,-10", "STBYTEPICK,D,,,,MODE,B,1,0,5,0,,0,\"x=Off\""});
    ASSERT_EQ(result.List->Count(), 1);
    EXPECT_EQ(result.List->Item(0).Name(), "C");
    ASSERT_EQ(result.Errors.size(), 3);
    EXPECT_TRUE(result.Errors[0].startsWith("/adf/fridge.adf, Line 1: 'abc'"));
    EXPECT_TRUE(result.Errors[1].startsWith("/adf/fridge.adf, Line 2: Exponent 11"));
    EXPECT_TRUE(result.Errors[2].startsWith("/adf/fridge.adf, Line 4: 'x'"));
}

TEST_F(ADFListTest, WordsReadLittleEndianSignedWhenTheMinimumIsNegative)
{
    Bytes(16, {0x34, 0x12});
    auto& unsignedWord = dynamic_cast<TADFStWordSet&>(Only("STWORDSET,W,,,,WORD"));
    EXPECT_EQ(unsignedWord.GetValue(), 4660);
    Bytes(16, {0xFE, 0xFF});
    auto& signedWord = dynamic_cast<TADFStWordSet&>(Only("STWORDSET,W,,,,WORD,W,1,-10,10"));
    EXPECT_EQ(signedWord.GetValue(), -2);
}

TEST_F(ADFListTest, ValueTextsOfEachKind)
{
    struct Case {
        const char* line;
        int byte;
        const char* text;
    };
    const Case cases[] = {
        {"STBYTESET,T,,,,BYTE,B,1,0,255,-1,C", 215, "21.5C"},
        {"STBYTEMASK,M,,,,BYTE,B,1,0,255,0,,0,\"1=Fan,2=Heater,4=Light\"", 5, "Fan,Light"},
        {"STBYTEMASK,M,,,,BYTE,B,1,0,255,0,,0,\"1=Fan,2=Heater,4=Light\"", 0, "None"},
        {"STBYTEMASK,M,,,,BYTE,B,1,0,255,0,,0,\"1=Fan,\"\"2=Big heater\"\"\"", 3, "Fan,\"Big heater\""},
        {"STBYTEPICK,P,,,,BYTE,B,1,0,255,0,,0,\"A,B,C\"", 9, "???"},
        {"STBYTEPICK,P,,,,BYTE,B,1,0,255,0,,0,\"0=Off,4=Low,High\"", 5, "High"},
        {"STBYTEPICK,P,,,,BYTE,B,1,2,255,0,,0,\"Off,On\"", 3, "On"},
    };
    for (const Case& c : cases) {
        image.SetByte(20, std::uint8_t(c.byte));
        EXPECT_EQ(Only(c.line).ValueText(), c.text) << c.line;
    }
}

TEST_F(ADFListTest, TypedValuesAreCheckedAgainstTheLimitsAndTheStorage)
{
    struct Case {
        const char* line;
        const char* typed;
        const char* error; // nullptr: stored
        long stored;
    };
    const Case cases[] = {
        {"STBYTESET,T,,,,BYTE,B,1,0,255,-1", "21.5 C", nullptr, 215},
        {"STBYTESET,T,,,,BYTE,B,1,0,255,0", "300", TADFStSimpleSet::AboveMaximumText, 0},
        {"STBYTESET,T,,,,BYTE,B,1,0,1000,0", "300", TADFStSimpleSet::AboveMaximumText, 0},
        {"STBYTESET,T,,,,BYTE,B,1,-200,200,0", "-129", TADFStSimpleSet::BelowMinimumText, 0},
        {"STBYTESET,T,,,,BYTE,B,1,5,255,0", "4", TADFStSimpleSet::BelowMinimumText, 0},
        {"STBYTESET,T,,,,BYTE,B,1,0,255,0", "abc", TADFStSimpleSet::InvalidValueText, 0},
        {"STWORDSET,W,,,,WORD,W,1,0,99999,0", "70000", TADFStSimpleSet::AboveMaximumText, 0},
        {"STWORDSET,W,,,,WORD,W,1,-400,400,-1", "-12.5", nullptr, -125},
        {"STWORDSET,W,,,,WORD,W,1,0,2147483647,0", "99999999999999", TADFStSimpleSet::InvalidValueText, 0},
        {"STWORDSET,W,,,,MISSING,W,1,0,100,0", "5", TADFStSimpleSet::NoAddressText, 0},
    };
    for (const Case& c : cases) {
        image.Clear();
        auto& setting = dynamic_cast<TADFStSimpleSet&>(Only(c.line));
        ScriptedEditor editor;
        editor.value = c.typed;
        EXPECT_EQ(setting.Edit(editor), c.error == nullptr) << c.line << " " << c.typed;
        if (c.error) {
            EXPECT_EQ(editor.errors, QStringList{QString("Quorvel Setting Error: ") + c.error}) << c.line;
            EXPECT_EQ(image.GetState(20), EEState::NoValue);
            EXPECT_EQ(image.GetState(16), EEState::NoValue);
        } else {
            EXPECT_EQ(setting.GetValue(), c.stored);
            EXPECT_EQ(setting.State(), EEState::Changed);
        }
    }
}

TEST_F(ADFListTest, APickStoresTheChosenOptionsValueAndPreselectsByValue)
{
    auto& pick = dynamic_cast<TADFStBytePick&>(Only("STBYTEPICK,P,,,,MODE,B,1,0,255,0,,0,\"0=Off,4=Low,High\""));
    image.SetByte(21, 5);
    ScriptedEditor editor;
    editor.pick = 1;
    EXPECT_TRUE(pick.Edit(editor));
    EXPECT_EQ(editor.preselected, 2);
    EXPECT_EQ(image.GetByte(21), 4);
    EXPECT_EQ(pick.ValueText(), "Low");

    editor.pick = -1; // OK with nothing chosen
    EXPECT_FALSE(pick.Edit(editor));
    editor.pick.reset(); // Cancel
    EXPECT_FALSE(pick.Edit(editor));
    EXPECT_EQ(image.GetByte(21), 4);
}

TEST_F(ADFListTest, AMaskStoresTheTickedOptionsOred)
{
    auto& mask = dynamic_cast<TADFStByteMask&>(Only("STBYTEMASK,M,,,,FLAGS,B,1,0,7,0,,0,\"1=Fan,2=Heater,4=Light\""));
    image.SetByte(22, 5);
    ScriptedEditor editor;
    editor.mask = std::vector<bool>{false, true, true};
    EXPECT_TRUE(mask.Edit(editor));
    EXPECT_EQ(editor.shownTicks, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(image.GetByte(22), 6);
}

TEST_F(ADFListTest, AWordAtTheTopOfTheImageIsNotStoredBeyondIt)
{
    auto& word = dynamic_cast<TADFStWordSet&>(Only("STWORDSET,W,,,,TOP,W,1,0,1000"));
    ScriptedEditor editor;
    editor.value = "513";
    ASSERT_TRUE(word.Edit(editor));
    EXPECT_EQ(image.GetByte(511), 1);
    EXPECT_EQ(word.State(), EEState::NoValue); // its high byte is outside the image
}

TEST(ADFLoad, AMissingFileGivesAnEmptyListAndNoMessage)
{
    const TADFLoad load = LoadADF("/nonexistent/x.adf", nullptr, nullptr);
    EXPECT_EQ(load.List->Count(), 0);
    EXPECT_TRUE(load.Errors.isEmpty());
}

TEST(ADFLoad, AFileIsReadWithCrLfLines)
{
    QuorvelTest::TempFolder folder;
    const QString path = folder.file("fridge.adf");
    ASSERT_TRUE(folder.WriteBytes("fridge.adf", "; x\r\nSTBYTESET,A\r\nSTWORDSET,B\r\n"));
    const TADFLoad load = LoadADF(path, nullptr, nullptr);
    ASSERT_EQ(load.List->Count(), 2);
    EXPECT_EQ(load.List->Item(1).Name(), "B");
}

TEST(ADFLoad, ManyBadLinesShowAFewAndACount)
{
    const QStringList errors{"a", "b", "c", "d", "e"};
    EXPECT_EQ(ADFErrorsToShow(errors, 3),
              (QStringList{"a", "b", "c", "2 more bad lines in the definition file were skipped"}));
    EXPECT_EQ(ADFErrorsToShow({"a"}, 3), QStringList{"a"});
}

TEST(ADFLoad, DefinitionNamesThatLeaveTheFolderAreRefused)
{
    for (const char* bad : {"", "  ", "../etc/passwd", "a/b", "a\\b", ".."})
        EXPECT_FALSE(IsSafeDefinitionName(bad)) << bad;
    for (const char* good : {"FRIDGE12", "fridge.v2", "Cold Room"})
        EXPECT_TRUE(IsSafeDefinitionName(good)) << good;
}

} // namespace
