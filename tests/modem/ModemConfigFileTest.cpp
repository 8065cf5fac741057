// The modem configuration file byte for byte, and the files it refuses.
#include "base/Exception.h"
#include "modem/TapiModem.h"
#include "support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Quorvel1;

namespace {

QByteArray Word(uint32_t value)
{
    QByteArray bytes;
    for (int i = 0; i < 4; ++i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
    return bytes;
}

// A file as the layout has it: device, six header words, the block.
QByteArray ConfigFile(uint32_t device, const QByteArray& block, uint32_t neededExtra = 0)
{
    const uint32_t needed = 24 + uint32_t(block.size()) + neededExtra;
    return Word(device) + Word(3024) + Word(needed) + Word(needed) + Word(1) + Word(uint32_t(block.size())) +
           Word(24) + block;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Exception& error) {
        return error.Message();
    }
    return QString();
}

class ModemConfigFileTest : public ::testing::Test {
protected:
    void SetUp() override { modem.Initialise({"/dev/modem-a", "/dev/modem-b"}); }

    QuorvelTest::TempFolder folder;
    TTapiModem modem;
};

} // namespace

TEST_F(ModemConfigFileTest, DefaultConfigurationIsWrittenAsDeviceHeaderAndBlock)
{
    modem.SetDevice(1);
    const QString path = folder.file("ModemCfg1.dat");

    modem.WriteConfigFile(path);

    const QByteArray expected = QByteArray::fromHex("01000000"   // device 1
                                                    "d00b0000"   // total size 3024
                                                    "33000000"   // needed size 51
                                                    "33000000"   // used size 51
                                                    "01000000"   // string format
                                                    "1b000000"   // string size 27
                                                    "18000000")  // string offset 24
                                + "Init=ATZ\nDial=ATDT\nSpeed=0\n";
    EXPECT_EQ(ReadFile(path), expected);
}

TEST_F(ModemConfigFileTest, ReadingAFileGivesTheDeviceItsBlock)
{
    const QString path = folder.file("ModemCfg0.dat");
    WriteFile(path, ConfigFile(0, "Init=AT&F E0\nDial=ATDP\nSpeed=19200\n"));

    modem.ReadConfigFile(path);

    EXPECT_EQ(modem.DeviceConfig(0).Init, "AT&F E0");
    EXPECT_EQ(modem.DeviceConfig(0).Dial, "ATDP");
    EXPECT_EQ(modem.DeviceConfig(0).Speed, 19200u);
    EXPECT_EQ(modem.DeviceConfig(1), TModemConfig());
}

TEST_F(ModemConfigFileTest, FileOfAnotherDeviceIsRefused)
{
    const QString path = folder.file("ModemCfg1.dat");
    WriteFile(path, ConfigFile(1, "Init=ATQ0\n"));

    EXPECT_EQ(MessageOf([&] { modem.ReadConfigFile(path); }), "TAPI: Config file for wrong modem");
    EXPECT_EQ(modem.DeviceConfig(0), TModemConfig());
}

TEST_F(ModemConfigFileTest, FileWhoseNeededSizeExceedsTheBufferIsRefused)
{
    const QString path = folder.file("ModemCfg0.dat");
    // Needed size 3025: one byte more than the configuration buffer holds.
    WriteFile(path, ConfigFile(0, QByteArray(3001, 'x')));

    EXPECT_EQ(MessageOf([&] { modem.ReadConfigFile(path); }), "TAPI: Device config too large");
}

TEST_F(ModemConfigFileTest, FileShorterThanItsNeededSizeIsRefused)
{
    const QString path = folder.file("ModemCfg0.dat");
    WriteFile(path, ConfigFile(0, "Init=ATZ\n", 10));

    EXPECT_EQ(MessageOf([&] { modem.ReadConfigFile(path); }), "TAPI: Couldn't read config file");
}

TEST_F(ModemConfigFileTest, BlockOutsideTheStructureIsRefused)
{
    const QString path = folder.file("ModemCfg0.dat");
    QByteArray file = ConfigFile(0, "Init=ATZ\n");
    file.replace(4 + 16, 4, Word(200)); // string size past the needed size
    WriteFile(path, file);

    EXPECT_EQ(MessageOf([&] { modem.ReadConfigFile(path); }), "TAPI: Couldn't set config for device");
}

TEST_F(ModemConfigFileTest, MissingFileMakesReadFail)
{
    EXPECT_EQ(MessageOf([&] { modem.ReadConfigFile(folder.file("ModemCfg0.dat")); }),
              "TAPI: Couldn't read config file");
}

TEST_F(ModemConfigFileTest, ConfigurationTooLargeForTheBufferIsNotWritten)
{
    modem.OnConfigDialog = [](TModemConfig& config) {
        config.Init = QString(3000, 'A');
        return true;
    };

    EXPECT_EQ(MessageOf([&] { modem.ConfigDialog(); }), "TAPI: Device config too large");
    EXPECT_EQ(modem.DeviceConfig(0), TModemConfig());
}

TEST_F(ModemConfigFileTest, ConfigDialogEditsReachTheFile)
{
    modem.OnConfigDialog = [](TModemConfig& config) {
        config.Dial = "ATDP";
        return true;
    };
    modem.ConfigDialog();
    const QString path = folder.file("ModemCfg0.dat");

    modem.WriteConfigFile(path);

    EXPECT_TRUE(ReadFile(path).endsWith("Init=ATZ\nDial=ATDP\nSpeed=0\n"));
}

TEST_F(ModemConfigFileTest, DeviceBeyondTheListIsInvalid)
{
    modem.SetDevice(2);

    EXPECT_EQ(MessageOf([&] { modem.GetDevConfig(); }), "TAPI: Invalid TAPI device");
    EXPECT_EQ(MessageOf([&] { modem.Dial("123"); }), "TAPI: Invalid TAPI device");
}
