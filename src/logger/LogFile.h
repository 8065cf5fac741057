#pragma once
// The log file: the logger image of one download, as bytes. All values are
// little-endian:
//
//   reserved header (41), logger header (12), status block bytes 0..30 (31),
//   control block (12), command block (6), newest entry PC time (4),
//   newest entry logger time (4), start time (4), configuration (C),
//   last values (2 x D), the whole ring buffer (B)
//
// and the file ends there. Serialising and parsing are pure functions over
// bytes; the file I/O (atomic replacement on save) lives with their callers.
// File names are the identity word, a letter, two digits and the extension:
// number 7 of identity 4660 is 4660A07.LOG.
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace Quorvel1 {

class TLog1;

constexpr std::size_t LogFileStatusBytes = 31; // the status block's last byte is not stored
constexpr std::size_t LogFileFixedSize = 114;  // everything before the configuration
// Numbers 0..2599 have the letters A..Z; beyond them the letter would leave
// the alphabet, so the name search stays within them.
constexpr std::uint16_t LogFileNumberLimit = 2600;

std::vector<std::uint8_t> SerialiseLogFile(const TLog1& log);
// Fills `log` from a file's bytes. False when the bytes are not a whole,
// valid log file (then `log` holds whatever was parsed so far).
bool ParseLogFile(std::span<const std::uint8_t> bytes, TLog1& log);

// "%u%c%02u." and the extension.
QString LogFileName(std::uint16_t identity, std::uint16_t number, const QString& extension);

// The first number from `start` whose file does not exist in `folder` (a
// folder with its trailing separator, or empty for the current folder),
// going round to 0 after the last lettered number; nothing when every
// number is taken. A start beyond the lettered numbers starts at 0.
std::optional<std::uint16_t> FreeLogFileNumber(const QString& folder, std::uint16_t identity,
                                               std::uint16_t start, const QString& extension);

} // namespace Quorvel1
