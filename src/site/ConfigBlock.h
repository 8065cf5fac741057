#pragma once
// A unit's config block: the named EE addresses of its application, read from
// the application's settings-address file "<program folder>/st/<app>.st",
// where <app> is the application identifier as "%03u-%03u" (high byte, low
// byte), for example "012-003.st". The file's first line holds the
// application text and the name of the ADF file that describes the settings;
// each further line holds one EE address and its name, as comma text:
//
//   012-003,FRIDGE12
//   12,TRIPFLAGS
//   40,SETPOINT1
//
// A missing or malformed file gives an empty block, in which every lookup
// reports the item absent.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

namespace Quorvel1 {

class TConfigItem {
public:
    explicit TConfigItem(std::int16_t address) : Address(address) {}

    std::int16_t Address;
};

class TConfigBlock {
public:
    // Loads the settings-address file of `appId` at once.
    explicit TConfigBlock(std::uint16_t appId);
    // Takes the lines of a settings-address file of `appId`.
    TConfigBlock(std::uint16_t appId, const QStringList& lines);

    TConfigBlock(const TConfigBlock&) = delete;
    TConfigBlock& operator=(const TConfigBlock&) = delete;

    static QString SettingsAddressPath(std::uint16_t appId);

    // Name lookups ignore letter case; with repeated names the first counts.
    TConfigItem* ItemByName(const QString& name) const;
    // The item's address, or -1 without an item of that name. Callers take a
    // negative address for an absent item.
    std::int16_t AddressByName(const QString& name) const;

    // Fail with "Invalid ConfigItem index: <index>" outside 0..Count()-1.
    TConfigItem& Item(int index) const;
    std::int16_t Address(int index) const;
    QString Name(int index) const;
    int Count() const { return static_cast<int>(items_.size()); }

    std::uint16_t AppId() const { return appId_; }
    // Empty until the file's first line names the ADF file.
    const QString& AdfName() const { return adfName_; }
    // The largest address read; 0 without items.
    std::int16_t HighestAddress() const { return highestAddress_; }

private:
    struct Entry {
        QString Name;
        std::unique_ptr<TConfigItem> Item;
    };

    bool TakeLines(const QStringList& lines);
    void TakeItemLine(const QString& line);
    const Entry& EntryAt(int index) const;

    std::uint16_t appId_;
    std::vector<Entry> items_;
    QString adfName_;
    std::int16_t highestAddress_ = 0;
};

// The application identifier as the files name it: "%03u-%03u" of its high
// and low byte, 0x0C03 giving "012-003".
QString ApplicationText(std::uint16_t appId);

} // namespace Quorvel1
