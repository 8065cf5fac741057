// The binary site file "<site>.ste": the site block, the logging options,
// the unit list and the three device groups. Whatever the file holds, the
// site keeps what it could read, its unit table points only at what it
// holds, every device can be named and shown, and the site as held is saved
// into a file that reads back whole and saves to the same bytes.
#include "FuzzInput.h"

#include "site/BinaryStream.h"
#include "site/SiteExt.h"

#include <QBuffer>

namespace {

using namespace Quorvel1;

bool ReadSite(TSite& site, QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TBinaryStream stream(buffer);
    return site.Read(stream);
}

QByteArray WriteSite(TSite& site)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TBinaryStream stream(buffer);
    FUZZ_CHECK(site.Write(stream));
    return bytes;
}

// Everything the windows show of the site.
void ShowSite(TSiteExt& site)
{
    (void)site.DescriptionText();
    (void)site.TelephoneText();
    for (int n = FirstUnitNumber; n <= LastUnitNumber; ++n) {
        const TUnit* unit = site.UnitByNumber(n);
        if (!unit)
            continue;
        FUZZ_CHECK(unit->Number == n);
        (void)unit->ProgramNameText();
        (void)unit->AppIdText();
        for (int k = 1; k <= unit->AirspaceCount; ++k)
            FUZZ_CHECK(site.AirspaceOfUnit(n, k) != nullptr);
        FUZZ_CHECK(site.AirspaceOfUnit(n, unit->AirspaceCount + 1) == nullptr);
        FUZZ_CHECK(site.ConfigBlock(n) != nullptr);
    }
    // A short file can count 65535 devices a group, which are then added
    // empty; showing the first ones is enough to show every kind.
    const std::size_t shown = std::min<std::size_t>(site.Devices.size(), 64);
    for (std::size_t i = 0; i < shown; ++i) {
        const auto& device = site.Devices[i];
        (void)device->NameText();
        (void)device->MakeName();
        (void)device->ValueText(0);
        (void)device->ValueText(0x8000);
        (void)device->ValueText(0x7FFF);
        FUZZ_CHECK(site.FindByKey(device->DeviceKey()) >= 0);
    }
}

// Whether a device group counts far more devices than the rest of the file
// holds, found by walking the file as TSite::Read does. Reading adds the
// missing devices empty: a file of a hundred bytes can make 196605 devices,
// which takes a second to read, sort and save again under the sanitizers
// and only repeats what a few missing devices show. Such files are skipped.
bool CountsFarBeyondFile(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t missingShown = 16; // missing devices a group may still have
    constexpr std::uint16_t firstVersionWithLogOptions = 0x101;
    std::size_t at = TSite::BlockSize;
    if (size < at)
        return false;
    if ((data[0] | data[1] << 8) >= firstVersionWithLogOptions)
        at += 8; // LogInterval, LogFlags, LogReserved
    at += 2;     // the reserved word
    if (at + 2 > size)
        return false;
    const int items = std::int16_t(data[at] | data[at + 1] << 8); // units and their airspaces
    at += 2;
    for (int listed = 0; listed < items; listed += 1 + data[at - TUnit::RecordSize + 1]) {
        at += TUnit::RecordSize;
        if (at > size)
            return false;
    }
    for (int group = 0; group < 3; ++group) {
        if (at + 2 > size)
            return false;
        const std::size_t count = data[at] | data[at + 1] << 8;
        at += 2;
        if (count > (size - at) / TDev::RecordSize + missingShown)
            return true;
        at += count * TDev::RecordSize;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (CountsFarBeyondFile(data, size))
        return -1; // not added to the corpus
    TSiteExt site;
    (void)ReadSite(site, QuorvelFuzz::ByteArray(data, size));
    site.RebuildUnitTable();
    ShowSite(site);

    const QByteArray saved = WriteSite(site);
    TSite reopened;
    FUZZ_CHECK(ReadSite(reopened, saved));
    FUZZ_CHECK(WriteSite(reopened) == saved);
    return 0;
}
