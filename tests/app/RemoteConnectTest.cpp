// Connecting to a remote site through the simulator's modem, without a
// window: the number dialled, the call carrying the link, hanging up on
// Disconnect, busy and no-carrier lines, a dial that never answers ended by
// the "ModemTimeout" setting, and the modem device and its configuration
// file.
#include "support/AppFixture.h"
#include "support/SimProcess.h"

#include "app/ConnectProcedure.h"
#include "app/ConnectSequence.h"
#include "app/QuorvelW.h"
#include "comms/MestraIF.h"
#include "logger/LogIF.h"
#include "modem/TapiModem.h"
#include "settings/Properties.h"
#include "site/SiteExt.h"

#include <QDateTime>

using namespace Quorvel1;
using namespace std::chrono_literals;
using AppTest::AppFixture;
using QuorvelTest::SimProcess;

namespace {

// Quick dial results and a short escape guard on both ends, and the site's
// identity; the site's number as the simulator's modem receives it (spaces
// left out).
const QString QuickModem = QString(SimProcess::QuickModem) + "identity 0x4D2E\n";
const QString SiteNumber = "modem number 9W0123456*7\n";
const QString NeverAnswers = "modem delay 3600000\n";

class RemoteConnectTest : public AppTest::ModemSiteFixture {
protected:
    // The site's number with a prefix and a suffix, as the simulator's modem
    // expects it.
    void StartSim(const QString& scenario = {}, uint32_t device = 0)
    {
        StartModemSim(QuickModem + SiteNumber + scenario, device);
        controller.Properties().DialPrefix = "9W";
        controller.Properties().DialSuffix = "*7";
    }
    static QString ConfigFile(uint32_t device) { return ModemConfigFile(device); }

    QStringList ReportedTexts() const
    {
        QStringList texts;
        for (const auto& message : view.Messages)
            texts << message.Text;
        return texts;
    }

    // The status texts a window would show during a headless attempt.
    QStringList RunShowingStatus(bool remote)
    {
        QStringList shown;
        TConnectSequence sequence(controller.Link(), controller.Logger(), controller.Site(),
                                  controller.Properties(), controller.Modem(),
                                  [this](const QString& message) { controller.ReportError(message); });
        sequence.Begin(remote);
        TConnectProcedure procedure(sequence, [this](const QString& message) { controller.ReportError(message); });
        procedure.OnStatusText = [&](const QString& text) {
            if (!text.isEmpty() && (shown.isEmpty() || shown.back() != text))
                shown << text;
        };
        procedure.Exec();
        EXPECT_FALSE(sequence.Connected);
        EXPECT_FALSE(sequence.ModemUp);
        return shown;
    }

};

} // namespace

TEST_F(RemoteConnectTest, RemoteConnectDialsPrefixNumberAndSuffixAndCarriesTheLink)
{
    StartSim();

    EXPECT_TRUE(controller.Connect(true));

    EXPECT_TRUE(view.Messages.empty()) << ReportedTexts().join('|').toStdString();
    EXPECT_TRUE(controller.ModemCall);
    EXPECT_TRUE(controller.Online);
    EXPECT_TRUE(controller.LoggerPresent);
    EXPECT_TRUE(modem->CallConnected);
    EXPECT_EQ(controller.Site().ProcId, AppTest::SimIdentity);
    controller.Disconnect();
}

TEST_F(RemoteConnectTest, EmptyPrefixAndSuffixDialTheSitesNumberAlone)
{
    sim = std::make_unique<SimProcess>(QStringList{"--modem"}, QuickModem + "modem number 0123456\n");
    modem = controller.Modem();
    ASSERT_NE(modem, nullptr);
    modem->Initialise({sim->PortPath()});
    modem->SetTimings({2000ms, 150ms});
    modem->WriteConfigFile(ConfigFile(0));
    controller.Site().SetTelephone("0123 456");

    EXPECT_TRUE(controller.Connect(true));
    EXPECT_TRUE(controller.ModemCall);
    controller.Disconnect();
}

TEST_F(RemoteConnectTest, DisconnectHangsUpTheCallAndLogsTheTimeOnline)
{
    StartSim();
    controller.RunLaunch("-J", QString());
    ASSERT_TRUE(controller.ErrLogOpen());
    ASSERT_TRUE(controller.Connect(true));
    controller.ConnectTime = QDateTime::currentDateTime().addMSecs(-7400);

    EXPECT_TRUE(controller.Disconnect());

    EXPECT_FALSE(controller.ModemCall);
    EXPECT_FALSE(controller.Online);
    EXPECT_FALSE(modem->CallConnected);
    EXPECT_EQ(modem->GetStatus(), "Idle");
    EXPECT_FALSE(controller.Link().IsOpen());
    EXPECT_TRUE(ReadFile(ErrorLogPath()).endsWith("Online: 7\n")) << ReadFile(ErrorLogPath()).toStdString();
    // Back in command mode: the modem answers a new dial.
    EXPECT_TRUE(controller.Connect(true));
    controller.Disconnect();
}

TEST_F(RemoteConnectTest, WrongNumberIsNotAnswered)
{
    StartSim();
    controller.Properties().DialPrefix.clear();

    EXPECT_FALSE(controller.Connect(true));
    EXPECT_EQ(ReportedTexts(), QStringList{TTapiModem::ConnectCallText});
}

TEST_F(RemoteConnectTest, BusyLineFailsTheConnectShowingTheModemsStatus)
{
    StartSim("modem answer BUSY\n");

    const QStringList shown = RunShowingStatus(true);

    EXPECT_EQ(shown, QStringList({"Dialing", "Proceeding", "Disconnected - busy", "Idle"}));
    EXPECT_EQ(ReportedTexts(), QStringList{TTapiModem::ConnectCallText});
    EXPECT_FALSE(controller.Link().IsOpen());
}

TEST_F(RemoteConnectTest, NoCarrierFailsTheConnectThroughTheController)
{
    StartSim("modem answer NO CARRIER\n");

    EXPECT_FALSE(controller.Connect(true));

    EXPECT_EQ(ReportedTexts(), QStringList{TTapiModem::ConnectCallText});
    EXPECT_EQ(view.Messages[0].Caption, "Quorvel Error");
    EXPECT_FALSE(controller.ModemCall);
    EXPECT_FALSE(controller.Online);
    EXPECT_FALSE(controller.Link().IsOpen());
    EXPECT_EQ(modem->GetStatus(), "Idle");
}

TEST_F(RemoteConnectTest, ModemTimeoutEndsADialThatNeverAnswers)
{
    StartSim(NeverAnswers);
    controller.Properties().ModemTimeout = 1;

    const QStringList shown = RunShowingStatus(true);

    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.back(), TConnectSequence::TimeoutText);
    EXPECT_EQ(ReportedTexts(), QStringList{TTapiModem::ConnectCallText});
    EXPECT_FALSE(controller.Link().IsOpen());
    EXPECT_FALSE(modem->CallConnected);
    EXPECT_EQ(modem->GetStatus(), "Idle");
}

TEST_F(RemoteConnectTest, ModemTimeoutEndsAnUnattendedConnect)
{
    StartSim(NeverAnswers);
    controller.Properties().ModemTimeout = 1;
    controller.Automatic = true;

    EXPECT_FALSE(controller.Connect(true));
    EXPECT_FALSE(controller.ModemCall);
    EXPECT_FALSE(controller.Online);
}

TEST_F(RemoteConnectTest, SiteWithoutAModemDeviceDialsWithTheSettingsDevice)
{
    StartSim({}, 1);
    ASSERT_EQ(controller.Site().ModemDev, -1);
    ASSERT_FALSE(QFile::exists(ConfigFile(0)));

    EXPECT_TRUE(controller.Connect(true));
    EXPECT_TRUE(view.Messages.empty()) << ReportedTexts().join('|').toStdString();
    EXPECT_EQ(modem->Device, 1u);
    controller.Disconnect();
}

TEST_F(RemoteConnectTest, SitesOwnModemDeviceComesBeforeTheSettings)
{
    StartSim({}, 1);
    controller.Properties().ModemDevice = 0;
    controller.Site().ModemDev = 1;

    EXPECT_TRUE(controller.Connect(true));
    controller.Disconnect();
}

TEST_F(RemoteConnectTest, MissingModemConfigurationFileFailsTheDial)
{
    StartSim();
    QFile::remove(ConfigFile(0));

    EXPECT_FALSE(controller.Connect(true));
    EXPECT_EQ(ReportedTexts(), QStringList{"TAPI: Couldn't read config file"});
    EXPECT_FALSE(controller.ModemCall);
}

TEST_F(RemoteConnectTest, ProgramWithoutAModemReportsAnInvalidDevice)
{
    TConnectSequence sequence(controller.Link(), controller.Logger(), controller.Site(),
                              controller.Properties(), nullptr,
                              [this](const QString& message) { controller.ReportError(message); });
    sequence.Begin(true);

    sequence.RunReporting();

    EXPECT_EQ(ReportedTexts(), QStringList{TTapiModem::InvalidDeviceText});
    EXPECT_FALSE(sequence.ModemUp);
    EXPECT_FALSE(sequence.Connected);
    EXPECT_FALSE(controller.Link().IsOpen());
}
