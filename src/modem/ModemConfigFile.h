#pragma once
// The modem's device configuration and the file it is kept in.
//
// The configuration travels as a telephony variable-length string structure
// of DevConfigSize bytes: six little-endian uint32 words (total size, needed
// size, used size, string format, string size, string offset) and then the
// data. The block at the string offset is our own text, one "key=value" a
// line: Init, Dial and Speed.
//
// The file "ModemCfg<device>.dat": the device index (uint32), then the
// structure from its start for its needed size; 4 + needed size bytes.
#include <QByteArray>
#include <QString>

#include <cstdint>

namespace Quorvel1 {

struct TModemConfig {
    QString Init = "ATZ";  // sent first; the modem must answer OK
    QString Dial = "ATDT"; // put before the number
    uint32_t Speed = 0;    // port speed; 0 = the site's link speed

    bool operator==(const TModemConfig&) const = default;
};

namespace ModemConfigFormat {
constexpr uint32_t DevConfigSize = 3024;
constexpr uint32_t HeaderSize = 24;
constexpr uint32_t DeviceFieldSize = 4;
constexpr uint32_t StringFormatAscii = 1;
constexpr const char* TooLargeText = "TAPI: Device config too large";
constexpr const char* WrongModemText = "TAPI: Config file for wrong modem";
constexpr const char* ReadFailedText = "TAPI: Couldn't read config file";
constexpr const char* SetFailedText = "TAPI: Couldn't set config for device";
} // namespace ModemConfigFormat

// The text block of `config`.
QByteArray FormatModemConfigBlock(const TModemConfig& config);
// Reads a text block; unknown keys are ignored, missing ones keep their
// defaults, a Speed that is not a number counts as 0.
TModemConfig ParseModemConfigBlock(const QByteArray& block);

// The DevConfigSize-byte structure holding `block`; raises
// Quorvel1::Exception "TAPI: Device config too large" when it does not fit.
QByteArray BuildDevConfig(const QByteArray& block);
// The block inside a structure; raises "TAPI: Couldn't set config for
// device" when its header points outside the structure.
QByteArray DevConfigBlock(const QByteArray& devConfig);
// The needed-size word of a structure's header.
uint32_t DevConfigNeededSize(const QByteArray& devConfig);

// The file image: `device`, then `devConfig` for its needed size.
QByteArray FormatModemConfigFile(uint32_t device, const QByteArray& devConfig);
// The structure from a file image written for `device`; raises "TAPI:
// Config file for wrong modem", "TAPI: Couldn't read config file" (short
// file) or "TAPI: Device config too large" (needed size above the buffer).
QByteArray ParseModemConfigFile(const QByteArray& file, uint32_t device);

} // namespace Quorvel1
