#include "units/DjEE.h"

#include "comms/MestraIF.h"
#include "comms/PelkExceptions.h"
#include "jobs/PelkThread.h"
#include "site/EEBlock.h"
#include "site/SiteExt.h"
#include "units/UnitXView.h"

namespace Quorvel1 {

TDjEE::TDjEE(TPelkThread& runner, TSiteExt& site, TUnitXView& view)
    : TPelkJob(runner, StandingPeriod), link_(runner.Link()), site_(site), view_(view)
{
    Name = QStringLiteral("Unit EE Settings");
    SetActive(false);
}

void TDjEE::Start(int unit, int first, int last)
{
    UnitNumber = unit;
    Image = site_.EEImage(unit);
    CurrentAddress = 0;
    GoToAddress = -1;
    RangeCount = 0;
    FirstAddress = first;
    LastAddress = last;
    SetActive(true);
}

void TDjEE::Step()
{
    if (UnitNumber < FirstUnitNumber || UnitNumber > LastUnitNumber || !Image) {
        SetActive(false);
        return;
    }
    Status = QStringLiteral("EE settings of Unit %1").arg(UnitNumber);
    try {
        link_.SelectUnit(std::uint8_t(UnitNumber), false);
        Visit();
    } catch (const Pelk::EPelkException&) {
        // The address is visited again later; a failed write leaves its bytes
        // changed, so they are written then.
    }
}

void TDjEE::Visit()
{
    const int jump = GoToAddress.exchange(-1);
    if (jump >= 0)
        CurrentAddress = jump;
    if (CurrentAddress > LastAddress || CurrentAddress < FirstAddress)
        CurrentAddress = FirstAddress;
    RangeStart = CurrentAddress;
    RangeCount = 0;
    const int at = CurrentAddress;
    const bool lowChanged = Image->GetState(at) == EEState::Changed;
    const bool highChanged = Image->GetState(at + 1) == EEState::Changed;
    const auto address = std::uint16_t(at);
    if (lowChanged && highChanged) {
        const std::uint8_t low = Image->GetByte(at);
        const std::uint8_t high = Image->GetByte(at + 1);
        link_.WriteWord(std::uint16_t(low | high << 8), address, Pelk::TMestraIF::Ee);
        Image->MarkWritten(at, low);
        Image->MarkWritten(at + 1, high);
        RangeCount = 2; // stays here: the next step reads the word back
    } else if (lowChanged) {
        const std::uint8_t value = Image->GetByte(at);
        link_.WriteByte(value, address, Pelk::TMestraIF::Ee);
        Image->MarkWritten(at, value);
        RangeCount = 1;
    } else if (at >= Image->TopAddress() || highChanged) {
        Image->StoreRead(at, link_.ReadByte(address, Pelk::TMestraIF::Ee));
        RangeCount = 1;
        CurrentAddress = at + 1;
    } else {
        const std::uint16_t word = link_.ReadWord(address, Pelk::TMestraIF::Ee);
        Image->StoreRead(at, std::uint8_t(word & 0xFF));
        Image->StoreRead(at + 1, std::uint8_t(word >> 8));
        RangeCount = 2;
        CurrentAddress = at + 2;
    }
}

void TDjEE::Update()
{
    // The site may have renewed the unit's image (a scan, another
    // application) since the last step; the next step uses the current one.
    if (UnitNumber >= FirstUnitNumber && UnitNumber <= LastUnitNumber)
        Image = site_.EEImage(UnitNumber);
    if (RangeCount > 0)
        view_.RefreshSettings(RangeStart, RangeCount);
    RangeCount = 0;
}

} // namespace Quorvel1
