// The EE settings editor's table without its window: the cells of an image
// in each format, "---" for what is not known, the device texts, what each
// column takes and refuses, the reading range from the config block and
// the text "Copy" puts on the clipboard.
#include "base/Exception.h"
#include "site/ConfigBlock.h"
#include "site/EEBlock.h"
#include "units/EESetsModel.h"

#include <gtest/gtest.h>

#include <optional>

using namespace Quorvel1;
using Column = TEESetsModel::Column;

namespace {

TEST(EESetsModelTest, A512ByteImageHasARowPerAddressAndNoWordAtTheTop)
{
    TEEBlock image(0, TEEBlock::ImageName(0, 0));
    for (int address = 0; address <= image.TopAddress(); ++address)
        image.StoreRead(address, static_cast<std::uint8_t>(address));
    TEESetsModel model(image, nullptr);
    EXPECT_EQ(model.rowCount() + 1, 513); // and the title row
    EXPECT_EQ(model.columnCount(), 10);
    EXPECT_EQ(model.headerData(7, Qt::Horizontal, Qt::DisplayRole).toString(), "Hex");
    for (Column column : {Column::Word, Column::Int, Column::WordHex})
        EXPECT_EQ(model.CellText(0x1FF, column), "---");
    EXPECT_EQ(model.CellText(0x1FF, Column::Byte), "255");
    EXPECT_EQ(model.CellText(0x1FE, Column::Word), QString::number(0xFFFE));
    EXPECT_EQ(model.CellText(0x1FE, Column::Int), "-2");
    EXPECT_EQ(model.CellText(0x1FE, Column::WordHex), "FFFE");
    EXPECT_EQ(model.CellText(0x1FE, Column::Char), "-2");
    EXPECT_EQ(model.CellText(0x0A, Column::Hex), "0A");
    EXPECT_EQ(model.CellText(0x0A, Column::Dev), "1/3");
    EXPECT_EQ(model.CellText(0x41, Column::Ch), "A");
    EXPECT_EQ(model.LowestNamed(), 0);
    EXPECT_EQ(model.EndAddress(), 0x1FF);

    image.SetByte(0x20, 1); // changed, not yet confirmed by the unit
    EXPECT_EQ(model.CellText(0x20, Column::Byte), "---");
    EXPECT_EQ(model.CellText(0x1F, Column::Word), "---");
}

struct TCellCase {
    int column;
    const char* text;
    std::optional<std::uint16_t> value; // none: refused
    const char* error = "";
};

class EESetsCellTest : public ::testing::TestWithParam<TCellCase> {};

TEST_P(EESetsCellTest, EachColumnTakesOnlyWhatItCanHold)
{
    const TCellCase& c = GetParam();
    if (c.value) {
        EXPECT_EQ(TEESetsModel::ParseCell(c.column, c.text).value, *c.value);
        return;
    }
    try {
        TEESetsModel::ParseCell(c.column, c.text);
        ADD_FAILURE() << "accepted " << c.text;
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QString::fromLatin1(c.error));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EESetsCellTest,
    ::testing::Values(TCellCase{Column::Byte, "255", 255}, TCellCase{Column::Byte, "300", {}, "Invalid value: 300"},
                      TCellCase{Column::Byte, "-1", {}, "Invalid value: -1"},
                      TCellCase{Column::Char, "-1", 0xFF}, TCellCase{Column::Char, "128", {}, "Invalid value: 128"},
                      TCellCase{Column::Hex, "FF", 255}, TCellCase{Column::Hex, "1FF", {}, "Invalid value: 1FF"},
                      TCellCase{Column::Hex, "FZ", {}, "Invalid value: FZ"},
                      TCellCase{Column::Hex, "ZZ", {}, "Invalid value: ZZ"},
                      TCellCase{Column::Word, "65535", 0xFFFF},
                      TCellCase{Column::Word, "65536", {}, "Invalid value: 65536"},
                      TCellCase{Column::Int, "-1", 0xFFFF}, TCellCase{Column::Int, "40000", {}, "Invalid value: 40000"},
                      TCellCase{Column::WordHex, "12aB", 0x12AB},
                      TCellCase{Column::WordHex, "12G", {}, "Invalid value: 12G"},
                      TCellCase{Column::Dev, "1/1", 0x08}, TCellCase{Column::Dev, "0/1", 0x00}, TCellCase{Column::Dev, "2/8", 0x17},
                      TCellCase{Column::Dev, "none", 0xFF}, TCellCase{Column::Dev, "31/8", 0xFF},
                      TCellCase{Column::Dev, "12", {}, "Invalid device string: 12"},
                      TCellCase{Column::Dev, "0/0", {}, "Invalid device string: 0/0"},
                      TCellCase{Column::Dev, "1/9", {}, "Invalid device string: 1/9"},
                      TCellCase{Column::Dev, "32/1", {}, "Invalid device string: 32/1"},
                      TCellCase{Column::Ch, "A", 65}, TCellCase{Column::Ch, "", {}, "Invalid value: "},
                      TCellCase{Column::Ch, "AB", {}, "Invalid value: AB"},
                      TCellCase{Column::Name, "x", {}, "Invalid edit cell"}));

TEST(EESetsModelTest, ARefusedEntryLeavesTheCellAndTheImageAsTheyWere)
{
    TEEBlock image(0, TEEBlock::ImageName(5, 0x0C05));
    image.StoreRead(8, 17);
    TEESetsModel model(image, nullptr);
    model.SetEditable(true);
    QString reported;
    model.SetErrorHook([&](const QString& message) { reported = message; });
    EXPECT_FALSE(model.setData(model.index(8, Column::Byte), "300", Qt::EditRole));
    EXPECT_EQ(reported, "Invalid value: 300");
    EXPECT_EQ(model.data(model.index(8, Column::Byte), Qt::DisplayRole).toString(), "17");
    EXPECT_EQ(image.GetState(8), EEState::Read);

    EXPECT_TRUE(model.setData(model.index(8, Column::Int), "-2", Qt::EditRole));
    EXPECT_EQ(image.GetByte(8), 0xFE);
    EXPECT_EQ(image.GetByte(9), 0xFF);
    EXPECT_EQ(image.GetState(9), EEState::Changed);
    model.Edit(0x1FF, Column::Word, "1"); // no word at the top: nothing
    EXPECT_EQ(image.GetState(0x1FF), EEState::NoValue);
}

TEST(EESetsModelTest, OfflineNoCellIsEditable)
{
    TEEBlock image(0, TEEBlock::ImageName(5, 0x0C05));
    TEESetsModel model(image, nullptr);
    EXPECT_FALSE(model.flags(model.index(3, Column::Byte)) & Qt::ItemIsEditable);
    model.SetEditable(true);
    EXPECT_TRUE(model.flags(model.index(3, Column::Byte)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(model.index(3, Column::Name)) & Qt::ItemIsEditable);
}

TEST(EESetsModelTest, TheConfigBlockNamesRowsAndBoundsTheReadingRange)
{
    const TConfigBlock block(0x0C05, {"012-005,FRIDGE5", "64,END", "16,FIRST", "32,SETPOINT", "32,SETPT2", "900,FAR"});
    TEEBlock image(block.HighestAddress(), TEEBlock::ImageName(5, 0x0C05));
    ASSERT_EQ(image.TopAddress(), 0x7FF);
    TEESetsModel model(image, &block);
    EXPECT_EQ(model.LowestNamed(), 16);
    EXPECT_EQ(model.EndAddress(), 64);
    EXPECT_EQ(model.CellText(32, Column::Name), "SETPT2");
    EXPECT_EQ(model.CellText(900, Column::Name), "FAR");

    image.StoreRead(16, 200);
    image.StoreRead(17, 1);
    const QStringList lines = model.CopyText().split('\n');
    EXPECT_EQ(lines.at(0), "Addr\tName\tByte\tChar\tWord\tInt");
    EXPECT_EQ(lines.at(17), "16\tFIRST\t200\t-56\t456\t456");
    EXPECT_EQ(lines.at(18), "17\t\t1\t1\t---\t---");
}

} // namespace
