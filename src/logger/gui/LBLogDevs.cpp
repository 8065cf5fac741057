#include "logger/gui/LBLogDevs.h"

#include "site/Site.h"

#include <QAction>
#include <QMenu>

namespace Quorvel1 {

namespace {

constexpr TColor ActiveColours[] = {clRed, clBlack, clBlue}; // by Active: No, Yes, Polled

} // namespace

// Held as a single-precision number, as the list has always shown it; a
// positive exponent shows as many zero decimals as it shifts.
QString ReadingText(std::int16_t value, int exponent, char units)
{
    float shown = value;
    for (int i = 0; i < exponent; ++i)
        shown *= 10.0f;
    for (int i = 0; i > exponent; --i)
        shown /= 10.0f;
    const int decimals = exponent < 0 ? -exponent : exponent;
    return QString::number(double(shown), 'f', decimals) + QLatin1Char(units);
}

TLBLogDevsModel::TLBLogDevsModel(QObject* parent) : TLBHdrModel(Columns, parent)
{
    SetTitle(DeviceColumn, QStringLiteral("Device"));
    SetTitle(AddressColumn, QStringLiteral("Address"));
    SetTitle(ReadingColumn, QStringLiteral("Reading"));
    SetAlignment(ReadingColumn, THdrAlignment::Right);
    SetVisible(AddressColumn, false);
}

int TLBLogDevsModel::DeviceCount() const
{
    const TSite* site = Site();
    return site ? int(site->Devices.size()) : 0;
}

const TDev* TLBLogDevsModel::DeviceOfRow(int row) const
{
    const TSite* site = Site();
    if (!site || row < 0 || row >= int(site->Devices.size()))
        return nullptr;
    return site->Devices[std::size_t(row)].get();
}

void TLBLogDevsModel::Refill()
{
    Clear();
    const TSite* site = Site();
    if (!site)
        return;
    int row = 0;
    for (const auto& device : site->Devices) {
        SetCell(row, DeviceColumn, device->NameText());
        SetCell(row, AddressColumn, device->MakeName());
        SetCell(row, ReadingColumn, QStringLiteral(" ")); // until the next readings
        ++row;
    }
}

void TLBLogDevsModel::UpdateReadings()
{
    const std::span<const std::uint16_t> readings =
        readings_ ? readings_() : std::span<const std::uint16_t>();
    for (int row = 0; row < RowCount(); ++row) {
        const TDev* device = DeviceOfRow(row);
        QString text = QStringLiteral(" ");
        if (device && device->LoggerIndex >= 0 && !readings.empty()) {
            std::int16_t value = 0;
            int exponent = 0;
            text = device->Reading(readings, value, exponent, 1)
                ? ReadingText(value, exponent, device->UnitsChar())
                : NoReadingText;
        }
        if (Cell(row, ReadingColumn) != text)
            SetCell(row, ReadingColumn, text);
    }
}

TColor TLBLogDevsModel::RowColour(int row, bool& useDefault) const
{
    const TDev* device = DeviceOfRow(row);
    useDefault = !device || device->Active > ActivePolled;
    return useDefault ? clBlack : ActiveColours[device->Active];
}

TLBLogDevs::TLBLogDevs(QWidget* parent) : TLBHdr(new TLBLogDevsModel, parent)
{
    setObjectName(QStringLiteral("lbLogDevs"));
    setAccessibleName(tr("Log devices"));
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("pmLogDevs"));
    actEdit_ = popup_->addAction(tr("Edit device..."));
    actEdit_->setObjectName(QStringLiteral("actEditDevice"));
    actNew_ = popup_->addAction(tr("New device..."));
    actNew_->setObjectName(QStringLiteral("actNewDevice"));
    popup_->addSeparator();
    actShowAddresses_ = popup_->addAction(tr("Show addresses"));
    actShowAddresses_->setObjectName(QStringLiteral("actShowAddresses"));
    actShowAddresses_->setCheckable(true);
    connect(popup_, &QMenu::aboutToShow, this, &TLBLogDevs::UpdatePopup);
    connect(actEdit_, &QAction::triggered, this, [this] { EditDevice(SelectedRow()); });
    connect(actNew_, &QAction::triggered, this, [this] { EditDevice(Devices().DeviceCount()); });
    connect(actShowAddresses_, &QAction::toggled, this, &TLBLogDevs::ShowAddresses);
    SetPopup(popup_);
}

void TLBLogDevs::Refill()
{
    Devices().Refill();
    SetPopup(popup_);
}

void TLBLogDevs::UpdatePopup()
{
    actEdit_->setEnabled(Devices().DeviceOfRow(SelectedRow()) != nullptr);
}

void TLBLogDevs::ShowAddresses(bool shown)
{
    SetVisible(TLBLogDevsModel::AddressColumn, shown);
    Layout();
}

void TLBLogDevs::EditDevice(int index)
{
    if (editDevice_ && index >= 0 && index <= Devices().DeviceCount())
        editDevice_(index);
}

void TLBLogDevs::ItemDblClick(int row)
{
    if (Devices().DeviceOfRow(row))
        EditDevice(row);
}

} // namespace Quorvel1
