// The connect dialog on the offscreen platform: Connect Local from the main
// window against the site simulator with the status texts on show and the
// link state in status panel 1; Cancel held back for the first four seconds;
// the "ModemTimeout" ending a dial that never answers; Cancel during a dial;
// and a port that cannot be opened, which closes the dialog by itself.
#include "support/AppFixture.h"
#include "support/PtyPair.h"
#include "support/SimProcess.h"
#include "WindowFixture.h"

#include "app/ConnectProcedure.h"
#include "app/ConnectSequence.h"
#include "app/gui/DlgConnect.h"
#include "app/gui/FQw.h"
#include "app/QuorvelW.h"
#include "comms/MestraIF.h"
#include "modem/TapiModem.h"
#include "settings/Properties.h"
#include "site/SiteExt.h"

#include <QAction>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <map>

using namespace Quorvel1;
using namespace std::chrono_literals;
using AppTest::AppFixture;
using QuorvelTest::SimProcess;

namespace {

constexpr int QuickTickMs = 20;
const QString NeverAnswers = "modem delay 3600000\n";

class ConnectDialogTest : public AppTest::WindowFixture {};

// A dialog of its own over a controller's link, logger and site, with the
// simulator's modem as device 0 and its configuration file written.
class RemoteDialogTest : public ConnectDialogTest {
protected:
    RemoteDialogTest()
        : controller(view),
          dialog([this](const QString& message) { errors.append(message); })
    {
        dialog.SetTickInterval(QuickTickMs);
        QObject::connect(&dialog, &TdlgConnect::TickShown, [this](int ticks) {
            cancelEnabledAt[ticks] = dialog.buttCancel->isEnabled();
            statusAt[ticks] = dialog.lblStatus->text();
        });
        QObject::connect(&dialog, &TdlgConnect::StatusShown, [this](const QString& text) {
            if (!text.isEmpty())
                shown << text;
        });
    }

    // The program folder outlives a test: its configuration file must not
    // serve another test.
    ~RemoteDialogTest() override { QFile::remove(ConfigFile()); }

    static QString ConfigFile() { return ProgramFolder() + "ModemCfg0.dat"; }

    void StartSim(const QString& scenario)
    {
        sim = std::make_unique<SimProcess>(QStringList{"--modem"}, SimProcess::QuickModem + scenario);
        modem.Initialise({sim->PortPath()});
        modem.SetTimings({2000ms, 150ms});
        modem.WriteConfigFile(ConfigFile());
        controller.Properties().ModemDevice = 0;
        controller.Site().SetTelephone("1");
    }

    int Execute(TConnectSequence& sequence)
    {
        sequence.Begin(true);
        return dialog.Execute(sequence);
    }

    TConnectSequence MakeSequence()
    {
        return TConnectSequence(controller.Link(), controller.Logger(), controller.Site(),
                                controller.Properties(), &modem,
                                [this](const QString& message) { errors.append(message); });
    }

    THeadlessView view;
    TQuorvelW controller;
    QStringList errors;
    QStringList shown;
    std::map<int, bool> cancelEnabledAt;
    std::map<int, QString> statusAt;
    std::unique_ptr<SimProcess> sim;
    TTapiModem modem;
    TdlgConnect dialog;
};

} // namespace

TEST_F(ConnectDialogTest, ConnectLocalShowsTheConnectsStatusTextsThenLocal)
{
    SimProcess sim;
    TFQw window{QStringList()};
    Start(window);
    TQuorvelW& controller = *window.AppController();
    controller.Properties().LocalPort = sim.PortPath();
    QStringList shown;
    // The dialog is made at the first connect: the watch starts inside it.
    QTimer::singleShot(0, [&] {
        ASSERT_NE(window.ConnectDialog(), nullptr);
        QObject::connect(window.ConnectDialog(), &TdlgConnect::StatusShown, [&](const QString& text) {
            if (!text.isEmpty() && (shown.isEmpty() || shown.back() != text))
                shown << text;
        });
    });

    Find<QAction>(window, "actConnectLocal")->trigger();

    ASSERT_TRUE(controller.Online);
    EXPECT_TRUE(controller.LoggerPresent);
    const QStringList linkTexts = {"Resetting...",  "Reset: clearing read buffer...",
                                   "Reset: resetting link...", "Connecting",
                                   "Getting Descr", "Selecting interface unit",
                                   "Connected"};
    ASSERT_GT(shown.size(), linkTexts.size()) << shown.join('|').toStdString();
    EXPECT_EQ(shown.mid(0, linkTexts.size()), linkTexts) << shown.join('|').toStdString();
    // Then the logger's.
    EXPECT_EQ(shown[linkTexts.size()], "Reading logger status");
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

TEST_F(RemoteDialogTest, CancelIsDisabledForTheFirstFourTicksAndTheTimeoutEndsTheDial)
{
    StartSim(NeverAnswers);
    controller.Properties().ModemTimeout = 6;
    TConnectSequence sequence = MakeSequence();

    EXPECT_EQ(Execute(sequence), QDialog::Accepted);

    for (int tick = 1; tick < TConnectProcedure::CancelTick; ++tick)
        EXPECT_FALSE(cancelEnabledAt.at(tick)) << tick;
    EXPECT_TRUE(cancelEnabledAt.at(TConnectProcedure::CancelTick));
    // The time-out comes with the seventh tick and ends the dial.
    EXPECT_NE(statusAt.at(6), TConnectSequence::TimeoutText);
    EXPECT_EQ(statusAt.at(7), TConnectSequence::TimeoutText);
    EXPECT_EQ(dialog.lblStatus->text(), TConnectSequence::TimeoutText);
    EXPECT_TRUE(shown.contains("Dialing"));
    EXPECT_EQ(errors, QStringList{TTapiModem::ConnectCallText});
    EXPECT_TRUE(sequence.TimedOut);
    EXPECT_FALSE(sequence.ModemUp);
    EXPECT_FALSE(sequence.Connected);
    EXPECT_EQ(modem.GetStatus(), "Idle");
}

TEST_F(RemoteDialogTest, GoodRemoteConnectShowsTheModemsThenTheLinksStatus)
{
    StartSim({});
    TConnectSequence sequence = MakeSequence();

    EXPECT_EQ(Execute(sequence), QDialog::Accepted);

    EXPECT_TRUE(sequence.ModemUp);
    EXPECT_TRUE(sequence.Connected);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('|').toStdString();
    const qsizetype dialing = shown.indexOf("Dialing");
    const qsizetype resetting = shown.indexOf("Resetting...");
    ASSERT_GE(dialing, 0) << shown.join('|').toStdString();
    EXPECT_LT(dialing, shown.indexOf("Proceeding"));
    EXPECT_GT(resetting, shown.indexOf("Proceeding"));
    sequence.CloseLink();
    EXPECT_FALSE(controller.Link().IsOpen());
    EXPECT_EQ(modem.GetStatus(), "Idle");
}

TEST_F(RemoteDialogTest, CancelDuringADialEndsTheCall)
{
    StartSim(NeverAnswers);
    TConnectSequence sequence = MakeSequence();
    QObject::connect(&dialog, &TdlgConnect::TickShown, [this](int ticks) {
        if (ticks == TConnectProcedure::CancelTick)
            dialog.buttCancel->click();
    });

    EXPECT_EQ(Execute(sequence), QDialog::Rejected);

    EXPECT_EQ(dialog.Ticks, TConnectProcedure::CancelTick);
    EXPECT_FALSE(sequence.ModemUp);
    EXPECT_FALSE(sequence.Connected);
    EXPECT_FALSE(controller.Link().IsOpen());
    EXPECT_EQ(modem.GetStatus(), "Idle");
}

// The port the link is reading stays until the read has ended; it is closed
// once the attempt has returned.
TEST_F(RemoteDialogTest, CancelDuringALinkConnectClosesThePortAfterTheAttempt)
{
    QuorvelTest::PtyPair silent;
    controller.Properties().LocalPort = silent.SlavePath();
    controller.Link().SetTimeouts("10,30000,30000,30000,30000,30000");
    TConnectSequence sequence(controller.Link(), controller.Logger(), controller.Site(),
                              controller.Properties(), nullptr, {});
    sequence.Begin(false);
    // Well into the reset, whose first read waits for the silent far end.
    constexpr int ResetReadingTick = 40;
    QObject::connect(&dialog, &TdlgConnect::TickShown, [&](int ticks) {
        if (ticks == ResetReadingTick)
            dialog.buttCancel->click();
    });

    EXPECT_EQ(dialog.Execute(sequence), QDialog::Rejected);

    EXPECT_EQ(dialog.Ticks, ResetReadingTick);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('|').toStdString();
    EXPECT_FALSE(sequence.Connected);
    EXPECT_FALSE(controller.Link().IsOpen());
}

// The error is reported once and the dialog closes by itself: nobody has to
// press Cancel after a connect that can no longer succeed.
TEST_F(RemoteDialogTest, PortThatCannotBeOpenedClosesTheDialogWithNothingConnected)
{
    controller.Properties().LocalPort = Path("no-such-port");
    controller.Properties().ModemTimeout = 0; // nothing else would close it
    TConnectSequence sequence(controller.Link(), controller.Logger(), controller.Site(),
                              controller.Properties(), nullptr, {});
    sequence.Begin(false);
    // A dialog left open is cancelled in the end, which the result tells.
    QObject::connect(&dialog, &TdlgConnect::TickShown, [this](int ticks) {
        if (ticks == 10 * TConnectProcedure::CancelTick)
            dialog.buttCancel->click();
    });

    EXPECT_EQ(dialog.Execute(sequence), QDialog::Accepted);

    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("Couldn't open comm port")) << errors[0].toStdString();
    EXPECT_FALSE(sequence.Connected);
    EXPECT_FALSE(sequence.LoggerPresent);
    EXPECT_FALSE(controller.Link().IsOpen());
}

TEST_F(RemoteDialogTest, EscapeDoesNothingWhileCancelIsDisabled)
{
    StartSim(NeverAnswers);
    controller.Properties().ModemTimeout = 3;
    TConnectSequence sequence = MakeSequence();
    QObject::connect(&dialog, &TdlgConnect::TickShown, [this](int ticks) {
        if (ticks == 1)
            dialog.reject();
    });

    // Closed by the time-out, not cancelled.
    EXPECT_EQ(Execute(sequence), QDialog::Accepted);
    EXPECT_EQ(statusAt.at(4), TConnectSequence::TimeoutText);
}
