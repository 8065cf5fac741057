#pragma once
// The unit view's EE job: cycles over an address range of the unit's EE
// memory, reading words (a byte at the top or before a changed byte) into
// the unit's image, and writes bytes the user changed as it meets them, or
// at once when told to jump to them. A written byte stays where it is, so
// the next step reads it back.
#include "jobs/PelkJob.h"

#include <atomic>
#include <cstdint>

namespace Pelk {
class TMestraIF;
}

namespace Quorvel1 {

class TEEBlock;
class TSiteExt;
class TUnitXView;

class TDjEE : public TPelkJob {
public:
    static constexpr std::int32_t StandingPeriod = 20;

    TDjEE(TPelkThread& runner, TSiteExt& site, TUnitXView& view);

    // Cycles over first..last of unit `unit`'s image.
    void Start(int unit, int first, int last);
    // The address to visit next, for a change the user just made.
    void Jump(int address) { GoToAddress = address; }
    void Step() override;
    void Update() override;

    std::int32_t UnitNumber = 0;
    std::atomic<std::int32_t> GoToAddress{-1};
    std::int32_t CurrentAddress = 0;
    std::int32_t RangeStart = 0;
    std::int32_t RangeCount = 0;
    std::int32_t FirstAddress = 0;
    std::int32_t LastAddress = 0;
    TEEBlock* Image = nullptr;

private:
    void Visit();

    Pelk::TMestraIF& link_;
    TSiteExt& site_;
    TUnitXView& view_;
};

} // namespace Quorvel1
