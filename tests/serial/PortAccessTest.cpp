// What the user is told about a serial port they may not open: a lack of
// permission names the group that owns the device; other failures, and a
// port that may be opened, say nothing.
#include "serial/ModemPorts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Quorvel1;

namespace {

QString GroupOf(const QString& path)
{
    struct stat info {};
    if (::stat(path.toLocal8Bit().constData(), &info) != 0)
        return QString();
    const group* owner = ::getgrgid(info.st_gid);
    return owner ? QString::fromLocal8Bit(owner->gr_name) : QString::number(info.st_gid);
}

} // namespace

TEST(PortAccess, PermissionFailureNamesTheGroupToJoin)
{
    QuorvelTest::TempFolder folder;
    ASSERT_TRUE(folder.WriteBytes("ttyQ0", {}));
    const QString port = folder.file("ttyQ0");
    const QString group = GroupOf(port);
    ASSERT_FALSE(group.isEmpty());
    for (int error : {EACCES, EPERM}) {
        const QString text = SerialPortPermissionText(port, error);
        EXPECT_TRUE(text.contains(port)) << text.toStdString();
        EXPECT_TRUE(text.contains("'" + group + "'")) << text.toStdString();
        EXPECT_TRUE(text.contains("usermod -aG " + group)) << text.toStdString();
    }
}

TEST(PortAccess, OtherFailuresAndOpenablePortsSayNothing)
{
    QuorvelTest::TempFolder folder;
    ASSERT_TRUE(folder.WriteBytes("ttyQ0", {}));
    EXPECT_EQ(SerialPortPermissionText(folder.file("ttyQ0"), ENOENT), "");
    EXPECT_EQ(SerialPortPermissionText(folder.file("ttyQ0"), EBUSY), "");
    EXPECT_EQ(SerialPortAccessProblem(folder.file("ttyQ0")), "");
    EXPECT_EQ(SerialPortAccessProblem(folder.file("missing")), "");
}

TEST(PortAccess, UnreadablePortIsToldUnlessTheUserMayOpenAnything)
{
    QuorvelTest::TempFolder folder;
    ASSERT_TRUE(folder.WriteBytes("ttyQ1", {}));
    const QString port = folder.file("ttyQ1");
    ASSERT_EQ(::chmod(port.toLocal8Bit().constData(), 0), 0);
    const QString text = SerialPortAccessProblem(port);
    // The superuser may open it all the same.
    if (::geteuid() == 0)
        EXPECT_EQ(text, "");
    else
        EXPECT_TRUE(text.contains("'" + GroupOf(port) + "'")) << text.toStdString();
}
