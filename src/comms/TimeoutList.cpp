#include "comms/TimeoutList.h"

#include "base/CommaText.h"
#include "base/Exception.h"

#include <QStringList>

#include <array>

namespace Pelk {

namespace {

uint16_t parseMilliseconds(const QString& item)
{
    bool ok = false;
    const qlonglong value = item.toLongLong(&ok, 10);
    if (!ok)
        throw Quorvel1::Exception(QString("'%1' is not a valid integer value").arg(item));
    if (value < 0 || value > 0xFFFF)
        throw Quorvel1::Exception(
            QString("'%1' is out of range for a link time-out (0 to 65535 ms)").arg(item));
    return uint16_t(value);
}

} // namespace

TTimeoutList ParseTimeoutList(const QString& text)
{
    TTimeoutList list;
    const std::array<uint16_t*, 6> fields = {&list.ByteTime,         &list.OpBaseTimeout,
                                             &list.ReadExtraTimeout, &list.WriteTimeout,
                                             &list.LanTimeout,       &list.ResetTimeout};
    const QStringList items = Quorvel1::SplitCommaText(text);
    for (qsizetype i = 0; i < items.size() && i < qsizetype(fields.size()); ++i) {
        if (!items[i].isEmpty())
            *fields[size_t(i)] = parseMilliseconds(items[i]);
    }
    return list;
}

} // namespace Pelk
