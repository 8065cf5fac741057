// The About box's memory figures from the kernel's /proc texts: which line
// gives which figure, the fall-backs of older kernels and unreadable files,
// and the address-space limit, limited or not.
#include "app/MemoryFigures.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QDir>

using Quorvel1::TMemoryFigures;

namespace {

const QByteArray MemInfo = "MemTotal:        8048576 kB\n"
                           "MemFree:          512000 kB\n"
                           "MemAvailable:    4000000 kB\n"
                           "SwapTotal:       2097148 kB\n"
                           "SwapFree:        2000000 kB\n";
const QByteArray Status = "Name:\tquorvel\nVmSize:\t  300000 kB\nVmRSS:\t   45000 kB\n";
const QByteArray LimitsHeader = "Limit                     Soft Limit           Hard Limit           Units     \n";

QByteArray AddressLimit(const char* soft)
{
    return LimitsHeader + "Max address space         " + soft + "            unlimited            bytes     \n";
}

struct LinesCase {
    const char* name;
    QByteArray meminfo;
    QByteArray status;
    QByteArray limits;
    QStringList figures; // one per label, in order
};

class MemoryFiguresLines : public ::testing::TestWithParam<LinesCase> {};

} // namespace

TEST_P(MemoryFiguresLines, EachLabelGetsItsFigure)
{
    const LinesCase& c = GetParam();
    const QStringList lines = TMemoryFigures::Parse(c.meminfo, c.status, c.limits).Lines();
    const QStringList labels = TMemoryFigures::Labels();
    ASSERT_EQ(lines.size(), labels.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], labels[i] + "\t" + c.figures[i]) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Proc, MemoryFiguresLines,
    ::testing::Values(
        LinesCase{"UnlimitedAddressSpace", MemInfo, Status, AddressLimit("unlimited"),
                  {"45000 KB", "8048576 KB", "4000000 KB", "2097148 KB", "2000000 KB", "unlimited",
                   "unlimited"}},
        // 1 GiB limit: 1048576 KB, of which VmSize uses 300000.
        LinesCase{"LimitedAddressSpace", MemInfo, Status, AddressLimit("1073741824"),
                  {"45000 KB", "8048576 KB", "4000000 KB", "2097148 KB", "2000000 KB", "1048576 KB",
                   "748576 KB"}},
        LinesCase{"KernelWithoutMemAvailable", "MemTotal: 1000 kB\nMemFree: 250 kB\n", Status,
                  AddressLimit("unlimited"),
                  {"45000 KB", "1000 KB", "250 KB", "unknown", "unknown", "unlimited", "unlimited"}},
        LinesCase{"NothingReadable", {}, {}, {},
                  {"unknown", "unknown", "unknown", "unknown", "unknown", "unknown", "unknown"}}),
    [](const ::testing::TestParamInfo<LinesCase>& info) { return info.param.name; });

TEST(MemoryFigures, LabelsAreTheAboutBoxsOwn)
{
    EXPECT_EQ(TMemoryFigures::Labels(),
              QStringList({"Memory in use", "Total physical memory", "Free physical memory",
                           "Paging file size", "Free paging file", "User address space",
                           "Free user memory"}));
}

TEST(MemoryFigures, ReadTakesTheThreeFilesOfTheFolder)
{
    QuorvelTest::TempFolder proc;
    ASSERT_TRUE(QDir(proc.path()).mkdir("self"));
    ASSERT_TRUE(proc.WriteBytes("meminfo", MemInfo));
    ASSERT_TRUE(proc.WriteBytes("self/status", Status));
    ASSERT_TRUE(proc.WriteBytes("self/limits", AddressLimit("2048")));
    const TMemoryFigures figures = TMemoryFigures::Read(proc.path());
    EXPECT_EQ(figures.ResidentKb, 45000);
    EXPECT_EQ(figures.TotalKb, 8048576);
    EXPECT_EQ(figures.AddressLimitKb, 2);
    EXPECT_FALSE(figures.AddressUnlimited);
}
