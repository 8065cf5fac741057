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

} // namespace Quorvel1
