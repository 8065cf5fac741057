// The connect dialog on the offscreen platform: Connect Local from the main
// window against the site simulator, the link state in status panel 1, and
// a port that cannot be opened, which leaves the dialog open until Cancel.
#include "support/AppFixture.h"
#include "support/SimProcess.h"

#include "app/QuorvelW.h"
#include "app/gui/MainWindow.h"
#include "comms/ConnectSequence.h"
#include "comms/MestraIF.h"
#include "comms/Properties.h"
#include "comms/gui/DlgConnect.h"
#include "site/SiteExt.h"

#include <QAction>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace Quorvel1;
using AppTest::AppFixture;
using QuorvelTest::SimProcess;

namespace {

constexpr int StartupLimitMs = 30000;

class ConnectDialogTest : public AppFixture {
protected:
    static void Start(TFQw& window)
    {
        window.show();
        if (!window.Started()) {
            QEventLoop loop;
            QObject::connect(&window, &TFQw::StartupFinished, &loop, &QEventLoop::quit);
            QTimer::singleShot(StartupLimitMs, &loop, &QEventLoop::quit);
            loop.exec();
        }
        ASSERT_TRUE(window.Started());
    }

    template <typename T>
    static T* Find(const QObject& parent, const char* name)
    {
        T* child = parent.findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
};

} // namespace

TEST_F(ConnectDialogTest, ConnectLocalShowsLocalAndDisconnectShowsOffline)
{
    SimProcess sim;
    TFQw window{QStringList()};
    Start(window);
    TQuorvelW& controller = *window.AppController();
    controller.Properties().LocalPort = sim.PortPath();

    Find<QAction>(window, "actConnectLocal")->trigger();
    ASSERT_TRUE(controller.Online);
    EXPECT_TRUE(controller.LoggerPresent);
    ASSERT_NE(window.ConnectDialog(), nullptr);
    EXPECT_FALSE(window.ConnectDialog()->isVisible());
    EXPECT_EQ(window.ConnectDialog()->windowTitle(), "QuorvelXP Connecting...");
    window.ApplyIdleRules();
    EXPECT_EQ(Find<QLabel>(window, "LinkStatus")->text(), "LOCAL");
    EXPECT_TRUE(Find<QAction>(window, "actDisconnect")->isEnabled());
    EXPECT_FALSE(Find<QAction>(window, "actConnectLocal")->isEnabled());

    Find<QAction>(window, "tbHangUp")->trigger();
    EXPECT_FALSE(controller.Online);
    window.ApplyIdleRules();
    EXPECT_EQ(Find<QLabel>(window, "LinkStatus")->text(), "OFFLINE");
    EXPECT_TRUE(Find<QAction>(window, "actConnectLocal")->isEnabled());
}

// The dialog stays open after the error; Cancel is enabled from the fifth
// tick and closes the dialog with everything closed.
TEST_F(ConnectDialogTest, PortThatCannotBeOpenedLeavesTheDialogOpenUntilCancel)
{
    THeadlessView view;
    TQuorvelW controller(view);
    controller.Properties().LocalPort = Path("no-such-port");
    QStringList errors;
    TdlgConnect dialog([&](const QString& message) { errors.append(message); });
    dialog.tmrTick->setInterval(10);
    TConnectSequence sequence(controller.Link(), controller.Logger(), controller.Site(),
                              controller.Properties(), nullptr, {});
    sequence.Begin(false);

    bool cancelWasDisabledAfterTheError = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!errors.isEmpty() && dialog.Ticks < TdlgConnect::CancelTick && !dialog.buttCancel->isEnabled())
            cancelWasDisabledAfterTheError = true;
        if (dialog.buttCancel->isEnabled() && dialog.isVisible())
            dialog.buttCancel->click();
    });
    watcher.start(1);
    EXPECT_EQ(dialog.Execute(sequence), QDialog::Rejected);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("Couldn't open comm port")) << errors[0].toStdString();
    EXPECT_TRUE(cancelWasDisabledAfterTheError);
    EXPECT_GE(dialog.Ticks, TdlgConnect::CancelTick);
    EXPECT_FALSE(sequence.Connected);
    EXPECT_FALSE(controller.Link().IsOpen());
}
