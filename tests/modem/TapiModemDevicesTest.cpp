// Which serial ports the modem offers as devices, and how it names them.
#include "base/Exception.h"
#include "modem/TapiModem.h"
#include "serial/ModemPorts.h"
#include "settings/Properties.h"
#include "settings/RegIni.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Quorvel1;

namespace {

void WriteText(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// A /sys/class/tty look-alike: a UART port, a ttyS without a UART, a USB
// adapter with its names, a modem on ACM and a virtual console.
class FakeSysTty : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString root = folder.path();
        WriteText(tty("ttyS0/device/driver"), "");
        WriteText(tty("ttyS0/type"), "4\n");
        WriteText(tty("ttyS1/device/driver"), "");
        WriteText(tty("ttyS1/type"), "0\n");
        WriteText(root + "/usb/1-1/manufacturer", "FTDI\n");
        WriteText(root + "/usb/1-1/product", "FT232R USB UART\n");
        QDir().mkpath(root + "/usb/1-1/1-1:1.0");
        QDir().mkpath(tty("ttyUSB0"));
        QFile::link(root + "/usb/1-1/1-1:1.0", tty("ttyUSB0/device"));
        WriteText(tty("ttyACM0/device/interface"), "");
        QDir().mkpath(tty("tty0"));
    }

    QString tty(const QString& entry) const { return folder.path() + "/class/tty/" + entry; }
    QString sysClassTty() const { return folder.path() + "/class/tty"; }

    QuorvelTest::TempFolder folder;
};

} // namespace

TEST_F(FakeSysTty, SystemPortsAreThoseWithADeviceBehindThem)
{
    EXPECT_EQ(SystemSerialPorts(sysClassTty()), QStringList({"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyUSB0"}));
}

TEST_F(FakeSysTty, UsbPortIsShownWithItsManufacturerAndProduct)
{
    EXPECT_EQ(SerialPortDisplayName("/dev/ttyUSB0", sysClassTty()), "/dev/ttyUSB0 (FTDI FT232R USB UART)");
    EXPECT_EQ(SerialPortDisplayName("/dev/ttyS0", sysClassTty()), "/dev/ttyS0");
}

TEST(TapiModemDevices, PortsSettingListsTheDevicesInItsOrder)
{
    TRegIni store(TProperties::KeyPath);
    store.WriteString("Modems", "Ports", "/dev/ttyQ7, \"/dev/serial/by-id/usb-modem,1\"");
    TTapiModem modem;

    modem.Initialise();

    EXPECT_EQ(modem.DeviceCount, 2u);
    EXPECT_EQ(modem.DevicePorts(), QStringList({"/dev/ttyQ7", "/dev/serial/by-id/usb-modem,1"}));
    EXPECT_EQ(modem.DeviceNames, QStringList({"/dev/ttyQ7", "/dev/serial/by-id/usb-modem,1"}));
    store.EraseSection("Modems");
}

TEST(TapiModemDevices, NoPortsLeaveNoDevicesAndDialRefused)
{
    TTapiModem modem;

    modem.Initialise(QStringList());

    EXPECT_EQ(modem.DeviceCount, 0u);
    EXPECT_TRUE(modem.DeviceNames.isEmpty());
    EXPECT_THROW(modem.Dial("123"), Exception);
}
