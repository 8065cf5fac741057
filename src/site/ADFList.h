#pragma once
// A unit's settings as its application's definition (ADF) file describes
// them, in file order, bound to the unit's config block (for addresses) and
// EE image (for values). A definition file is text, one setting a line, as
// comma text:
//
//   ; comment
//   STBYTESET,Fan,"Fan speed",012-001,012-009,FANSPEED,B,1,0,100,0," %"
//   STWORDSET,SetPt,"Set point",,,SETPOINT1,W,1,-400,400,-1,C
//   STBYTEPICK,Mode,,,,MODE,B,1,0,5,0,,"0=Off,4=Low,High"
//
// The class keyword (STBYTESET, STWORDSET, STBYTEPICK, STBYTEMASK) is
// followed by name, description, lowest and highest application, config item
// name, type letter, level mask (hex), minimum, maximum, exponent, units,
// flag and the options.
#include "site/ADFSettings.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

namespace Quorvel1 {

class TConfigBlock;
class TEEBlock;

class TADFList {
public:
    // Either block may be missing: without a config block every setting is
    // without an address; without an image every byte reads 0.
    TADFList(const TConfigBlock* configBlock, TEEBlock* eeBlock);
    TADFList(const TADFList&) = delete;
    TADFList& operator=(const TADFList&) = delete;

    int Count() const { return int(settings_.size()); }
    TADFBase& Item(int index) const { return *settings_.at(std::size_t(index)); }
    void Add(std::unique_ptr<TADFBase> setting) { settings_.push_back(std::move(setting)); }

    // The EE address of a config item; negative when the block has none.
    int AddressOf(const QString& configItem) const;
    // The EE image as the settings use it; outside the image a byte reads 0,
    // has state 0 and is not stored.
    std::uint8_t GetByte(int address) const;
    void SetByte(int address, std::uint8_t value);
    std::uint8_t ByteState(int address) const;

    const TConfigBlock* ConfigBlock() const { return configBlock_; }
    TEEBlock* EEBlock() const { return eeBlock_; }

    std::uint16_t AppId = 0;

private:
    const TConfigBlock* configBlock_;
    TEEBlock* eeBlock_;
    std::vector<std::unique_ptr<TADFBase>> settings_;
};

// A definition file read: the settings of its good lines, and one message
// per bad line as "<path>, Line <n>: <error>" (n counted from 0).
struct TADFLoad {
    std::unique_ptr<TADFList> List;
    QStringList Errors;
};

// The settings of the file's lines; a pure function of the text.
TADFLoad ParseADF(const QStringList& lines, const QString& path, const TConfigBlock* configBlock,
                  TEEBlock* eeBlock);
// Reads and parses the file; a missing or unreadable file gives an empty
// list and no message.
TADFLoad LoadADF(const QString& path, const TConfigBlock* configBlock, TEEBlock* eeBlock);

// Load errors as the user sees them: the first `shown` messages, then how
// many more there were.
QStringList ADFErrorsToShow(const QStringList& errors, int shown = 3);

// A definition name as a settings-address file gives it, usable as a file
// name: not empty, no folder separators, no "..".
bool IsSafeDefinitionName(const QString& name);

} // namespace Quorvel1
