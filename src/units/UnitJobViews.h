#pragma once
// What the unit jobs show on the main window, reached through this hook so
// that the jobs stay in the core library: the units list (one unit's line,
// one unit's alarm and trip state) and the log devices list (the logger's
// current readings). Every call comes on the UI thread, from a job's Update.
// The base shows nothing; the controller wires a window's implementation.
namespace Quorvel1 {

class TUnitJobViews {
public:
    virtual ~TUnitJobViews() = default;

    virtual void UpdateUnit(int /*number*/) {}
    virtual void UpdateStatus(int /*number*/) {}
    virtual void UpdateReadings() {}
};

// Passes the updates on to views given later: the standing jobs are made
// with the controller, before the window has made the lists they update.
class TUnitJobViewsRelay final : public TUnitJobViews {
public:
    // Null shows nothing.
    void SetTarget(TUnitJobViews* target) { target_ = target; }

    void UpdateUnit(int number) override
    {
        if (target_)
            target_->UpdateUnit(number);
    }
    void UpdateStatus(int number) override
    {
        if (target_)
            target_->UpdateStatus(number);
    }
    void UpdateReadings() override
    {
        if (target_)
            target_->UpdateReadings();
    }

private:
    TUnitJobViews* target_ = nullptr;
};

} // namespace Quorvel1
