#include "logger/LogIF.h"

#include "comms/LinkClock.h"
#include "comms/MestraIF.h"
#include "logger/LogIFException.h"

#include <algorithm>

namespace Quorvel1 {


std::optional<std::uint16_t> IntervalSynchTimer(std::uint16_t interval, std::uint16_t timer,
                                                std::uint32_t secondOfDay)
{
    if (interval == 0)
        return std::nullopt;
    const std::int64_t length = interval;
    const std::int64_t phase = secondOfDay % interval;
    const std::int64_t wanted = (length - phase + TLogIF::SynchPhase) % length;
    // The difference taken into (-interval/2, interval/2]; a timer beyond
    // the interval (a held or full logger) is folded in like any other.
    std::int64_t difference = ((length - timer - wanted) % length + length) % length;
    if (difference > length / 2)
        difference -= length;
    if (difference >= -std::int64_t(TLogIF::SynchTolerance) && difference <= std::int64_t(TLogIF::SynchTolerance))
        return std::nullopt;
    return std::uint16_t(length - wanted);
}

TLogIF::TLogIF(Pelk::TMestraIF& link) : link_(link) {}

TLogIF::~TLogIF() = default;

void TLogIF::RequireOpen() const
{
    if (!open_)
        throw ELogIFException();
}

void TLogIF::ReadRam(std::uint8_t* buffer, std::uint16_t address, std::uint16_t length)
{
    link_.ReadMem(buffer, address, length, Pelk::TMestraIF::Ram);
}

void TLogIF::SetStatus(const QString& text)
{
    StatusTextValue = text;
    if (StatusCallback)
        StatusCallback();
}

bool TLogIF::Open()
{
    open_ = false;
    SetStatus("Reading logger status");
    try {
        link_.SelectUnit(0, false);
        const std::uint16_t headerAddress = link_.GetDescriptor(Pelk::TMestraIF::LoggerDescriptorSlot);
        if (headerAddress == 0) {
            Close();
            return false;
        }
        std::array<std::uint8_t, TLogHeader::Size> header{};
        ReadRam(header.data(), headerAddress, std::uint16_t(header.size()));
        Header = *TLogHeader::Parse(header);
        if (!Header.FormatAccepted()) {
            Close();
            return false;
        }
        open_ = true;
        // A logger whose configuration or buffer the image cannot hold is
        // refused rather than read past the image's end.
        if (!ReadConfigData() || !ReadControlData()) {
            Close();
            return false;
        }
    } catch (...) {
        Close();
        throw;
    }
    BuildDeviceList(true);
    readings_.assign(LoggedDevices, 0);
    SendOwedRelease();
    return true;
}

void TLogIF::Close()
{
    readings_.clear();
    open_ = false;
    LoggedDevices = 0;
    // The device list never holds more keys than the logged device count.
    FreeDeviceList();
}

bool TLogIF::ReadConfigData()
{
    SetStatus("Reading logger configuration");
    if (!ConfigFits())
        return false;
    ConfigSize = Header.ConfigSize();
    link_.ReadMem(ConfigImage.data(), Header.ConfigStart, std::uint16_t(ConfigSize), Pelk::TMestraIF::Ee);
    return true;
}

bool TLogIF::ReadControlData()
{
    SetStatus("Reading log control data");
    std::array<std::uint8_t, TLogStatus::Size> status{};
    std::array<std::uint8_t, TLogControl::Size> control{};
    ReadRam(status.data(), Header.StatusAddress, std::uint16_t(status.size()));
    ReadRam(control.data(), Header.ControlAddress, std::uint16_t(control.size()));
    Status = *TLogStatus::Parse(status);
    Control = *TLogControl::Parse(control);
    return ApplyControlData();
}

// A download broken off on a dead line could not release logging; the first
// open on a working line does. Should the release fail again, it stays owed.
void TLogIF::SendOwedRelease()
{
    if (!ReleaseOwed)
        return;
    try {
        Hold(LogHoldOff);
        ReleaseOwed = false;
    } catch (const std::exception&) {
    }
}

void TLogIF::ReadConfig()
{
    RequireOpen();
    if (!ReadConfigData())
        throw ELogIFException();
}

void TLogIF::ReadControl()
{
    RequireOpen();
    if (!ReadControlData()) {
        Close();
        throw ELogIFException();
    }
}

void TLogIF::SendCommand()
{
    RequireOpen();
    const auto block = Command.Serialise();
    link_.WriteMem(block.data(), Header.CommandAddress, std::uint16_t(block.size()), Pelk::TMestraIF::Ram);
    Pelk::TLinkTimer deadline;
    deadline.StartAt(link_.Tick(), CommandTimeoutMs);
    const auto codeAddress = std::uint16_t(Header.CommandAddress + TLogCommand::CodeOffset);
    for (;;) {
        std::uint8_t code = 0;
        ReadRam(&code, codeAddress, 1);
        if (code == 0)
            return;
        const std::uint32_t remaining = deadline.RemainingAt(link_.Tick());
        if (remaining == 0)
            return;
        link_.Delay(std::min(remaining, CommandPollPauseMs));
    }
}

void TLogIF::WriteCommandCode(std::uint8_t code)
{
    Command.Code = code;
    SendCommand();
}

void TLogIF::Hold(std::uint8_t parameter)
{
    Command.Second = parameter;
    WriteCommandCode(LogCmdHold);
}

void TLogIF::ReadCommandBlock()
{
    RequireOpen();
    std::array<std::uint8_t, TLogCommand::Size> block{};
    ReadRam(block.data(), Header.CommandAddress, std::uint16_t(block.size()));
    Command = *TLogCommand::Parse(block);
}

void TLogIF::ReadClock()
{
    WriteCommandCode(LogCmdReadClock);
    ReadCommandBlock();
    NewestEntryLoggerTime = LoggerDateToStamp({Command.Day, Command.Hour, Command.Minute, Command.Second});
}

void TLogIF::CalcEntryTimes()
{
    RequireOpen();
    NewestEntryPCTime = Time.UtcNow();
    ReadClock();
    if (Status.Interval <= 1)
        Status.IntervalTimer = 1;
    NewestEntryLoggerTime -= std::uint32_t(Status.IntervalTimer) + 3;
    NewestEntryPCTime -= std::uint32_t(Status.IntervalTimer) + 1;
    if (Status.StartDay != 0)
        LogStartTime = LoggerDateToStamp({Status.StartDay, Status.StartHour, Status.StartMinute, Status.StartSecond});
    else
        LogStartTime = NewestEntryLoggerTime;
}

void TLogIF::SynchInterval()
{
    RequireOpen();
    SetStatus("Checking log synch...");
    if (Status.Interval < MinSynchInterval)
        return;
    const auto timerAddress = std::uint16_t(Header.StatusAddress + LogStatusTimerOffset);
    std::array<std::uint8_t, 2> timer{};
    ReadRam(timer.data(), timerAddress, 2);
    const std::uint32_t secondOfDay = Time.LocalNow() % SecondsPerDay;
    const std::optional<std::uint16_t> newTimer =
        IntervalSynchTimer(Status.Interval, std::uint16_t(timer[0] | timer[1] << 8), secondOfDay);
    if (!newTimer)
        return;
    SetStatus("Synchronising log interval...");
    WriteCommandCode(LogCmdRestart);
    const std::array<std::uint8_t, 2> value = {std::uint8_t(*newTimer & 0xFF), std::uint8_t(*newTimer >> 8)};
    link_.WriteMem(value.data(), timerAddress, 2, Pelk::TMestraIF::Ram);
    SetStatus("Synch done");
}

bool TLogIF::ReadReadings()
{
    RequireOpen();
    // A read broken off by a command or a link error keeps the readings
    // last shown rather than showing zeros for every device.
    std::vector<std::uint8_t> bytes(2u * LoggedDevices);
    const std::uint16_t read =
        bytes.empty() ? 0 : link_.ReadMem(bytes.data(), Status.ReadingsAddress, std::uint16_t(bytes.size()), Pelk::TMestraIF::Ram);
    readings_.assign(LoggedDevices, 0);
    for (std::size_t i = 0; i < readings_.size(); ++i)
        readings_[i] = std::uint16_t(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return read == bytes.size();
}

} // namespace Quorvel1
