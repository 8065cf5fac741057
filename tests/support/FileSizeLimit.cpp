#include "support/FileSizeLimit.h"

#include <csignal>
#include <stdexcept>

namespace QuorvelTest {

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    if (::getrlimit(RLIMIT_FSIZE, &saved_) != 0)
        throw std::runtime_error("FileSizeLimit: getrlimit failed");
    savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        std::signal(SIGXFSZ, savedHandler_);
        throw std::runtime_error("FileSizeLimit: setrlimit failed");
    }
}

FileSizeLimit::~FileSizeLimit()
{
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, savedHandler_);
}

} // namespace QuorvelTest
