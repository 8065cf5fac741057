// The log device editor over a site's devices: a new device's form, the
// address packing of each class, the name and address checks made on every
// store, Next past the last device, the spin edits held to the address's
// fields, a type list with nothing chosen, and Delete.
#include "logger/gui/DlgLogDev.h"
#include "site/Asm.h"
#include "site/SiteExt.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QTimer>

using namespace Quorvel1;

namespace {

class LogDevEditorTest : public ::testing::Test {
protected:
    template <typename T>
    T* Control(const char* name)
    {
        T* control = editor.findChild<T*>(QLatin1String(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    void SetName(const QString& name) { Control<QLineEdit>("edName")->setText(name); }
    void SetSpin(const char* name, int value) { Control<QSpinBox>(name)->setValue(value); }
    void ChooseClass(int radio)
    {
        Control<QGroupBox>("rgDevCat")->findChildren<QAbstractButton*>()[radio]->click();
    }
    QString NewLabel() { return Control<QLabel>("lblNewEdit")->text(); }

    // Runs `action` and answers the message box it shows, if any, with OK;
    // returns the box's text and caption ("" when none came up).
    std::pair<QString, QString> Answering(const std::function<void()>& action)
    {
        std::pair<QString, QString> seen;
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen = {box->text(), box->windowTitle()};
                box->button(QMessageBox::Ok)->click();
            }
        });
        look.start(10);
        action();
        return seen;
    }

    TDev& Device(int index) { return *site.Devices[std::size_t(index)]; }

    TSiteExt site;
    TDlgLogDev editor{site};
};

} // namespace

TEST_F(LogDevEditorTest, NewDeviceStartsAsAnOutputNamedNewDevice)
{
    editor.Start(0);
    EXPECT_TRUE(site.IsModified());
    EXPECT_FALSE(editor.Loaded());
    EXPECT_EQ(NewLabel(), "NEW DEVICE");
    EXPECT_EQ(Control<QLineEdit>("edName")->text(), "NewDevice");
    EXPECT_EQ(editor.ShownClass(), DevClassOutput);
    EXPECT_TRUE(Control<QGroupBox>("rgDevCat")->isEnabled());
    EXPECT_FALSE(Control<QWidget>("buttDelete")->isEnabled());
    ASSERT_TRUE(editor.StoreForm());
    ASSERT_EQ(site.Devices.size(), 1u);
    EXPECT_EQ(Device(0).NameText(), "NewDevice");
    EXPECT_EQ(Device(0).Active, ActiveYes);
    EXPECT_EQ(NewLabel(), "");
}

// Each class packs its address its own way; the address text names it.
TEST_F(LogDevEditorTest, StoredDevicesPackTheirAddresses)
{
    struct {
        int Radio;
        int Unit, Channel, Airspace, Message;
        std::uint16_t Address;
        const char* Text;
    } const cases[] = {
        {1, 5, 3, 0, 0, 42, "SENSOR5/3"},
        {0, 12, 2, 0, 0, 97, "OUTPUT12/2"},
        {2, 3, 1, 2, 10, 5187, "ASM3/2/10"},
        {2, 31, 1, 15, 127, 0xFFFF, "ASM31/15/127"},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        editor.Start(index);
        ChooseClass(c.Radio);
        SetName(QString::fromLatin1(c.Text).left(10));
        SetSpin("seUnit", c.Unit);
        SetSpin("seChan", c.Channel);
        SetSpin("seAirspace", c.Airspace);
        SetSpin("seMessage", c.Message);
        ASSERT_TRUE(editor.StoreForm());
        EXPECT_EQ(Device(index).Address, c.Address);
        EXPECT_EQ(Device(index).MakeName(), c.Text);
        ++index;
    }
}

TEST_F(LogDevEditorTest, SpinEditsHoldToTheAddressFields)
{
    editor.Start(0);
    ChooseClass(2);
    SetSpin("seAirspace", 16);
    SetSpin("seMessage", 1000);
    EXPECT_EQ(Control<QSpinBox>("seAirspace")->value(), 15);
    EXPECT_EQ(Control<QSpinBox>("seMessage")->value(), 127);
    SetSpin("seUnit", 4);
    ASSERT_TRUE(editor.StoreForm());
    auto& device = static_cast<TAsm&>(Device(0));
    EXPECT_EQ(device.AirspaceNo(), 15u);
    EXPECT_EQ(device.MessageNo(), 127u);
    EXPECT_EQ(device.UnitNo(), 4u);
}

// Addresses the logger's configuration reads as empty entries are refused
// and nothing is stored.
TEST_F(LogDevEditorTest, AddressesReadAsEmptyEntriesAreRefused)
{
    struct {
        int Radio, Unit, Channel;
        QString Message;
    } const cases[] = {
        {1, 31, 8, TDlgLogDev::EmptyEntryError},
        {0, 31, 8, TDlgLogDev::EmptyEntryError},
        {2, 0, 1, TDlgLogDev::AsmUnitError},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Radio);
        editor.Start(0);
        ChooseClass(c.Radio);
        SetSpin("seUnit", c.Unit);
        SetSpin("seChan", c.Channel);
        bool stored = true;
        const auto [text, caption] = Answering([&] { stored = editor.StoreForm(); });
        EXPECT_FALSE(stored);
        EXPECT_EQ(text, c.Message);
        EXPECT_EQ(caption, "Log Device");
        EXPECT_TRUE(site.Devices.empty());
    }
    editor.Start(0);
    ChooseClass(1);
    SetSpin("seUnit", 31);
    SetSpin("seChan", 7);
    EXPECT_TRUE(editor.StoreForm());
}

TEST_F(LogDevEditorTest, NextOnTheLastDeviceThenOkIsADuplicateName)
{
    editor.Start(0);
    SetName("FAN1");
    ASSERT_TRUE(editor.StoreForm());
    editor.Start(0);
    editor.Next();
    EXPECT_FALSE(editor.Loaded());
    EXPECT_EQ(NewLabel(), "NEW DEVICE");
    EXPECT_EQ(Control<QLineEdit>("edName")->text(), "FAN1");
    const auto [text, caption] = Answering([&] { editor.accept(); });
    EXPECT_EQ(text, "Duplicate or empty name");
    EXPECT_EQ(caption, "Log Device");
    EXPECT_EQ(site.Devices.size(), 1u);
    EXPECT_EQ(editor.result(), QDialog::Rejected);
}

// A stored device may keep its own name but not take another's.
TEST_F(LogDevEditorTest, RenamesAreCheckedAgainstTheOtherDevices)
{
    for (const char* name : {"FAN1", "FAN2"}) {
        editor.Start(int(site.Devices.size()));
        SetName(name);
        ASSERT_TRUE(editor.StoreForm());
    }
    editor.Start(1);
    EXPECT_TRUE(editor.StoreForm());
    SetName("FAN1");
    const auto [text, caption] = Answering([&] { EXPECT_FALSE(editor.StoreForm()); });
    EXPECT_EQ(text, "Duplicate or empty name");
    EXPECT_EQ(Device(1).NameText(), "FAN2");
    SetName("");
    EXPECT_EQ(Answering([&] { EXPECT_FALSE(editor.StoreForm()); }).first, "Duplicate or empty name");
}

TEST_F(LogDevEditorTest, TypeWithNothingChosenKeepsTheSubtype)
{
    editor.Start(0);
    ChooseClass(1);
    Control<QComboBox>("cbType")->setCurrentIndex(4);
    ASSERT_TRUE(editor.StoreForm());
    EXPECT_EQ(Device(0).Subtype, 4);
    editor.Start(0);
    Control<QComboBox>("cbType")->setCurrentIndex(-1);
    ASSERT_TRUE(editor.StoreForm());
    EXPECT_EQ(Device(0).Subtype, 4);
}

TEST_F(LogDevEditorTest, DeletingTheOnlyDeviceLeavesANewOutput)
{
    editor.Start(0);
    ChooseClass(2);
    SetSpin("seUnit", 2);
    ASSERT_TRUE(editor.StoreForm());
    editor.Start(0);
    EXPECT_TRUE(Control<QWidget>("buttDelete")->isEnabled());
    editor.Delete();
    EXPECT_TRUE(site.Devices.empty());
    EXPECT_FALSE(editor.Loaded());
    EXPECT_EQ(editor.ShownClass(), DevClassOutput);
}
