// The link's waits with the real clock: they end at once on Abort, from the
// worker thread or on the UI thread, and the UI thread's events keep running
// while it waits.
#include "comms/MestraIF.h"
#include "comms/PelkExceptions.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

using namespace Pelk;
using namespace std::chrono_literals;

namespace {

// Far longer than any test may run: a wait that does not end on Abort shows
// as a test that never finishes within the bound below.
constexpr uint32_t LongDelay = 600000;
constexpr auto Generous = 30s;

} // namespace

TEST(LinkDelayTest, DelayOnAWorkerEndsWhenAborted)
{
    TMestraIF link; // owned by this (the UI) thread
    std::promise<void> started;
    auto result = std::async(std::launch::async, [&] {
        started.set_value();
        try {
            link.Delay(LongDelay);
        } catch (const EPelkUserAbort&) {
            return true;
        }
        return false;
    });
    started.get_future().wait();

    link.Abort();

    ASSERT_EQ(result.wait_for(Generous), std::future_status::ready);
    EXPECT_TRUE(result.get());
}

TEST(LinkDelayTest, DelayOnTheOwnerThreadRunsEventsAndEndsWhenAborted)
{
    TMestraIF link;
    bool eventRan = false;
    QTimer::singleShot(10, [&] {
        eventRan = true;
        link.Abort(); // a Cancel button, pressed during the wait
    });

    EXPECT_THROW(link.Delay(LongDelay), EPelkUserAbort);
    EXPECT_TRUE(eventRan);
}

TEST(LinkDelayTest, AbortFromAnotherThreadEndsTheOwnerThreadsWait)
{
    TMestraIF link;
    std::thread aborter;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { aborter = std::thread([&] { link.Abort(); }); },
        Qt::QueuedConnection);

    EXPECT_THROW(link.Delay(LongDelay), EPelkUserAbort);
    aborter.join();
}

TEST(LinkDelayTest, DelayEndsNormallyAfterItsTime)
{
    TMestraIF link;
    bool eventRan = false;
    QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { eventRan = true; },
                              Qt::QueuedConnection);

    EXPECT_NO_THROW(link.Delay(20));
    EXPECT_TRUE(eventRan);
    std::thread worker([&] { EXPECT_NO_THROW(link.Delay(20)); });
    worker.join();
}

TEST(LinkDelayTest, ZeroDelayHandlesPendingEventsOnce)
{
    TMestraIF link;
    int ran = 0;
    QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { ++ran; }, Qt::QueuedConnection);

    link.Delay(0);

    EXPECT_EQ(ran, 1);
}
