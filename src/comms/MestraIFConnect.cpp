// Bringing the link up and down: speed and time-outs, the port, the reset
// handshake that puts the interface unit back in step, the descriptor that
// gives its block sizes and LAN buffer, and the status text.
#include "comms/MestraIF.h"

#include "comms/PelkExceptions.h"
#include "comms/PelkTrace.h"
#include "comms/TimeoutList.h"
#include "serial/SerialPort.h"

#include <QCoreApplication>

#include <algorithm>

namespace Pelk {

namespace {

const char* const StatusResetting = "Resetting...";
const char* const StatusClearingRead = "Reset: clearing read buffer...";
const char* const StatusResettingLink = "Reset: resetting link...";
const char* const StatusConnecting = "Connecting";
const char* const StatusGettingDescr = "Getting Descr";
const char* const StatusSelecting = "Selecting interface unit";
const char* const StatusConnected = "Connected";
const char* const StatusConnectFailed = "Connect failed";
const char* const StatusDisconnecting = "Disconnecting";
const char* const StatusDisconnected = "Disconnected";

uint16_t wordAt(const uint8_t* bytes)
{
    return uint16_t(bytes[0] | bytes[1] << 8);
}

void processEvents()
{
    QCoreApplication::processEvents();
}

} // namespace

TMestraIF::TMestraIF()
    : OwnerThread(std::this_thread::get_id()), Waiter(OwnerThread),
      ownClock_(std::make_unique<TSystemClock>()), clock_(ownClock_.get())
{
}

TMestraIF::TMestraIF(TLinkClock& clock)
    : OwnerThread(std::this_thread::get_id()), Waiter(OwnerThread), clock_(&clock)
{
}

TMestraIF::~TMestraIF() = default;

void TMestraIF::SetTimeouts(const QString& text)
{
    const TTimeoutList list = ParseTimeoutList(text);
    ByteTime = list.ByteTime;
    OpBaseTimeout = list.OpBaseTimeout;
    ReadExtraTimeout = list.ReadExtraTimeout;
    WriteTimeout = list.WriteTimeout;
    LanTimeout = list.LanTimeout;
    ResetTimeout = list.ResetTimeout;
}

void TMestraIF::SetBaudRate(int32_t baud)
{
    // The site's -1 (not set), and anything a port cannot run at, give 4800.
    const bool usable = baud >= int32_t(MinBaudRate) && baud <= int32_t(MaxBaudRate);
    BaudRate = usable ? uint32_t(baud) : DefaultBaudRate;
}

void TMestraIF::SetLineFactory(LineFactory factory)
{
    lineFactory_ = std::move(factory);
}

void TMestraIF::Open(int handle, const QString& name)
{
    ReleasePort();
    if (handle >= 0) {
        std::unique_ptr<TSerialPort> port = TSerialPort::Adopt(handle, true);
        if (Waiter.PumpsEvents())
            port->SetEventPump(processEvents);
        // A handle is a modem call's data port: a call that drops must end
        // the transfers at once, not leave them to time out and reset.
        port->WatchCarrier([this] { CarrierGone(); });
        AdoptLine(std::move(port));
    } else if (lineFactory_) {
        AdoptLine(lineFactory_(name, BaudRate));
    } else {
        std::unique_ptr<TSerialPort> port = TSerialPort::Open(name, BaudRate);
        // Reads on the UI thread (connect, timing test) keep the windows alive.
        if (Waiter.PumpsEvents())
            port->SetEventPump(processEvents);
        AdoptLine(std::move(port));
    }
}

void TMestraIF::Open(std::unique_ptr<TSerialLine> line)
{
    ReleasePort();
    AdoptLine(std::move(line));
}

void TMestraIF::AdoptLine(std::unique_ptr<TSerialLine> line)
{
    ApplyLineTimeouts(*line);
    std::lock_guard lock(portMutex_);
    Port = std::move(line);
    // An abort still pending (after Disconnect) holds for the new line too.
    if (AbortFlag)
        Port->Cancel();
}

void TMestraIF::ApplyLineTimeouts(TSerialLine& line) const
{
    SerialTimeouts timeouts;
    timeouts.ReadInterval = 10u * ByteTime;
    timeouts.ReadPerByte = ByteTime;
    timeouts.ReadConstant = uint32_t(ReadExtraTimeout) + WriteTimeout;
    timeouts.WritePerByte = ByteTime;
    timeouts.WriteConstant = WriteTimeout;
    line.SetTimeouts(timeouts);
}

void TMestraIF::ReleasePort()
{
    std::unique_ptr<TSerialLine> released;
    {
        std::lock_guard lock(portMutex_);
        released = std::move(Port);
    }
    lineDead_ = false;
    carrierLost_ = false;
}

void TMestraIF::CarrierGone()
{
    carrierLost_ = true;
    TraceLine(TSerialPort::CarrierLostText);
    MarkLineDead();
}

void TMestraIF::MarkLineDead()
{
    if (lineDead_.exchange(true))
        return;
    if (OnLineDead)
        OnLineDead();
}

void TMestraIF::Close()
{
    ReleasePort();
    CloseTrace();
}

bool TMestraIF::IsOpen() const
{
    std::lock_guard lock(portMutex_);
    return Port != nullptr;
}

bool TMestraIF::Connect()
{
    ClearBreak();
    // A connect is a new start on the line, whatever failed on it before.
    if (!carrierLost_)
        lineDead_ = false;
    Reset();
    Resets = 0;
    ChecksumErrors = 0;
    SetStatus(StatusConnecting);
    MaxReadBlock = DefaultMaxReadBlock;
    SetStatus(StatusGettingDescr);
    if (!ReadDescriptor() || DescriptorVersion >> 8 != DescriptorVersionMajor)
        UseDefaultDescriptor();
    SetStatus(StatusSelecting);
    const bool selected = SelectUnit(0, true);
    IdentityWord = ReadWord(IdentityAddress, true);
    if (selected && IdentityWord != 0) {
        SetStatus(StatusConnected);
        return true;
    }
    IdentityWord = 0;
    SetStatus(StatusConnectFailed);
    return false;
}

void TMestraIF::Disconnect()
{
    SetStatus(StatusDisconnecting);
    Abort();
    IdentityWord = 0;
    SetStatus(StatusDisconnected);
}

bool TMestraIF::ReadDescriptor()
{
    uint8_t bytes[8] = {};
    DescriptorTable.emplace();
    ReadMem(bytes, AlarmTableSlot, sizeof bytes, false);
    std::array<uint16_t, 4>& table = *DescriptorTable;
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = wordAt(bytes + 2 * i);
    DescriptorCount = table[3];
    if (DescriptorCount < 1 || DescriptorCount > 3) {
        // No slot of a table with a nonsense count can be trusted: the alarm
        // job and the logger find none.
        table.fill(0);
        DescriptorCount = 0;
        return false;
    }
    // Only the last DescriptorCount slots hold addresses.
    for (int i = 0; i <= 2 - int(DescriptorCount); ++i)
        table[std::size_t(i)] = 0;
    const uint16_t linkDescriptor = GetDescriptor(LinkDescriptorSlot);
    if (linkDescriptor == 0)
        return false;
    ReadMem(bytes, linkDescriptor, sizeof bytes, false);
    DescriptorVersion = wordAt(bytes);
    // The count and LEN fields are one byte: larger blocks cannot be asked
    // for, and a zero block would never finish a transfer.
    MaxWriteBlock = std::clamp<uint16_t>(wordAt(bytes + 2), 1, WriteBlockLimit);
    MaxReadBlock = std::clamp<uint16_t>(wordAt(bytes + 4), 1, ReadBlockLimit);
    LanBufferAddress = wordAt(bytes + 6);
    return true;
}

void TMestraIF::UseDefaultDescriptor()
{
    DescriptorVersion = 0;
    LanBufferAddress = 0;
    MaxReadBlock = DefaultMaxReadBlock;
    MaxWriteBlock = DefaultMaxWriteBlock;
}

uint16_t TMestraIF::GetDescriptor(uint16_t slotAddress) const
{
    if (!DescriptorTable || slotAddress < AlarmTableSlot || slotAddress > LoggerDescriptorSlot
        || (slotAddress - AlarmTableSlot) % 2 != 0)
        return 0;
    const unsigned index = (slotAddress - AlarmTableSlot) / 2u;
    if (index > DescriptorCount)
        return 0;
    return (*DescriptorTable)[index];
}

void TMestraIF::Reset()
{
    SetStatus(StatusResetting);
    ClearAbort();
    TimingMode = false;
    ++Resets;
    // A minute of attempts has already shown the line dead; repeating them
    // for every step that fails after it (the failed block, the download's
    // release, the job runner, the next commands) would only make an
    // unattended run wait minutes for the same answer.
    if (lineDead_)
        throw EPelkResetFail();
    for (int attempt = 1; attempt <= ResetAttempts; ++attempt) {
        Delay(500 + 100 * uint32_t(attempt));
        try {
            ResetOnce();
            SetStatus("");
            return;
        } catch (const EPelkResetFail&) {
        }
    }
    EPelkResetFail failure; // traced before the news goes out
    MarkLineDead();
    throw failure;
}

void TMestraIF::ResetOnce()
{
    OpenLine().ClearErrors();
    SetStatus(StatusClearingRead);
    if (TraceIsOpen()) {
        // Whatever the interface unit was still sending goes into the trace.
        uint8_t pending[ResetTraceDrain];
        try {
            ReadBytes(pending, sizeof pending);
        } catch (const EPelkTimeout&) {
        }
    }
    SetStatus(StatusResettingLink);
    TLinkTimer limit;
    limit.StartAt(Tick(), ResetTimeout);
    OpenLine().Purge();
    // Zeros end any frame the interface unit is still collecting.
    for (int i = 0; i < ResetZeroCount; ++i)
        SendByte(0x00);
    Delay(ResetPause);
    while (!limit.ExpiredAt(Tick()) && ReadByteOrTimeout() != -1) {
    }
    for (;;) {
        OpenLine().ClearErrors();
        WriteBytes(ResetProbe, sizeof ResetProbe);
        int reply = -1;
        do {
            Delay(ResetPause);
            if (limit.ExpiredAt(Tick()))
                throw EPelkResetFail();
            reply = ReadByteOrTimeout();
            if (reply == Nak)
                return;
        } while (reply != -1); // another byte: read again; silence: send the probe again
    }
}

void TMestraIF::SetStatus(const QString& text)
{
    Status = text;
    if (OnStatus)
        OnStatus();
    TraceLine(text);
}

} // namespace Pelk
