// The progress dialog in front of a command: what it shows, and Cancel (or
// Escape) during a transfer that hangs, which fails the job and closes the
// dialog. Offscreen.
#include "jobs/JobRunnerFixture.h"

#include "jobs/gui/DlgDJ.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

using namespace QuorvelTest;
using namespace Quorvel1;

namespace {

constexpr uint16_t BlockAddress = 0x8000;
constexpr uint8_t BlockLength = 200;

// 01 04 FB, read command 00, address 0x8000, 200 bytes, body sum 0x0148.
const Bytes BlockRequest = {0x01, 0x04, 0xFB, 0x00, 0x00, 0x80, 0xC8, 0x48, 0x01};

class ProgressDialogTest : public JobRunnerTest {
protected:
    ProgressDialogTest()
    {
        mainWindow.setGeometry(100, 100, 800, 600);
        runner.SetProgressView(&dialog);
        Connect();
    }
    ~ProgressDialogTest() override { runner.SetProgressView(nullptr); }

    // A command whose one block read hangs until the link is aborted.
    TestJob* NewHangingRead()
    {
        line->Expect(BlockRequest).Hang();
        ScriptReset(*line);
        return NewJob(
            0,
            [](TestJob& self) {
                uint8_t block[BlockLength];
                self.Runner().Link().ReadMem(block, BlockAddress, BlockLength, false);
                self.SetDone(true);
            },
            [this](TestJob& self) {
                errorText = self.ErrorText;
                self.Runner().ShowProgress(self);
            });
    }

    // Once the read hangs, `cancel` runs on the UI thread.
    std::thread CancelWhenHanging(std::function<void()> cancel)
    {
        return std::thread([this, cancel] {
            line->WaitUntilHanging();
            QMetaObject::invokeMethod(&dialog, cancel, Qt::QueuedConnection);
        });
    }

    QWidget mainWindow;
    TdlgDJ dialog{link, &mainWindow};
    QString errorText;
};

} // namespace

TEST_F(ProgressDialogTest, CancelDuringALongTransferFailsTheJobAndClosesTheDialog)
{
    TestJob* job = NewHangingRead();
    QString statusAfterCancel;
    std::thread canceller = CancelWhenHanging([&] {
        dialog.buttCancel->click();
        statusAfterCancel = dialog.lblStatus->text();
    });

    const bool succeeded = runner.RunJob(job, true);
    canceller.join();

    EXPECT_FALSE(succeeded);
    EXPECT_EQ(statusAfterCancel, "Aborting...");
    EXPECT_EQ(errorText, "Link Error");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(link.Resets, 1);
    EXPECT_FALSE(link.IsAborted());
    ExpectScriptDone();
}

TEST_F(ProgressDialogTest, EscapeCancelsLikeTheCancelButton)
{
    TestJob* job = NewHangingRead();
    QString statusAfterEscape;
    std::thread canceller = CancelWhenHanging([&] {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&dialog, &escape);
        statusAfterEscape = dialog.lblStatus->text();
    });

    const bool succeeded = runner.RunJob(job, true);
    canceller.join();

    EXPECT_FALSE(succeeded);
    EXPECT_EQ(statusAfterEscape, "Aborting...");
    EXPECT_EQ(errorText, "Link Error");
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ProgressDialogTest, DialogShowsTheCommandsStatusAndProgress)
{
    struct Seen {
        QString title;
        QString status;
        bool barVisible = false;
        int barValue = 0;
    };
    std::vector<Seen> seen;
    QPoint position;
    TestJob* job = NewJob(
        0,
        [](TestJob& self) {
            self.Status = "Reading the log";
            self.Progress = 30;
            self.Runner().SyncUpdate();
            self.SetDone(true);
        },
        [&](TestJob& self) {
            self.Runner().ShowProgress(self);
            if (!self.IsActive())
                return;
            seen.push_back({dialog.windowTitle(), dialog.lblStatus->text(), dialog.pbProgress->isVisible(),
                            dialog.pbProgress->value()});
            position = dialog.pos();
        });
    job->Name = "Download log";

    EXPECT_TRUE(runner.RunJob(job, true));

    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, "Download log");
    EXPECT_EQ(seen[0].status, "None");
    EXPECT_FALSE(seen[0].barVisible);
    EXPECT_EQ(seen[1].status, "Reading the log");
    EXPECT_TRUE(seen[1].barVisible);
    EXPECT_EQ(seen[1].barValue, 30);
    // Centred over the main window: 100 + 800 / 2 - 385 / 2, 100 + 600 / 2 - 102 / 2.
    EXPECT_EQ(position, QPoint(308, 349));
    EXPECT_FALSE(dialog.isVisible());
}

namespace {

// Paint events of one widget, counted on the UI thread.
class PaintCounter : public QObject {
public:
    std::atomic<int> paints{0};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

TEST_F(ProgressDialogTest, TheBarIsPaintedAfterTheUpdateTheWorkerWaitsFor)
{
    PaintCounter counter;
    dialog.pbProgress->installEventFilter(&counter);
    std::vector<int> paintsInsideUpdate;
    std::vector<int> barValues;
    bool barPaintedBetween = false;
    TestJob* job = NewJob(
        0,
        [&](TestJob& self) {
            self.Progress = 10;
            self.Runner().SyncUpdate();
            // The bar paints from the event loop once the update has returned.
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (counter.paints == 0 && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            barPaintedBetween = counter.paints > 0;
            self.Progress = 20;
            self.Runner().SyncUpdate();
            self.SetDone(true);
        },
        [&](TestJob& self) {
            if (self.Progress < 0 || !self.IsActive())
                return;
            const int before = counter.paints;
            self.Runner().ShowProgress(self);
            paintsInsideUpdate.push_back(counter.paints - before);
            barValues.push_back(dialog.pbProgress->value());
        });

    EXPECT_TRUE(runner.RunJob(job, true));

    EXPECT_EQ(barValues, (std::vector<int>{10, 20}));
    EXPECT_EQ(paintsInsideUpdate, (std::vector<int>{0, 0}));
    EXPECT_TRUE(barPaintedBetween);
}
