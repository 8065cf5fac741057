#pragma once
// The unit jobs end to end: the simulator's site on a pseudo-terminal, a
// connected link with short time-outs (an absent unit costs 300 ms an
// attempt), the site model and the real job runner. Views record what the
// jobs showed, with the job's status and progress at each call.
#include "support/SettingsAddressFiles.h"

#include "comms/LanMessage.h"
#include "comms/MestraIF.h"
#include "jobs/PelkJob.h"
#include "jobs/PelkThread.h"
#include "site/SiteExt.h"
#include "site/Unit.h"
#include "support/SimLinkFixture.h"
#include "units/UnitJobViews.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace QuorvelTest {

class RecordingViews : public Quorvel1::TUnitJobViews {
public:
    void UpdateUnit(int number) override
    {
        units.push_back(number);
        if (job) {
            statuses[number] = job->Status;
            progress.push_back(job->Progress);
        }
    }
    void UpdateStatus(int number) override { statusUpdates.insert(number); }
    void UpdateReadings() override
    {
        ++readingUpdates;
        if (onReadings)
            onReadings();
    }

    const Quorvel1::TPelkJob* job = nullptr; // set while the job runs
    std::vector<int> units;
    std::map<int, QString> statuses; // the job's status after each unit number
    std::vector<int> progress;
    std::set<int> statusUpdates;
    int readingUpdates = 0;
    std::function<void()> onReadings;
};

class UnitJobsTest : public SettingsAddressFiles, public SimLinkFixture {
protected:
    ~UnitJobsTest() override { runner.reset(); }

    // The simulator's site on a connected link, and the job runner running.
    void Start(const QString& scenario, const QStringList& arguments = {})
    {
        Connect(arguments, scenario);
        runner = std::make_unique<Quorvel1::TPelkThread>(link);
        runner->ResumeIfConnected();
    }

    bool Run(Quorvel1::TPelkJob* job)
    {
        views.job = job;
        const bool succeeded = runner->RunJob(job, false);
        views.job = nullptr;
        return succeeded;
    }

    // A unit in the site model only, as a scan command would have left it:
    // added, then the unit table rebuilt, which loads its config block.
    void AddSiteUnit(uint8_t number, uint16_t appId)
    {
        site.AddUnit(std::make_unique<Quorvel1::TUnit>(number, 1, 1, 0, 0, QByteArray("UNIT"), appId));
        site.RebuildUnitTable();
    }

    // The simulator's answers, asked through the link directly.
    uint16_t UnitAlarmWord(uint8_t unit)
    {
        link.SelectUnit(unit, false);
        Pelk::TLanMessage message{};
        link.LanRequest(9, 0, message);
        return Pelk::Lan::DataWord(message, 0);
    }
    uint16_t UnitEEWord(uint8_t unit, uint16_t address)
    {
        link.SelectUnit(unit, false);
        return link.ReadWord(address, true);
    }
    uint8_t UnitEEByte(uint8_t unit, uint16_t address)
    {
        link.SelectUnit(unit, false);
        return link.ReadByte(address, true);
    }

    Quorvel1::TSiteExt site;
    RecordingViews views;
    std::unique_ptr<Quorvel1::TPelkThread> runner;
};

} // namespace QuorvelTest
