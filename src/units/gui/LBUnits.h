#pragma once
// The units list of the main window's Units tab: the site's units with their
// application, program and alarm status, red while a unit has alarms. The
// scan's updates add the units as they are found, the alarm job's updates
// keep their status; a double-click (or Enter) on a unit shows it in the
// unit view.
#include "base/gui/LBHdr.h"
#include "units/gui/LBUnitsModel.h"

#include <functional>

namespace Quorvel1 {

class TLBUnits : public TLBHdr {
    Q_OBJECT
public:
    // Shows a unit by its number: the controller's ShowUnit.
    using TShowUnit = std::function<void(int number)>;

    explicit TLBUnits(QWidget* parent = nullptr);

    TLBUnitsModel& Units() const { return static_cast<TLBUnitsModel&>(Model()); }

    void SetSite(TLBUnitsModel::TSiteSource site) { Units().SetSite(std::move(site)); }
    void SetShowUnit(TShowUnit showUnit) { showUnit_ = std::move(showUnit); }

    void Clear() override { Units().Clear(); }
    void RefreshAll() { Units().RefreshAll(); }
    void UpdateUnit(int number) { Units().UpdateUnit(number); }
    void UpdateStatus(int number) { Units().UpdateStatus(number); }

protected:
    void ItemDblClick(int row) override;

private:
    TShowUnit showUnit_;
};

} // namespace Quorvel1
