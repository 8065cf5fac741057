#include "support/AppFixture.h"

#include "settings/Properties.h"
#include "site/SiteExt.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <QProcessEnvironment>

namespace AppTest {

void TRecordingView::StoreFieldsToSite()
{
    ++FieldStores;
    if (!Description.isEmpty())
        Quorvel1::Controller()->Site().SetDescription(Description);
}

AppFixture::AppFixture()
{
    QSettings settings("Mestra Apps", "Quorvel");
    settings.clear();
    settings.sync();
    StoreSetting("Settings/Paths/ErrorLog", ErrorLogPath());
    StoreSetting("Settings/Paths/SitesPath", Folder());
    QFile::remove(LaunchPath());
}

AppFixture::~AppFixture()
{
    QDir::setCurrent(startFolder_);
}

ModemSiteFixture::ModemSiteFixture() : controller(view)
{
    RemoveModemConfigFiles();
}

ModemSiteFixture::~ModemSiteFixture()
{
    RemoveModemConfigFiles();
}

void ModemSiteFixture::StartModemSim(const QString& scenario, uint32_t device)
{
    using namespace std::chrono_literals;
    sim = std::make_unique<QuorvelTest::SimProcess>(QStringList{"--modem"}, scenario);
    modem = controller.Modem();
    ASSERT_NE(modem, nullptr);
    QStringList ports;
    for (uint32_t i = 0; i < device; ++i)
        ports << Path(QStringLiteral("no-modem-%1").arg(i));
    modem->Initialise(ports << sim->PortPath());
    modem->SetTimings({2000ms, 150ms});
    modem->SetDevice(device);
    modem->WriteConfigFile(ModemConfigFile(device));
    modem->SetDevice(0);
    controller.Properties().ModemDevice = int32_t(device);
    controller.Properties().ModemTimeout = 0;
    controller.Site().SetTelephone("0123 456");
}

QString ModemSiteFixture::ModemConfigFile(uint32_t device)
{
    return Quorvel1::ProgramFolder() + QStringLiteral("ModemCfg%1.dat").arg(device);
}

void ModemSiteFixture::RemoveModemConfigFiles()
{
    for (const QString& name : QDir(Quorvel1::ProgramFolder()).entryList({"ModemCfg*.dat"}, QDir::Files))
        QFile::remove(Quorvel1::ProgramFolder() + name);
}

bool AppFixture::WaitUntil(const std::function<bool()>& done, int ms)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    look.start(20);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

void AppFixture::StoreSetting(const QString& key, const QString& value)
{
    QSettings settings("Mestra Apps", "Quorvel");
    settings.setValue(key, value);
    settings.sync();
}

void AppFixture::WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

TProgramRun AppFixture::RunProgram(const QStringList& arguments)
{
    return FinishProgram(*StartProgram(arguments));
}

std::unique_ptr<QProcess> AppFixture::StartProgram(const QStringList& arguments)
{
    const QString program = qEnvironmentVariable("QUORVEL_PROGRAM");
    EXPECT_FALSE(program.isEmpty()) << "QUORVEL_PROGRAM names the built program";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::SeparateChannels);
    process->start(program, arguments);
    return process;
}

TProgramRun AppFixture::FinishProgram(QProcess& process)
{
    TProgramRun result;
    result.Finished = process.waitForFinished(ProgramEndMs) && process.exitStatus() == QProcess::NormalExit;
    if (!result.Finished)
        process.kill();
    process.waitForFinished();
    result.ExitCode = process.exitCode();
    result.Output = process.readAllStandardOutput();
    result.Errors = process.readAllStandardError();
    return result;
}

QByteArray AppFixture::ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

namespace {

QByteArray Field(const char* text, int size)
{
    QByteArray bytes(text);
    bytes.resize(size, '\0');
    return bytes;
}

} // namespace

QByteArray EmptySiteFile(const char* description, quint16 version)
{
    QByteArray bytes;
    bytes.append(char(version & 0xFF)).append(char(version >> 8));
    bytes += Field(description, 41);
    bytes += Field("0123 456789", 41);
    bytes.append('\0'); // devices with active mode Yes
    if (version >= 0x101)
        bytes += QByteArray::fromHex("8403" "0000" "00000000"); // interval 900, flags, reserved
    bytes += QByteArray::fromHex("0000");                       // reserved word
    bytes += QByteArray::fromHex("0000");                       // no units
    bytes += QByteArray::fromHex("0000" "0000" "0000");         // sensors, outputs, ASMs
    return bytes;
}

QByteArray BrokenSiteFile()
{
    QByteArray bytes = EmptySiteFile("Broken store");
    bytes.chop(6);
    return bytes;
}

} // namespace AppTest
