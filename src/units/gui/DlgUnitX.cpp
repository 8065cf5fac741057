#include "units/gui/DlgUnitX.h"

#include "site/ADFList.h"
#include "site/EEBlock.h"
#include "site/FixedPoint.h"
#include "site/SiteExt.h"
#include "site/Unit.h"
#include "units/DjAsData.h"
#include "units/DjEE.h"
#include "units/gui/ADFDialogs.h"

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace Quorvel1 {

namespace {

constexpr int TitleColumn = 0;
constexpr int SetColumn = 1;
constexpr int ActualColumn = 2;
constexpr int MinVentColumn = 3;
constexpr int MaxColumn = 4;
constexpr int MinColumn = 5;
// A unit's scale word above this means its temperatures are Fahrenheit.
constexpr int FahrenheitScale = 400;

QLabel* Caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setContextMenuPolicy(Qt::CustomContextMenu);
    return label;
}

} // namespace

TLBAirspaces::TLBAirspaces(QWidget* parent) : TLBHdr(6, parent)
{
    const char* titles[] = {"Airspace", "Set", "Actual", "Min-vent", "Max", "Min"};
    for (int column = 0; column < 6; ++column) {
        SetTitle(column, tr(titles[column]));
        if (column > 0)
            SetAlignment(column, THdrAlignment::Right);
    }
    setAccessibleName(tr("Airspaces"));
}

QString TLBAirspaces::AirspaceTitle(int index, int roomCount)
{
    return index <= roomCount ? QStringLiteral("Room %1").arg(index)
                              : QStringLiteral("Creep %1").arg(index - roomCount);
}

QString TLBAirspaces::ValueText(int value, int exponent, const QString& letter)
{
    if (value == NoValueMarker)
        return QStringLiteral("-----");
    return FormatFixed(value, exponent, 0) + letter;
}

void TLBAirspaces::Fill(const TSiteExt& site, int unit)
{
    Clear();
    const TUnit* shown = site.UnitByNumber(unit);
    if (!shown)
        return;
    for (int index = 1; index <= shown->AirspaceCount && site.AirspaceOfUnit(unit, index); ++index)
        RefreshRow(site, unit, index);
}

void TLBAirspaces::RefreshRow(const TSiteExt& site, int unit, int index)
{
    const TAs* airspace = site.AirspaceOfUnit(unit, index);
    if (!airspace || !airspace->Unit)
        return;
    const int row = index - 1;
    const QString letter = airspace->Unit->Reading > FahrenheitScale ? QStringLiteral("F") : QStringLiteral("C");
    const auto& values = airspace->Readings;
    SetCell(row, TitleColumn, AirspaceTitle(index, airspace->Unit->RoomCount));
    SetCell(row, SetColumn, ValueText(values[TAs::SetIndex], -1, letter));
    SetCell(row, ActualColumn, ValueText(values[TAs::ActualIndex], -1, letter));
    SetCell(row, MinVentColumn, ValueText(values[TAs::MinVentIndex], 0, QStringLiteral("%")));
    SetCell(row, MaxColumn, ValueText(values[TAs::MaxIndex], -1, letter));
    SetCell(row, MinColumn, ValueText(values[TAs::MinIndex], -1, letter));
    InvalidateRow(row);
}

TDlgUnitX::TDlgUnitX(TPelkThread& runner, TSiteExt& site, TUnitXHooks hooks, QWidget* parent)
    : QWidget(parent), site_(site), hooks_(std::move(hooks)),
      asData_(new TDjAsData(runner, site, *this)), eeJob_(new TDjEE(runner, site, *this))
{
    BuildControls();
    BuildPopup();
}

// The runner's queue owns the two jobs and frees them when the controller
// ends, which is before the window's children go: they are not touched here.
TDlgUnitX::~TDlgUnitX() = default;

void TDlgUnitX::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    lblTitle_ = Caption(QString(), this);
    lblTitle_->setObjectName("lblTitle");
    layout->addWidget(lblTitle_);

    auto* columns = new QSplitter(Qt::Horizontal, this);
    auto* left = new QSplitter(Qt::Vertical, columns);
    auto* airspacesPanel = new QWidget(left);
    auto* airspacesLayout = new QVBoxLayout(airspacesPanel);
    airspacesLayout->setContentsMargins(0, 0, 0, 0);
    airspacesLayout->addWidget(Caption(tr("  Airspaces"), airspacesPanel));
    lbAirspaces_ = new TLBAirspaces(airspacesPanel);
    airspacesLayout->addWidget(lbAirspaces_);

    settingsPanel_ = new QWidget(left);
    auto* settingsLayout = new QVBoxLayout(settingsPanel_);
    settingsLayout->setContentsMargins(0, 0, 0, 0);
    settingsLayout->addWidget(Caption(tr("Settings"), settingsPanel_));
    sgSettings_ = new QTableWidget(0, 2, settingsPanel_);
    sgSettings_->setObjectName("lbSettings");
    sgSettings_->setAccessibleName(tr("Settings"));
    sgSettings_->setHorizontalHeaderLabels({tr("Setting"), tr("Value")});
    sgSettings_->horizontalHeader()->setStretchLastSection(true);
    sgSettings_->verticalHeader()->hide();
    sgSettings_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgSettings_->setSelectionBehavior(QAbstractItemView::SelectRows);
    sgSettings_->setSelectionMode(QAbstractItemView::SingleSelection);
    settingsLayout->addWidget(sgSettings_);
    connect(sgSettings_, &QTableWidget::cellClicked, this, [this](int row, int) { ClickSetting(row); });
    connect(sgSettings_, &QTableWidget::cellActivated, this, [this](int row, int) { EditSetting(row); });

    auto* right = new QWidget(columns);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(Caption(tr("  Alarms"), right));
    lbAlarms_ = new QListWidget(right);
    lbAlarms_->setObjectName("lbAlarms");
    lbAlarms_->setAccessibleName(tr("Alarms"));
    lbAlarms_->setContextMenuPolicy(Qt::CustomContextMenu);
    rightLayout->addWidget(lbAlarms_);
    columns->setStretchFactor(0, 3);
    columns->setStretchFactor(1, 1);
    layout->addWidget(columns, 1);
    // Moving a splitter reshapes the airspaces list.
    connect(columns, &QSplitter::splitterMoved, lbAirspaces_, &TLBAirspaces::Layout);
    connect(left, &QSplitter::splitterMoved, lbAirspaces_, &TLBAirspaces::Layout);
}

void TDlgUnitX::BuildPopup()
{
    popup_ = new QMenu(this);
    using Command = TUnitXHooks::Command;
    const auto add = [this](const QString& text, Command command) {
        QAction* action = popup_->addAction(text);
        connect(action, &QAction::triggered, this, [this, command] {
            // The states were right when the menu opened; the link may have
            // gone since.
            if (currentUnit_ >= 0 && hooks_.Run && (command == Command::Settings || hooks_.IsOnline()))
                hooks_.Run(command, currentUnit_);
        });
        return action;
    };
    actClearMaxMins_ = add(tr("Clear Max/Mins"), Command::ClearMaxMins);
    actClearAlarms_ = add(tr("Clear Alarms"), Command::ClearAlarms);
    actClearTrips_ = add(tr("Clear Trips"), Command::ClearTrips);
    popup_->addSeparator();
    actSettings_ = add(tr("Settings ..."), Command::Settings);
    popup_->addSeparator();
    actReset_ = add(tr("Reset Unit"), Command::ResetUnit);
    connect(popup_, &QMenu::aboutToShow, this, &TDlgUnitX::UpdatePopup);

    lbAirspaces_->SetPopup(popup_);
    const auto open = [this](QWidget* source) {
        connect(source, &QWidget::customContextMenuRequested, this, [this, source](const QPoint& at) {
            if (currentUnit_ >= 0)
                popup_->popup(source->mapToGlobal(at));
        });
    };
    for (QLabel* caption : findChildren<QLabel*>())
        open(caption);
    open(lbAlarms_);
}

void TDlgUnitX::UpdatePopup()
{
    const bool online = hooks_.IsOnline && hooks_.IsOnline();
    const TUnit* unit = site_.UnitByNumber(currentUnit_);
    actClearMaxMins_->setEnabled(online && unit && unit->AirspaceCount > 0);
    actClearAlarms_->setEnabled(online);
    actClearTrips_->setEnabled(online);
    actReset_->setEnabled(online);
    actSettings_->setEnabled(currentUnit_ >= 0);
}

bool TDlgUnitX::ShowUnit(int unit)
{
    const TUnit* shown = site_.UnitByNumber(unit);
    if (shown) {
        currentUnit_ = unit;
        lblTitle_->setText(QStringLiteral("Unit %1  %2   %3").arg(unit).arg(shown->AppIdText(), shown->ProgramNameText()));
        if (hooks_.SetCaption)
            hooks_.SetCaption(QStringLiteral("Unit %1").arg(unit));
        RefreshAlarms();
        lbAirspaces_->Fill(site_, unit);
        FillSettings();
        asData_->Start(unit, shown->AirspaceCount);
        eeJob_->Start(unit, lowestAddress_, highestAddress_);
    }
    return currentUnit_ != -1;
}

void TDlgUnitX::Hidden()
{
    asData_->SetActive(false);
    eeJob_->SetActive(false);
}

void TDlgUnitX::Forget()
{
    Hidden();
    currentUnit_ = -1;
    settings_ = nullptr;
    sgSettings_->setRowCount(0);
    lbAirspaces_->Clear();
    lbAlarms_->clear();
    lblTitle_->clear();
}

bool TDlgUnitX::IsShowing(int unit) const
{
    return unit == currentUnit_ && isVisible();
}

void TDlgUnitX::RefreshAlarms()
{
    lbAlarms_->clear();
    lbAlarms_->addItems(site_.AlarmNames(currentUnit_));
    lbAlarms_->addItems(site_.TripNames(currentUnit_));
}

void TDlgUnitX::RefreshAirspace(int index)
{
    lbAirspaces_->RefreshRow(site_, currentUnit_, index);
}

QString TDlgUnitX::SettingText(const TADFBase& setting)
{
    switch (setting.State()) {
    case EEState::Changed:
        return QStringLiteral("* Changed *");
    case EEState::Written:
        return QStringLiteral("* Writing *");
    case EEState::FromFile:
        return QStringLiteral("* ") + setting.ValueText();
    case EEState::Read:
        return setting.ValueText();
    default:
        return QStringLiteral("---");
    }
}

void TDlgUnitX::FillSettings()
{
    settings_ = site_.DefinitionList(currentUnit_);
    const QStringList errors = site_.TakeDefinitionErrors(currentUnit_);
    if (!errors.isEmpty() && hooks_.ShowLoadErrors)
        hooks_.ShowLoadErrors(ADFErrorsToShow(errors));
    const TEEBlock* image = site_.EEImage(currentUnit_);
    lowestAddress_ = image ? image->TopAddress() : 0;
    highestAddress_ = 0;
    const int count = settings_ ? settings_->Count() : 0;
    sgSettings_->setRowCount(count);
    for (int row = 0; row < count; ++row) {
        const TADFBase& setting = settings_->Item(row);
        const int address = setting.Address();
        // A word's high byte is part of the range, so a word at the top is
        // read whole.
        const int last = address + (dynamic_cast<const TADFStWordSet*>(&setting) ? 1 : 0);
        if (address >= 0) {
            lowestAddress_ = std::min(lowestAddress_, address);
            highestAddress_ = std::max(highestAddress_, last);
        }
        sgSettings_->setItem(row, 0, new QTableWidgetItem(setting.Name()));
        sgSettings_->setItem(row, 1, new QTableWidgetItem(SettingText(setting)));
    }
    settingsPanel_->setVisible(count > 0);
}

void TDlgUnitX::RefreshSettingRow(int row)
{
    if (!settings_ || row < 0 || row >= settings_->Count())
        return;
    if (QTableWidgetItem* item = sgSettings_->item(row, 1))
        item->setText(SettingText(settings_->Item(row)));
}

void TDlgUnitX::RefreshSettings(int first, int count)
{
    if (!settings_)
        return;
    for (int row = 0; row < settings_->Count(); ++row) {
        const TADFBase& setting = settings_->Item(row);
        const int address = setting.Address();
        const int last = address + (dynamic_cast<const TADFStWordSet*>(&setting) ? 1 : 0);
        if (address >= 0 && address < first + count && last >= first)
            RefreshSettingRow(row);
    }
}

void TDlgUnitX::ClickSetting(int row)
{
    if (settings_ && row >= 0 && row < settings_->Count() && hooks_.ShowStatus)
        hooks_.ShowStatus(settings_->Item(row).Description());
}

void TDlgUnitX::EditSetting(int row)
{
    if (!settings_ || row < 0 || row >= settings_->Count())
        return;
    // An edit made offline could not reach the unit, and the image file keeps
    // only what the unit confirmed: it would be lost.
    if (!hooks_.IsOnline || !hooks_.IsOnline()) {
        if (hooks_.ShowStatus)
            hooks_.ShowStatus(tr(NotOnlineText));
        return;
    }
    TADFBase& setting = settings_->Item(row);
    TADFDialogEditor editor(this);
    if (!setting.Edit(editor))
        return;
    RefreshSettingRow(row);
    if (setting.Address() >= 0)
        eeJob_->Jump(setting.Address());
}

} // namespace Quorvel1
