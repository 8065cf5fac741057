// The site's ini file "<site>.ini": the ini text itself, and the site's
// values in it (the connection settings and time-out list of section
// "Site", the units' identities, the site map's labels). Any text reads
// without fault and writes back byte for byte; an edit changes the one value
// it sets and no other.
#include "FuzzInput.h"

#include "comms/TimeoutList.h"
#include "settings/IniExt.h"
#include "settings/IniText.h"
#include "site/SiteMapFile.h"

#include <utility>
#include <vector>

namespace {

using namespace Quorvel1;

// The ini file's store over a text in memory: the same reading as the
// site's file store without a file per read.
class FuzzIniStore final : public TIniExt {
public:
    explicit FuzzIniStore(const IniText& text) : text_(text) {}

    void Open(const QString&) override {}
    void Close() override {}
    bool IsOpen() const override { return true; }
    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const override
    {
        return text_.Value(section, key).value_or(defaultValue);
    }
    int32_t ReadInteger(const QString& section, const QString& key, int32_t defaultValue) const override
    {
        return IntegerOr(ReadString(section, key, QString()), defaultValue);
    }
    void WriteInteger(const QString&, const QString&, int32_t) override {}
    void WriteString(const QString&, const QString&, const QString&) override {}
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const override
    {
        return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
    }
    void WriteBool(const QString&, const QString&, bool) override {}
    void ReadSection(const QString& section, QStringList& list) const override { list = text_.Keys(section); }
    void ReadSections(QStringList& list) const override { list = text_.Sections(); }
    void ReadSectionValues(const QString&, QStringList& list) const override { list.clear(); }
    void EraseSection(const QString&) override {}

private:
    const IniText& text_;
};

using Entries = std::vector<std::pair<std::pair<QString, QString>, QString>>;

// Every section's every key with its value, as lookups find them.
Entries AllValues(const IniText& text)
{
    Entries entries;
    for (const QString& section : text.Sections()) {
        for (const QString& key : text.Keys(section)) {
            const std::optional<QString> value = text.Value(section, key);
            FUZZ_CHECK(value.has_value());
            entries.push_back({{section, key}, *value});
        }
    }
    return entries;
}

void ReadSiteValues(const FuzzIniStore& store)
{
    const QString site = QStringLiteral("Site");
    (void)store.ReadString(site, QStringLiteral("LastLog"), QString());
    (void)store.ReadInteger(site, QStringLiteral("Procid"), 0);
    (void)store.ReadInteger(site, QStringLiteral("ComSpeed"), -1);
    (void)store.ReadInteger(site, QStringLiteral("ModemDev"), -1);
    QuorvelFuzz::IgnoringOwnErrors(
        [&] { (void)Pelk::ParseTimeoutList(store.ReadString(site, QStringLiteral("ComTimeouts"), QString())); });
    for (int n = 1; n <= 30; ++n) {
        const QString unit = QStringLiteral("Unit") + QString::number(n);
        (void)store.ReadInteger(unit, QStringLiteral("ProcID"), 0);
        (void)store.ReadInteger(unit, QStringLiteral("RomID"), 0);
    }
    const TSiteMapDescription map = ReadSiteMap(store);
    (void)ResolveMapPicturePath(map.Image, QStringLiteral("/nonexistent-site-folder"));
    for (const TMapEntry& entry : map.Entries) {
        const int unit = MapUnitNumber(entry.Name);
        FUZZ_CHECK(unit >= 0 && unit <= 30);
        (void)MapPlace(entry.X, MapScale(640, 1024));
        (void)MapPlace(entry.Y, MapScale(480, 0));
    }
}

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QuorvelFuzz::ByteArray(data, size);
    IniText text = IniText::Parse(bytes);
    FUZZ_CHECK(text.Serialise() == bytes);
    const Entries before = AllValues(text);
    ReadSiteValues(FuzzIniStore(text));

    // The site saves the last log's path: that value changes, no other.
    const QString path = QStringLiteral("/logs/1234A07.LOG");
    text.SetValue(QStringLiteral("Site"), QStringLiteral("LastLog"), path);
    const IniText saved = IniText::Parse(text.Serialise());
    FUZZ_CHECK(saved.Value(QStringLiteral("Site"), QStringLiteral("LastLog")) == path);
    for (const auto& [name, value] : before) {
        if (SameName(name.first, QStringLiteral("Site")) && SameName(name.second, QStringLiteral("LastLog")))
            continue;
        FUZZ_CHECK(saved.Value(name.first, name.second) == value);
    }
    // A unit number without a unit loses its section, and only that.
    text.EraseSection(QStringLiteral("Unit1"));
    const IniText erased = IniText::Parse(text.Serialise());
    FUZZ_CHECK(!erased.Sections().contains(QStringLiteral("Unit1"), Qt::CaseInsensitive));
    FUZZ_CHECK(erased.Value(QStringLiteral("Site"), QStringLiteral("LastLog")) == path);
    for (const auto& [name, value] : before) {
        if (SameName(name.first, QStringLiteral("Unit1"))
            || (SameName(name.first, QStringLiteral("Site")) && SameName(name.second, QStringLiteral("LastLog"))))
            continue;
        FUZZ_CHECK(erased.Value(name.first, name.second) == value);
    }
    return 0;
}
