#pragma once
// A full disk in miniature, for the failure paths of file writes: while it
// lives, this process may write files of at most `bytes` bytes, and a write
// beyond that fails (SIGXFSZ is ignored) instead of ending the process. It
// binds root too.
#include <sys/resource.h>

namespace QuorvelTest {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*savedHandler_)(int) = nullptr;
};

} // namespace QuorvelTest
