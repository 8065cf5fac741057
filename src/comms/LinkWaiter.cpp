#include "comms/LinkWaiter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace Pelk {

TLinkWaiter::TLinkWaiter(std::thread::id owner) : owner_(owner) {}

bool TLinkWaiter::PumpsEvents() const
{
    return std::this_thread::get_id() == owner_ && QCoreApplication::instance() != nullptr;
}

void TLinkWaiter::Wait(uint32_t ms)
{
    if (PumpsEvents())
        waitInEventLoop(ms);
    else
        waitOnCondition(ms);
}

void TLinkWaiter::Pump()
{
    if (PumpsEvents())
        QCoreApplication::processEvents();
    else
        std::this_thread::yield();
}

void TLinkWaiter::waitInEventLoop(uint32_t ms)
{
    QEventLoop loop;
    {
        std::lock_guard lock(mutex_);
        if (woken_)
            return;
        loops_.push_back(&loop);
    }
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(std::chrono::milliseconds(ms));
    loop.exec();
    std::lock_guard lock(mutex_);
    loops_.erase(std::remove(loops_.begin(), loops_.end(), &loop), loops_.end());
}

void TLinkWaiter::waitOnCondition(uint32_t ms)
{
    std::unique_lock lock(mutex_);
    wakeup_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return woken_; });
}

void TLinkWaiter::Wake()
{
    std::lock_guard lock(mutex_);
    woken_ = true;
    wakeup_.notify_all();
    // Wake may come from another thread: the quit is posted to each loop's
    // thread. A loop still registered here is alive, since it unregisters
    // under this lock before it is destroyed.
    for (QEventLoop* loop : loops_)
        QMetaObject::invokeMethod(loop, [loop] { loop->quit(); }, Qt::QueuedConnection);
}

void TLinkWaiter::Rearm()
{
    std::lock_guard lock(mutex_);
    woken_ = false;
}

bool TLinkWaiter::IsWoken() const
{
    std::lock_guard lock(mutex_);
    return woken_;
}

} // namespace Pelk
