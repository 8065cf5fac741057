// The controller's commands that use the network: connecting and
// disconnecting, the unit commands and the link timing test.
#include "app/QuorvelW.h"

#include "app/ConnectSequence.h"
#include "app/QuorvelView.h"
#include "base/CommaText.h"
#include "base/Exception.h"
#include "comms/MestraIF.h"
#include "comms/PelkTrace.h"
#include "jobs/PelkThread.h"
#include "jobs/RunnerPause.h"
#include "logger/LogIF.h"
#include "modem/TapiModem.h"
#include "settings/Properties.h"
#include "site/SiteExt.h"
#include "units/DjScanUnits.h"
#include "units/DjUnitAlarms.h"
#include "units/DjUnitCommands.h"
#include "units/DjUnitTrips.h"

namespace Quorvel1 {

namespace {

const QString TraceBaseName = QStringLiteral("QW1Pelk");
const QString TraceExt = QStringLiteral(".txt");
const QString TimingCaption = QStringLiteral("Run Timing");
const QString SureText = QStringLiteral("Are you sure?");

} // namespace

// --- Connection and the commands on the network ----------------------------

// The connect dialog does the work; without a dialog, and in automatic mode
// where nobody could cancel a dialog left open by a failed attempt, the
// controller runs the same sequence itself.
bool TQuorvelW::Connect(bool remote)
{
    try {
        PrepareLink();
    } catch (const Exception& e) {
        ReportError(e.Message());
        return false;
    }
    ConnectTime = QDateTime::currentDateTime();

    TConnectSequence sequence(*link_, *logger_, *site_, *properties_, modem_.get(),
                              [this](const QString& message) { ReportError(message); });
    sequence.Begin(remote);
    if (Automatic)
        sequence.UnattendedLimit = UnattendedConnectLimit;
    if (Automatic || !view_.RunConnectDialog(sequence))
        sequence.RunReporting();

    ModemCall = sequence.ModemUp;
    Online = sequence.Connected;
    LoggerPresent = sequence.LoggerPresent;
    if (Online) {
        site_->SetProcId(link_->IdentityWord);
        runner_->ResumeIfConnected();
    }
    view_.ConnectionChanged();
    return Online;
}

// The trace is opened first so that it sees the speed and timings set.
void TQuorvelW::PrepareLink()
{
    if (Properties().PelkLog) {
        ProgramDir.SetName(TraceBaseName);
        ProgramDir.SetExt(TraceExt);
        Pelk::OpenTrace(ProgramDir.FullPath());
    }
    link_->SetBaudRate(site_->ComSpeed);
    link_->SetTimeouts(site_->ComTimeouts);
}

// The runner is paused before the link is touched: it breaks off its step and
// suspends itself. Online time goes to the error log only when the link had
// been connected.
bool TQuorvelW::Disconnect()
{
    runner_->Pause();
    if (!Online && !ModemCall && !link_->IsOpen())
        return true;
    const bool wasOnline = Online;
    Online = false;
    CloseConnection();
    if (wasOnline && ConnectTime.isValid())
        WriteErrLog(QStringLiteral("Online: %1\n")
                        .arg(ConnectTime.msecsTo(QDateTime::currentDateTime()) / 1000));
    view_.ConnectionChanged();
    return true;
}

// Each step runs whatever became of the one before, so a link that fails
// to disconnect still has its port closed and the call is still hung up;
// each failure is reported once. A call that cannot be hung up stays
// recorded, so that a later Disconnect tries again.
void TQuorvelW::CloseConnection()
{
    const auto reportingFailure = [this](const auto& step) {
        try {
            step();
        } catch (const Exception& e) {
            ReportError(e.Message());
        }
    };
    LoggerPresent = false;
    reportingFailure([this] { logger_->Close(); });
    reportingFailure([this] { link_->Disconnect(); });
    reportingFailure([this] { link_->Close(); });
    if (!ModemCall)
        return;
    reportingFailure([this] {
        if (modem_)
            modem_->HangUp();
        ModemCall = false;
    });
}

// The line died while connected: a whole reset sequence failed on it (a
// pulled cable), or the modem call dropped by itself (its carrier is gone).
// Nothing more can run on this connection, so it goes down as by
// Disconnect: the port is free again, the runner stops, and every later
// command fails at once (and is reported) instead of timing out on a dead
// line. A dropped call's modem hangs itself up and shows "Disconnected".
// A connect attempt that dies is closed by the attempt itself.
void TQuorvelW::ConnectionLost()
{
    if (!Online)
        return;
    if (ModemCall && modem_ && link_->CarrierLost()) {
        modem_->CallDropped();
        view_.SetStatusText(modem_->GetStatus(), StatusPanel::Status);
    }
    Disconnect();
}

void TQuorvelW::RunTiming()
{
    TRunnerPause pause(*runner_);
    try {
        link_->TimeLink();
        Report(link_->GetStatus(), TimingCaption, MessageFlags::Ok);
    } catch (const Exception& e) {
        ReportError(e.Message());
    }
}

// --- Unit commands ---------------------------------------------------------

void TQuorvelW::ScanUnits()
{
    site_->SetModified(true);
    site_->ClearUnits();
    view_.UnitsCleared();
    runner_->RunJob(new TDjScanUnits(*runner_, *site_, &unitViews_), true);
    // The trip jobs and the map find the units through the table.
    site_->RebuildUnitTable();
    view_.UnitsScanned();
}

bool TQuorvelW::CollectAlarms()
{
    if (!ErrLog)
        return false; // the alarms are collected only to be logged
    if (!runner_->RunJob(new TDjUnitAlarms(*runner_, *site_, &unitViews_, 0), true)) {
        ReportError(QStringLiteral("Alarm collection failed"));
        return false;
    }
    for (int unit = FirstUnitNumber; unit <= LastUnitNumber; ++unit) {
        const QStringList names = site_->AlarmNames(unit);
        if (!names.isEmpty())
            WriteErrLog(QStringLiteral("Unit %1 alarms: %2\n").arg(unit).arg(JoinCommaText(names)));
    }
    return true;
}

bool TQuorvelW::CollectTrips()
{
    if (!ErrLog)
        return false;
    if (!runner_->RunJob(new TDjUnitTrips(*runner_, *site_, 0), true)) {
        ReportError(QStringLiteral("Trip collection failed"));
        return false;
    }
    for (int unit = FirstUnitNumber; unit <= LastUnitNumber; ++unit) {
        const uint16_t trips = site_->TripWord(unit);
        if (trips != 0)
            WriteErrLog(QStringLiteral("Unit %1 trips: %2\n")
                            .arg(unit)
                            .arg(QString::number(trips, 16).toUpper(), 4, QLatin1Char('0')));
    }
    return true;
}

bool TQuorvelW::Confirmed(const QString& caption)
{
    return Report(SureText, caption, MessageFlags::YesNo | MessageFlags::IconQuestion)
           == MessageAnswer::Yes;
}

// Unit 0 is the interface unit's number on the link; on its LAN it may have
// an address of its own, whose alarms are cleared as well.
bool TQuorvelW::ClearAlarms(int unit)
{
    if (!Automatic && !Confirmed(QStringLiteral("Clear Alarms")))
        return true;
    runner_->RunJob(new TDjClrAlarms(*runner_, uint8_t(unit)), false);
    if (unit == 0 && link_->InterfaceAddress > 0)
        runner_->RunJob(new TDjClrAlarms(*runner_, uint8_t(link_->InterfaceAddress)), false);
    return true;
}

bool TQuorvelW::ClearTrips(int unit)
{
    if (!Automatic && !Confirmed(QStringLiteral("Clear Trips")))
        return true;
    runner_->RunJob(new TDjClrTrips(*runner_, *site_, uint8_t(unit)), false);
    return true;
}

void TQuorvelW::ClearMaxMins(int unit)
{
    runner_->RunJob(new TDjClrMaxMins(*runner_, uint8_t(unit)), false);
}

// Asked in automatic mode too, where the answer is no: an unattended run
// never resets a unit.
void TQuorvelW::ResetUnit(int unit)
{
    if (Confirmed(QStringLiteral("Reset Unit")))
        runner_->RunJob(new TDjResetUnit(*runner_, uint8_t(unit)), false);
}

void TQuorvelW::ShowUnit(int unit)
{
    view_.ShowUnit(unit);
}

// A site made on another machine may name a modem this one does not have:
// it is shown by its number.
QString TQuorvelW::ModemDeviceName(int index) const
{
    if (!modem_ || index < 0 || index >= modem_->DeviceNames.size())
        return QStringLiteral("Modem %1").arg(index);
    return modem_->DeviceNames[index];
}

} // namespace Quorvel1
