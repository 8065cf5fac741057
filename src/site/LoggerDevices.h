#pragma once
// What the site needs from the logger model to attach its devices to the
// logger's device table: the logged device count and the table's keys.
#include "site/DeviceKey.h"

namespace Quorvel1 {

class TLoggerDevices {
public:
    virtual ~TLoggerDevices() = default;

    // Number of devices in each log entry; 0 when no logger is open.
    virtual int LoggedDeviceCount() const = 0;
    // Index of `key` in the logger's device list, or -1.
    virtual int FindDevice(const TDeviceKey& key) = 0;
    // The key at `index` of the device list; a zero key (type byte 0, which
    // makes no device) when the list holds no key there.
    virtual TDeviceKey GetDevice(int index) = 0;
};

} // namespace Quorvel1
