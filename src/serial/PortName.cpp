#include "serial/PortName.h"

namespace Pelk {

namespace {

const QString WindowsPortPrefix = QStringLiteral("COM");
const QString NumberedPortPrefix = QStringLiteral("/dev/ttyS");

} // namespace

QString PortDevicePath(const QString& portName)
{
    if (!portName.startsWith(WindowsPortPrefix, Qt::CaseInsensitive))
        return portName;
    const QString number = portName.mid(WindowsPortPrefix.size());
    if (number.isEmpty())
        return portName;
    for (const QChar c : number) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return portName;
    }
    bool ok = false;
    const uint n = number.toUInt(&ok);
    if (!ok || n == 0)
        return portName;
    return NumberedPortPrefix + QString::number(n - 1);
}

} // namespace Pelk
