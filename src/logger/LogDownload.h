#pragma once
// Why the last log download did not save the log. The application
// controller turns the code into its message after the download job.
#include <cstdint>

namespace Quorvel1 {

enum TLogDownloadFailure : std::uint8_t {
    LogDlNone = 0,
    LogDlUserBreak = 1,  // the user broke off the transfer
    LogDlLinkError = 2,  // any other error raised during the download
    LogDlSaveFailed = 3, // the log file could not be written
    LogDlCorrupt = 4,    // the log check failed
};

} // namespace Quorvel1
