#include "app/ConnectSequence.h"

#include "app/ConnectProcedure.h"
#include "base/Exception.h"
#include "base/ProgramFolder.h"
#include "comms/MestraIF.h"
#include "logger/LogIF.h"
#include "modem/TapiModem.h"
#include "settings/Properties.h"
#include "site/SiteExt.h"

#include <algorithm>
#include <exception>

#include <unistd.h>

namespace Quorvel1 {

TConnectSequence::TConnectSequence(Pelk::TMestraIF& link, TLogIF& logger, TSiteExt& site,
                                   const TProperties& settings, TTapiModem* modem,
                                   ReportHook reportError)
    : link_(link), logger_(logger), site_(site), settings_(settings), modem_(modem),
      reportError_(std::move(reportError))
{
}

// The modem, the link and the logger must not call back into an object that
// is gone; a data port the link never took is closed.
TConnectSequence::~TConnectSequence()
{
    WatchStatus({});
    DropCommHandle();
}

void TConnectSequence::Begin(bool remote)
{
    Remote = remote;
    ModemUp = false;
    Connected = false;
    LoggerPresent = false;
    TimedOut = false;
    DropCommHandle();
}

void TConnectSequence::Run()
{
    TimedOut = false;
    const bool dialled = !Remote || Dial();
    if (dialled)
        OpenLink();
    if ((Remote && !ModemUp) || !Connected)
        CloseLink();
}

void TConnectSequence::RunReporting()
{
    TConnectProcedure procedure(*this, reportError_);
    procedure.Exec();
}

bool TConnectSequence::Dial()
{
    ModemUp = false;
    DropCommHandle();
    try {
        if (!modem_)
            throw Exception(TTapiModem::InvalidDeviceText);
        const int32_t device = DialDevice();
        if (device < 0)
            throw Exception(TTapiModem::InvalidDeviceText);
        modem_->SetDevice(uint32_t(device));
        modem_->ReadConfigFile(ProgramFolder() + ModemConfigBaseName + QString::number(device) +
                               ModemConfigExt);
        // The modem's port runs at the link's speed (the site's, or the
        // default when the site names none) unless its own configuration
        // names one; never at the speed of a site dialled before.
        modem_->SetLinkSpeed(link_.BaudRate);
        modem_->Dial(DialNumber());
        if (modem_->CallConnected) {
            CommHandle = modem_->CommHandle();
            // A call whose data port cannot be had is of no use; the attempt
            // hangs it up.
            if (CommHandle < 0)
                throw Exception(TTapiModem::CommHandleText);
        }
        ModemUp = modem_->CallConnected;
    } catch (const Exception& e) {
        ReportError(e.Message());
        ModemUp = false;
    }
    return ModemUp;
}

bool TConnectSequence::OpenLink()
{
    // The link takes the call's data port over and closes it in the end.
    const int handle = CommHandle;
    CommHandle = -1;
    link_.Open(handle, Remote ? QString() : settings_.LocalPort);
    Connected = link_.Connect();
    if (Connected)
        LoggerPresent = logger_.Open();
    // Also when not connected: the devices then lose their places in a
    // logger's table that is no longer there.
    site_.AttachDevices(logger_);
    return Connected;
}

// A failing link still lets the call be hung up: the first failure is
// raised once everything has been tried.
void TConnectSequence::CloseLink()
{
    std::exception_ptr failure;
    try {
        logger_.Close();
        LoggerPresent = false;
        link_.Disconnect();
        link_.Close();
    } catch (...) {
        failure = std::current_exception();
    }
    LoggerPresent = false;
    Connected = false;
    DropCommHandle();
    try {
        if (modem_)
            modem_->HangUp();
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
    ModemUp = false;
    if (failure)
        std::rethrow_exception(failure);
}

void TConnectSequence::Interrupt()
{
    link_.Disconnect();
    if (modem_)
        modem_->Abort();
}

void TConnectSequence::CloseLinkQuietly()
{
    try {
        CloseLink();
    } catch (const std::exception&) {
        // The attempt has already failed and been reported.
    }
    LoggerPresent = false;
    Connected = false;
    ModemUp = false;
}

QString TConnectSequence::StatusText() const
{
    if (Remote && !ModemUp && modem_)
        return modem_->GetStatus();
    if (!Connected)
        return link_.GetStatus();
    return logger_.StatusText();
}

void TConnectSequence::WatchStatus(const std::function<void()>& changed)
{
    if (modem_)
        modem_->OnStatus = changed;
    link_.OnStatus = changed;
    logger_.StatusCallback = changed;
}

void TConnectSequence::ReportError(const QString& message) const
{
    if (reportError_)
        reportError_(message);
}

void TConnectSequence::DropCommHandle()
{
    if (CommHandle >= 0)
        ::close(CommHandle);
    CommHandle = -1;
}

int32_t TConnectSequence::DialDevice() const
{
    return site_.ModemDev < 0 ? settings_.ModemDevice : site_.ModemDev;
}

QString TConnectSequence::DialNumber() const
{
    return settings_.DialPrefix + site_.TelephoneText() + settings_.DialSuffix;
}

int32_t TConnectSequence::ModemTimeout() const
{
    return settings_.ModemTimeout > 0 ? settings_.ModemTimeout : std::max<int32_t>(UnattendedLimit, 0);
}

} // namespace Quorvel1
