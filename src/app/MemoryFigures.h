#pragma once
// The memory figures the About box shows: the program's own resident size,
// the machine's physical memory and swap, and the program's address space,
// as the kernel reports them under /proc.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace Quorvel1 {

struct TMemoryFigures {
    // Kilobytes; Unknown where the kernel's files did not tell.
    static constexpr qint64 Unknown = -1;

    qint64 ResidentKb = Unknown;  // the program's resident set (VmRSS)
    qint64 VirtualKb = Unknown;   // the program's address space in use (VmSize)
    qint64 TotalKb = Unknown;     // physical memory (MemTotal)
    qint64 FreeKb = Unknown;      // memory free for programs (MemAvailable, else MemFree)
    qint64 SwapTotalKb = Unknown; // SwapTotal
    qint64 SwapFreeKb = Unknown;  // SwapFree
    bool AddressUnlimited = false;       // the address-space limit is "unlimited"
    qint64 AddressLimitKb = Unknown;     // the soft limit of the address space (RLIMIT_AS)

    // Reads meminfo, self/status and self/limits under `procFolder`.
    static TMemoryFigures Read(const QString& procFolder = QStringLiteral("/proc"));
    // The figures from the texts of those three files; a file that is
    // empty leaves its figures Unknown.
    static TMemoryFigures Parse(const QByteArray& meminfo, const QByteArray& status,
                                const QByteArray& limits);

    // One line per figure: its label, a tab and the figure ("123456 KB",
    // "unlimited" or "unknown"), in the order "Memory in use", "Total
    // physical memory", "Free physical memory", "Paging file size", "Free
    // paging file", "User address space", "Free user memory".
    QStringList Lines() const;
    // The labels of Lines, in the same order.
    static QStringList Labels();
};

} // namespace Quorvel1
