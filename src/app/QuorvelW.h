#pragma once
// The application controller: the one object that owns the process-wide
// objects (settings, link, site), remembers which site file is open, holds
// the connection state and carries out every command of the menus, the tool
// bar and the launch-file mode. It reaches the window only through
// TQuorvelView, so the same start-up, commands and end run with a window or
// without a display.
#include "base/FileDir.h"
#include "units/UnitJobViews.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <memory>

class QFile;
class QObject;

namespace Pelk {
class TMestraIF;
}

namespace Quorvel1 {

class TLogIF;
class TPelkThread;
class TProperties;
class TQuorvelView;
class TSiteExt;
class TTapiModem;

class TQuorvelW {
public:
    // The application title; the window's caption starts with it.
    static inline const QString BaseCaption = QStringLiteral("QuorvelXP");
    static inline const QString ErrorCaption = QStringLiteral("Quorvel Error");
    static inline const QString UntitledName = QStringLiteral("Untitled");
    static inline const QString SiteFileExt = QStringLiteral(".ste");
    static inline const QString SettingsFileName = QStringLiteral("QuorvelW.ini");
    // The scheduling weight of the unit alarm and trip jobs.
    static constexpr int StandingJobPeriod = 50;
    // How long one command's job may run in an automatic run before it is
    // broken off: nobody is there to press Cancel. A whole download of the
    // largest log over a 300-baud line fits.
    static constexpr int UnattendedJobLimitS = 1800;

    // Creates the process-wide objects. Only one controller may exist at a
    // time; Controller() gives it.
    explicit TQuorvelW(TQuorvelView& view);
    virtual ~TQuorvelW();
    TQuorvelW(const TQuorvelW&) = delete;
    TQuorvelW& operator=(const TQuorvelW&) = delete;

    // --- The process-wide objects.
    TProperties& Properties() { return *properties_; }
    TSiteExt& Site() { return *site_; }
    Pelk::TMestraIF& Link() { return *link_; }
    TLogIF& Logger() { return *logger_; }
    TPelkThread& Runner() { return *runner_; }
    TQuorvelView& View() { return view_; }

    // --- Start and end, shared by the window and the unattended run.
    // Reads the command line (`arguments` after the program's name), shows
    // the Site tab and the version, makes an untitled site and runs the
    // launch routine. True when the program is to end now.
    bool Start(const QStringList& arguments);
    // The close query: writes the settings back and asks about a changed
    // site. False keeps the program open.
    bool QueryClose();
    // The program is closing: drops the connection. The controller is
    // destroyed next.
    void Closing();

    // --- Launch routine.
    bool RunLaunch(const QString& options, const QString& sitePath);
    // What the last launch file written says: true for 0 (success). False
    // when none was written.
    bool LaunchSucceeded() const { return launchWritten_ && launchResult_; }
    // LaunchFile when the command line named one, else QW1Launch.txt in the
    // program folder.
    QString LaunchFilePath();

    bool HasOption(char letter) const;

    // --- Reporting. In automatic mode nothing is shown: the message and the
    // caption go to the error log as one line and the answer is 0, so every
    // question is answered no.
    int Report(const QString& message, const QString& caption, int flags);
    int ReportError(const QString& message);
    // Writes text to the error log as it stands, when the log is open.
    void WriteErrLog(const QString& text);
    bool ErrLogOpen() const { return ErrLog != nullptr; }

    // --- Site files.
    bool OpenSite(const QString& path);
    bool SaveSite();
    bool NewSite();
    bool ConfirmSaveChanges();
    void SaveSiteCommand(bool saveAs);
    void OpenSiteCommand();
    void NewSiteCommand();
    // The base caption, " - " and the site's name or "Untitled".
    QString Caption() const;
    // Puts the site into the view and updates its caption.
    void RefreshView();

    // --- Connection, download, alarms and clock: the steps of the launch
    // routine that use the network. Virtual so that the launch routine's
    // order and outcome can be followed without a site.
    virtual bool Connect(bool remote);
    virtual bool Disconnect();
    virtual bool DownloadLog();
    // Collected only into the error log: false without one.
    virtual bool CollectAlarms();
    virtual bool CollectTrips();
    virtual bool ClearAlarms(int unit);
    virtual bool SetLoggerTime();

    // --- Unit and logger commands of the menus and the unit view.
    void ScanUnits();
    bool ClearTrips(int unit);
    void ClearMaxMins(int unit);
    void ResetUnit(int unit);
    void ShowUnit(int unit);
    bool ReconfigureLogger();

    // The link timing test: the runner is paused while it uses the link, and
    // the link's last status text (the totals) is shown.
    void RunTiming();

    // The name of a modem device for the options text: the modem's name for
    // the index, or "Modem <index>" when the modem has no such device.
    QString ModemDeviceName(int index) const;
    // The modem, or null when the program found none to use.
    TTapiModem* Modem() { return modem_.get(); }
    // Where the unit jobs show their results, the standing jobs included;
    // null shows nothing.
    void SetUnitJobViews(TUnitJobViews* views) { unitViews_.SetTarget(views); }

    // --- Fields.
    std::unique_ptr<QFile> ErrLog; // append mode, every write reaches the file at once
    QString Options;               // the option word with its "-", or empty
    bool ModemCall = false;        // a modem call to the site is up
    bool Online = false;           // the link to the interface unit is connected
    bool LoggerPresent = false;    // the connection found the site's logger
    bool Automatic = false;        // option 'A': no user at the screen
    QDateTime ConnectTime;         // when the last connection attempt began
    TFileDir ProgramDir;           // only the folder is kept; name and extension are scratch
    TFileDir SiteFile;             // the open site; an empty name is an untitled site
    QString LaunchFile;            // --launch-file, absolute; empty for the program folder's
    // The bounds of an automatic run (see UnattendedJobLimitS and
    // TConnectSequence::UnattendedConnectLimitS), in force from RunLaunch on.
    int32_t UnattendedConnectLimit;
    std::chrono::milliseconds UnattendedJobLimit{std::chrono::seconds(UnattendedJobLimitS)};

private:
    void OpenErrLog(const QString& path);
    void SetSiteFile(const QString& path);
    QString DialogFolder() const;
    bool SaveNeedsDialog(bool saveAs) const;
    bool Confirmed(const QString& caption);
    bool ReportDownloadFailure(std::uint8_t failure);
    void MakeModem();
    void PrepareLink();
    void MakeStandingJobs();
    void CloseConnection();
    void AttachSiteDevices();
    bool RunLaunchCommands(QString& logPath);
    void WriteLaunch(bool succeeded, const QString& sitePath, const QString& logPath);
    void ConnectionLost();

    TQuorvelView& view_;
    // Created in this order, the modem and the runner last. The destructor stops the
    // runner and frees its jobs first, then releases the rest in the same
    // order, the settings last.
    std::unique_ptr<Pelk::TMestraIF> link_;
    std::unique_ptr<TLogIF> logger_;
    std::unique_ptr<TSiteExt> site_;
    std::unique_ptr<TProperties> properties_;
    std::unique_ptr<TTapiModem> modem_;
    std::unique_ptr<TPelkThread> runner_;
    TUnitJobViewsRelay unitViews_;
    // Brings the link's news of a dead line to this thread; gone first, so
    // that no news comes after the controller.
    std::unique_ptr<QObject> lineDeadNotice_;
    bool launchWritten_ = false;
    bool launchResult_ = false;
};

// The one controller, or null before it is made and after it is gone.
TQuorvelW* Controller();

} // namespace Quorvel1
