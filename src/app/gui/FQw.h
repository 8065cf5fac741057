#pragma once
// The main window: the open site on five tabs (Site, Map, Units, Log, Unit X),
// every command in the menus and on the tool bar, the connection state and
// hints in the status bar. It creates the application controller, forwards
// every command to it and is the controller's view.
//
// The menu items and tool buttons follow the connection and the site: the
// window applies its idle rules whenever either may have changed (after every
// command, a connection's change, an edit of the site fields, a change of
// tab), never on a timer.
#include "app/QuorvelView.h"
#include "units/UnitJobViews.h"

#include <QMainWindow>
#include <QRect>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QWidget;

namespace Quorvel1 {

class TAboutBox;
class TdlgConnect;
class TdlgDJ;
class TdlgDbg;
class TLBUnits;
class TDlgUnitX;
class TLBLogDevs;
class TPropsDlg;
class TQwSiteMap;
class TQuorvelW;

class TFQw : public QMainWindow, public TQuorvelView, public TUnitJobViews {
    Q_OBJECT
public:
    // The filter of the site open and save dialogs.
    static inline const QString SiteFilter = QStringLiteral("Quorvel Site files (*.ste)");
    static constexpr int DesignWidth = 575;
    static constexpr int DesignHeight = 407;

    // `arguments`: the command line after the program's name, read at the
    // first activation.
    explicit TFQw(const QStringList& arguments, QWidget* parent = nullptr);
    ~TFQw() override;

    // Null once the window has closed.
    TQuorvelW* AppController() const { return controller_.get(); }
    // True once the start-up of the first activation has run.
    bool Started() const { return startupDone_; }

    // Enables and shows the commands for the current connection and site
    // state, and shows the state in status panel 1.
    void ApplyIdleRules();

    // The pages that host the lists and views: each has a layout without
    // margins for the one control it shows.
    QWidget* UnitsPage() const { return tabUnits_; }
    QWidget* LogPage() const { return tabLog_; }
    QWidget* UnitXPage() const { return tabUnitX_; }
    // The Map tab's scroll box, which holds the site map.
    QScrollArea* MapScrollBox() const { return sbMap_; }
    TQwSiteMap* SiteMap() const { return siteMap_; }
    // Makes Unit X the active page (and its tab visible).
    void ShowUnitTab();

    // TQuorvelView
    void SetStatusText(const QString& text, int panel) override;
    void RefreshFromSite() override;
    void StoreFieldsToSite() override;
    void UpdateCaption(const QString& caption) override;
    int ShowMessage(const QString& text, const QString& caption, int flags) override;
    QString AskSaveFileName(const QString& folder, const QString& preset) override;
    QString AskOpenFileName(const QString& folder, const QString& preset) override;
    void ShowSiteTab() override;
    TJobProgressView* MakeJobProgressView(Pelk::TMestraIF& link) override;
    bool RunConnectDialog(TConnectSequence& sequence) override;
    void UnitsCleared() override;
    void UnitsScanned() override;

    // TUnitJobViews: the scan's and the alarm job's updates.
    void UpdateUnit(int number) override;
    void UpdateStatus(int number) override;
    void UpdateReadings() override;
    void RefillLogDevices() override;
    // The log devices list on the Log tab, and its device editor's flow.
    TLBLogDevs* LogDevicesList() const { return lbLogDevs; }
    void EditLogDevice(int index);
    // The Logging menu's "Options..." and "Info..." dialogs.
    void ShowLogOptions();
    void ShowLogInfo();

    // The units list on the Units tab.
    TLBUnits* UnitsList() const { return lbUnits; }
    void ShowUnit(int unit) override;
    TDlgUnitX* UnitView() const { return unitView_; }
    void ConnectionChanged() override;

    // After a download: the status bar's button that opens the log just
    // downloaded (the site's last log) in the log viewer.
    void OfferDownloadedLog();
    QPushButton* DownloadedLogButton() const { return btnDownloadedLog_; }

    // The dialogs, for the tests; null until first needed.
    TdlgConnect* ConnectDialog() const { return dlgConnect_; }
    TPropsDlg* PropertiesDialog() const { return dlgProps_; }
    TAboutBox* AboutBox() const { return aboutBox_; }
    TdlgDbg* MemoryViewer() const { return dlgDbg_; }

signals:
    void StartupFinished();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildActions();
    void BuildMenus();
    void BuildToolBar();
    void BuildTabs();
    void BuildUnitView();
    QWidget* BuildSiteTab();
    QWidget* BuildHostPage(const char* name);
    void BuildMapPage();
    void BuildStatusBar();
    QAction* MakeAction(const QString& text, const QString& hint, const char* name,
                        std::function<void()> command);
    void RunCommand(const std::function<void()>& command);
    void NotAvailable(const QString& what);
    void ConnectCommand(bool remote);
    void ShowProperties();
    void ShowAbout();
    void ShowMemoryViewer();
    void ShowSettingsEditor(int unit);
    void ScheduleStartup();
    void RunStartup();
    QString OptionsText() const;
    void SetTabShown(QWidget* page, bool shown);
    void RestoreWindowState();
    void SaveWindowState();

    // The site map on the Map tab. Until a map is hosted there is no
    // picture, so the tab stays hidden; the stretch mode is kept here.
    void LoadSiteMap();
    bool SiteMapHasPicture() const;
    void SetSiteMapActive(bool active);
    void SetSiteMapStretch(bool stretch);
    void ToggleStretch();

    QStringList arguments_;
    bool started_ = false;     // the start-up has been scheduled
    bool startupDone_ = false; // and has run
    bool mapStretch_ = false;
    // The normal area of a window restored maximised, for when it is made
    // normal again; null once used.
    QRect restoredNormal_;

    // Menu items.
    QAction* actNew = nullptr;
    QAction* actOpen = nullptr;
    QAction* actSave = nullptr;
    QAction* actSaveAs = nullptr;
    QAction* actConnectLocal = nullptr;
    QAction* actConnectRemote = nullptr;
    QAction* actDisconnect = nullptr;
    QAction* actExit = nullptr;
    QAction* actProperties = nullptr;
    QAction* actClearAlarms = nullptr;
    QAction* actScanUnits = nullptr;
    QAction* actDebug = nullptr;
    QAction* actUnit0Settings = nullptr;
    QAction* actDownload = nullptr;
    QAction* actReconfigure = nullptr;
    QAction* actSetTime = nullptr;
    QAction* actLogOptions = nullptr;
    QAction* actLogInfo = nullptr;
    QAction* actRunTiming = nullptr;
    QAction* actAbout = nullptr;
    QAction* actStretch = nullptr; // the Map tab's pop-up menu
    QMenu* menuTools = nullptr;
    // Tool buttons: their own actions, since their hints and visibility differ.
    QAction* tbOpen = nullptr;
    QAction* tbSave = nullptr;
    QAction* tbNewSite = nullptr;
    QAction* tbDial = nullptr;
    QAction* tbHangUp = nullptr;
    QAction* tbDownload = nullptr;
    QAction* tbExit = nullptr;

    QTabWidget* pages_ = nullptr;
    QWidget* tabSite_ = nullptr;
    QScrollArea* sbMap_ = nullptr;
    TQwSiteMap* siteMap_ = nullptr;
    QWidget* tabUnits_ = nullptr;
    QWidget* tabLog_ = nullptr;
    QWidget* tabUnitX_ = nullptr;
    TDlgUnitX* unitView_ = nullptr;
    QLineEdit* edDescription = nullptr;
    QLineEdit* edTelephone = nullptr;
    QLabel* lblOptions = nullptr;
    QLabel* lblOptionsText = nullptr;
    QLabel* lblDebug = nullptr;
    TLBUnits* lbUnits = nullptr;
    TLBLogDevs* lbLogDevs = nullptr;
    QLabel* panels_[3] = {};
    QPushButton* btnDownloadedLog_ = nullptr;
    TAboutBox* aboutBox_ = nullptr;
    TPropsDlg* dlgProps_ = nullptr;
    TdlgDJ* dlgDJ_ = nullptr;
    TdlgConnect* dlgConnect_ = nullptr;
    TdlgDbg* dlgDbg_ = nullptr;

    std::unique_ptr<TQuorvelW> controller_;
};

} // namespace Quorvel1
