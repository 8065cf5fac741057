// The logger jobs that change the logger, run on the job runner against the
// simulator: the configuration upload with its questions put through the
// runner, after which the site's devices take their places in the logger's
// device table and are sorted; the clock and restart jobs.
#include "logger/DjLogJob.h"
#include "logger/LoggerSimFixture.h"

#include "jobs/PelkThread.h"
#include "site/Asm.h"
#include "site/Output.h"
#include "site/Sensor.h"
#include "site/SiteExt.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Quorvel1;

namespace {

struct TDeviceSeen {
    uint8_t Type;
    uint16_t Address;
    int32_t LoggerIndex;

    friend bool operator==(const TDeviceSeen&, const TDeviceSeen&) = default;
};

void PrintTo(const TDeviceSeen& device, std::ostream* out)
{
    *out << std::hex << int(device.Type) << ':' << device.Address << std::dec << " index " << device.LoggerIndex;
}

class LogUploadJobTest : public QuorvelTest::LoggerSimFixture {
protected:
    void StartRunner(const QString& scenario)
    {
        Start(scenario);
        runner = std::make_unique<TPelkThread>(link);
        runner->SetReport([this](const QString& text, const QString&, int) {
            asked << text;
            return answer;
        });
    }
    void TearDown() override
    {
        if (runner)
            runner->StopAll();
    }

    void AddSensor(unsigned unit, unsigned channel, uint8_t active)
    {
        auto device = std::make_unique<TSensor>();
        device->SetIOAddress(unit, channel);
        device->Active = active;
        site.Devices.push_back(std::move(device));
    }
    std::vector<TDeviceSeen> SiteDevices() const
    {
        std::vector<TDeviceSeen> seen;
        for (const auto& device : site.Devices)
            seen.push_back({device->DevType(), device->Address, device->LoggerIndex});
        return seen;
    }

    TSiteExt site;
    std::unique_ptr<TPelkThread> runner;
    QStringList asked;
    int answer = 6;
    int refills = 0;
};

} // namespace

TEST_F(LogUploadJobTest, UploadAttachesAndSortsTheSitesDevices)
{
    StartRunner("logger clock-stopped\n");
    AddSensor(4, 0, ActiveNo);
    AddSensor(3, 1, ActiveYes);
    AddSensor(1, 2, ActiveYes);
    auto asmDevice = std::make_unique<TAsm>();
    asmDevice->SetAsmAddress(2, 1, 3);
    site.Devices.push_back(std::move(asmDevice));
    auto output = std::make_unique<TOutput>();
    output->SetIOAddress(2, 4);
    output->SetKind(DevVariableOutput);
    output->Active = ActivePolled;
    site.Devices.push_back(std::move(output));

    auto* job = new TDjLogConfig(*runner, *log, site, [this] { ++refills; });
    EXPECT_EQ(job->Name, "Upload log configuration");
    EXPECT_TRUE(runner->RunJob(job, false));

    EXPECT_TRUE(asked.isEmpty());
    // The logger's lists in the site's order at the upload: sensors 0x19,
    // 0x0A, output 0x14, ASM 0x0622. The site is then sorted polled first,
    // then active ones by unit, then the inactive one.
    EXPECT_EQ(QString::fromStdString(Dump().at("devices")), "20:0019,20:000a,10:0014,30:0622");
    const std::vector<TDeviceSeen> expected = {
        {0x10, 0x14, 2}, {0x20, 0x0A, 1}, {0x30, 0x0622, 3}, {0x20, 0x19, 0}, {0x20, 0x20, -1},
    };
    EXPECT_EQ(SiteDevices(), expected);
    EXPECT_EQ(refills, 1);
    EXPECT_FALSE(log->StatusCallback);
}

TEST_F(LogUploadJobTest, DeclinedUploadFailsAndTheSiteTakesTheLoggersOwnDevices)
{
    StartRunner("logger config 65\nlogger clock-stopped\n");
    for (int i = 0; i < 60; ++i)
        AddSensor(1 + i / 8, i % 8, ActiveYes);
    answer = 7;

    EXPECT_FALSE(runner->RunJob(new TDjLogConfig(*runner, *log, site, [this] { ++refills; }), false));

    EXPECT_EQ(asked, QStringList{"Insufficient space for full configuration - continue?"});
    // The logger keeps its configuration; the site gets a device for each of
    // its keys, and its own sensors, which the logger does not log, none.
    ASSERT_EQ(site.Devices.size(), 66u);
    const int first = site.FindByKey(TDeviceKey(DevSensor, 0x61));
    const int asmAt = site.FindByKey(TDeviceKey(DevAsm, 0x0221));
    ASSERT_GE(first, 0);
    ASSERT_GE(asmAt, 0);
    EXPECT_EQ(site.Devices[first]->LoggerIndex, 0);
    EXPECT_EQ(site.Devices[asmAt]->LoggerIndex, 5);
    EXPECT_EQ(site.Devices[site.FindByKey(TDeviceKey(DevSensor, 0x08))]->LoggerIndex, -1);
    EXPECT_EQ(refills, 1);
}

TEST_F(LogUploadJobTest, TimeJobSetsTheLoggersClockFromLocalTime)
{
    StartRunner("logger clock-stopped\n");
    log->Time.LocalNow = [] { return uint32_t(1798761599); }; // 2026-12-31 23:59:59
    auto* job = new TDjLogTime(*runner, *log);
    EXPECT_EQ(job->Name, "Set logger time");
    EXPECT_TRUE(runner->RunJob(job, false));
    EXPECT_EQ(std::stoul(Dump().at("clock")), 1798761600u);
}

TEST_F(LogUploadJobTest, RestartJobClearsTheLog)
{
    StartRunner("logger prefill 25\nlogger clock-stopped\n");
    auto* job = new TDjLogRestart(*runner, *log);
    EXPECT_EQ(job->Name, "Restart logging!");
    EXPECT_TRUE(runner->RunJob(job, false));
    EXPECT_EQ(Number(Dump(), "entries"), 0);
}

TEST_F(LogUploadJobTest, ClockJobWithTheLoggerClosedFails)
{
    StartRunner("logger clock-stopped\n");
    log->Close();
    EXPECT_FALSE(runner->RunJob(new TDjLogTime(*runner, *log), false));
    EXPECT_FALSE(log->StatusCallback);
}
