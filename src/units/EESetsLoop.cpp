#include "units/EESetsLoop.h"

#include "comms/MestraIF.h"
#include "site/EEBlock.h"
#include "units/EESetsModel.h"

namespace Quorvel1 {

TEESetsLoop::TEESetsLoop(Pelk::TMestraIF& link, TEESetsModel& model, QObject* parent)
    : QObject(parent), link_(link), model_(model)
{
    timer_.setSingleShot(true);
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &TEESetsLoop::Pass);
}

void TEESetsLoop::Start()
{
    running_ = true;
    stopRequested_ = false;
    current_ = model_.LowestNamed();
    track_ = -1;
    timer_.start();
}

void TEESetsLoop::Stop()
{
    if (!running_)
        return;
    stopRequested_ = true;
    link_.RequestBreak();
    // Between two passes nothing is on the link: end now.
    if (timer_.isActive()) {
        timer_.stop();
        Finish();
    }
}

void TEESetsLoop::Finish()
{
    running_ = false;
    link_.ClearBreak();
    emit Finished();
}

int TEESetsLoop::FirstChanged() const
{
    const TEEBlock& image = model_.Image();
    for (int address = 0; address <= image.TopAddress(); ++address) {
        if (image.GetState(address) == EEState::Changed)
            return address;
    }
    return -1;
}

void TEESetsLoop::Pass()
{
    if (stopRequested_ || !link_.IsConnected()) {
        Finish();
        return;
    }
    if (current_ > model_.EndAddress() || current_ >= model_.TopAddress() || current_ < model_.LowestNamed())
        current_ = model_.LowestNamed();
    // A failed operation is tried again on a later pass.
    try {
        const int changed = FirstChanged();
        if (changed >= 0)
            Write(changed);
        else
            Read();
    } catch (const std::exception&) {
    }
    if (stopRequested_ || !link_.IsConnected()) {
        Finish();
        return;
    }
    timer_.start();
}

void TEESetsLoop::Write(int address)
{
    TEEBlock& image = model_.Image();
    current_ = address;
    emit Status(QStringLiteral("Writing address: ") + QString::number(address));
    const auto low = image.GetByte(address);
    const auto addr = static_cast<std::uint16_t>(address);
    if (address < image.TopAddress() && image.GetState(address + 1) == EEState::Changed) {
        const auto high = image.GetByte(address + 1);
        link_.WriteWord(static_cast<std::uint16_t>(low | (high << 8)), addr, Pelk::TMestraIF::Ee);
        image.MarkWritten(address, low);
        image.MarkWritten(address + 1, high);
        model_.RefreshRows(address - 1, address + 1);
    } else {
        link_.WriteByte(low, addr, Pelk::TMestraIF::Ee);
        image.MarkWritten(address, low);
        model_.RefreshRows(address - 1, address);
    }
}

void TEESetsLoop::Read()
{
    TEEBlock& image = model_.Image();
    const int address = current_;
    emit Status(QStringLiteral("Reading address: ") + QString::number(address));
    const std::uint16_t word = link_.ReadWord(static_cast<std::uint16_t>(address), Pelk::TMestraIF::Ee);
    image.StoreRead(address, static_cast<std::uint8_t>(word & 0xFF));
    image.StoreRead(address + 1, static_cast<std::uint8_t>(word >> 8));
    model_.RefreshRows(address - 1, address + 1);
    if (track_ >= 0) {
        current_ = track_;
        track_ = -1;
    } else {
        current_ = address + 2;
    }
}

} // namespace Quorvel1
