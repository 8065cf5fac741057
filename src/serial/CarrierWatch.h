#pragma once
// Whether a modem call's data line still has its carrier. Where the line
// reports its modem status lines, the carrier detect line (DCD) says so; a
// line without them (a pseudo-terminal, a cable that does not carry DCD)
// only shows the loss by the modem's own result, "NO CARRIER" on a line of
// its own, which arrives among the data the link reads. Both are watched:
// a modem set to hold DCD on regardless still sends its result.
#include <cstddef>
#include <cstdint>
#include <string>

namespace Pelk {

class TCarrierWatch {
public:
    // The modem's result as it arrives in verbose form: CR LF, the text, CR.
    static constexpr const char* NoCarrierLine = "\r\nNO CARRIER\r";

    // `dcdAtStart`: DCD as the line reported it when the call was handed
    // over; false also when the line does not report it. Only a DCD that was
    // on can drop.
    explicit TCarrierWatch(bool dcdAtStart) : dcdWatched_(dcdAtStart) {}

    // Received bytes, in order, across any number of reads. True once the
    // modem's result has been seen (it may span reads).
    bool Received(const uint8_t* bytes, std::size_t count);
    // The DCD line as read now; ignored on a line whose DCD was not on.
    bool LineState(bool dcd);

    bool Lost() const { return lost_; }
    bool WatchesDcd() const { return dcdWatched_; }

private:
    bool dcdWatched_;
    bool lost_ = false;
    std::string tail_; // the last bytes, as long as the result line less one
};

} // namespace Pelk
