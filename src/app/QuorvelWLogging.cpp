// The controller's logging commands: download the log with its retries,
// set the logger's clock, upload a new logging configuration.
#include "app/QuorvelW.h"

#include "app/QuorvelView.h"
#include "jobs/PelkThread.h"
#include "logger/DjLogJob.h"
#include "logger/LogDownload.h"
#include "logger/LogIF.h"
#include "site/SiteExt.h"

namespace Quorvel1 {

namespace {

constexpr int DownloadAttempts = 3;

} // namespace

// A corrupt or otherwise failed download is tried again, three times in
// all; a break by the user or the link and a log that cannot be saved end
// the command at once. After the last attempt the user may clear logging,
// which is what a logger whose log never reads back cleanly needs.
bool TQuorvelW::DownloadLog()
{
    for (int attempt = 0; attempt < DownloadAttempts; ++attempt) {
        if (runner_->RunJob(new TDjLogDL(*runner_, *logger_, *site_, attempt), true))
            return true;
        if (!ReportDownloadFailure(logger_->DownloadFailure))
            return false;
    }
    if (!Automatic
        && Report(QStringLiteral("Clear/reset logging?"), QStringLiteral("Log Download Failure"),
                  MessageFlags::OkCancel)
               == MessageAnswer::Ok)
        runner_->RunJob(new TDjLogRestart(*runner_, *logger_), false);
    return false;
}

// True when the failure is worth another attempt. Breaks by the user or the
// link are no news to a user at the screen.
bool TQuorvelW::ReportDownloadFailure(std::uint8_t failure)
{
    switch (failure) {
    case LogDlUserBreak:
        if (Automatic)
            ReportError(QStringLiteral("Log download failed: User break"));
        return false;
    case LogDlLinkError:
        if (Automatic)
            ReportError(QStringLiteral("Log download failed: Link exception"));
        return false;
    case LogDlSaveFailed:
        ReportError(QStringLiteral("Log download failed: Couldn't save log file"));
        return false;
    case LogDlCorrupt:
        ReportError(QStringLiteral("Log download failed: Log corruption"));
        return true;
    default:
        return true;
    }
}

bool TQuorvelW::SetLoggerTime()
{
    runner_->RunJob(new TDjLogTime(*runner_, *logger_), true);
    return true;
}

bool TQuorvelW::ReconfigureLogger()
{
    auto* job = new TDjLogConfig(*runner_, *logger_, *site_, [this] { view_.RefillLogDevices(); });
    if (!Confirmed(job->Name)) {
        job->Release();
        return false;
    }
    runner_->RunJob(job, true);
    return true;
}

} // namespace Quorvel1
