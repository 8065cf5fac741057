// The log devices list over a site's devices: its columns, the address
// column shown on request, the colours by active mode, the readings as value
// text with the units letter and "-----" for a missing one, and the pop-up's
// edit entries.
#include "logger/gui/LBLogDevs.h"
#include "site/SiteExt.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include <vector>

using namespace Quorvel1;

namespace {

class LBLogDevsTest : public ::testing::Test {
protected:
    LBLogDevsTest()
    {
        list.SetSite([this] { return &site; });
        list.SetReadings([this] { return std::span<const std::uint16_t>(readings); });
        list.SetEditDevice([this](int index) { edited.push_back(index); });
    }

    TDev& Add(std::uint8_t type, const char* name, std::int32_t loggerIndex)
    {
        site.Devices.push_back(TSite::CreateDevice(type));
        TDev& device = *site.Devices.back();
        device.SetName(QString::fromLatin1(name));
        device.LoggerIndex = loggerIndex;
        return device;
    }
    TLBLogDevsModel& Model() { return list.Devices(); }
    QString Text(int row, int column) { return Model().Cell(row, column); }

    TSiteExt site;
    TLBLogDevs list;
    std::vector<std::uint16_t> readings;
    std::vector<int> edited;
};

} // namespace

TEST_F(LBLogDevsTest, ReadingTextHasTheExponentsDecimals)
{
    struct {
        std::int16_t Value;
        int Exponent;
        char Units;
        const char* Text;
    } const cases[] = {
        {215, -1, 'C', "21.5C"}, {3, 2, 'M', "300.00M"}, {-5, -2, 'V', "-0.05V"}, {37, 0, '%', "37%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadingText(c.Value, c.Exponent, c.Units), c.Text);
}

TEST_F(LBLogDevsTest, RowsShowNamesAddressesAndReadings)
{
    TDev& asmDev = Add(DevAsm, "ROOM", 0);
    asmDev.Exponent = -1;
    asmDev.Units = 'C';
    asmDev.SetAsmAddress(3, 2, 10);
    Add(DevSensor, "AIR", 1).SetIOAddress(5, 2);        // SENS02: raw 1023 is out of range
    Add(DevVariableOutput, "VALVE", -1).SetIOAddress(4, 0); // not in the logger's table
    readings = {215, 1023};
    list.Refill();
    ASSERT_EQ(Model().RowCount(), 3);
    EXPECT_EQ(Model().headerData(0, Qt::Horizontal).toString(), "Device");
    EXPECT_EQ(Model().headerData(1, Qt::Horizontal).toString(), "Address");
    EXPECT_EQ(Model().headerData(2, Qt::Horizontal).toString(), "Reading");
    EXPECT_EQ(Model().Column(2).Alignment, THdrAlignment::Right);
    EXPECT_EQ(Text(0, 0), "ROOM");
    EXPECT_EQ(Text(0, 1), "ASM3/2/10");
    EXPECT_EQ(Text(1, 1), "SENSOR5/3");
    list.UpdateReadings();
    EXPECT_EQ(Text(0, 2), "21.5C");
    EXPECT_EQ(Text(1, 2), "-----");
    EXPECT_EQ(Text(2, 2), " ");
    readings.clear(); // no readings yet: nothing to show
    list.UpdateReadings();
    EXPECT_EQ(Text(0, 2), " ");
}

TEST_F(LBLogDevsTest, ShowAddressesTogglesTheColumn)
{
    Add(DevSensor, "AIR", -1);
    list.Refill();
    EXPECT_FALSE(Model().Column(1).Visible);
    EXPECT_FALSE(list.ShowAddressesAction()->isChecked());
    list.ShowAddressesAction()->trigger();
    EXPECT_TRUE(Model().Column(1).Visible);
    EXPECT_TRUE(list.ShowAddressesAction()->isChecked());
    list.ShowAddressesAction()->trigger();
    EXPECT_FALSE(Model().Column(1).Visible);
}

TEST_F(LBLogDevsTest, RowsAreColouredByActiveMode)
{
    const std::pair<std::uint8_t, QColor> modes[] = {
        {ActiveNo, Qt::red}, {ActiveYes, Qt::black}, {ActivePolled, Qt::blue}};
    for (const auto& [mode, colour] : modes)
        Add(DevSensor, "S", -1).Active = mode;
    list.Refill();
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(Model().data(Model().index(row, 0), Qt::ForegroundRole).value<QColor>(),
                  modes[row].second)
            << row;
}

TEST_F(LBLogDevsTest, PopupEditsTheSelectedOrANewDevice)
{
    Add(DevSensor, "A", -1);
    Add(DevSensor, "B", -1);
    list.Refill();
    list.UpdatePopup();
    EXPECT_FALSE(list.EditAction()->isEnabled());
    list.SelectRow(1);
    list.UpdatePopup();
    ASSERT_TRUE(list.EditAction()->isEnabled());
    list.EditAction()->trigger();
    list.NewAction()->trigger();
    EXPECT_EQ(edited, std::vector<int>({1, 2}));
}
