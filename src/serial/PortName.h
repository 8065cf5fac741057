#pragma once
// The device a serial port name stands for. Settings made for Windows name
// their ports "COM1", "COM2", ... (the default "LocalPort" is "COM1"); here
// those are the ports the system numbers from 0, /dev/ttyS0 upwards. The
// stored names are left as they are and mapped only where a port is opened.
#include <QString>

namespace Pelk {

// "COMn" in any case, n a decimal number from 1, gives /dev/ttyS(n-1); any
// other text ("COM0", "COMx", "/dev/ttyUSB0", a pseudo-terminal) is a device
// path already and comes back unchanged.
QString PortDevicePath(const QString& portName);

} // namespace Pelk
