#include "comms/TimeoutList.h"

#include "site/Exception.h"

#include <QStringList>

#include <array>

namespace Pelk {

namespace {

bool isBlank(QChar c)
{
    return c.unicode() <= ' ';
}

// Comma text: items separated by a comma or by blanks; an item in double
// quotes may hold either, with "" standing for one quote inside it.
QStringList splitCommaText(const QString& text)
{
    QStringList items;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
        while (i < n && isBlank(text[i]))
            ++i;
    };
    skipBlanks();
    while (i < n) {
        QString item;
        if (text[i] == '"') {
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            const qsizetype start = i;
            while (i < n && !isBlank(text[i]) && text[i] != ',')
                ++i;
            item = text.mid(start, i - start);
        }
        items << item;
        skipBlanks();
        if (i < n && text[i] == ',') {
            ++i;
            if (i == n)
                items << QString(); // a trailing comma ends with an empty item
            skipBlanks();
        }
    }
    return items;
}

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
    const QStringList items = splitCommaText(text);
    for (qsizetype i = 0; i < items.size() && i < qsizetype(fields.size()); ++i) {
        if (!items[i].isEmpty())
            *fields[size_t(i)] = parseMilliseconds(items[i]);
    }
    return list;
}

} // namespace Pelk
