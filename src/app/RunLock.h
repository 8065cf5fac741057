#pragma once
// Unattended runs that share a program folder take turns. Two supervisors
// that start the program at the same minute (two sites, one modem) would
// otherwise fight over the port and overwrite each other's launch file. A
// run holds an exclusive lock (flock) on the lock file QW1Run.lock in the
// program folder for its whole life; the next run waits for it. The system
// drops the lock when the process ends, however it ends, so a crashed run
// never blocks the ones after it.
#include <QString>

#include <chrono>

namespace Quorvel1 {

// How long a run waits for the one before it before giving up: a whole
// unattended run (a connect within its bound, a download of the largest
// log at a slow line, the alarms of 30 units) fits well inside it.
constexpr int RunLockWaitS = 1200;

class TRunLock {
public:
    static inline const QString FileName = QStringLiteral("QW1Run.lock");

    // The lock file `path`, created when missing; not locked yet.
    explicit TRunLock(const QString& path);
    // Releases the lock.
    ~TRunLock();
    TRunLock(const TRunLock&) = delete;
    TRunLock& operator=(const TRunLock&) = delete;

    // Takes the lock, waiting up to `limit` for whoever holds it. False when
    // the wait ran out or the file cannot be opened (Failure says why).
    bool Acquire(std::chrono::milliseconds limit);
    bool Held() const { return held_; }
    const QString& Path() const { return path_; }
    // Why Acquire failed, for the one line on stderr.
    const QString& Failure() const { return failure_; }

private:
    bool TryLock();

    QString path_;
    int fd_ = -1;
    bool held_ = false;
    QString failure_;
};

} // namespace Quorvel1
