// The site's operations on its device list.
#include "base/Exception.h"
#include "site/Asm.h"
#include "site/BinaryStream.h"
#include "site/LoggerDevices.h"
#include "site/Output.h"
#include "site/Sensor.h"
#include "site/Site.h"

#include <algorithm>

namespace Quorvel1 {

namespace {

// The order of the device groups in the site file.
constexpr std::array<std::uint8_t, 3> GroupClasses = {DevClassSensor, DevClassOutput,
                                                      DevClassAsm};

std::unique_ptr<TDev> MakeOfClass(std::uint8_t devClass)
{
    switch (devClass) {
    case DevClassOutput:
        return std::make_unique<TOutput>();
    case DevClassSensor:
        return std::make_unique<TSensor>();
    case DevClassAsm:
        return std::make_unique<TAsm>();
    default:
        return nullptr;
    }
}

bool NameBefore(const TDev& a, const TDev& b)
{
    const auto endA = std::find(a.Name.begin(), a.Name.end(), '\0');
    const auto endB = std::find(b.Name.begin(), b.Name.end(), '\0');
    return std::lexicographical_compare(
        a.Name.begin(), endA, b.Name.begin(), endB, [](char x, char y) {
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        });
}

bool SortsBefore(const std::unique_ptr<TDev>& a, const std::unique_ptr<TDev>& b)
{
    if (a->Active != b->Active)
        return a->Active > b->Active;
    if (a->UnitNo() != b->UnitNo())
        return a->UnitNo() < b->UnitNo();
    if (a->DevType() != b->DevType())
        return a->DevType() < b->DevType();
    if (a->AirspaceNo() != b->AirspaceNo())
        return a->AirspaceNo() < b->AirspaceNo();
    if (a->Address != b->Address)
        return a->Address < b->Address;
    return NameBefore(*a, *b);
}

} // namespace

std::unique_ptr<TDev> TSite::CreateDevice(std::uint8_t typeByte)
{
    std::unique_ptr<TDev> device = MakeOfClass(DevClassOf(typeByte));
    if (device)
        device->SetKind(typeByte);
    return device;
}

std::unique_ptr<TDev> TSite::CreateFromKey(const TDeviceKey& key)
{
    std::unique_ptr<TDev> device = CreateDevice(key.TypeByte());
    if (device)
        device->Address = key.Address();
    return device;
}

int TSite::FindByKey(const TDeviceKey& key) const
{
    for (std::size_t i = 0; i < Devices.size(); ++i) {
        if (Devices[i]->DeviceKey() == key)
            return static_cast<int>(i);
    }
    return -1;
}

int TSite::CountDevices(std::uint8_t devClass, std::uint8_t typeByte, int activeMode) const
{
    return static_cast<int>(std::count_if(Devices.begin(), Devices.end(), [&](const auto& d) {
        const std::uint8_t type = d->DevType();
        return (devClass == 0 || DevClassOf(type) == devClass) &&
               (typeByte == 0 || type == typeByte) &&
               (activeMode == -1 || d->Active == activeMode);
    }));
}

void TSite::SortDevices()
{
    // Stable: devices alike in every key keep their order, so a site saved
    // and opened again writes the same bytes.
    std::stable_sort(Devices.begin(), Devices.end(), SortsBefore);
    Recount();
}

void TSite::Recount()
{
    ActiveCount = CountDevices(0, 0, ActiveYes);
    PolledCount = CountDevices(0, 0, ActivePolled);
}

void TSite::AttachDevices(TLoggerDevices& logger)
{
    const int n = std::max(logger.LoggedDeviceCount(), 0);
    std::vector<bool> taken(static_cast<std::size_t>(n), false);
    for (const auto& device : Devices) {
        const int index = logger.FindDevice(device->DeviceKey());
        if (index >= n)
            throw Exception(QStringLiteral("InitDevs failure: 1"));
        device->LoggerIndex = std::max(index, -1);
        if (index >= 0)
            taken[static_cast<std::size_t>(index)] = true;
    }
    for (int i = 0; i < n; ++i) {
        if (taken[static_cast<std::size_t>(i)])
            continue;
        const TDeviceKey key = logger.GetDevice(i);
        if (FindByKey(key) != -1)
            continue;
        // A key of no known class (an empty slot of the table) makes no device.
        std::unique_ptr<TDev> device = CreateFromKey(key);
        if (!device)
            continue;
        device->LoggerIndex = i;
        device->DefaultName();
        Devices.push_back(std::move(device));
    }
    SortDevices();
}

bool TSite::ReadDevices(TBinaryStream& stream)
{
    Devices.clear();
    bool ok = true;
    for (const std::uint8_t devClass : GroupClasses) {
        std::uint16_t count = 0;
        if (!stream.ReadU16(count)) {
            ok = false;
            break;
        }
        for (std::uint16_t i = 0; i < count; ++i) {
            std::unique_ptr<TDev> device = MakeOfClass(devClass);
            if (ok && !device->Read(stream))
                ok = false;
            Devices.push_back(std::move(device));
        }
        if (!ok)
            break;
    }
    SortDevices();
    return ok;
}

bool TSite::WriteDevices(TBinaryStream& stream)
{
    for (const std::uint8_t devClass : GroupClasses) {
        const int count = CountDevices(devClass, 0, -1);
        if (!stream.WriteU16(static_cast<std::uint16_t>(count)))
            return false;
        for (const auto& device : Devices) {
            if (DevClassOf(device->DevType()) == devClass && !device->Write(stream))
                return false;
        }
    }
    return true;
}

} // namespace Quorvel1
