#pragma once
// The log devices list of the main window's Log tab: every device of the
// site in the site's order, with its name, its address text (shown on
// request) and its current reading from the logger. A row's colour tells the
// device's active mode: red not logged, black logged, blue polled. A
// double-click or the pop-up menu opens the device editor.
#include "base/gui/LBHdr.h"
#include "base/gui/LBHdrModel.h"

#include <cstdint>
#include <functional>
#include <span>

class QAction;
class QMenu;

namespace Quorvel1 {

class TDev;
class TSite;

// The text of a reading: value x 10^exponent with as many decimals as the
// exponent has digits to shift, followed by the units character.
QString ReadingText(std::int16_t value, int exponent, char units);
// What a device with no valid reading shows.
inline const QString NoReadingText = QStringLiteral("-----");

class TLBLogDevsModel : public TLBHdrModel {
    Q_OBJECT
public:
    enum TColumn { DeviceColumn = 0, AddressColumn = 1, ReadingColumn = 2 };
    static constexpr int Columns = 3;

    using TSiteSource = std::function<const TSite*()>;
    // The logger's current readings; empty while there are none.
    using TReadingsSource = std::function<std::span<const std::uint16_t>()>;

    explicit TLBLogDevsModel(QObject* parent = nullptr);

    void SetSite(TSiteSource site) { site_ = std::move(site); }
    void SetReadings(TReadingsSource readings) { readings_ = std::move(readings); }

    void Refill();
    void UpdateReadings();
    // The site's device of a row; null for none.
    const TDev* DeviceOfRow(int row) const;
    int DeviceCount() const;

    TColor RowColour(int row, bool& useDefault) const override;

private:
    const TSite* Site() const { return site_ ? site_() : nullptr; }

    TSiteSource site_;
    TReadingsSource readings_;
};

class TLBLogDevs : public TLBHdr {
    Q_OBJECT
public:
    // Edits the device of an index (the device count for a new one): the
    // controller's EditDevice.
    using TEditDevice = std::function<void(int index)>;

    explicit TLBLogDevs(QWidget* parent = nullptr);

    TLBLogDevsModel& Devices() const { return static_cast<TLBLogDevsModel&>(Model()); }
    void SetSite(TLBLogDevsModel::TSiteSource site) { Devices().SetSite(std::move(site)); }
    void SetReadings(TLBLogDevsModel::TReadingsSource readings)
    {
        Devices().SetReadings(std::move(readings));
    }
    void SetEditDevice(TEditDevice editDevice) { editDevice_ = std::move(editDevice); }

    void Refill();
    void UpdateReadings() { Devices().UpdateReadings(); }
    void EditDevice(int index);

    QMenu* Popup() const { return popup_; }
    QAction* EditAction() const { return actEdit_; }
    QAction* NewAction() const { return actNew_; }
    QAction* ShowAddressesAction() const { return actShowAddresses_; }
    // Whether the pop-up offers "Edit device...": a device's row is selected.
    void UpdatePopup();

protected:
    void ItemDblClick(int row) override;

private:
    void ShowAddresses(bool shown);

    TEditDevice editDevice_;
    QMenu* popup_ = nullptr;
    QAction* actEdit_ = nullptr;
    QAction* actNew_ = nullptr;
    QAction* actShowAddresses_ = nullptr;
};

} // namespace Quorvel1
