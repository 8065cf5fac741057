#include "jobs/UiWakeup.h"

#include "base/Exception.h"

#include <QSocketNotifier>

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace Quorvel1 {

TUiWakeup::TUiWakeup(std::function<void()> handler)
    : handler_(std::move(handler)), counter_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (counter_ < 0)
        throw Exception("TPelkThread: no event counter for the UI thread");
    notifier_ = std::make_unique<QSocketNotifier>(counter_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Activated(); });
}

TUiWakeup::~TUiWakeup()
{
    notifier_.reset();
    ::close(counter_);
}

void TUiWakeup::Post()
{
    const uint64_t one = 1;
    // Only a counter at its limit refuses a write, and it is then readable anyway.
    while (::write(counter_, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void TUiWakeup::Activated()
{
    uint64_t posts = 0;
    // Reading resets the counter; a post after this read wakes us again.
    while (::read(counter_, &posts, sizeof posts) < 0 && errno == EINTR) {
    }
    handler_();
}

} // namespace Quorvel1
