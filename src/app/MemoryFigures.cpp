#include "app/MemoryFigures.h"

#include <QFile>
#include <QHash>

namespace Quorvel1 {

namespace {

const QString UnknownText = QStringLiteral("unknown");
const QString UnlimitedText = QStringLiteral("unlimited");
const QByteArray AddressSpaceLimit = "Max address space";

QByteArray ReadProcFile(const QString& path)
{
    // Files under /proc report a size of 0: read until the end instead.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The "Name:   123 kB" lines of meminfo and status, in kilobytes by name.
QHash<QByteArray, qint64> KilobyteFields(const QByteArray& text)
{
    QHash<QByteArray, qint64> fields;
    for (const QByteArray& line : text.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QList<QByteArray> words = line.mid(colon + 1).simplified().split(' ');
        bool ok = false;
        const qint64 value = words.value(0).toLongLong(&ok);
        if (ok)
            fields.insert(line.left(colon), value);
    }
    return fields;
}

qint64 FieldKb(const QHash<QByteArray, qint64>& fields, const char* name)
{
    return fields.value(name, TMemoryFigures::Unknown);
}

QString KilobyteText(qint64 kilobytes)
{
    return kilobytes < 0 ? UnknownText : QString::number(kilobytes) + QStringLiteral(" KB");
}

} // namespace

TMemoryFigures TMemoryFigures::Read(const QString& procFolder)
{
    return Parse(ReadProcFile(procFolder + QStringLiteral("/meminfo")),
                 ReadProcFile(procFolder + QStringLiteral("/self/status")),
                 ReadProcFile(procFolder + QStringLiteral("/self/limits")));
}

TMemoryFigures TMemoryFigures::Parse(const QByteArray& meminfo, const QByteArray& status,
                                     const QByteArray& limits)
{
    TMemoryFigures figures;
    const QHash<QByteArray, qint64> machine = KilobyteFields(meminfo);
    figures.TotalKb = FieldKb(machine, "MemTotal");
    // Older kernels have no MemAvailable; their free memory is MemFree.
    figures.FreeKb = machine.contains("MemAvailable") ? FieldKb(machine, "MemAvailable")
                                                      : FieldKb(machine, "MemFree");
    figures.SwapTotalKb = FieldKb(machine, "SwapTotal");
    figures.SwapFreeKb = FieldKb(machine, "SwapFree");

    const QHash<QByteArray, qint64> process = KilobyteFields(status);
    figures.ResidentKb = FieldKb(process, "VmRSS");
    figures.VirtualKb = FieldKb(process, "VmSize");

    // "Max address space   <soft>   <hard>   bytes"
    for (const QByteArray& line : limits.split('\n')) {
        if (!line.startsWith(AddressSpaceLimit))
            continue;
        const QByteArray soft = line.mid(AddressSpaceLimit.size()).simplified().split(' ').value(0);
        bool ok = false;
        const qint64 bytes = soft.toLongLong(&ok);
        if (soft == UnlimitedText.toLatin1())
            figures.AddressUnlimited = true;
        else if (ok)
            figures.AddressLimitKb = bytes / 1024;
    }
    return figures;
}

QStringList TMemoryFigures::Labels()
{
    return {QStringLiteral("Memory in use"),    QStringLiteral("Total physical memory"),
            QStringLiteral("Free physical memory"), QStringLiteral("Paging file size"),
            QStringLiteral("Free paging file"), QStringLiteral("User address space"),
            QStringLiteral("Free user memory")};
}

QStringList TMemoryFigures::Lines() const
{
    QString addressSpace = KilobyteText(AddressLimitKb);
    QString freeAddressSpace = UnknownText;
    if (AddressUnlimited) {
        addressSpace = UnlimitedText;
        freeAddressSpace = UnlimitedText;
    } else if (AddressLimitKb >= 0 && VirtualKb >= 0) {
        freeAddressSpace = KilobyteText(qMax<qint64>(0, AddressLimitKb - VirtualKb));
    }
    const QStringList figures = {KilobyteText(ResidentKb),  KilobyteText(TotalKb),
                                 KilobyteText(FreeKb),      KilobyteText(SwapTotalKb),
                                 KilobyteText(SwapFreeKb),  addressSpace,
                                 freeAddressSpace};
    const QStringList labels = Labels();
    QStringList lines;
    for (qsizetype i = 0; i < labels.size(); ++i)
        lines << labels[i] + QLatin1Char('\t') + figures[i];
    return lines;
}

} // namespace Quorvel1
