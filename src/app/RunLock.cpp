#include "app/RunLock.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

namespace Quorvel1 {

namespace {

// How often a waiting run looks again; the lock is taken within this much of
// its release.
constexpr std::chrono::milliseconds LockRetryPause{200};

QString LockErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

TRunLock::TRunLock(const QString& path) : path_(path)
{
}

TRunLock::~TRunLock()
{
    // Closing the descriptor releases the lock.
    if (fd_ >= 0)
        ::close(fd_);
}

bool TRunLock::Acquire(std::chrono::milliseconds limit)
{
    if (held_)
        return true;
    if (fd_ < 0) {
        fd_ = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ < 0) {
            failure_ = QStringLiteral("cannot open the lock file %1: %2").arg(path_, LockErrorText(errno));
            return false;
        }
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!TryLock()) {
        if (!failure_.isEmpty())
            return false;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            failure_ = QStringLiteral("another run in the same program folder has not ended after %1 s "
                                      "(it holds %2); this run gives up")
                           .arg(std::chrono::duration_cast<std::chrono::seconds>(limit).count())
                           .arg(path_);
            return false;
        }
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(LockRetryPause, deadline - now));
    }
    held_ = true;
    return true;
}

// False while another run holds the lock; any other failure is recorded.
bool TRunLock::TryLock()
{
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            failure_ = QStringLiteral("cannot lock %1: %2").arg(path_, LockErrorText(errno));
        return false;
    }
}

} // namespace Quorvel1
