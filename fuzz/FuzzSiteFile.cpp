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
    for (const auto& device : site.Devices) {
        (void)device->NameText();
        (void)device->MakeName();
        (void)device->ValueText(0);
        (void)device->ValueText(0x8000);
        (void)device->ValueText(0x7FFF);
        FUZZ_CHECK(site.FindByKey(device->DeviceKey()) >= 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
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
