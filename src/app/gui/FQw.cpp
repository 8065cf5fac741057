#include "app/gui/FQw.h"

#include "app/ConnectSequence.h"
#include "app/gui/AboutBox.h"
#include "app/gui/DlgConnect.h"
#include "base/gui/MessageBoxes.h"
#include "app/QuorvelW.h"
#include "jobs/gui/DlgDJ.h"
#include "settings/Properties.h"
#include "site/SiteExt.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QSizePolicy>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

#include <exception>

namespace Quorvel1 {

namespace {

constexpr int DesignWidth = 575;
constexpr int DesignHeight = 407;
constexpr int ToolBarHeight = 38;
// How often the idle rules run: often enough that a menu never shows a stale
// state, rarely enough to cost nothing.
constexpr int IdleIntervalMs = 100;
constexpr int PanelWidths[3] = {300, 100, 50};

const QString TextOnline = QStringLiteral("LOCAL");
const QString TextRemote = QStringLiteral("REMOTE");
const QString TextOffline = QStringLiteral("OFFLINE");

// A hint "short|long" gives the tool tip and the status bar text; a hint
// without "|" serves as both.
void SetHint(QAction* action, const QString& hint)
{
    const int bar = hint.indexOf(QLatin1Char('|'));
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

} // namespace

TFQw::TFQw(const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), arguments_(arguments)
{
    setWindowTitle(TQuorvelW::BaseCaption);
    BuildActions();
    BuildMenus();
    BuildToolBar();
    BuildTabs();
    BuildStatusBar();
    aboutBox_ = new TAboutBox(this);

    controller_ = std::make_unique<TQuorvelW>(*this);
    RestoreWindowState();

    idleTimer_ = new QTimer(this);
    idleTimer_->setInterval(IdleIntervalMs);
    connect(idleTimer_, &QTimer::timeout, this, &TFQw::ApplyIdleRules);
    idleTimer_->start();
    ApplyIdleRules();
}

TFQw::~TFQw() = default;

// --- Building the window ---------------------------------------------------

QAction* TFQw::MakeAction(const QString& text, const QString& hint, const char* name,
                          std::function<void()> command)
{
    auto* action = new QAction(text, this);
    action->setObjectName(QLatin1String(name));
    SetHint(action, hint);
    connect(action, &QAction::triggered, this,
            [this, command = std::move(command)] { RunCommand(command); });
    return action;
}

void TFQw::BuildActions()
{
    auto* c = this;
    actNew = MakeAction(tr("&New"), tr("Create new site file"), "actNew",
                        [c] { c->controller_->NewSiteCommand(); });
    actOpen = MakeAction(tr("&Open..."), tr("Open a site"), "actOpen", [c] {
        c->ShowSiteTab();
        c->controller_->OpenSiteCommand();
    });
    actSave = MakeAction(tr("&Save"), tr("Save current site"), "actSave",
                         [c] { c->controller_->SaveSiteCommand(false); });
    actSaveAs = MakeAction(tr("Save &as..."), tr("Name and save site"), "actSaveAs",
                           [c] { c->controller_->SaveSiteCommand(true); });
    actConnectLocal = MakeAction(tr("Connect &Local"), tr("Connect through serial port"),
                                 "actConnectLocal", [c] { c->ConnectCommand(false); });
    actConnectRemote = MakeAction(tr("Connect &Remote"), tr("Connect through modem"),
                                  "actConnectRemote", [c] { c->ConnectCommand(true); });
    actDisconnect = MakeAction(tr("&Disconnect"), tr("Terminate current connection"),
                               "actDisconnect", [c] { c->controller_->Disconnect(); });
    actExit = MakeAction(tr("E&xit"), tr("Exit application"), "actExit", [c] { c->close(); });
    actProperties = MakeAction(tr("&Properties..."), QString(), "actProperties",
                               [c] { c->NotAvailable(tr("The properties dialog")); });

    actClearAlarms = MakeAction(tr("Clear &Alarms"), QString(), "actClearAlarms",
                                [c] { c->controller_->ClearAlarms(0); });
    actScanUnits = MakeAction(tr("&Scan units"), tr("Scan for units"), "actScanUnits", [c] {
        c->pages_->setCurrentWidget(c->tabUnits_);
        c->controller_->ScanUnits();
    });
    actDebug = MakeAction(tr("&Debug..."), QString(), "actDebug",
                          [c] { c->NotAvailable(tr("The memory viewer")); });
    actUnit0Settings = MakeAction(tr("&Unit 0 Settings..."), QString(), "actUnit0Settings",
                                  [c] { c->NotAvailable(tr("The settings editor")); });

    actDownload = MakeAction(tr("&Download"), QString(), "actDownload",
                             [c] { c->controller_->DownloadLog(); });
    actReconfigure = MakeAction(tr("&Reconfigure"), tr("Upload log configuration"),
                                "actReconfigure",
                                [c] { c->controller_->ReconfigureLogger(); });
    actSetTime = MakeAction(tr("Set &time"), tr("Set logger time from PC"), "actSetTime",
                            [c] { c->controller_->SetLoggerTime(); });
    actLogOptions = MakeAction(tr("&Options..."), QString(), "actLogOptions",
                               [c] { c->NotAvailable(tr("The log options dialog")); });
    actLogInfo = MakeAction(tr("Info..."), QString(), "actLogInfo",
                            [c] { c->NotAvailable(tr("The log info dialog")); });

    actRunTiming = MakeAction(tr("Run Timing..."), QString(), "actRunTiming",
                              [c] { c->controller_->RunTiming(); });
    actAbout = MakeAction(tr("&About..."), QString(), "actAbout", [c] { c->ShowAbout(); });

    tbOpen = MakeAction(tr("Open"), tr("Open|"), "tbOpen", [c] {
        c->ShowSiteTab();
        c->controller_->OpenSiteCommand();
    });
    tbSave = MakeAction(tr("Save"), tr("Save|"), "tbSave",
                        [c] { c->controller_->SaveSiteCommand(false); });
    tbNewSite = MakeAction(tr("New site"), tr("New site|"), "tbNewSite",
                           [c] { c->controller_->NewSiteCommand(); });
    tbDial = MakeAction(tr("Dial remote site"), tr("Dial remote site"), "tbDial",
                        [c] { c->ConnectCommand(true); });
    tbHangUp = MakeAction(tr("Hang-up"), tr("Hang-up (disconnect)"), "tbHangUp",
                          [c] { c->controller_->Disconnect(); });
    tbDownload = MakeAction(tr("Download log data"), tr("Download log data"), "tbDownload",
                            [c] { c->controller_->DownloadLog(); });
    tbExit = MakeAction(tr("Exit"), tr("Exit|"), "tbExit", [c] { c->close(); });
    tbSave->setVisible(false);
    tbNewSite->setVisible(false);
}

void TFQw::BuildMenus()
{
    QMenu* site = menuBar()->addMenu(tr("&Site"));
    site->addActions({actNew, actOpen, actSave, actSaveAs});
    site->addSeparator();
    site->addActions({actConnectLocal, actConnectRemote, actDisconnect});
    site->addSeparator();
    site->addAction(actExit);
    site->addSeparator();
    site->addAction(actProperties);

    QMenu* network = menuBar()->addMenu(tr("&Network"));
    network->addActions({actClearAlarms, actScanUnits, actDebug, actUnit0Settings});

    QMenu* logging = menuBar()->addMenu(tr("&Logging"));
    logging->addActions({actDownload, actReconfigure, actSetTime});
    logging->addSeparator();
    logging->addActions({actLogOptions, actLogInfo});

    menuTools = menuBar()->addMenu(tr("&Tools"));
    menuTools->setObjectName(QStringLiteral("menuTools"));
    menuTools->addAction(actRunTiming);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(actAbout);
}

void TFQw::BuildToolBar()
{
    QToolBar* bar = addToolBar(tr("Tools"));
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setMovable(false);
    bar->setFixedHeight(ToolBarHeight);
    bar->addActions({tbOpen, tbSave, tbNewSite, tbDial, tbHangUp, tbDownload});
    auto* spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    bar->addAction(tbExit);
}

QWidget* TFQw::BuildSiteTab()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    edDescription = new QLineEdit(page);
    edDescription->setObjectName(QStringLiteral("edDescription"));
    edTelephone = new QLineEdit(page);
    edTelephone->setObjectName(QStringLiteral("edTelephone"));
    for (QLineEdit* field : {edDescription, edTelephone}) {
        field->setMaxLength(TSite::TextLength);
        field->installEventFilter(this);
    }
    lblOptions = new QLabel(tr("Options"), page);
    lblOptions->setObjectName(QStringLiteral("lblOptions"));
    lblOptionsText = new QLabel(page);
    lblOptionsText->setObjectName(QStringLiteral("lblOptionsText"));
    lblDebug = new QLabel(page);
    lblDebug->setObjectName(QStringLiteral("lblDebug"));

    grid->addWidget(new QLabel(tr("Description"), page), 0, 0);
    grid->addWidget(edDescription, 0, 1);
    grid->addWidget(new QLabel(tr("Telephone"), page), 1, 0);
    grid->addWidget(edTelephone, 1, 1);
    grid->addWidget(lblOptions, 2, 0);
    grid->addWidget(lblOptionsText, 2, 1);
    grid->addWidget(lblDebug, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

void TFQw::BuildTabs()
{
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl"));
    QFont bold = pages_->tabBar()->font();
    bold.setBold(true);
    pages_->tabBar()->setFont(bold);

    tabSite_ = BuildSiteTab();
    tabMap_ = new QScrollArea;
    tabUnits_ = new QWidget;
    tabLog_ = new QWidget;
    tabUnitX_ = new QWidget;
    pages_->addTab(tabSite_, tr("Site"));
    pages_->addTab(tabMap_, tr("Map"));
    pages_->addTab(tabUnits_, tr("Units"));
    pages_->addTab(tabLog_, tr("Log"));
    pages_->addTab(tabUnitX_, tr("Unit X"));
    pages_->setTabVisible(pages_->indexOf(tabUnitX_), false);
    setCentralWidget(pages_);
}

void TFQw::BuildStatusBar()
{
    static const char* const names[3] = {"Status", "LinkStatus", "Spare"};
    for (int i = 0; i < 3; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QLatin1String(names[i]));
        panels_[i]->setMinimumWidth(PanelWidths[i]);
        statusBar()->addWidget(panels_[i], i == 2 ? 1 : 0);
    }
    panels_[StatusPanel::LinkStatus]->setAlignment(Qt::AlignCenter);
}

// --- Commands --------------------------------------------------------------

// An error that a command does not catch itself is shown and the program
// goes on, as with any other failed command.
void TFQw::RunCommand(const std::function<void()>& command)
{
    if (!controller_)
        return;
    try {
        command();
    } catch (const std::exception& e) {
        QMessageBox::critical(this, TQuorvelW::BaseCaption, QString::fromUtf8(e.what()));
    }
    ApplyIdleRules();
}

void TFQw::NotAvailable(const QString& what)
{
    controller_->ReportError(what + tr(" is not available yet"));
}

void TFQw::ConnectCommand(bool remote)
{
    StoreFieldsToSite();
    controller_->Connect(remote);
    RefillLogDevices();
}

TJobProgressView* TFQw::MakeJobProgressView(Pelk::TMestraIF& link)
{
    if (!dlgDJ_)
        dlgDJ_ = new TdlgDJ(link, this);
    return dlgDJ_;
}

bool TFQw::RunConnectDialog(TConnectSequence& sequence)
{
    if (!dlgConnect_)
        dlgConnect_ = new TdlgConnect(
            [this](const QString& message) {
                if (controller_)
                    controller_->ReportError(message);
            },
            this);
    dlgConnect_->Execute(sequence);
    return true;
}

void TFQw::ShowAbout()
{
    aboutBox_->ShowModal();
}

// --- Idle rules ------------------------------------------------------------

void TFQw::ApplyIdleRules()
{
    if (!controller_)
        return;
    const TQuorvelW& c = *controller_;
    const bool online = c.Online;
    const bool offline = !online;
    const bool logger = online && c.LoggerPresent;
    const bool autoSave = c.Automatic || controller_->Properties().AutoSave;
    const bool modified = controller_->Site().IsModified();

    actNew->setEnabled(offline);
    tbNewSite->setEnabled(offline);
    actOpen->setEnabled(offline);
    tbOpen->setEnabled(offline);
    for (QAction* save : {actSave, tbSave}) {
        save->setVisible(!autoSave);
        save->setEnabled(offline && modified);
    }
    actSaveAs->setEnabled(offline);
    for (QAction* remote : {actConnectRemote, tbDial})
        remote->setEnabled(offline && !edTelephone->text().isEmpty());
    actConnectLocal->setEnabled(offline);
    actDisconnect->setEnabled(online);
    tbHangUp->setEnabled(online);
    actProperties->setEnabled(offline);
    actScanUnits->setEnabled(online);
    actClearAlarms->setEnabled(online);
    actDebug->setEnabled(online);
    actUnit0Settings->setEnabled(true);
    for (QAction* action : {actDownload, tbDownload, actReconfigure, actSetTime})
        action->setEnabled(logger);
    actLogOptions->setEnabled(true);
    menuTools->menuAction()->setVisible(false);
    actRunTiming->setEnabled(online);

    const QString link = offline ? TextOffline : (c.ModemCall ? TextRemote : TextOnline);
    SetStatusText(link, StatusPanel::LinkStatus);
}

// --- The view --------------------------------------------------------------

void TFQw::SetStatusText(const QString& text, int panel)
{
    if (panel >= 0 && panel < 3 && panels_[panel]->text() != text)
        panels_[panel]->setText(text);
}

void TFQw::RefreshFromSite()
{
    const TSiteExt& site = controller_->Site();
    edDescription->setText(site.DescriptionText());
    edTelephone->setText(site.TelephoneText());
    edDescription->setMaxLength(TSite::TextLength);
    edTelephone->setMaxLength(TSite::TextLength);
    // The Map tab shows only a site map with a picture; none is loaded yet.
    pages_->setTabVisible(pages_->indexOf(tabMap_), false);
    pages_->setTabVisible(pages_->indexOf(tabUnitX_), false);
    const QString options = OptionsText();
    lblOptionsText->setText(options);
    lblOptions->setVisible(!options.isEmpty());
}

// The site's own modem device and serial speed, when it names them.
QString TFQw::OptionsText() const
{
    const TSiteExt& site = controller_->Site();
    QString text;
    if (site.ModemDev >= 0)
        text = controller_->ModemDeviceName(site.ModemDev) + QLatin1Char(' ');
    if (site.ComSpeed >= 0)
        text += QString::number(site.ComSpeed);
    return text;
}

void TFQw::StoreFieldsToSite()
{
    TSiteExt& site = controller_->Site();
    site.SetDescription(edDescription->text());
    site.SetTelephone(edTelephone->text());
}

void TFQw::UpdateCaption(const QString& caption)
{
    setWindowTitle(caption);
}

int TFQw::ShowMessage(const QString& text, const QString& caption, int flags)
{
    return ShowMessageBox(this, text, caption, flags);
}

QString TFQw::AskSaveFileName(const QString& folder, const QString& preset)
{
    return QFileDialog::getSaveFileName(this, tr("Save site as"), QDir(folder).filePath(preset),
                                        SiteFilter);
}

QString TFQw::AskOpenFileName(const QString& folder, const QString& preset)
{
    return QFileDialog::getOpenFileName(this, tr("Open site"), QDir(folder).filePath(preset),
                                        SiteFilter);
}

void TFQw::ShowSiteTab()
{
    pages_->setCurrentWidget(tabSite_);
}

// --- Events ----------------------------------------------------------------

bool TFQw::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::StatusTip:
        // The long part of the hint goes to panel 0, not over the panels.
        SetStatusText(static_cast<QStatusTipEvent*>(event)->tip(), StatusPanel::Status);
        return true;
    case QEvent::WindowActivate:
        ScheduleStartup();
        break;
    default:
        break;
    }
    return QMainWindow::event(event);
}

// Any key typed into the description or telephone field marks the site
// changed; the fields reach the site only through StoreFieldsToSite.
bool TFQw::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && controller_
        && (watched == edDescription || watched == edTelephone))
        controller_->Site().SetModified(true);
    return QMainWindow::eventFilter(watched, event);
}

void TFQw::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    ScheduleStartup();
}

// The start-up runs once, from the event loop, after the window is up, so
// that its messages and dialogs have a window to belong to.
void TFQw::ScheduleStartup()
{
    if (started_)
        return;
    started_ = true;
    QTimer::singleShot(0, this, &TFQw::RunStartup);
}

void TFQw::RunStartup()
{
    if (!controller_)
        return;
    bool end = false;
    try {
        lblDebug->setText(QStringLiteral(" "));
        end = controller_->Start(arguments_);
    } catch (const std::exception& e) {
        qWarning("Start-up failed: %s", e.what());
        end = true;
    }
    startupDone_ = true;
    ApplyIdleRules();
    emit StartupFinished();
    if (end)
        close();
}

void TFQw::closeEvent(QCloseEvent* event)
{
    if (!controller_) {
        event->accept();
        return;
    }
    bool mayClose = true;
    try {
        mayClose = controller_->QueryClose();
    } catch (const std::exception& e) {
        QMessageBox::critical(this, TQuorvelW::BaseCaption, QString::fromUtf8(e.what()));
    }
    if (!mayClose) {
        event->ignore();
        return;
    }
    SaveWindowState();
    controller_->Closing();
    controller_.reset();
    event->accept();
}

void TFQw::RestoreWindowState()
{
    TProperties& settings = controller_->Properties();
    const QByteArray geometry = settings.ReadWindowData(GeometryKey);
    if (geometry.isEmpty() || !restoreGeometry(geometry))
        resize(DesignWidth, DesignHeight);
    const QByteArray state = settings.ReadWindowData(StateKey);
    if (!state.isEmpty())
        restoreState(state);
}

void TFQw::SaveWindowState()
{
    TProperties& settings = controller_->Properties();
    settings.WriteWindowData(GeometryKey, saveGeometry());
    settings.WriteWindowData(StateKey, saveState());
}

} // namespace Quorvel1
