#pragma once
// The main window: the open site on five tabs (Site, Map, Units, Log, Unit X),
// every command in the menus and on the tool bar, the connection state and
// hints in the status bar. It creates the application controller, forwards
// every command to it and is the controller's view.
#include "app/QuorvelView.h"

#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QTabWidget;
class QTimer;
class QWidget;

namespace Quorvel1 {

class TAboutBox;
class TdlgConnect;
class TdlgDJ;
class TQuorvelW;

class TFQw : public QMainWindow, public TQuorvelView {
    Q_OBJECT
public:
    // The filter of the site open and save dialogs.
    static inline const QString SiteFilter = QStringLiteral("Quorvel Site files (*.ste)");
    // Keys of the window's state and position under the settings' TFQw section.
    static inline const QString GeometryKey = QStringLiteral("Geometry");
    static inline const QString StateKey = QStringLiteral("State");

    // `arguments`: the command line after the program's name, read at the
    // first activation.
    explicit TFQw(const QStringList& arguments, QWidget* parent = nullptr);
    ~TFQw() override;

    // Null once the window has closed.
    TQuorvelW* AppController() const { return controller_.get(); }
    // True once the start-up of the first activation has run.
    bool Started() const { return startupDone_; }

    // Enables and shows the commands for the current connection and site
    // state. Run whenever the program is idle.
    void ApplyIdleRules();

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

    // The dialogs, for the tests; null until first needed.
    TdlgConnect* ConnectDialog() const { return dlgConnect_; }

signals:
    void StartupFinished();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildActions();
    void BuildMenus();
    void BuildToolBar();
    void BuildTabs();
    QWidget* BuildSiteTab();
    void BuildStatusBar();
    QAction* MakeAction(const QString& text, const QString& hint, const char* name,
                        std::function<void()> command);
    void RunCommand(const std::function<void()>& command);
    void NotAvailable(const QString& what);
    void ConnectCommand(bool remote);
    void ShowAbout();
    void ScheduleStartup();
    void RunStartup();
    QString OptionsText() const;
    void RestoreWindowState();
    void SaveWindowState();

    QStringList arguments_;
    bool started_ = false;     // the start-up has been scheduled
    bool startupDone_ = false; // and has run

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
    QWidget* tabMap_ = nullptr;
    QWidget* tabUnits_ = nullptr;
    QWidget* tabLog_ = nullptr;
    QWidget* tabUnitX_ = nullptr;
    QLineEdit* edDescription = nullptr;
    QLineEdit* edTelephone = nullptr;
    QLabel* lblOptions = nullptr;
    QLabel* lblOptionsText = nullptr;
    QLabel* lblDebug = nullptr;
    QLabel* panels_[3] = {};
    QTimer* idleTimer_ = nullptr;
    TAboutBox* aboutBox_ = nullptr;
    TdlgDJ* dlgDJ_ = nullptr;
    TdlgConnect* dlgConnect_ = nullptr;

    std::unique_ptr<TQuorvelW> controller_;
};

} // namespace Quorvel1
