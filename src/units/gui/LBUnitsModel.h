#pragma once
// The records of the units list: one row per unit of the site, in the order
// the units were shown, with the unit's number, application identifier,
// program name and alarm status. A row with alarms is red; its status is the
// first alarm's name ("+" after it when there are more) and its tooltip all
// of them, one a line.
#include "base/gui/LBHdrModel.h"
#include "site/SiteExt.h"

#include <array>
#include <cstdint>
#include <functional>

namespace Quorvel1 {

class TLBUnitsModel : public TLBHdrModel {
    Q_OBJECT
public:
    enum TColumn { UnitColumn = 0, ApplicationColumn = 1, ProgramColumn = 2, StatusColumn = 3 };
    static constexpr int Columns = 4;
    static constexpr int TableSize = TSiteExt::UnitRecordCount; // unit numbers and rows 0..30

    // The site whose units are shown; null while there is none.
    using TSiteSource = std::function<const TSiteExt*()>;

    explicit TLBUnitsModel(QObject* parent = nullptr);

    void SetSite(TSiteSource site) { site_ = std::move(site); }

    void Clear() override;
    // Every unit of the site again, by number.
    void RefreshAll();
    // Shows unit `number`, in a new row at the end if it has none yet.
    void UpdateUnit(int number);
    // Shows the alarms of unit `number` when it has a row.
    void UpdateStatus(int number);

    // -1 for none.
    int RowOfUnit(int number) const;
    int UnitOfRow(int row) const;
    int AlarmCount(int row) const;

    TColor RowColour(int row, bool& useDefault) const override;

private:
    static bool InTable(int i) { return i >= 0 && i < TableSize; }
    const TSiteExt* Site() const { return site_ ? site_() : nullptr; }
    void ClearTables();

    TSiteSource site_;
    std::array<std::int32_t, TableSize> unitRow_{};
    std::array<std::int32_t, TableSize> rowUnit_{};
    std::array<std::int32_t, TableSize> alarmCount_{};
};

} // namespace Quorvel1
