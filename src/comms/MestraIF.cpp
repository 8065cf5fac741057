// The transfer layer of the link: raw bytes with time-outs, the request frame
// with its running checksum, the acknowledgement, and block splitting with
// retries.
#include "comms/MestraIF.h"

#include "comms/PelkExceptions.h"
#include "comms/PelkTrace.h"
#include "serial/SerialLine.h"

#include <algorithm>
#include <array>

namespace Pelk {

void TMestraIF::WriteBytes(const uint8_t* buffer, std::size_t length)
{
    TransmitBytes(buffer, length);
    AddToRunningSum(buffer, length);
}

void TMestraIF::ReadBytes(uint8_t* buffer, std::size_t length)
{
    ReceiveBytes(buffer, length);
    AddToRunningSum(buffer, length);
}

void TMestraIF::TransmitBytes(const uint8_t* buffer, std::size_t length)
{
    if (AbortFlag)
        throw EPelkUserAbort();
    TSerialLine& line = OpenLine();
    for (std::size_t done = 0; done < length;) {
        const std::size_t count = line.Write(buffer + done, length - done);
        if (count == 0)
            RaiseNoTransfer();
        TraceBytes(TraceSent, buffer + done, count);
        done += count;
    }
}

void TMestraIF::ReceiveBytes(uint8_t* buffer, std::size_t length)
{
    if (AbortFlag)
        throw EPelkUserAbort();
    TSerialLine& line = OpenLine();
    for (std::size_t done = 0; done < length;) {
        const std::size_t count = line.Read(buffer + done, length - done);
        if (count == 0)
            RaiseNoTransfer();
        TraceBytes(TraceReceived, buffer + done, count);
        done += count;
    }
}

int TMestraIF::ReadByteOrTimeout()
{
    if (AbortFlag)
        throw EPelkUserAbort();
    uint8_t value = 0;
    try {
        ReadBytes(&value, 1);
    } catch (const EPelkTimeout&) {
        return -1;
    }
    return value;
}

void TMestraIF::Delay(uint32_t ms)
{
    if (ms == 0) {
        Waiter.Pump();
    } else {
        TLinkTimer timer;
        timer.StartAt(Tick(), ms);
        while (!AbortFlag && !timer.ExpiredAt(Tick()))
            clock_->Sleep(timer.RemainingAt(Tick()), Waiter);
    }
    if (AbortFlag)
        throw EPelkUserAbort();
}

void TMestraIF::Abort()
{
    std::lock_guard lock(portMutex_);
    AbortFlag = true;
    if (Port)
        Port->Cancel();
    Waiter.Wake();
}

void TMestraIF::ClearAbort()
{
    std::lock_guard lock(portMutex_);
    AbortFlag = false;
    if (Port)
        Port->ClearCancel();
    Waiter.Rearm();
}

void TMestraIF::RequestBreak()
{
    BreakFlag = true;
}

void TMestraIF::ClearBreak()
{
    BreakFlag = false;
}

TSerialLine& TMestraIF::OpenLine()
{
    if (!Port)
        throw Quorvel1::Exception(NoPortText);
    return *Port;
}

void TMestraIF::RaiseNoTransfer()
{
    // A cancelled line also ends a transfer with no byte: that is the user's
    // abort, not a time-out to be retried.
    if (AbortFlag)
        throw EPelkUserAbort();
    throw EPelkTimeout();
}

void TMestraIF::AddToRunningSum(const uint8_t* bytes, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i)
        RunningSum = uint16_t(RunningSum + bytes[i]);
}

void TMestraIF::SendByte(uint8_t value)
{
    WriteBytes(&value, 1);
}

void TMestraIF::QueueBytes(const uint8_t* bytes, std::size_t length)
{
    // An abort ends a request even while it is being built.
    if (AbortFlag)
        throw EPelkUserAbort();
    std::copy(bytes, bytes + length, RequestFrame.begin() + std::ptrdiff_t(RequestLength));
    RequestLength += length;
    AddToRunningSum(bytes, length);
}

void TMestraIF::QueueByte(uint8_t value)
{
    QueueBytes(&value, 1);
}

void TMestraIF::SendHeader(uint8_t length, uint8_t command, uint16_t address)
{
    if (BreakFlag.exchange(false))
        throw EPelkUserBreak();
    OpTimer.StartAt(Tick(), uint32_t(length) * ByteTime + OpBaseTimeout);
    // The request is built whole and goes out with its checksum in one
    // write: a write per byte costs a system call per byte, and the line
    // sends the bytes back to back either way.
    RequestLength = 0;
    QueueByte(FrameStart);
    QueueByte(length);
    QueueByte(uint8_t(length ^ 0xFF));
    RunningSum = 0; // the checksum covers the body only
    QueueByte(command);
    QueueByte(uint8_t(address & 0xFF));
    QueueByte(uint8_t(address >> 8));
}

void TMestraIF::SendChecksum()
{
    const uint16_t sum = RunningSum;
    QueueByte(uint8_t(sum & 0xFF));
    QueueByte(uint8_t(sum >> 8));
    TransmitBytes(RequestFrame.data(), RequestLength);
    RequestLength = 0;
    if (TimingMode)
        ChkTime = Tick();
    else
        TraceLine("Tx Chk");
}

void TMestraIF::WaitAck()
{
    // Each read attempt lasts the serial read time-out, so this loop waits on
    // the line, not on the processor.
    int reply = -1;
    do {
        Delay(0);
        reply = ReadByteOrTimeout();
    } while (reply == -1 && !OpTimer.ExpiredAt(Tick()));
    if (reply != Ack)
        throw EPelkTimeout();
    if (TimingMode)
        AckTime = Tick();
    else
        TraceLine("Rx Ack");
    RunningSum = 0; // the reply checksum covers the reply data only
}

void TMestraIF::CheckChecksum(const uint8_t* received)
{
    const uint16_t sum = RunningSum;
    if (received[0] != (sum & 0xFF) || received[1] != (sum >> 8)) {
        ++ChecksumErrors;
        throw EPelkChkSum();
    }
    if (!TimingMode)
        TraceLine("Rx Chk");
}

void TMestraIF::ReadBlock(uint8_t* buffer, uint16_t address, uint8_t count, bool ee)
{
    SendHeader(ReadBodyLength, ee ? CommandEE : 0, address);
    QueueByte(count);
    SendChecksum();
    WaitAck();
    // The data and their checksum follow the acknowledgement back to back:
    // one read takes both, so the line is waited on once, not twice.
    std::array<uint8_t, ReadBlockLimit + 2> reply;
    ReceiveBytes(reply.data(), count + 2u);
    std::copy(reply.begin(), reply.begin() + count, buffer);
    AddToRunningSum(buffer, count);
    CheckChecksum(reply.data() + count);
}

void TMestraIF::WriteBlock(const uint8_t* buffer, uint16_t address, uint8_t count, bool ee)
{
    SendHeader(uint8_t(count + WriteBodyOverhead), uint8_t(CommandWrite | (ee ? CommandEE : 0)), address);
    QueueBytes(buffer, count);
    SendChecksum();
    WaitAck();
}

uint16_t TMestraIF::ReadBlockSize() const
{
    return std::clamp<uint16_t>(MaxReadBlock, 1, ReadBlockLimit);
}

uint16_t TMestraIF::WriteBlockSize(bool ee) const
{
    // The interface unit writes its EEPROM slowly; above 4800 baud a longer
    // block would outlast the acknowledgement deadline.
    if (ee)
        return BaudRate > EEBlockBaudLimit ? 1 : EESlowBlock;
    return std::clamp<uint16_t>(MaxWriteBlock, 1, WriteBlockLimit);
}

template <typename Block>
uint16_t TMestraIF::TransferInBlocks(uint16_t length, uint16_t blockSize, Block block)
{
    // The failure count belongs to the whole call: blocks that succeed
    // between failures do not restore it.
    int failures = 0;
    uint16_t total = 0;
    while (total < length) {
        const auto count = uint8_t(std::min<uint16_t>(blockSize, uint16_t(length - total)));
        try {
            block(total, count);
            total = uint16_t(total + count);
            continue;
        } catch (const EPelkTimeout&) {
        } catch (const EPelkChkSum&) {
        }
        if (++failures > MaxRetries)
            throw EPelkOpFailure();
        // A reset clears the abort flag: a Cancel that came while this block
        // failed must end the call, not be swallowed by the retry.
        if (AbortFlag)
            throw EPelkUserAbort();
        Reset();
    }
    return total;
}

uint16_t TMestraIF::ReadMem(uint8_t* buffer, uint16_t address, uint16_t length, bool ee)
{
    return TransferInBlocks(length, ReadBlockSize(), [&](uint16_t offset, uint8_t count) {
        ReadBlock(buffer + offset, uint16_t(address + offset), count, ee);
    });
}

uint16_t TMestraIF::WriteMem(const uint8_t* buffer, uint16_t address, uint16_t length, bool ee)
{
    return TransferInBlocks(length, WriteBlockSize(ee), [&](uint16_t offset, uint8_t count) {
        WriteBlock(buffer + offset, uint16_t(address + offset), count, ee);
    });
}

} // namespace Pelk
