#pragma once
// What the unit view offers the two jobs that keep it fresh (the airspace
// data job and the EE job): whether it still shows their unit, and the
// refreshes of its lists. Every call comes on the UI thread, from a job's
// Update.
namespace Quorvel1 {

class TUnitXView {
public:
    virtual ~TUnitXView() = default;

    // The view shows unit `unit` and is on screen.
    virtual bool IsShowing(int unit) const = 0;
    virtual void RefreshAlarms() = 0;
    virtual void RefreshAirspace(int index) = 0;
    // The settings rows whose address lies in first .. first + count - 1.
    virtual void RefreshSettings(int first, int count) = 0;
};

} // namespace Quorvel1
