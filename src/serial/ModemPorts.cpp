#include "serial/ModemPorts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Quorvel1 {

namespace {

QString readAttribute(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll()).trimmed();
}

bool hasDevice(const QString& sysClassTty, const QString& name)
{
    const QString entry = sysClassTty + "/" + name;
    if (!QFileInfo::exists(entry + "/device"))
        return false;
    // The 8250 driver registers ports with no UART behind them as type 0.
    if (name.startsWith("ttyS"))
        return readAttribute(entry + "/type").toInt() != 0;
    return true;
}

} // namespace

QStringList SystemSerialPorts(const QString& sysClassTty)
{
    const QStringList names = QDir(sysClassTty).entryList(
        {"ttyS*", "ttyUSB*", "ttyACM*"}, QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot,
        QDir::Name);
    QStringList ports;
    for (const QString& name : names) {
        if (hasDevice(sysClassTty, name))
            ports << "/dev/" + name;
    }
    return ports;
}

QString SerialPortDisplayName(const QString& path, const QString& sysClassTty)
{
    // A USB serial port's device is the interface; the USB device above it
    // carries the names.
    const QString usbDevice = sysClassTty + "/" + QFileInfo(path).fileName() + "/device/..";
    const QString description =
        (readAttribute(usbDevice + "/manufacturer") + " " + readAttribute(usbDevice + "/product")).trimmed();
    return description.isEmpty() ? path : path + " (" + description + ")";
}

} // namespace Quorvel1
