#include "serial/ModemPorts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

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

QString SerialPortPermissionText(const QString& path, int error)
{
    if (error != EACCES && error != EPERM)
        return QString();
    struct stat info {};
    if (::stat(path.toLocal8Bit().constData(), &info) != 0)
        return QString("No permission to open %1.").arg(path);
    const group* owner = ::getgrgid(info.st_gid);
    const QString groupName =
        owner ? QString::fromLocal8Bit(owner->gr_name) : QString::number(info.st_gid);
    return QString("No permission to open %1: join the group '%2' that owns it "
                   "(usermod -aG %2 <user>) and log in again.")
        .arg(path, groupName);
}

QString SerialPortAccessProblem(const QString& path)
{
    // The effective user decides, as it does for the open itself.
    if (::faccessat(AT_FDCWD, path.toLocal8Bit().constData(), R_OK | W_OK, AT_EACCESS) == 0)
        return QString();
    return SerialPortPermissionText(path, errno);
}

} // namespace Quorvel1
