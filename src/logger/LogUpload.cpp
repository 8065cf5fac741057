// Changing the logger: uploading a logging configuration made from the
// site's devices, setting its clock and restarting logging.
#include "logger/LogIF.h"

#include "comms/MestraIF.h"
#include "site/Dev.h"
#include "site/Site.h"

#include <algorithm>

namespace Quorvel1 {

namespace {

constexpr int ChunkSize = 4; // bytes per EE write
constexpr int MaxListEntries = 255;
const QString UploadCaption = QStringLiteral("Upload configuration");

// Configuration offsets.
constexpr int IntervalOffset = 0;
constexpr int FlagsOffset = 9;
constexpr int ListsOffset = 15;

// Device classes and type bytes as the logger's lists hold them.
constexpr std::uint8_t SensorClass = 0x20;
constexpr std::uint8_t OutputClass = 0x10;
constexpr std::uint8_t AsmClass = 0x30;

struct TConfigList {
    std::uint8_t TypeByte;
    int Step;
    int CountOffset;
};

// In the order the logger expects them: sensors, trips, outputs, on-offs,
// ASMs (two bytes an entry).
constexpr TConfigList ConfigLists[] = {
    {0x20, 1, 10}, {0x21, 1, 11}, {0x10, 1, 12}, {0x11, 1, 13}, {0x30, 2, 14},
};

bool Logged(const TDev& device)
{
    return device.Active != ActiveNo;
}

} // namespace

bool TLogIF::UploadConfig(const TSite& site, const AskHook& ask)
{
    Progress = 0;
    SetStatus("Reading log status");
    if (!Open())
        return false;
    if (!SpaceAccepted(site, ask))
        return false;

    SetStatus("Uploading new configuration");
    SetConfigWord(IntervalOffset, site.LogInterval);
    SetConfigByte(FlagsOffset, std::uint8_t(site.LogFlags & 0xFF));
    WriteConfigBlock(FillConfigLists(site));

    SetStatus("Completing configuration...");
    WriteCommandCode(LogCmdRestart);
    SetStatus("Upload complete, re-loading configuration...");
    Open();
    SynchInterval();
    SetStatus("Configuration done");
    return true;
}

// The space check counts the devices set to Yes, two bytes for an ASM and
// one sensor type byte for each sensor or trip.
bool TLogIF::SpaceAccepted(const TSite& site, const AskHook& ask)
{
    const int sensors = site.CountDevices(SensorClass, 0, ActiveYes);
    const int outputs = site.CountDevices(OutputClass, 0, ActiveYes);
    const int asms = site.CountDevices(AsmClass, 0, ActiveYes);
    int space = (int(Header.ConfigEnd) - int(Header.ConfigStart)) - ListsOffset - (sensors + outputs + 2 * asms);
    if (space < 0)
        return ask("Insufficient space for full configuration - continue?", UploadCaption, MessageFlags::YesNo) == MessageAnswer::Yes;
    space -= sensors;
    if (space < 0)
        return ask("Insufficient space for sensor types - continue?", UploadCaption, MessageFlags::YesNo) == MessageAnswer::Yes;
    return true;
}

// Returns the position after the lists and the sensor types.
int TLogIF::FillConfigLists(const TSite& site)
{
    int position = ListsOffset;
    for (const TConfigList& list : ConfigLists) {
        const int count = FillDevices(site, list.TypeByte, position, list.Step);
        SetConfigByte(list.CountOffset, std::uint8_t(count));
    }
    FillSensorTypes(site, position);
    return position;
}

int TLogIF::FillDevices(const TSite& site, std::uint8_t typeByte, int& position, int step)
{
    int count = 0;
    for (const auto& device : site.Devices) {
        if (count >= MaxListEntries)
            break;
        if (!Logged(*device) || device->DevType() != typeByte)
            continue;
        if (SetConfigWord(position, device->Address))
            ++count;
        position += step;
    }
    return count;
}

bool TLogIF::FillSensorTypes(const TSite& site, int& position)
{
    for (const auto& device : site.Devices) {
        if (!Logged(*device) || device->DevType() != ConfigLists[0].TypeByte)
            continue;
        if (!SetConfigByte(position, device->Subtype))
            return false;
        ++position;
    }
    return true;
}

// The image before `length` goes to EE four bytes at a time. Entries that
// did not fit still moved the position on, so the length is held to the
// configuration block: nothing beyond it in EE is ever written.
void TLogIF::WriteConfigBlock(int length)
{
    const int writable = std::min<int>(int(Header.ConfigEnd) - int(Header.ConfigStart), int(ConfigImage.size()));
    const int end = std::min(length, writable);
    int shown = -1;
    for (int offset = 0; offset < end; offset += ChunkSize) {
        const int chunk = std::min(ChunkSize, end - offset);
        link_.WriteMem(ConfigImage.data() + offset, std::uint16_t(Header.ConfigStart + offset),
                       std::uint16_t(chunk), Pelk::TMestraIF::Ee);
        Progress = offset * 100 / end;
        if (Progress != shown) {
            shown = Progress;
            SetStatus("Uploading configuration...");
        }
    }
}

// The clock is set one second ahead: the command reaches the logger about
// a second after the time is taken.
bool TLogIF::SetTime()
{
    Progress = -1;
    SetStatus("Selecting Unit");
    link_.SelectUnit(0, false);
    const TLoggerDate now = StampToLoggerDate(Time.LocalNow() + 1);
    Command.Day = now.Day;
    Command.Hour = now.Hour;
    Command.Minute = now.Minute;
    Command.Second = now.Second;
    SetStatus("Uploading time");
    WriteCommandCode(LogCmdSetClock);
    return true;
}

bool TLogIF::Restart()
{
    Progress = -1;
    SetStatus("Restarting logging");
    link_.SelectUnit(0, false);
    WriteCommandCode(LogCmdRestart);
    return true;
}

} // namespace Quorvel1
