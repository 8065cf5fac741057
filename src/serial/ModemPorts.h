#pragma once
// The serial ports a modem may sit on, as the system lists them under
// /sys/class/tty, and the description it has for each.
#include <QString>
#include <QStringList>

namespace Quorvel1 {

// The device paths of the serial ports with a device behind them: ttyS
// ports with a real UART (their "type" is not 0), every ttyUSB and ttyACM;
// sorted by name.
QStringList SystemSerialPorts(const QString& sysClassTty = "/sys/class/tty");

// "path" alone, or "path (manufacturer product)" when the system knows the
// port's USB device.
QString SerialPortDisplayName(const QString& path, const QString& sysClassTty = "/sys/class/tty");

// What keeps this user from opening the device at `path` for reading and
// writing, in words to act on: for a lack of permission, the group that owns
// the device, which the user must join. Empty when the device may be opened,
// and when it is missing (the open itself reports that).
QString SerialPortAccessProblem(const QString& path);
// The same for an access failure `error` (an errno value) already met:
// empty unless it is a lack of permission.
QString SerialPortPermissionText(const QString& path, int error);

} // namespace Quorvel1
