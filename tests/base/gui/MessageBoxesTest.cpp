// The controller's message box flags as Qt message boxes, and the buttons
// pressed as its answers.
#include "base/gui/MessageBoxes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

using namespace Quorvel1;

TEST(MessageBoxes, FlagsGiveButtonsAndIcon)
{
    struct {
        int Flags;
        QMessageBox::StandardButtons Buttons;
        QMessageBox::Icon Icon;
        int Closed; // the answer when the box is closed without a button
    } const cases[] = {
        {0x10, QMessageBox::Ok, QMessageBox::Critical, MessageAnswer::Ok},
        {0x24, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question, MessageAnswer::No},
        {0x23, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Question,
         MessageAnswer::No},
        {0x01, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::NoIcon, MessageAnswer::Cancel},
        {0x00, QMessageBox::Ok, QMessageBox::NoIcon, MessageAnswer::Ok},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Flags);
        EXPECT_EQ(MessageBoxButtons(c.Flags), c.Buttons);
        EXPECT_EQ(MessageBoxIcon(c.Flags), c.Icon);
        EXPECT_EQ(MessageBoxAnswer(QMessageBox::NoButton, c.Flags), c.Closed);
        EXPECT_EQ(NegativeAnswer(c.Flags), c.Closed);
    }
}

TEST(MessageBoxes, ButtonsGiveTheirAnswers)
{
    EXPECT_EQ(MessageBoxAnswer(QMessageBox::Ok, 0x01), 1);
    EXPECT_EQ(MessageBoxAnswer(QMessageBox::Cancel, 0x01), 2);
    EXPECT_EQ(MessageBoxAnswer(QMessageBox::Yes, 0x24), 6);
    EXPECT_EQ(MessageBoxAnswer(QMessageBox::No, 0x24), 7);
    EXPECT_EQ(MessageBoxAnswer(QMessageBox::Cancel, 0x23), 2);
}

// The box shown: its caption, text and buttons; the button pressed, or
// Escape, comes back as the answer.
TEST(MessageBoxes, TheBoxShownAnswersWithTheButtonPressed)
{
    struct {
        int Flags;
        QMessageBox::StandardButton Press; // NoButton: Escape
        int Answer;
    } const cases[] = {
        {0x24, QMessageBox::Yes, MessageAnswer::Yes},
        {0x24, QMessageBox::NoButton, MessageAnswer::No},
        {0x23, QMessageBox::Cancel, MessageAnswer::Cancel},
        {0x01, QMessageBox::NoButton, MessageAnswer::Cancel},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Flags);
        QString caption;
        QString text;
        QMessageBox::StandardButtons buttons;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            caption = box->windowTitle();
            text = box->text();
            buttons = box->standardButtons();
            if (c.Press != QMessageBox::NoButton) {
                box->button(c.Press)->click();
            } else {
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(box, &escape);
            }
        });
        EXPECT_EQ(ShowMessageBox(nullptr, "Are you sure?", "Clear Alarms", c.Flags), c.Answer);
        EXPECT_EQ(caption, "Clear Alarms");
        EXPECT_EQ(text, "Are you sure?");
        EXPECT_EQ(buttons, MessageBoxButtons(c.Flags));
    }
}
