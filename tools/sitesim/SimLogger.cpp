#include "SimLogger.h"

#include <QDateTime>
#include <QTimeZone>

#include <algorithm>

namespace SiteSim {

namespace {

using Space = SimMemory::Space;

constexpr std::array<uint8_t, 5> GroupOrder = {SimDevSensor, SimDevTrip, SimDevOutput, SimDevOnOff, SimDevAsm};
constexpr uint32_t SecondsPerDay = 86400;
constexpr uint16_t SensorNoValue = 0x8001;
constexpr uint16_t AsmNoValue = 0x7FFF;
constexpr int16_t AsmLimit = 999;
constexpr uint16_t SensorTop = 4095;
constexpr uint16_t OnValue = 100; // an on/off output reads 0 or 100
constexpr uint16_t OnOffLogScale = 50; // and is logged as 0..2
constexpr std::size_t ConfigLists = 15;
constexpr uint8_t StopWhenFullOption = 0x01;
// At least a byte stays free, so the end never meets the start's byte.
constexpr uint32_t RingGapBits = 8;

std::size_t entryWidth(uint8_t type) { return type == SimDevAsm ? 2 : 1; }

bool isEmptyEntry(uint8_t type, uint16_t entry)
{
    return type == SimDevAsm ? (entry & 0x1F) == 0 : entry == 0xFF;
}

uint16_t loggedValue(uint8_t type, uint16_t reading)
{
    return type == SimDevOnOff ? uint16_t(reading / OnOffLogScale) : reading;
}

} // namespace

SimLogger::SimLogger(SimMemory& memory, const SimLoggerSettings& settings, uint16_t headerAddress,
                     TimePoint now, uint32_t localClock)
    : memory_(memory), settings_(settings), header_(headerAddress), random_(settings.Seed), clock_(localClock),
      lastAdvance_(now)
{
    writeHeader();
    writeConfig();
    restart();
    const uint16_t onGrid = timer_;
    for (uint32_t i = 0; i < settings_.Prefill; ++i)
        makeEntry();
    // The prefilled entries were made one interval apart up to the grid
    // point before now, as if logging had run that long.
    timer_ = onGrid;
    startTime_ = clock_ - onGrid - settings_.Prefill * uint32_t(interval_);
    newEntries_ = entries_;
    publish();
}

uint16_t SimLogger::BufferAddress() const
{
    return settings_.BufferSize == 0 ? 0xC000 : uint16_t(0x10000 - settings_.BufferSize);
}

void SimLogger::writeHeader()
{
    const uint16_t words[6] = {settings_.FormatWord, ConfigStart,      ConfigEnd(),
                               StatusAddress(),      ControlAddress(), CommandAddress()};
    for (int i = 0; i < 6; ++i)
        memory_.SetWord(Space::Ram, uint16_t(header_ + 2 * i), words[i]);
}

void SimLogger::writeConfig()
{
    std::vector<uint8_t> block(settings_.ConfigSize, 0);
    block[0] = uint8_t(settings_.Interval);
    block[1] = uint8_t(settings_.Interval >> 8);
    block[2] = uint8_t(FirstFileNumber);
    block[3] = uint8_t(FirstFileNumber >> 8);
    block[9] = settings_.StopWhenFull ? StopWhenFullOption : 0;
    std::size_t at = ConfigLists;
    std::vector<uint8_t> sensorTypes;
    for (std::size_t group = 0; group < GroupOrder.size(); ++group) {
        const uint8_t type = GroupOrder[group];
        unsigned count = 0;
        for (const SimLoggerDevice& device : settings_.Devices) {
            // A list longer than its count byte, or than the block, is cut.
            if (device.Type != type || count == 0xFF || at + entryWidth(type) > block.size())
                continue;
            block[at++] = uint8_t(device.Address);
            if (entryWidth(type) == 2)
                block[at++] = uint8_t(device.Address >> 8);
            if (type == SimDevSensor)
                sensorTypes.push_back(device.SensorType);
            ++count;
        }
        block[10 + group] = uint8_t(count);
    }
    for (uint8_t type : sensorTypes) {
        if (at < block.size())
            block[at++] = type;
    }
    for (std::size_t i = 0; i < block.size(); ++i)
        memory_.SetByte(Space::Ee, uint16_t(ConfigStart + i), block[i]);
}

std::vector<uint8_t> SimLogger::bytes(Space space, uint16_t address, std::size_t length) const
{
    std::vector<uint8_t> out(length);
    for (std::size_t i = 0; i < length; ++i)
        out[i] = memory_.Byte(space, uint16_t(address + i));
    return out;
}

void SimLogger::readConfig()
{
    const std::vector<uint8_t> block = bytes(Space::Ee, ConfigStart, settings_.ConfigSize);
    interval_ = uint16_t(block[0] | block[1] << 8);
    settings_.StopWhenFull = block[9] & StopWhenFullOption;
    devices_.clear();
    groupCounts_ = {};
    std::size_t at = ConfigLists;
    std::vector<std::size_t> sensorEntries; // device index of each sensor list entry, or none
    for (std::size_t group = 0; group < GroupOrder.size(); ++group) {
        const uint8_t type = GroupOrder[group];
        for (unsigned i = 0; i < block[10 + group] && at + entryWidth(type) <= block.size(); ++i) {
            const uint16_t entry = entryWidth(type) == 2 ? uint16_t(block[at] | block[at + 1] << 8) : block[at];
            at += entryWidth(type);
            if (type == SimDevSensor)
                sensorEntries.push_back(isEmptyEntry(type, entry) ? SIZE_MAX : devices_.size());
            if (isEmptyEntry(type, entry))
                continue;
            devices_.push_back({type, entry, 0, 0, 0});
            ++groupCounts_[group];
        }
    }
    for (std::size_t index : sensorEntries) {
        if (at >= block.size())
            break;
        const uint8_t sensorType = block[at++];
        if (index != SIZE_MAX)
            devices_[index].SensorType = sensorType;
    }
}

uint16_t SimLogger::gridTimer() const
{
    if (interval_ == 0)
        return 0;
    const uint32_t phase = clock_ % SecondsPerDay % interval_;
    const uint32_t wanted = (interval_ - phase + GridPhase) % interval_;
    return uint16_t((interval_ - wanted) % interval_);
}

void SimLogger::restart()
{
    readConfig();
    for (Device& device : devices_) {
        switch (device.Type) {
        case SimDevSensor: device.Reading = uint16_t(random_() % (SensorTop + 1)); break;
        case SimDevTrip: device.Reading = uint16_t(random_() % 2); break;
        case SimDevOutput: device.Reading = uint16_t(random_() % 101); break;
        case SimDevOnOff: device.Reading = random_() % 2 ? OnValue : 0; break;
        default: device.Reading = uint16_t(int16_t(random_() % (2 * AsmLimit + 1)) - AsmLimit); break;
        }
        device.Logged = loggedValue(device.Type, device.Reading);
    }
    start_ = end_;
    entries_ = 0;
    newEntries_ = 0;
    miscounting_ = false;
    entryBits_.clear();
    usedBits_ = 0;
    startTime_ = clock_;
    timer_ = gridTimer();
    publish();
}

void SimLogger::Advance(TimePoint now)
{
    if (now <= lastAdvance_)
        return;
    const auto elapsed = std::min<std::chrono::nanoseconds>(now - lastAdvance_, std::chrono::hours(1));
    lastAdvance_ = now;
    if (settings_.ClockStopped)
        return;
    // Fast time: `interval` logger seconds every FastMs milliseconds.
    const bool fast = settings_.FastMs != 0 && interval_ != 0;
    const uint64_t perSecond = fast ? uint64_t(settings_.FastMs) * 1'000'000 : 1'000'000'000;
    carry_ += uint64_t(elapsed.count()) * (fast ? interval_ : 1);
    const uint64_t seconds = carry_ / perSecond;
    carry_ %= perSecond;
    if (seconds > 0)
        step(seconds);
}

std::chrono::milliseconds SimLogger::TickPeriod() const
{
    using std::chrono::milliseconds;
    if (settings_.FastMs == 0)
        return milliseconds(100);
    return std::clamp(milliseconds(settings_.FastMs / 10), milliseconds(1), milliseconds(100));
}

uint32_t SimLogger::LocalClockNow()
{
    const QDateTime utc = QDateTime::currentDateTimeUtc();
    return uint32_t(utc.toSecsSinceEpoch() + QTimeZone::systemTimeZone().offsetFromUtc(utc));
}

void SimLogger::step(uint64_t seconds)
{
    clock_ += uint32_t(seconds);
    timer_ = uint16_t(std::min<uint64_t>(timer_ + seconds, 0xFFFF));
    makeDueEntries();
    publish();
}

void SimLogger::makeDueEntries()
{
    // While held, due entries wait; released, they are made and stamped on
    // their grid points, because the timer keeps counting from there.
    while (interval_ != 0 && !held_ && timer_ >= interval_) {
        if (!makeEntry())
            return; // full and told to stop: the timer runs on from the newest entry
        timer_ = uint16_t(timer_ - interval_);
    }
}

uint32_t SimLogger::ringCapacityBits() const
{
    const uint32_t ringBits = uint32_t(settings_.BufferSize) * 8;
    return ringBits > RingGapBits ? ringBits - RingGapBits : 0;
}

void SimLogger::dropOldest()
{
    start_ = RingAdvance(start_, entryBits_.front(), settings_.BufferSize);
    usedBits_ -= entryBits_.front();
    entryBits_.pop_front();
    --entries_;
    newEntries_ = std::min(newEntries_, entries_);
}

bool SimLogger::makeEntry()
{
    for (Device& device : devices_)
        wander(device);
    std::vector<SimLogCode> codes;
    uint32_t length = 0;
    for (const Device& device : devices_) {
        codes.push_back(EncodeLogChange(uint16_t(loggedValue(device.Type, device.Reading) - device.Logged)));
        length += codes.back().Length;
    }
    if (length > ringCapacityBits() || settings_.BufferSize == 0)
        return false;
    while (usedBits_ + length > ringCapacityBits() || entries_ == 0xFFFF) {
        if (settings_.StopWhenFull)
            return false;
        dropOldest();
    }
    std::vector<uint8_t> ring = bytes(Space::Ram, BufferAddress(), settings_.BufferSize);
    for (const SimLogCode& code : codes)
        WriteLogCode(ring, end_, code);
    for (std::size_t i = 0; i < ring.size(); ++i)
        memory_.SetByte(Space::Ram, uint16_t(BufferAddress() + i), ring[i]);
    for (Device& device : devices_)
        device.Logged = loggedValue(device.Type, device.Reading);
    entryBits_.push_back(length);
    usedBits_ += length;
    ++entries_;
    newEntries_ = uint16_t(std::min<uint32_t>(newEntries_ + 1u, 0xFFFF));
    return true;
}

void SimLogger::wander(Device& device)
{
    // Mostly small steps, sometimes large ones, so that every code length
    // turns up in a log of a few hundred entries.
    const unsigned roll = unsigned(random_() % 100);
    uint32_t size = 0;
    if (roll < 35)
        return;
    if (roll < 55)
        size = 1 + uint32_t(random_() % 2);
    else if (roll < 75)
        size = 3 + uint32_t(random_() % 8);
    else if (roll < 90)
        size = 11 + uint32_t(random_() % 128);
    else
        size = 139 + uint32_t(random_() % 3000);
    const int step = random_() % 2 ? int(size) : -int(size);
    switch (device.Type) {
    case SimDevSensor:
        if (device.Reading == SensorNoValue)
            device.Reading = SensorTop / 2;
        else if (roll == 99)
            device.Reading = SensorNoValue; // a sensor failure now and then
        else
            device.Reading = uint16_t(std::clamp<int>(device.Reading + step, 0, SensorTop));
        break;
    case SimDevTrip: device.Reading = device.Reading ? 0 : 1; break;
    case SimDevOutput: device.Reading = uint16_t(std::clamp<int>(device.Reading + step, 0, OnValue)); break;
    case SimDevOnOff: device.Reading = device.Reading ? 0 : OnValue; break;
    default:
        if (device.Reading == AsmNoValue)
            device.Reading = 0;
        else if (roll == 99)
            device.Reading = AsmNoValue;
        else
            device.Reading = uint16_t(std::clamp<int>(int16_t(device.Reading) + step, -AsmLimit, AsmLimit));
        break;
    }
}

void SimLogger::OnWrite(Space space, uint16_t address, std::size_t length, TimePoint now)
{
    if (space != Space::Ram)
        return; // the configuration in EE is taken at the next restart
    Advance(now);
    const uint16_t timerAddress = uint16_t(StatusAddress() + TimerOffset);
    if (SimMemory::Covers(address, length, timerAddress)
        || SimMemory::Covers(address, length, uint16_t(timerAddress + 1)))
        timer_ = memory_.Word(Space::Ram, timerAddress);
    const uint16_t codeAddress = uint16_t(CommandAddress() + CommandCodeOffset);
    if (SimMemory::Covers(address, length, codeAddress) && memory_.Byte(Space::Ram, codeAddress) != 0
        && !settings_.Frozen)
        execute();
}

void SimLogger::execute()
{
    const uint16_t command = CommandAddress();
    switch (memory_.Byte(Space::Ram, uint16_t(command + CommandCodeOffset))) {
    case CmdRestart:
        restart();
        break;
    case CmdReadClock: {
        const uint32_t second = clock_ % SecondsPerDay;
        memory_.SetWord(Space::Ram, command, uint16_t(clock_ / SecondsPerDay + DayOf1970));
        memory_.SetByte(Space::Ram, uint16_t(command + 2), uint8_t(second / 3600));
        memory_.SetByte(Space::Ram, uint16_t(command + 3), uint8_t(second / 60 % 60));
        memory_.SetByte(Space::Ram, uint16_t(command + 4), uint8_t(second % 60));
        break;
    }
    case CmdSetClock:
        clock_ = (uint32_t(memory_.Word(Space::Ram, command)) - DayOf1970) * SecondsPerDay
            + memory_.Byte(Space::Ram, uint16_t(command + 2)) * 3600u
            + memory_.Byte(Space::Ram, uint16_t(command + 3)) * 60u + memory_.Byte(Space::Ram, uint16_t(command + 4));
        break;
    case CmdHold:
        held_ = memory_.Byte(Space::Ram, uint16_t(command + HoldParameterOffset)) != 0;
        miscounting_ = held_ && corruptHolds_ < settings_.CorruptHolds;
        corruptHolds_ += miscounting_ ? 1 : 0;
        makeDueEntries();
        break;
    case CmdDownloaded:
        held_ = false;
        miscounting_ = false;
        newEntries_ = 0;
        makeDueEntries();
        break;
    default:
        break;
    }
    publish();
    memory_.SetByte(Space::Ram, uint16_t(command + CommandCodeOffset), 0);
}

void SimLogger::publish()
{
    const uint16_t status = StatusAddress();
    const std::size_t D = devices_.size();
    memory_.SetWord(Space::Ram, status, ReadingsAddress);
    memory_.SetWord(Space::Ram, uint16_t(status + 2), LastValuesAddress);
    memory_.SetWord(Space::Ram, uint16_t(status + TimerOffset), timer_);
    memory_.SetWord(Space::Ram, uint16_t(status + 8), uint16_t(entries_ + (miscounting_ ? 1 : 0)));
    memory_.SetWord(Space::Ram, uint16_t(status + 10), newEntries_);
    memory_.SetWord(Space::Ram, uint16_t(status + 12), interval_);
    const uint64_t averageBits = entries_ ? std::max<uint64_t>(1, usedBits_ / entries_) : std::max<uint64_t>(1, 4 * D);
    const uint64_t entriesLeft = (ringCapacityBits() - std::min<uint64_t>(usedBits_, ringCapacityBits())) / averageBits;
    memory_.SetWord(Space::Ram, uint16_t(status + 14), uint16_t(std::min<uint64_t>(entriesLeft * interval_ / 3600, 0xFFFF)));
    const uint32_t second = startTime_ % SecondsPerDay;
    memory_.SetWord(Space::Ram, uint16_t(status + 16), uint16_t(startTime_ / SecondsPerDay + DayOf1970));
    memory_.SetByte(Space::Ram, uint16_t(status + 18), uint8_t(second / 3600));
    memory_.SetByte(Space::Ram, uint16_t(status + 19), uint8_t(second / 60 % 60));
    memory_.SetByte(Space::Ram, uint16_t(status + 20), uint8_t(second % 60));
    for (std::size_t group = 0; group < groupCounts_.size(); ++group)
        memory_.SetByte(Space::Ram, uint16_t(status + 22 + group), groupCounts_[group]);
    const uint64_t usedBytes = (usedBits_ + 7) / 8;
    memory_.SetByte(Space::Ram, uint16_t(status + 29),
                    uint8_t(settings_.BufferSize ? usedBytes * 100 / settings_.BufferSize : 0));

    const uint16_t control = ControlAddress();
    memory_.SetWord(Space::Ram, control, BufferAddress());
    memory_.SetWord(Space::Ram, uint16_t(control + 2), settings_.BufferSize);
    memory_.SetWord(Space::Ram, uint16_t(control + 4), end_.Byte);
    memory_.SetWord(Space::Ram, uint16_t(control + 6), start_.Byte);
    memory_.SetByte(Space::Ram, uint16_t(control + 8), end_.Bit);
    memory_.SetByte(Space::Ram, uint16_t(control + 9), start_.Bit);

    for (std::size_t i = 0; i < D; ++i) {
        memory_.SetWord(Space::Ram, uint16_t(ReadingsAddress + 2 * i), devices_[i].Reading);
        memory_.SetWord(Space::Ram, uint16_t(LastValuesAddress + 2 * i), devices_[i].Logged);
    }
}

} // namespace SiteSim
