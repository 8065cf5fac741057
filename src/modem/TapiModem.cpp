#include "modem/TapiModem.h"

#include "base/AtomicFile.h"
#include "base/CommaText.h"
#include "base/Exception.h"
#include "base/ProgramFolder.h"
#include "serial/ModemPorts.h"
#include "serial/SerialPort.h"
#include "settings/Properties.h"
#include "settings/RegIni.h"

#include <QCoreApplication>
#include <QFile>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace Quorvel1 {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Longest single read, so the abort flag is looked at often.
constexpr milliseconds ReadSlice{50};
// Time to let a modem that is still dialling give up after our CR.
constexpr milliseconds DialCancelReply{2000};
// Beyond the guard time after "+++", how long the modem may take over its OK.
constexpr milliseconds EscapeReplySlack{1000};

void processEvents()
{
    QCoreApplication::processEvents();
}

} // namespace

TTapiModem::TTapiModem()
    : DevConfig(BuildDevConfig(QByteArray()))
{
}

TTapiModem::~TTapiModem()
{
    // Whoever listened may be gone already; the last hang-up tells no one.
    OnStatus = nullptr;
    try {
        HangUp();
    } catch (const Exception&) {
        // Nothing is left to tell at the end of the program.
    }
}

void TTapiModem::Initialise()
{
    TRegIni store(TProperties::KeyPath);
    QStringList ports = SplitCommaText(store.ReadString(PortsSection, PortsKey, QString()));
    if (ports.isEmpty())
        ports = SystemSerialPorts();
    Initialise(ports);
}

void TTapiModem::Initialise(const QStringList& ports)
{
    DevConfig = BuildDevConfig(QByteArray());
    Device = 0;
    devicePorts_ = ports;
    DeviceCount = uint32_t(ports.size());
    configs_.assign(ports.size(), TModemConfig());
    DeviceNames.clear();
    for (const QString& port : ports)
        DeviceNames << SerialPortDisplayName(port);
    if (DeviceCount > 0) {
        GetDevConfig();
        SetDevConfig();
    }
}

const TModemConfig& TTapiModem::DeviceConfig(uint32_t index) const
{
    if (index >= configs_.size())
        throw Exception(InvalidDeviceText);
    return configs_[index];
}

void TTapiModem::requireDevice() const
{
    if (Device >= DeviceCount)
        throw Exception(InvalidDeviceText);
}

void TTapiModem::GetDevConfig()
{
    requireDevice();
    DevConfig = BuildDevConfig(FormatModemConfigBlock(configs_[Device]));
}

void TTapiModem::SetDevConfig()
{
    requireDevice();
    configs_[Device] = ParseModemConfigBlock(DevConfigBlock(DevConfig));
}

void TTapiModem::ConfigDialog()
{
    requireDevice();
    if (!OnConfigDialog)
        throw Exception(EditConfigText);
    TModemConfig edited = configs_[Device];
    if (!OnConfigDialog(edited))
        return;
    DevConfig = BuildDevConfig(FormatModemConfigBlock(edited));
    SetDevConfig();
}

void TTapiModem::WriteConfigFile(const QString& name)
{
    GetDevConfig();
    const QString path = name.isEmpty() ? ProgramFolder() + DefaultConfigFileName : name;
    if (!ReplaceFileAtomically(path, FormatModemConfigFile(Device, DevConfig)))
        throw Exception(OpenConfigText);
}

void TTapiModem::ReadConfigFile(const QString& name)
{
    QFile file(name.isEmpty() ? ProgramFolder() + DefaultConfigFileName : name);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(ModemConfigFormat::ReadFailedText);
    // Never more than a whole file could hold, whatever is on the disk.
    const QByteArray bytes =
        file.read(ModemConfigFormat::DeviceFieldSize + ModemConfigFormat::DevConfigSize + 1);
    DevConfig = ParseModemConfigFile(bytes, Device);
    SetDevConfig();
}

int TTapiModem::CommHandle() const
{
    if (!CallConnected || portFd_ < 0)
        return -1;
    return ::fcntl(portFd_, F_DUPFD_CLOEXEC, 0);
}

void TTapiModem::setState(uint32_t state, const QString& text)
{
    CallState = state;
    Status = text;
    if (state == StateDisconnected)
        CallDisconnected = true;
    CallIdle = state == StateIdle;
    CallConnected = state == StateConnected;
    if (OnStatus)
        OnStatus();
}

uint32_t TTapiModem::portSpeed() const
{
    const uint32_t speed = configs_[Device].Speed;
    return speed != 0 ? speed : linkSpeed_;
}

void TTapiModem::openPort()
{
    try {
        port_ = Pelk::TSerialPort::Open(devicePorts_[qsizetype(Device)], portSpeed(),
                                        Pelk::TSerialPort::LineKind::Modem);
    } catch (const Exception&) {
        throw Exception(OpenLineText);
    }
    portFd_ = port_->Descriptor();
    port_->SetEventPump(processEvents);
    pending_.clear();
}

void TTapiModem::closePort()
{
    if (!port_)
        return;
    port_->Close();
    port_.reset();
    portFd_ = -1;
}

void TTapiModem::send(const QByteArray& text)
{
    port_->SetTimeouts({0, 10, 1000, 10, 1000});
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.constData());
    if (port_->Write(bytes, std::size_t(text.size())) != std::size_t(text.size()) && !aborted_)
        throw Exception(MakeCallText);
}

void TTapiModem::Abort()
{
    aborted_ = true;
    if (port_)
        port_->Cancel();
}

bool TTapiModem::readLine(QByteArray& line, Clock::time_point deadline)
{
    for (;;) {
        const qsizetype end = pending_.indexOf('\r') >= 0 ? pending_.indexOf('\r') : pending_.indexOf('\n');
        if (end >= 0) {
            line = pending_.left(end).trimmed();
            pending_.remove(0, end + 1);
            return true;
        }
        const Clock::time_point now = Clock::now();
        if (aborted_ || now >= deadline)
            return false;
        const auto slice = std::min<Clock::duration>(ReadSlice, deadline - now);
        const uint32_t sliceMs = uint32_t(std::chrono::ceil<milliseconds>(slice).count());
        port_->SetTimeouts({0, 0, sliceMs, 10, 1000});
        uint8_t byte = 0;
        if (port_->Read(&byte, 1) == 1)
            pending_.append(char(byte));
    }
}

TTapiModem::Reply TTapiModem::awaitReply(milliseconds within)
{
    const Clock::time_point deadline = Clock::now() + within;
    QByteArray line;
    while (readLine(line, deadline)) {
        if (line == "OK")
            return Reply::Ok;
        if (line.startsWith("CONNECT"))
            return Reply::Connect;
        if (line == "BUSY")
            return Reply::Busy;
        if (line == "NO CARRIER" || line == "NO ANSWER" || line == "NO DIALTONE" || line == "NO DIAL TONE")
            return Reply::NoCarrier;
        if (line == "ERROR")
            return Reply::Error;
        // Echoed commands, RING, blank lines.
    }
    return Reply::None;
}

bool TTapiModem::quietFor(milliseconds duration, bool& carrierLost)
{
    const Clock::time_point deadline = Clock::now() + duration;
    QByteArray line;
    // A modem that lost the carrier is back in command mode already.
    while (readLine(line, deadline)) {
        if (line == "NO CARRIER")
            carrierLost = true;
    }
    return !aborted_;
}

void TTapiModem::Dial(const QString& number)
{
    if (dialling_ || hangingUp_)
        throw Exception(MakeCallText);
    requireDevice();
    if (port_)
        HangUp();
    dialling_ = true;
    aborted_ = false;
    CallConnected = false;
    CallDisconnected = false;
    try {
        dialSteps(number);
        dialling_ = false;
    } catch (const Exception&) {
        dialling_ = false;
        try {
            HangUp();
        } catch (const Exception&) {
            // The dial's own failure is the one to report.
        }
        throw;
    }
}

void TTapiModem::dialSteps(const QString& number)
{
    const TModemConfig& config = configs_[Device];
    openPort();
    send(config.Init.toLatin1() + "\r");
    if (awaitReply(timings_.CommandReply) != Reply::Ok)
        throw Exception(MakeCallText);
    send(config.Dial.toLatin1() + number.toLatin1() + "\r");
    dialPending_ = true;
    setState(StateDialing, "Dialing");
    setState(StateProceeding, "Proceeding");
    Reply reply = Reply::None;
    while (reply == Reply::None && !aborted_)
        reply = awaitReply(timings_.CommandReply);
    switch (reply) {
    case Reply::Connect:
        dialPending_ = false;
        setState(StateConnected, "Connected");
        break;
    case Reply::Busy:
        dialPending_ = false;
        setState(StateDisconnected, "Disconnected - busy");
        break;
    case Reply::NoCarrier:
        dialPending_ = false;
        setState(StateDisconnected, "Disconnected");
        break;
    case Reply::Error:
    case Reply::Ok:
        dialPending_ = false;
        setState(0, "Error");
        break;
    case Reply::None:
        break;
    }
    if (!CallConnected)
        throw Exception(ConnectCallText);
}

void TTapiModem::HangUp()
{
    if (dialling_ || hangingUp_) {
        // From inside a wait: end it, and the dial hangs up on its way out.
        Abort();
        return;
    }
    if (!port_)
        return;
    const bool dropped = releaseLine();
    setState(StateIdle, "Idle");
    if (!dropped)
        throw Exception(DropCallText);
}

void TTapiModem::CallDropped()
{
    if (!CallConnected || dialling_ || hangingUp_)
        return;
    setState(StateDisconnected, "Disconnected");
    if (port_)
        releaseLine();
}

// Ends the call and closes the port, whatever the modem answers; false
// when the modem did not confirm the hang-up.
bool TTapiModem::releaseLine()
{
    hangingUp_ = true;
    port_->ClearCancel();
    aborted_ = false;
    bool dropped = false;
    try {
        dropped = endCall();
    } catch (const Exception&) {
        // A port that no longer takes our commands: closing it below drops
        // DTR, which is all that is left to do.
    }
    closePort();
    hangingUp_ = false;
    dialPending_ = false;
    return dropped;
}

// Answers still buffered from before (the modem's echo of the link's bytes
// after a lost carrier, its ERROR for them) must not be taken for the
// answer to ATH; a modem that still refuses gets a second try.
bool TTapiModem::sendHangUpCommand()
{
    for (int attempt = 0; attempt < HangUpAttempts && !aborted_; ++attempt) {
        port_->Purge();
        pending_.clear();
        send("ATH\r");
        if (awaitReply(timings_.CommandReply) == Reply::Ok)
            return true;
    }
    return false;
}

bool TTapiModem::endCall()
{
    if (CallConnected) {
        // The escape counts only with silence on both sides of the "+++".
        bool carrierLost = false;
        if (!quietFor(timings_.EscapeGuard, carrierLost))
            return false;
        if (!carrierLost) {
            send("+++");
            const Reply escape = awaitReply(2 * timings_.EscapeGuard + EscapeReplySlack);
            if (aborted_)
                return false;
            if (escape != Reply::Ok) {
                // Already in command mode (the carrier went unnoticed): end
                // the "+++" line so that ATH starts a line of its own.
                send("\r");
                awaitReply(timings_.CommandReply);
            }
        }
    } else if (dialPending_) {
        // Any character ends a dial the modem is still making.
        send("\r");
        awaitReply(DialCancelReply);
    }
    const bool dropped = sendHangUpCommand();
    // Where the line has a DTR, dropping it ends the call whatever the
    // modem made of our commands.
    int lines = TIOCM_DTR;
    ::ioctl(portFd_, TIOCMBIC, &lines);
    return dropped;
}

} // namespace Quorvel1
