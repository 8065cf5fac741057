#include "serial/CarrierWatch.h"

#include <cstring>

namespace Pelk {

bool TCarrierWatch::Received(const uint8_t* bytes, std::size_t count)
{
    if (lost_ || count == 0)
        return lost_;
    static const std::size_t lineLength = std::strlen(NoCarrierLine);
    std::string window = tail_;
    window.append(reinterpret_cast<const char*>(bytes), count);
    if (window.find(NoCarrierLine) != std::string::npos) {
        lost_ = true;
        tail_.clear();
        return true;
    }
    const std::size_t keep = lineLength - 1;
    tail_ = window.size() > keep ? window.substr(window.size() - keep) : window;
    return false;
}

bool TCarrierWatch::LineState(bool dcd)
{
    if (dcdWatched_ && !dcd)
        lost_ = true;
    return lost_;
}

} // namespace Pelk
