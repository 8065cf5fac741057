#pragma once
// The link's time-out list, the site's "ComTimeouts" text: up to six
// milliseconds values in a fixed order, separated by commas or blanks, each
// item optionally in double quotes. Missing (or empty) items keep their
// defaults; items beyond the sixth are ignored.
#include <QString>

#include <cstdint>

namespace Pelk {

struct TTimeoutList {
    uint16_t ByteTime = 10;
    uint16_t OpBaseTimeout = 2000;
    uint16_t ReadExtraTimeout = 500;
    uint16_t WriteTimeout = 500;
    uint16_t LanTimeout = 3000;
    uint16_t ResetTimeout = 5000;
};

// Raises Quorvel1::Exception for an item that is not a decimal integer, or
// one outside 0..65535 (a 16-bit field would silently wrap it).
TTimeoutList ParseTimeoutList(const QString& text);

} // namespace Pelk
