#pragma once
// The unit view on the main window's Unit X page: a title line with the
// unit's number, application and program; its airspaces (rooms, then
// creeps) with set point and readings; its alarms and trips by name; and
// its settings from its application's definition file with their values.
// Two background jobs keep it fresh while it is on screen: the airspace job
// and the EE job, which also writes the settings the user changes. A pop-up
// menu gives the unit commands; they, and editing, need a connection.
#include "base/gui/LBHdr.h"
#include "units/UnitXView.h"

#include <QWidget>

#include <functional>

class QLabel;
class QListWidget;
class QMenu;
class QAction;
class QSplitter;
class QTableWidget;
class QWidget;

namespace Quorvel1 {

class TADFBase;
class TADFList;
class TDjAsData;
class TDjEE;
class TPelkThread;
class TSiteExt;

// The airspaces list: one row an airspace, its values in C or F.
class TLBAirspaces : public TLBHdr {
    Q_OBJECT
public:
    explicit TLBAirspaces(QWidget* parent = nullptr);
    // Rows for the airspaces the site has of unit `unit`.
    void Fill(const TSiteExt& site, int unit);
    // Row `index - 1` from airspace `index`'s values.
    void RefreshRow(const TSiteExt& site, int unit, int index);
    // "Room n" up to the room count, then "Creep n".
    static QString AirspaceTitle(int index, int roomCount);
    // A value with the exponent and the letter after it; "-----" for none.
    static QString ValueText(int value, int exponent, const QString& letter);
};

// What the view needs of the window: its connection state, the status bar,
// the tab's caption and the unit commands.
struct TUnitXHooks {
    enum class Command { ClearMaxMins, ClearAlarms, ClearTrips, ResetUnit, Settings };
    std::function<bool()> IsOnline;
    std::function<void(const QString&)> ShowStatus;
    std::function<void(const QString&)> SetCaption;
    std::function<void(Command, int unit)> Run;
    // Shows a definition file's load errors (already cut to a few).
    std::function<void(const QStringList&)> ShowLoadErrors;
};

class TDlgUnitX : public QWidget, public TUnitXView {
    Q_OBJECT
public:
    static constexpr const char* NotOnlineText = "Connect to the site to change a unit's settings";

    // Makes the view's two jobs on `runner` (its queue owns them), both
    // inactive until a unit is shown.
    TDlgUnitX(TPelkThread& runner, TSiteExt& site, TUnitXHooks hooks, QWidget* parent = nullptr);
    ~TDlgUnitX() override;

    // Shows unit `unit` when the site has it and starts the jobs; otherwise
    // the view stays as it was. Returns whether a unit is shown.
    bool ShowUnit(int unit);
    // The page went out of sight: the jobs stop.
    void Hidden();
    // The site's units are gone or made anew (another site, a scan): the
    // view shows no unit and holds nothing of the old ones.
    void Forget();
    int CurrentUnit() const { return currentUnit_; }
    // The EE range the job cycles over: the lowest and the last byte of the
    // settings' addresses (a word's high byte included).
    int LowestAddress() const { return lowestAddress_; }
    int HighestAddress() const { return highestAddress_; }

    // --- TUnitXView, from the jobs' updates.
    bool IsShowing(int unit) const override;
    void RefreshAlarms() override;
    void RefreshAirspace(int index) override;
    void RefreshSettings(int first, int count) override;

    // The settings row's text by the setting's state: "---", "* Changed *",
    // "* Writing *", "* " + value for a value from the image file, the value.
    static QString SettingText(const TADFBase& setting);

    QLabel* Title() const { return lblTitle_; }
    TLBAirspaces* Airspaces() const { return lbAirspaces_; }
    QListWidget* Alarms() const { return lbAlarms_; }
    QTableWidget* Settings() const { return sgSettings_; }
    QMenu* Popup() const { return popup_; }
    TDjAsData& AirspaceJob() const { return *asData_; }
    TDjEE& EEJob() const { return *eeJob_; }
    // Double-click on a settings row: edits the setting (when online).
    void EditSetting(int row);

private:
    void BuildControls();
    void BuildPopup();
    void UpdatePopup();
    void FillSettings();
    void RefreshSettingRow(int row);
    void ClickSetting(int row);

    TSiteExt& site_;
    TUnitXHooks hooks_;
    TDjAsData* asData_;
    TDjEE* eeJob_;
    int currentUnit_ = -1;
    int lowestAddress_ = 0;
    int highestAddress_ = 0;
    TADFList* settings_ = nullptr;

    QLabel* lblTitle_ = nullptr;
    TLBAirspaces* lbAirspaces_ = nullptr;
    QListWidget* lbAlarms_ = nullptr;
    QTableWidget* sgSettings_ = nullptr;
    QWidget* settingsPanel_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* actClearMaxMins_ = nullptr;
    QAction* actClearAlarms_ = nullptr;
    QAction* actClearTrips_ = nullptr;
    QAction* actSettings_ = nullptr;
    QAction* actReset_ = nullptr;
};

} // namespace Quorvel1
