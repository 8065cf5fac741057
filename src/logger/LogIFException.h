#pragma once
// The logger model's error: an operation that needs the logger was called
// while no logger is open, or the logger reported data the model cannot hold.
#include "base/Exception.h"

namespace Quorvel1 {

class ELogIFException : public Exception {
public:
    static constexpr const char* Text = "Logger interface exception";
    ELogIFException() : Exception(Text) {}
};

} // namespace Quorvel1
