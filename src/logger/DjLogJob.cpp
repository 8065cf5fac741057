#include "logger/DjLogJob.h"

#include "base/Exception.h"
#include "base/FileDir.h"
#include "jobs/PelkThread.h"
#include "logger/LogDownload.h"
#include "logger/LogIF.h"
#include "site/SiteExt.h"

namespace Quorvel1 {

TDjLogJob::TDjLogJob(TPelkThread& runner, TLogIF& log) : TPelkJob(runner, 0), log_(log) {}

void TDjLogJob::Step()
{
    log_.Progress = -1;
    log_.StatusTextValue.clear();
    log_.StatusCallback = [this] { Runner().SyncUpdate(); };
    try {
        if (Execute())
            SetDone(true);
        else
            SetFailed(true);
    } catch (...) {
        log_.StatusCallback = nullptr;
        throw;
    }
    log_.StatusCallback = nullptr;
}

void TDjLogJob::Update()
{
    Status = log_.StatusText();
    Progress = log_.Progress;
    Runner().ShowProgress(*this);
}

TDjLogDL::TDjLogDL(TPelkThread& runner, TLogIF& log, TSiteExt& site, std::int32_t attempt)
    : TDjLogJob(runner, log), Attempt(attempt), site_(site)
{
    Name = JobName;
    if (attempt > 0)
        Name += RetryText + QString::number(attempt);
}

bool TDjLogDL::Execute()
{
    QString fileName = Attempt <= 0 ? site_.LastLog : QString();
    // New log files go beside the site's files.
    const QString folder = TFileDir(site_.Ini.FileName()).Dir;
    const bool saved = Log().Download(fileName, folder);
    // Only a file that was written becomes the last log: the next download
    // appends to it and an unattended run names it in its launch file.
    if (saved)
        site_.SetLastLog(fileName);
    return saved && Log().DownloadFailure == LogDlNone;
}

TDjLogConfig::TDjLogConfig(TPelkThread& runner, TLogIF& log, TSiteExt& site,
                           std::function<void()> refillDevices)
    : TDjLogJob(runner, log), site_(site), refillDevices_(std::move(refillDevices))
{
    Name = JobName;
}

bool TDjLogConfig::Execute()
{
    return Log().UploadConfig(site_, [this](const QString& text, const QString& caption, int flags) {
        return Runner().AskUser(text, caption, flags);
    });
}

// The site's device list is changed only here, on the main thread, once
// the upload has ended whichever way.
void TDjLogConfig::Update()
{
    TDjLogJob::Update();
    if (IsActive())
        return;
    try {
        site_.AttachDevices(Log());
    } catch (const Exception& e) {
        Status = e.Message();
    }
    site_.SortDevices();
    if (refillDevices_)
        refillDevices_();
}

TDjLogTime::TDjLogTime(TPelkThread& runner, TLogIF& log) : TDjLogJob(runner, log)
{
    Name = JobName;
}

bool TDjLogTime::Execute()
{
    return Log().SetTime();
}

TDjLogRestart::TDjLogRestart(TPelkThread& runner, TLogIF& log) : TDjLogJob(runner, log)
{
    Name = JobName;
}

bool TDjLogRestart::Execute()
{
    return Log().Restart();
}

} // namespace Quorvel1
