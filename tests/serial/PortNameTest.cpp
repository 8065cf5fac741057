// Which device a "LocalPort" name opens: Windows names of the numbered
// ports, and paths as they are.
#include "serial/PortName.h"
#include "serial/SerialPort.h"

#include <gtest/gtest.h>

TEST(PortName, WindowsNamesStandForTheNumberedPortsAndOtherTextIsAPath)
{
    const struct {
        const char* Name;
        const char* Device;
    } rows[] = {
        {"COM1", "/dev/ttyS0"},
        {"COM4", "/dev/ttyS3"},
        {"com12", "/dev/ttyS11"},
        {"Com2", "/dev/ttyS1"},
        {"/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"/dev/pts/7", "/dev/pts/7"},
        {"COM0", "COM0"},
        {"COMx", "COMx"},
        {"COM", "COM"},
        {"COM1x", "COM1x"},
        {"COM-1", "COM-1"},
        {"COM 1", "COM 1"},
        {"COM99999999999", "COM99999999999"},
        {"", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Pelk::PortDevicePath(row.Name), row.Device) << row.Name;
}

TEST(PortName, OpeningAWindowsNameOpensTheDeviceItStandsFor)
{
    try {
        Pelk::TSerialPort::Open("com200", 4800);
        FAIL() << "opened a port that does not exist";
    } catch (const Pelk::ESerialOpen& error) {
        EXPECT_TRUE(error.Detail().startsWith("/dev/ttyS199: ")) << error.Detail().toStdString();
    }
}
