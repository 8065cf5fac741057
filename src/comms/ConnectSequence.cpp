#include "comms/ConnectSequence.h"

#include "comms/MestraIF.h"
#include "comms/Properties.h"
#include "logger/LogIF.h"
#include "site/Exception.h"
#include "site/SiteExt.h"

namespace Quorvel1 {

TConnectSequence::TConnectSequence(Pelk::TMestraIF& link, TLogIF& logger, TSiteExt& site,
                                   const TProperties& settings, TTapiModem* modem,
                                   ReportHook reportError)
    : link_(link), logger_(logger), site_(site), settings_(settings), modem_(modem),
      reportError_(std::move(reportError))
{
}

// The link and the logger must not call back into an object that is gone.
TConnectSequence::~TConnectSequence()
{
    WatchStatus({});
}

void TConnectSequence::Begin(bool remote)
{
    Remote = remote;
    ModemUp = false;
    Connected = false;
    LoggerPresent = false;
    TimedOut = false;
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
    try {
        Run();
    } catch (const std::exception& e) {
        if (reportError_)
            reportError_(QString::fromUtf8(e.what()));
        CloseLinkQuietly();
    }
}

// No modem is built into this program yet: a remote site cannot be dialled.
bool TConnectSequence::Dial()
{
    if (reportError_)
        reportError_(QString::fromLatin1(NoModemText));
    ModemUp = false;
    return ModemUp;
}

bool TConnectSequence::OpenLink()
{
    link_.Open(-1, Remote ? QString() : settings_.LocalPort);
    Connected = link_.Connect();
    if (Connected)
        LoggerPresent = logger_.Open();
    // Also when not connected: the devices then lose their places in a
    // logger's table that is no longer there.
    site_.AttachDevices(logger_);
    return Connected;
}

void TConnectSequence::CloseLink()
{
    logger_.Close();
    LoggerPresent = false;
    link_.Disconnect();
    link_.Close();
    Connected = false;
    ModemUp = false;
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
    if (!Connected)
        return link_.GetStatus();
    return logger_.StatusText();
}

void TConnectSequence::WatchStatus(const std::function<void()>& changed)
{
    link_.OnStatus = changed;
    logger_.StatusCallback = changed;
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
    return settings_.ModemTimeout;
}

} // namespace Quorvel1
