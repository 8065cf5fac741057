#include "app/QuorvelW.h"

#include "app/CommandLine.h"
#include "app/ConnectSequence.h"
#include "app/LaunchFile.h"
#include "app/QuorvelView.h"
#include "base/Exception.h"
#include "base/ProgramFolder.h"
#include "comms/MestraIF.h"
#include "jobs/PelkThread.h"
#include "logger/LogIF.h"
#include "modem/TapiModem.h"
#include "settings/Properties.h"
#include "site/SiteExt.h"
#include "units/DjLogRdgs.h"
#include "units/DjUnitAlarms.h"
#include "units/DjUnitTrips.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QObject>

namespace Quorvel1 {

namespace {

TQuorvelW* theController = nullptr;

const QString ErrLogDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

} // namespace

TQuorvelW* Controller()
{
    return theController;
}

TQuorvelW::TQuorvelW(TQuorvelView& view)
    : UnattendedConnectLimit(TConnectSequence::UnattendedConnectLimitS), view_(view),
      lineDeadNotice_(std::make_unique<QObject>())
{
    Q_ASSERT(theController == nullptr);
    ProgramDir.SetPath(ProgramFolder());
    link_ = std::make_unique<Pelk::TMestraIF>();
    // Called on the thread that uses the link (the job runner's, mostly).
    link_->OnLineDead = [notice = lineDeadNotice_.get(), this] {
        QMetaObject::invokeMethod(notice, [this] { ConnectionLost(); }, Qt::QueuedConnection);
    };
    logger_ = std::make_unique<TLogIF>(*link_);
    site_ = std::make_unique<TSiteExt>();
    properties_ = std::make_unique<TProperties>(ProgramDir.Dir, SettingsFileName);
    MakeModem();
    runner_ = std::make_unique<TPelkThread>(*link_);
    runner_->SetReport([this](const QString& text, const QString& caption, int flags) {
        return Report(text, caption, flags);
    });
    runner_->SetStatusText([this](int panel, const QString& text) { view_.SetStatusText(text, panel); });
    runner_->SetProgressView(view_.MakeJobProgressView(*link_));
    MakeStandingJobs();
    theController = this;
}

// The jobs that keep the logger's readings and the units' alarm and trip
// words fresh while connected. Each registers itself with the runner, which
// owns and frees them.
void TQuorvelW::MakeStandingJobs()
{
    new TDjLogRdgs(*runner_, *logger_, &unitViews_);
    new TDjUnitAlarms(*runner_, *site_, &unitViews_, StandingJobPeriod);
    new TDjUnitTrips(*runner_, *site_, StandingJobPeriod);
}

// A modem that cannot be set up leaves the program without one: local
// connections still work, a remote one reports that there is no modem.
void TQuorvelW::MakeModem()
{
    modem_ = std::make_unique<TTapiModem>();
    try {
        modem_->Initialise();
    } catch (const Exception&) {
        modem_.reset();
    }
}

TQuorvelW::~TQuorvelW()
{
    theController = nullptr;
    runner_->StopAll();
    runner_.reset();
    link_->OnLineDead = nullptr;
    lineDeadNotice_.reset();
    link_.reset();
    modem_.reset();
    logger_.reset();
    site_.reset();
    properties_.reset();
    ErrLog.reset();
}

// --- Start and end ---------------------------------------------------------

bool TQuorvelW::Start(const QStringList& arguments)
{
    const TCommandLine line = ParseCommandLine(arguments, Properties().LastSite);
    Options = line.Options;
    // Opening the site changes the current folder; a relative name means
    // the folder the program was started in.
    LaunchFile = line.LaunchFile.isEmpty() ? QString() : QFileInfo(line.LaunchFile).absoluteFilePath();
    view_.ShowSiteTab();
    view_.SetStatusText(QStringLiteral(QUORVEL_VERSION), StatusPanel::Spare);
    view_.SetStatusText(QString(), StatusPanel::Status);
    NewSiteCommand();
    return RunLaunch(line.Options, line.SitePath);
}

// The settings are written after the question: saving the site there
// changes the last site.
bool TQuorvelW::QueryClose()
{
    const bool mayClose = ConfirmSaveChanges();
    Properties().Save();
    return mayClose;
}

void TQuorvelW::Closing()
{
    Disconnect();
}

// --- Launch routine --------------------------------------------------------

bool TQuorvelW::RunLaunch(const QString& options, const QString& sitePath)
{
    Options = options;
    Automatic = HasOption(OptionLetter::Automatic);
    runner_->SetJobTimeLimit(Automatic ? UnattendedJobLimit : std::chrono::milliseconds(0));
    if ((Automatic || HasOption(OptionLetter::ErrorLog)) && !ErrLog)
        OpenErrLog(Properties().ErrorLog);

    bool succeeded = false;
    QString logPath;
    if (!sitePath.isEmpty() && OpenSite(sitePath)) {
        RefreshView();
        succeeded = RunLaunchCommands(logPath);
    }
    if (!HasOption(OptionLetter::StayOpen))
        Disconnect();
    if (Automatic)
        WriteLaunch(succeeded, sitePath, logPath);
    return Automatic && !HasOption(OptionLetter::StayOpen);
}

// Connect, download, alarms, trips, clear alarms, set time: in this order.
// Without a connection nothing else is tried and the run has failed.
bool TQuorvelW::RunLaunchCommands(QString& logPath)
{
    if (!HasOption(OptionLetter::Remote) && !HasOption(OptionLetter::Local))
        return false;
    if (!Connect(!HasOption(OptionLetter::Local)))
        return false;

    bool succeeded = true;
    if (HasOption(OptionLetter::Download))
        succeeded = DownloadLog();
    if (succeeded)
        logPath = Site().LastLog;
    if (HasOption(OptionLetter::Alarms)) {
        const bool alarms = CollectAlarms();
        bool trips = true;
        if (alarms && HasOption(OptionLetter::Trips))
            trips = CollectTrips();
        if (alarms && trips && HasOption(OptionLetter::ClearAlarms))
            ClearAlarms(0);
        succeeded = succeeded && alarms && trips;
    }
    if (HasOption(OptionLetter::SetTime))
        SetLoggerTime();
    return succeeded;
}

QString TQuorvelW::LaunchFilePath()
{
    if (!LaunchFile.isEmpty())
        return LaunchFile;
    ProgramDir.SetName(LaunchFileBaseName);
    ProgramDir.SetExt(LaunchFileExt);
    return ProgramDir.FullPath();
}

void TQuorvelW::WriteLaunch(bool succeeded, const QString& sitePath, const QString& logPath)
{
    launchWritten_ = WriteLaunchFile(LaunchFilePath(), LaunchFileText(succeeded, sitePath, logPath));
    launchResult_ = succeeded;
}

bool TQuorvelW::HasOption(char letter) const
{
    return HasOptionLetter(Options, letter);
}

// --- Reporting -------------------------------------------------------------

int TQuorvelW::Report(const QString& message, const QString& caption, int flags)
{
    if (!Automatic)
        return view_.ShowMessage(message, caption, flags);
    WriteErrLog(message + QStringLiteral(": ") + caption + QLatin1Char('\n'));
    return MessageAnswer::None;
}

int TQuorvelW::ReportError(const QString& message)
{
    return Report(message, ErrorCaption, MessageFlags::IconError | MessageFlags::Ok);
}

// Unbuffered, so that every line is in the file as soon as it is written:
// the log is what a supervisor reads after a run that may have crashed.
void TQuorvelW::OpenErrLog(const QString& path)
{
    auto file = std::make_unique<QFile>(path);
    if (file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text
                   | QIODevice::Unbuffered))
        ErrLog = std::move(file);
}

void TQuorvelW::WriteErrLog(const QString& text)
{
    if (ErrLog)
        ErrLog->write(text.toUtf8());
}

// --- Site files ------------------------------------------------------------

// The site's files are loaded and saved by the site with the extension
// ".ste", and loading makes the site's folder the current one: the path is
// kept absolute so that it still names the same file afterwards. The
// extension is kept as the file on disk spells it, so that the last site
// setting names the file itself.
void TQuorvelW::SetSiteFile(const QString& path)
{
    SiteFile.SetPath(QFileInfo(path).absoluteFilePath());
    SiteFile.SetExtAsOnDisk(SiteFileExt);
}

bool TQuorvelW::OpenSite(const QString& path)
{
    SetSiteFile(path);
    WriteErrLog(QStringLiteral("\n*** QuorvelW %1 Site: %2\n")
                    .arg(QDateTime::currentDateTime().toString(ErrLogDateTimeFormat), path));
    if (!Site().Load(SiteFile.FullPath())) {
        ReportError(QStringLiteral("Couldn't open site: ") + path);
        return false;
    }
    AttachSiteDevices();
    Properties().LastSite = SiteFile.FullPath();
    return true;
}

// The site's devices take their places in the logger's device table (none
// while no logger is open). A table that does not fit the site is reported;
// the site itself has loaded and stays open.
void TQuorvelW::AttachSiteDevices()
{
    try {
        Site().AttachDevices(*logger_);
    } catch (const Exception& e) {
        ReportError(e.Message());
    }
}

bool TQuorvelW::SaveSite()
{
    if (!Site().Save(SiteFile.FullPath())) {
        ReportError(QStringLiteral("Couldn't save site"));
        return false;
    }
    Properties().LastSite = SiteFile.FullPath();
    return true;
}

bool TQuorvelW::NewSite()
{
    SiteFile.SetName(QString());
    Site().NewSite();
    return true;
}

bool TQuorvelW::ConfirmSaveChanges()
{
    if (!Site().IsModified())
        return true;
    if (Automatic || Properties().AutoSave) {
        SaveSiteCommand(false);
        return true;
    }
    const int answer = Report(QStringLiteral("Save changes to site?"), QStringLiteral("Confirm"),
                              MessageFlags::YesNoCancel | MessageFlags::IconQuestion);
    if (answer == MessageAnswer::Cancel)
        return false;
    if (answer == MessageAnswer::Yes)
        SaveSiteCommand(false);
    return true;
}

// A plain save goes to the open site file without a question, except when
// there is no file name yet or the file failed to load: then the site in
// memory is only part of that file, and saving it there would destroy the
// rest. The user picks a file instead; without a user nothing is saved.
bool TQuorvelW::SaveNeedsDialog(bool saveAs) const
{
    return saveAs || SiteFile.Name.isEmpty() || site_->LoadFailed();
}

void TQuorvelW::SaveSiteCommand(bool saveAs)
{
    view_.StoreFieldsToSite();
    if (SaveNeedsDialog(saveAs)) {
        if (Automatic && !saveAs) {
            view_.UpdateCaption(Caption());
            return;
        }
        const QString preset = SiteFile.Name.isEmpty() ? QString() : SiteFile.FileName();
        const QString chosen = view_.AskSaveFileName(DialogFolder(), preset);
        if (chosen.isEmpty()) {
            view_.UpdateCaption(Caption());
            return;
        }
        SetSiteFile(chosen);
    }
    if (!SaveSite())
        SiteFile.SetName(QString());
    view_.UpdateCaption(Caption());
}

void TQuorvelW::OpenSiteCommand()
{
    if (!ConfirmSaveChanges())
        return;
    const QString chosen = view_.AskOpenFileName(DialogFolder(), SiteFile.FileName());
    if (!chosen.isEmpty()) {
        OpenSite(chosen);
        view_.RefreshFromSite();
    }
    view_.UpdateCaption(Caption());
}

void TQuorvelW::NewSiteCommand()
{
    if (!ConfirmSaveChanges())
        return;
    NewSite();
    RefreshView();
}

QString TQuorvelW::DialogFolder() const
{
    return SiteFile.Dir.isEmpty() ? properties_->SitesPath : SiteFile.Dir;
}

QString TQuorvelW::Caption() const
{
    const QString name = SiteFile.Name.isEmpty() ? UntitledName : SiteFile.Name;
    return BaseCaption + QStringLiteral(" - ") + name;
}

void TQuorvelW::RefreshView()
{
    view_.RefreshFromSite();
    view_.UpdateCaption(Caption());
}

} // namespace Quorvel1
