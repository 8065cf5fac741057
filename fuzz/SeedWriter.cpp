// Writes the fuzz targets' seed files: small valid inputs of each format,
// made the way the tests make them (the site model's own writer, the tests'
// hand-made logs, the files the tests write by hand, the frames the
// interface unit answers with). The seeds are kept in fuzz/seeds/<target>/;
// run this again only when a format changes:
//
//   ninja -C build-fuzz quorvel_fuzz_seeds && build-fuzz/fuzz/quorvel_fuzz_seeds fuzz/seeds
#include "logger/HandLog.h"
#include "site/TestUnits.h"

#include "modem/ModemConfigFile.h"
#include "site/BinaryStream.h"
#include "site/Site.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <initializer_list>
#include <vector>

namespace {

using namespace Quorvel1;
using Bytes = std::vector<std::uint8_t>;

QString seedFolder;

void Write(const QString& target, const QString& name, const QByteArray& bytes)
{
    const QString folder = seedFolder + QLatin1Char('/') + target;
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

QByteArray ToByteArray(const Bytes& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

// --- Site files.

QByteArray SiteBytes(TSite& site)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TBinaryStream stream(buffer);
    site.Write(stream);
    return bytes;
}

void AddDevice(TSite& site, const TDeviceKey& key, const QString& name, std::int8_t exponent, char units,
               std::uint8_t active)
{
    std::unique_ptr<TDev> device = TSite::CreateFromKey(key);
    device->SetName(name);
    device->Exponent = exponent;
    device->Units = units;
    device->Active = active;
    site.Devices.push_back(std::move(device));
}

void WriteSiteSeeds()
{
    TSite empty;
    empty.SetDescription(QStringLiteral("New site"));
    Write("FuzzSiteFile", "empty.ste", SiteBytes(empty));

    TSite site;
    site.SetDescription(QStringLiteral("North store"));
    site.SetTelephone(QStringLiteral("0123 456789"));
    site.LogFlags = LogAverageSensors | LogStopWhenFull;
    site.Units.AddUnit(SiteTest::MakeUnit(1, 2, 1, "COLDROOM", 0x0C05));
    site.Units.AddUnit(SiteTest::MakeUnit(4, 1, 0, "FREEZER", 0x0C03));
    AddDevice(site, TDeviceKey(DevSensor, 0x0105), QStringLiteral("Store"), -1, 'C', ActiveYes);
    AddDevice(site, TDeviceKey(DevTripInput, 0x0106), QStringLiteral("Door"), 0, ' ', ActivePolled);
    AddDevice(site, TDeviceKey(DevVariableOutput, 0x0401), QStringLiteral("Fan"), 0, '%', ActiveYes);
    AddDevice(site, TDeviceKey(DevOnOffOutput, 0x0402), QStringLiteral("Heater"), 0, ' ', ActiveNo);
    AddDevice(site, TDeviceKey(DevAsm, 0x0021), QStringLiteral("Cold A"), -1, 'C', ActiveYes);
    AddDevice(site, TDeviceKey(DevAsm, 0x0242), QStringLiteral("Hum"), 0, '%', ActiveYes);
    const QByteArray full = SiteBytes(site);
    Write("FuzzSiteFile", "units-devices.ste", full);

    // A file of the first version: no logging options after the site block.
    QByteArray first = full;
    first[0] = 0x00;
    first[1] = 0x01;
    first.remove(qsizetype(TSite::BlockSize), 8);
    Write("FuzzSiteFile", "version-100.ste", first);
}

// --- Log files, as the log reader's tests make them.

void WriteLogSeeds()
{
    using namespace LogTest;
    THandLog hand;
    hand.Keys = {TDeviceKey(SensorTypeByte, 0x05), TDeviceKey(AsmTypeByte, 0x0021), TDeviceKey(AsmTypeByte, 0x0242)};
    hand.Values = {{100, std::uint16_t(-125), 3}, {0x8001, 0, 0x7FFF}, {0x9000, std::uint16_t(-3), 40000}};
    hand.BufferSize = 64;
    hand.StartByte = 50;
    const Bytes one = LogBytes(hand);
    Write("FuzzLogFile", "three-devices.LOG", ToByteArray(one));

    // A second download appended to the first, an hour later.
    THandLog later = hand;
    later.Values = {{101, 7, 4}};
    later.NewestPC += 3600;
    later.NewestLocal += 3600;
    Bytes appended = one;
    const Bytes second = LogBytes(later);
    appended.insert(appended.end(), second.begin(), second.end());
    Write("FuzzLogFile", "appended.LOG", ToByteArray(appended));
}

// --- Text files, as the tests write them by hand.

void WriteTextSeeds()
{
    Write("FuzzSiteIni", "site.ini",
          "[Site]\r\nLastLog=/logs/4660A07.LOG\r\nProcid=4660\r\nComSpeed=9600\r\nModemDev=-1\r\n"
          "ComTimeouts=10,2000,500,500,3000,5000\r\n\r\n[Unit1]\r\nProcID=17\r\nRomID=3\r\nProg=012-005\r\n"
          "App=COLDROOM\r\n; map\r\n[SiteMap]\r\nImage=C:\\Maps\\North.bmp\r\nMO001=U,1,120,40\r\n"
          "MO002=S,Store,\"300\",80\r\nMO003=A,\"Cold, A\",10,10\r\n");
    Write("FuzzSiteIni", "latin1.ini", "[site]\nComTimeouts=\"20\" 4000\nLastLog=C:\\Logs\\K\xF6ln.LOG\n[Unit30]\nProcID=x\n");

    Write("FuzzSettingsAddress", "012-005.st",
          "012-005,COLDROOM\r\n12,TRIPFLAGS\r\n14,LPRESETS\r\n15,HPRESETS\r\n511,END\r\n");
    Write("FuzzSettingsAddress", "large.st", "012-005,\"FRIDGE 2\"\n10,FAN\n2040,SETPOINT\n20,mode\n20,MODE\n");

    Write("FuzzEEFile", "small.ee", "U3,012-005\n0,17\n1,4\n16,200\n511,255\n");
    Write("FuzzEEFile", "large.ee", "U3,012-005\r\n0,17\r\n2047,9\r\n600,255\r\n");

    Write("FuzzAdf", "fridge.adf",
          "; fridge\r\n"
          "STBYTESET,Fan,\"Fan speed\",012-001,012-009,FAN,B,1,0,100,0,\" %\",0\r\n"
          "STWORDSET,SetPt,,,,SETPOINT,W,3,-400,400,-1,C\r\n"
          "STBYTEPICK,Mode,,,,MODE,B,1,0,5,0,,0,\"0=Off,4=Low,High\"\r\n"
          "STBYTEMASK,Loads,,,,MODE,B,1,0,255,0,,0,\"1=Fan,2=Heater,4=Light\"\r\n"
          "12.5\r\n");
    Write("FuzzAdf", "limits.adf",
          "STWORDSET,Low,\"Below\",,,BELOW,W,1,-32768,32767,-10,C\n"
          "STBYTESET,High,,,,ABOVE,B,1,0,255,10,\n"
          "STBYTEPICK,Trip,,,,TRIPFLAGS,B,1,250,255,0,,0,\"Off,On,255=Max\"\n"
          "-1\n");

    Write("FuzzCommaText", "lines.txt",
          "012-005,COLDROOM\r\n\"Cold, \"\"A\"\"\",,x \r\nU,1,120,40\n  a b,\t\"\",\n\"unterminated,");

    Write("FuzzLaunchWord", "unattended", QByteArray("-ALGFPT\0/sites/North.ste", 24));
    Write("FuzzLaunchWord", "launch-file", QByteArray("--launch-file\0/tmp/run.txt\0-AJRCO\0a.ste\0extra", 45));
    Write("FuzzLaunchWord", "long-options", QByteArray("--launch-file=\0--help\0--version\0-X", 34));
}

// --- The modem's configuration files.

void WriteModemSeeds()
{
    const std::uint32_t device = 2;
    const TModemConfig standard;
    Write("FuzzModemConfig", "ModemCfg2.dat",
          FormatModemConfigFile(device, BuildDevConfig(FormatModemConfigBlock(standard))));
    TModemConfig own;
    own.Init = QStringLiteral("AT&F E0 V1 S0=0");
    own.Dial = QStringLiteral("ATDP");
    own.Speed = 9600;
    Write("FuzzModemConfig", "ModemCfg2-own.dat",
          FormatModemConfigFile(device, BuildDevConfig(FormatModemConfigBlock(own))));
}

// --- The link: the interface unit's answers, as length-prefixed chunks
// (see FuzzLinkReceive.cpp).

Bytes ReadReply(const Bytes& data)
{
    unsigned sum = 0;
    for (std::uint8_t b : data)
        sum += b;
    Bytes reply = {0x06};
    reply.insert(reply.end(), data.begin(), data.end());
    reply.push_back(std::uint8_t(sum & 0xFF));
    reply.push_back(std::uint8_t(sum >> 8));
    return reply;
}

QByteArray LinkInput(std::uint8_t operation, std::uint8_t parameter, std::initializer_list<Bytes> chunks)
{
    Bytes input = {operation, parameter};
    for (const Bytes& chunk : chunks) {
        input.push_back(std::uint8_t(chunk.size()));
        input.insert(input.end(), chunk.begin(), chunk.end());
    }
    return ToByteArray(input);
}

void WriteLinkSeeds()
{
    const Bytes ack = {0x06};
    const Bytes resetAnswer = {0x15};
    // Connect: a reset (nothing to drain, the probe refused), the descriptor
    // table, the link descriptor (version 1.0, blocks of 16 and 252, LAN
    // buffer at 0x0C00), the type and the identity words.
    Write("FuzzLinkReceive", "connect",
          LinkInput(0, 0,
                    {{}, resetAnswer, ReadReply({0x00, 0x30, 0x00, 0x31, 0x00, 0x32, 0x03, 0x00}),
                     ReadReply({0x00, 0x01, 0x10, 0x00, 0xFC, 0x00, 0x00, 0x0C}), ReadReply({0x01, 0x00}),
                     ReadReply({0x34, 0x12})}));
    // Reads of 8 bytes in one block, RAM and EE; the second after a bad sum
    // and a reset.
    const Bytes data = {1, 2, 3, 4, 5, 6, 7, 8};
    Write("FuzzLinkReceive", "read-ram", LinkInput(1, 7, {ReadReply(data)}));
    Bytes badSum = ReadReply(data);
    badSum.back() ^= 0xFF;
    Write("FuzzLinkReceive", "read-ee-retried",
          LinkInput(2, 0x47, {badSum, {}, resetAnswer, ReadReply(data)}));
    Write("FuzzLinkReceive", "write-ram", LinkInput(3, 3, {ack}));
    // LAN: the message written and sent, taken, answered by unit 8 (the
    // parameter 7 selects unit 8, blocks of 8 and no retries).
    Write("FuzzLinkReceive", "lan-identify",
          LinkInput(5, 7, {ack, ack, ReadReply({0x00}), ReadReply({0x08}),
                           ReadReply({0x08, 0x01, 0x30, 0x07, 0x05, 0x0C, 0x00, 0x00})}));
    Write("FuzzLinkReceive", "lan-read-word",
          LinkInput(6, 7, {ack, ack, ReadReply({0x00}), ReadReply({0x08}),
                           ReadReply({0x08, 0x01, 0x30, 0x04, 0x40, 0x00, 0x34, 0x12})}));
    Write("FuzzLinkReceive", "lan-write-word",
          LinkInput(7, 7, {ack, ack, ReadReply({0x00}), ReadReply({0x08}),
                           ReadReply({0x08, 0x01, 0x30, 0x04, 0x40, 0x00, 0x34, 0x12})}));
    Write("FuzzLinkReceive", "lan-request",
          LinkInput(8, 7, {ack, ack, ReadReply({0x00}), ReadReply({0x08}),
                           ReadReply({0x08, 0x01, 0x37, 0x21, 0x01, 0x02, 0x03, 0x04})}));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SEED_FOLDER\n", argv[0]);
        return 2;
    }
    seedFolder = QString::fromLocal8Bit(argv[1]);
    WriteSiteSeeds();
    WriteLogSeeds();
    WriteTextSeeds();
    WriteModemSeeds();
    WriteLinkSeeds();
    return 0;
}
