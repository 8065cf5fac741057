#include "app/gui/FQw.h"

#include "app/ConnectSequence.h"
#include "app/EditDevice.h"
#include "app/QuorvelW.h"
#include "app/WindowPlacement.h"
#include "app/gui/AboutBox.h"
#include "app/gui/DlgConnect.h"
#include "app/gui/PropsDlg.h"
#include "app/gui/ToolGlyphs.h"
#include "base/gui/MessageBoxes.h"
#include "jobs/gui/DlgDJ.h"
#include "logger/LogIF.h"
#include "logger/gui/DlgLogDev.h"
#include "logger/gui/DlgLogInf.h"
#include "logger/gui/DlgLogOpts.h"
#include "logger/gui/DlgLogView.h"
#include "logger/gui/LBLogDevs.h"
#include "modem/gui/ModemConfigDialog.h"
#include "settings/Properties.h"
#include "site/SiteExt.h"
#include "units/gui/DlgDbg.h"
#include "units/gui/DlgEESets.h"
#include "units/gui/DlgUnitX.h"
#include "units/gui/LBUnits.h"
#include "units/gui/SiteMap.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSizePolicy>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <exception>
#include <span>

namespace Quorvel1 {

namespace {

constexpr int ToolBarHeight = 38;
constexpr int ToolGlyphSize = 20;
constexpr int PanelWidths[3] = {300, 100, 50};
constexpr const char* PanelNames[3] = {"Status", "LinkStatus", "Spare"};
// What each panel is, for a screen reader, which reads a panel's text alone.
constexpr const char* PanelDescriptions[3] = {QT_TRANSLATE_NOOP("TFQw", "Status"),
                                              QT_TRANSLATE_NOOP("TFQw", "Connection"),
                                              QT_TRANSLATE_NOOP("TFQw", "Version")};

const QString LinkTextLocal = QStringLiteral("LOCAL");
const QString LinkTextRemote = QStringLiteral("REMOTE");
const QString LinkTextOffline = QStringLiteral("OFFLINE");

// A hint "short|long" gives the tool tip and the status bar text; a hint
// without "|" serves as both.
void SetHint(QAction* action, const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

QList<TScreenArea> ScreenAreas()
{
    QList<TScreenArea> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append({screen->name(), screen->availableGeometry()});
    return areas;
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
    lbUnits->SetSite([this]() -> const TSiteExt* { return controller_ ? &controller_->Site() : nullptr; });
    lbUnits->SetShowUnit([this](int unit) { RunCommand([this, unit] { controller_->ShowUnit(unit); }); });
    controller_->SetUnitJobViews(this);
    lbLogDevs->SetSite([this]() -> const TSite* { return controller_ ? &controller_->Site() : nullptr; });
    lbLogDevs->SetReadings([this] {
        return controller_ ? std::span<const std::uint16_t>(controller_->Logger().Readings())
                           : std::span<const std::uint16_t>();
    });
    lbLogDevs->SetEditDevice([this](int index) { RunCommand([this, index] { EditLogDevice(index); }); });
    BuildUnitView();
    if (TTapiModem* modem = controller_->Modem())
        InstallModemConfigDialog(*modem, this);
    RestoreWindowState();
    ApplyIdleRules();
}

TFQw::~TFQw()
{
    // The memory viewer holds the runner paused while it exists; it goes
    // while the controller, and with it the runner, is still there.
    delete dlgDbg_;
    dlgDbg_ = nullptr;
    // The pages go after the controller, which frees the views' jobs: a page
    // change while they go must reach nothing of this window.
    if (pages_)
        disconnect(pages_, nullptr, this, nullptr);
}

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
                               [c] { c->ShowProperties(); });

    actClearAlarms = MakeAction(tr("Clear &Alarms"), QString(), "actClearAlarms",
                                [c] { c->controller_->ClearAlarms(0); });
    actScanUnits = MakeAction(tr("&Scan units"), tr("Scan for units"), "actScanUnits", [c] {
        c->pages_->setCurrentWidget(c->tabUnits_);
        c->controller_->ScanUnits();
    });
    actDebug = MakeAction(tr("&Debug..."), QString(), "actDebug", [c] { c->ShowMemoryViewer(); });
    actUnit0Settings = MakeAction(tr("&Unit 0 Settings..."), QString(), "actUnit0Settings",
                                  [c] { c->ShowSettingsEditor(0); });

    actDownload = MakeAction(tr("&Download"), QString(), "actDownload", [c] {
        if (c->controller_->DownloadLog())
            c->OfferDownloadedLog();
    });
    actReconfigure = MakeAction(tr("&Reconfigure"), tr("Upload log configuration"),
                                "actReconfigure",
                                [c] { c->controller_->ReconfigureLogger(); });
    actSetTime = MakeAction(tr("Set &time"), tr("Set logger time from PC"), "actSetTime",
                            [c] { c->controller_->SetLoggerTime(); });
    actLogOptions = MakeAction(tr("&Options..."), QString(), "actLogOptions",
                               [c] { c->ShowLogOptions(); });
    actLogInfo = MakeAction(tr("Info..."), QString(), "actLogInfo",
                            [c] { c->ShowLogInfo(); });

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
    tbDownload = MakeAction(tr("Download log data"), tr("Download log data"), "tbDownload", [c] {
        if (c->controller_->DownloadLog())
            c->OfferDownloadedLog();
    });
    tbExit = MakeAction(tr("Exit"), tr("Exit|"), "tbExit", [c] { c->close(); });
    const std::pair<QAction*, TToolGlyph> glyphs[] = {
        {tbOpen, TToolGlyph::Open},         {tbSave, TToolGlyph::Save},
        {tbNewSite, TToolGlyph::NewSite},   {tbDial, TToolGlyph::Dial},
        {tbHangUp, TToolGlyph::HangUp},     {tbDownload, TToolGlyph::Download},
        {tbExit, TToolGlyph::Exit}};
    for (const auto& [action, glyph] : glyphs)
        action->setIcon(ToolGlyphIcon(glyph));
    // Save and New site are hidden until the idle rules say otherwise; New
    // site stays hidden.
    tbSave->setVisible(false);
    tbNewSite->setVisible(false);

    actStretch = new QAction(tr("Stretch"), this);
    actStretch->setObjectName(QStringLiteral("actStretch"));
    actStretch->setCheckable(true);
    connect(actStretch, &QAction::triggered, this, [this] { ToggleStretch(); });
}

void TFQw::BuildMenus()
{
    QMenu* site = menuBar()->addMenu(tr("&Site"));
    site->setObjectName(QStringLiteral("menuSite"));
    site->addActions({actNew, actOpen, actSave, actSaveAs});
    site->addSeparator();
    site->addActions({actConnectLocal, actConnectRemote, actDisconnect});
    site->addSeparator();
    site->addAction(actExit);
    site->addSeparator();
    site->addAction(actProperties);

    QMenu* network = menuBar()->addMenu(tr("&Network"));
    network->setObjectName(QStringLiteral("menuNetwork"));
    network->addActions({actClearAlarms, actScanUnits, actDebug, actUnit0Settings});

    QMenu* logging = menuBar()->addMenu(tr("&Logging"));
    logging->setObjectName(QStringLiteral("menuLogging"));
    logging->addActions({actDownload, actReconfigure, actSetTime});
    logging->addSeparator();
    logging->addActions({actLogOptions, actLogInfo});
    logging->addSeparator();
    QAction* openLog = logging->addAction(tr("Open log..."), this, [this] { TDlgLogView::OpenLogFile(this); });
    openLog->setObjectName(QStringLiteral("actOpenLog"));

    menuTools = menuBar()->addMenu(tr("&Tools"));
    menuTools->setObjectName(QStringLiteral("menuTools"));
    menuTools->addAction(actRunTiming);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("menuHelp"));
    help->addAction(actAbout);
}

void TFQw::BuildToolBar()
{
    QToolBar* bar = addToolBar(tr("Tools"));
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(ToolBarHeight);
    bar->setIconSize(QSize(ToolGlyphSize, ToolGlyphSize));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->addActions({tbOpen, tbSave, tbNewSite, tbDial, tbHangUp, tbDownload});
    auto* spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    bar->addAction(tbExit);
}

QWidget* TFQw::BuildSiteTab()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabSite"));
    auto* grid = new QGridLayout(page);
    edDescription = new QLineEdit(page);
    edDescription->setObjectName(QStringLiteral("edDescription"));
    edTelephone = new QLineEdit(page);
    edTelephone->setObjectName(QStringLiteral("edTelephone"));
    for (QLineEdit* field : {edDescription, edTelephone}) {
        field->setMaxLength(TSite::TextLength);
        field->installEventFilter(this);
    }
    // Connect Remote follows the telephone field as it is typed.
    connect(edTelephone, &QLineEdit::textChanged, this, &TFQw::ApplyIdleRules);
    lblOptions = new QLabel(tr("Options"), page);
    lblOptions->setObjectName(QStringLiteral("lblOptions"));
    lblOptionsText = new QLabel(page);
    lblOptionsText->setObjectName(QStringLiteral("lblOptionsText"));
    lblDebug = new QLabel(page);
    lblDebug->setObjectName(QStringLiteral("lblDebug"));

    // Each field's label is its buddy: a screen reader names the field by it.
    auto* description = new QLabel(tr("Description"), page);
    description->setBuddy(edDescription);
    auto* telephone = new QLabel(tr("Telephone"), page);
    telephone->setBuddy(edTelephone);
    grid->addWidget(description, 0, 0);
    grid->addWidget(edDescription, 0, 1);
    grid->addWidget(telephone, 1, 0);
    grid->addWidget(edTelephone, 1, 1);
    grid->addWidget(lblOptions, 2, 0);
    grid->addWidget(lblOptionsText, 2, 1);
    grid->addWidget(lblDebug, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

// A page that shows one list or view, filling it.
QWidget* TFQw::BuildHostPage(const char* name)
{
    auto* page = new QWidget;
    page->setObjectName(QLatin1String(name));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return page;
}

// The scroll box of the site map, with the map's pop-up menu. A resize lays
// the map out again in its current stretch mode.
void TFQw::BuildMapPage()
{
    sbMap_ = new QScrollArea;
    sbMap_->setObjectName(QStringLiteral("sbMap"));
    sbMap_->setContextMenuPolicy(Qt::ActionsContextMenu);
    sbMap_->addAction(actStretch);
    sbMap_->installEventFilter(this);
    // The viewport is the map's parent: it has its new size by the time its
    // own resize arrives.
    sbMap_->viewport()->installEventFilter(this);
    siteMap_ = new TQwSiteMap(sbMap_);
    sbMap_->setWidget(siteMap_);
    siteMap_->SetSite([this]() -> const TSiteExt* { return controller_ ? &controller_->Site() : nullptr; });
    siteMap_->SetReadings([this] {
        return controller_ ? std::span<const std::uint16_t>(controller_->Logger().Readings())
                           : std::span<const std::uint16_t>();
    });
    siteMap_->SetShowUnit([this](int unit) { RunCommand([this, unit] { controller_->ShowUnit(unit); }); });
}

void TFQw::BuildTabs()
{
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl"));
    QFont bold = pages_->tabBar()->font();
    bold.setBold(true);
    pages_->tabBar()->setFont(bold);
    // Multi-line tabs: the tab bar never scrolls its tabs out of sight.
    pages_->setUsesScrollButtons(false);

    tabSite_ = BuildSiteTab();
    BuildMapPage();
    tabUnits_ = BuildHostPage("tabUnits");
    lbUnits = new TLBUnits(tabUnits_);
    tabUnits_->layout()->addWidget(lbUnits);
    tabLog_ = BuildHostPage("tabLog");
    lbLogDevs = new TLBLogDevs(tabLog_);
    tabLog_->layout()->addWidget(lbLogDevs);
    tabUnitX_ = BuildHostPage("tabUnitX");
    pages_->addTab(tabSite_, tr("Site"));
    pages_->addTab(sbMap_, tr("Map"));
    pages_->addTab(tabUnits_, tr("Units"));
    pages_->addTab(tabLog_, tr("Log"));
    pages_->addTab(tabUnitX_, tr("Unit X"));
    SetTabShown(sbMap_, false);
    SetTabShown(tabUnitX_, false);
    // The map is active only while its tab shows.
    connect(pages_, &QTabWidget::currentChanged, this, &TFQw::ApplyIdleRules);
    setCentralWidget(pages_);
}

void TFQw::BuildStatusBar()
{
    for (int i = 0; i < 3; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QLatin1String(PanelNames[i]));
        panels_[i]->setAccessibleDescription(tr(PanelDescriptions[i]));
        panels_[i]->setMinimumWidth(PanelWidths[i]);
        statusBar()->addWidget(panels_[i], i == StatusPanel::Spare ? 1 : 0);
    }
    panels_[StatusPanel::LinkStatus]->setAlignment(Qt::AlignCenter);
    btnDownloadedLog_ = new QPushButton(tr("Open downloaded log"), this);
    btnDownloadedLog_->setObjectName(QStringLiteral("btnDownloadedLog"));
    btnDownloadedLog_->setFlat(true);
    btnDownloadedLog_->setVisible(false);
    connect(btnDownloadedLog_, &QPushButton::clicked, this, [this] {
        RunCommand([this] { TDlgLogView::ShowLogFile(controller_->Site().LastLog, this); });
    });
    statusBar()->addPermanentWidget(btnDownloadedLog_);
}

void TFQw::OfferDownloadedLog()
{
    const QString path = controller_ ? controller_->Site().LastLog : QString();
    btnDownloadedLog_->setToolTip(path);
    btnDownloadedLog_->setVisible(!path.isEmpty());
}

void TFQw::SetTabShown(QWidget* page, bool shown)
{
    pages_->setTabVisible(pages_->indexOf(page), shown);
}

// --- Commands --------------------------------------------------------------

// An error that a command does not catch itself is shown and the program
// goes on, as with any other failed command. Whatever the command changed,
// the commands on offer follow.
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

void TFQw::ShowProperties()
{
    if (!dlgProps_)
        dlgProps_ = new TPropsDlg(controller_->Properties(), controller_->Modem(), this);
    dlgProps_->Execute();
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

// The memory viewer and the EE settings editor use the link themselves; each
// holds the job runner paused while it is open.
void TFQw::ShowMemoryViewer()
{
    if (!dlgDbg_)
        dlgDbg_ = new TdlgDbg(controller_->Runner(), [this](const QString& message) { controller_->ReportError(message); },
                              this);
    dlgDbg_->show();
    dlgDbg_->raise();
}

void TFQw::ShowSettingsEditor(int unit)
{
    TDlgEESets editor(controller_->Site(), controller_->Runner(), [this] { return controller_ && controller_->Online; },
                      [this](const QString& message) { controller_->ReportError(message); }, this);
    editor.ShowForUnit(unit);
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
    const bool telephone = !edTelephone->text().isEmpty();

    actNew->setEnabled(offline);
    tbNewSite->setEnabled(offline);
    for (QAction* open : {actOpen, tbOpen})
        open->setEnabled(offline);
    for (QAction* save : {actSave, tbSave}) {
        save->setVisible(!autoSave);
        save->setEnabled(offline && modified);
    }
    actSaveAs->setEnabled(offline);
    for (QAction* remote : {actConnectRemote, tbDial})
        remote->setEnabled(offline && telephone);
    actConnectLocal->setEnabled(offline);
    for (QAction* disconnect : {actDisconnect, tbHangUp})
        disconnect->setEnabled(online);
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

    const QString link = offline ? LinkTextOffline : (c.ModemCall ? LinkTextRemote : LinkTextLocal);
    SetStatusText(link, StatusPanel::LinkStatus);
    SetSiteMapActive(online && pages_->currentWidget() == sbMap_);
}

void TFQw::ConnectionChanged()
{
    ApplyIdleRules();
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
    lbUnits->RefreshAll();
    RefillLogDevices();
    LoadSiteMap();
    SetTabShown(sbMap_, SiteMapHasPicture());
    if (unitView_)
        unitView_->Forget();
    SetTabShown(tabUnitX_, false);
    const QString options = OptionsText();
    lblOptionsText->setText(options);
    lblOptions->setVisible(!options.isEmpty());
    UpdateCaption(controller_->Caption());
    ApplyIdleRules();
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

// --- The units list ------------------------------------------------------

void TFQw::UnitsCleared()
{
    lbUnits->Clear();
    if (unitView_) {
        unitView_->Forget();
        SetTabShown(tabUnitX_, false);
    }
}

void TFQw::UnitsScanned()
{
    lbUnits->RefreshAll();
    siteMap_->Bind();
}

void TFQw::UpdateUnit(int number)
{
    lbUnits->UpdateUnit(number);
}

void TFQw::UpdateStatus(int number)
{
    lbUnits->UpdateStatus(number);
}

// --- The log devices list -------------------------------------------------

void TFQw::UpdateReadings()
{
    lbLogDevs->UpdateReadings();
}

void TFQw::RefillLogDevices()
{
    lbLogDevs->Refill();
    siteMap_->Bind(); // the labels point at the devices
}

void TFQw::EditLogDevice(int index)
{
    EditDevice(*controller_, index, [this](int start) {
        TDlgLogDev editor(controller_->Site(), this);
        editor.Edit(start);
    });
}

void TFQw::ShowLogOptions()
{
    TDlgLogOpts options(controller_->Site(), this);
    options.Execute();
}

void TFQw::ShowLogInfo()
{
    TDlgLogInf::ShowLogInfo(controller_->Runner(), controller_->Logger(), this);
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

void TFQw::ShowUnitTab()
{
    SetTabShown(tabUnitX_, true);
    pages_->setCurrentWidget(tabUnitX_);
}

// The unit view on the Unit X page shows the unit; its tab comes up.
void TFQw::ShowUnit(int unit)
{
    if (unitView_ && unitView_->ShowUnit(unit))
        ShowUnitTab();
}

void TFQw::BuildUnitView()
{
    TUnitXHooks hooks;
    hooks.IsOnline = [this] { return controller_ && controller_->Online; };
    hooks.ShowStatus = [this](const QString& text) { SetStatusText(text, StatusPanel::Status); };
    hooks.SetCaption = [this](const QString& caption) { pages_->setTabText(pages_->indexOf(tabUnitX_), caption); };
    hooks.ShowLoadErrors = [this](const QStringList& errors) {
        ShowMessage(errors.join('\n'), tr("Quorvel ADF Load Error"), MessageFlags::Ok | MessageFlags::IconError);
    };
    hooks.Run = [this](TUnitXHooks::Command command, int unit) {
        RunCommand([this, command, unit] {
            switch (command) {
            case TUnitXHooks::Command::ClearMaxMins:
                controller_->ClearMaxMins(unit);
                break;
            case TUnitXHooks::Command::ClearAlarms:
                controller_->ClearAlarms(unit);
                break;
            case TUnitXHooks::Command::ClearTrips:
                controller_->ClearTrips(unit);
                break;
            case TUnitXHooks::Command::ResetUnit:
                controller_->ResetUnit(unit);
                break;
            case TUnitXHooks::Command::Settings:
                ShowSettingsEditor(unit);
                break;
            }
        });
    };
    unitView_ = new TDlgUnitX(controller_->Runner(), controller_->Site(), std::move(hooks), tabUnitX_);
    tabUnitX_->layout()->addWidget(unitView_);
    // Shown again, the page shows its unit afresh; out of sight, its jobs stop.
    connect(pages_, &QTabWidget::currentChanged, this, [this](int index) {
        if (pages_->widget(index) == tabUnitX_)
            unitView_->ShowUnit(unitView_->CurrentUnit());
        else
            unitView_->Hidden();
    });
}

// --- The site map ----------------------------------------------------------

// The site's ini file holds the map's picture and labels; an untitled site
// has none. A picture that cannot be read hides the tab, and the status bar
// says why.
void TFQw::LoadSiteMap()
{
    TSiteExt& site = controller_->Site();
    const bool named = site.Ini.IsOpen();
    siteMap_->Load(named ? &site.Ini : nullptr,
                   named ? QFileInfo(site.Ini.FileName()).absolutePath() : QString());
    siteMap_->Bind();
    SetSiteMapStretch(mapStretch_);
    if (!siteMap_->LoadError().isEmpty())
        SetStatusText(siteMap_->LoadError(), StatusPanel::Status);
}

bool TFQw::SiteMapHasPicture() const
{
    return siteMap_->MapPresent();
}

void TFQw::SetSiteMapActive(bool active)
{
    siteMap_->SetActive(active);
}

void TFQw::SetSiteMapStretch(bool stretch)
{
    mapStretch_ = stretch;
    siteMap_->SetStretch(stretch);
}

void TFQw::ToggleStretch()
{
    SetSiteMapStretch(!mapStretch_);
    actStretch->setChecked(mapStretch_);
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
// changed (Save follows); the fields reach the site only through
// StoreFieldsToSite.
bool TFQw::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && controller_
        && (watched == edDescription || watched == edTelephone)) {
        controller_->Site().SetModified(true);
        ApplyIdleRules();
    } else if (event->type() == QEvent::Resize
               && (watched == sbMap_ || watched == sbMap_->viewport())) {
        SetSiteMapStretch(mapStretch_);
    }
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

// --- State and position ----------------------------------------------------

// The position comes back on a screen that is there now; a window never
// placed opens large enough to show the lists.
void TFQw::RestoreWindowState()
{
    const TWindowPlacement placement = TWindowPlacement::Read(
        controller_->Properties().Store(), QString::fromLatin1(TProperties::WindowSection));
    const QList<TScreenArea> screens = ScreenAreas();
    if (screens.isEmpty()) {
        resize(DesignWidth, DesignHeight);
        return;
    }
    const QRect area =
        placement.Normal.isNull()
            ? TWindowPlacement::InitialArea(screens.front().Available, QSize(DesignWidth, DesignHeight))
            : TWindowPlacement::FitToScreens(placement.Normal, placement.Monitor, screens);
    setGeometry(area);
    if (placement.Maximised) {
        restoredNormal_ = area;
        setWindowState(windowState() | Qt::WindowMaximized);
    }
}

// Not every window system remembers the normal area of a window that was
// maximised before it was shown: the saved one is put back.
void TFQw::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || restoredNormal_.isNull())
        return;
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))) {
        setGeometry(restoredNormal_);
        restoredNormal_ = QRect();
    }
}

void TFQw::SaveWindowState()
{
    TWindowPlacement placement;
    placement.Maximised = isMaximized();
    placement.Normal = placement.Maximised ? (restoredNormal_.isNull() ? normalGeometry() : restoredNormal_)
                                           : geometry();
    if (placement.Normal.isEmpty())
        placement.Normal = geometry();
    if (const QScreen* shown = screen())
        placement.Monitor = shown->name();
    placement.Write(controller_->Properties().Store(),
                    QString::fromLatin1(TProperties::WindowSection));
}

} // namespace Quorvel1
