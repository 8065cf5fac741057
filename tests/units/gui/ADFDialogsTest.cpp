// The setting dialogs fill themselves from the setting and hand back what
// the user chose.
#include "site/ADFList.h"
#include "site/ConfigBlock.h"
#include "site/EEBlock.h"
#include "units/gui/ADFDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Quorvel1;

namespace {

class ADFDialogsTest : public ::testing::Test {
protected:
    TConfigBlock config{0x0C03, {"012-003,FRIDGE", "20,BYTE"}};
    TEEBlock image{0, "U5,012-003"};
    TADFLoad load = ParseADF({"STBYTESET,Temp,\"Room temperature\",,,BYTE,B,1,0,255,-1,C",
                              "STBYTEPICK,Mode,,,,BYTE,B,1,0,255,0,,0,\"0=Off,4=Low,High\"",
                              "STBYTEMASK,Loads,,,,BYTE,B,1,0,255,0,,0,\"1=Fan,2=Heater,4=Light\""},
                             "t.adf", &config, &image);

    template <class Setting>
    Setting& At(int index)
    {
        return dynamic_cast<Setting&>(load.List->Item(index));
    }
    static QStringList Labels(const QDialog& dialog)
    {
        QStringList texts;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            texts << label->text();
        return texts;
    }
};

TEST_F(ADFDialogsTest, TheNumericDialogShowsTheSettingAndItsValueSelected)
{
    image.SetByte(20, 215);
    TADFDlgStSimpleSet dialog;
    dialog.SetSetting(At<TADFStSimpleSet>(0));
    EXPECT_EQ(dialog.windowTitle(), "Enter New Value");
    const QStringList labels = Labels(dialog);
    for (const char* text : {"Setting:", "Temp", "Description:", "Room temperature", "Old Value:", "21.5C"})
        EXPECT_TRUE(labels.contains(text)) << text;
    EXPECT_EQ(dialog.ValueField()->text(), "21.5C");
    EXPECT_EQ(dialog.ValueField()->selectedText(), "21.5C");
}

TEST_F(ADFDialogsTest, ThePickDialogListsTheOptionsAndPreselects)
{
    TADFDlgStBytePick dialog;
    dialog.SetSetting(At<TADFStBytePick>(1), 2);
    EXPECT_EQ(dialog.windowTitle(), "Select New Value");
    ASSERT_EQ(dialog.Options()->count(), 3);
    EXPECT_EQ(dialog.Options()->itemText(1), "Low");
    EXPECT_FALSE(dialog.Options()->isEditable());
    EXPECT_EQ(dialog.Chosen(), 2);
    dialog.SetSetting(At<TADFStBytePick>(1), -1);
    EXPECT_EQ(dialog.Chosen(), -1);
}

TEST_F(ADFDialogsTest, EditingThroughTheMaskDialogStoresTheTicks)
{
    image.SetByte(20, 1);
    TADFDialogEditor editor(nullptr);
    QTimer::singleShot(0, [] {
        auto* dialog = dynamic_cast<TADFDlgStByteMask*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->Options()->item(0)->checkState(), Qt::Checked);
        dialog->Options()->item(0)->setCheckState(Qt::Unchecked);
        dialog->Options()->item(2)->setCheckState(Qt::Checked);
        dialog->accept();
    });
    EXPECT_TRUE(At<TADFStByteMask>(2).Edit(editor));
    EXPECT_EQ(image.GetByte(20), 4);
    EXPECT_EQ(image.GetState(20), EEState::Changed);
}

TEST_F(ADFDialogsTest, CancelInTheNumericDialogChangesNothing)
{
    image.SetByte(20, 10);
    image.SetState(20, EEState::Read);
    TADFDialogEditor editor(nullptr);
    QTimer::singleShot(0, [] {
        auto* dialog = dynamic_cast<TADFDlgStSimpleSet*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->ValueField()->setText("5");
        dialog->reject();
    });
    EXPECT_FALSE(At<TADFStSimpleSet>(0).Edit(editor));
    EXPECT_EQ(image.GetByte(20), 10);
    EXPECT_EQ(image.GetState(20), EEState::Read);
}

} // namespace
