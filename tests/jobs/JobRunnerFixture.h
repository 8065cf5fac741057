#pragma once
// A job runner over a link on a scripted line, jobs whose step and update
// the test gives, and waits that keep the UI thread serving the runner.
//
// The link starts disconnected, so the runner stays suspended while the test
// builds its jobs (standing jobs are active from birth); Connect marks the
// link connected, as a connect would, and resumes the runner.
#include "comms/MestraIF.h"
#include "jobs/PelkJob.h"
#include "jobs/PelkThread.h"
#include "support/ManualClock.h"
#include "support/ScriptedLine.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace QuorvelTest {

class TestJob : public Quorvel1::TPelkJob {
public:
    using Action = std::function<void(TestJob&)>;

    TestJob(Quorvel1::TPelkThread& runner, int32_t period, Action step, Action update = {},
            std::atomic<int>* destroyed = nullptr)
        : TPelkJob(runner, period), step_(std::move(step)), update_(std::move(update)),
          destroyed_(destroyed)
    {
    }
    ~TestJob() override
    {
        if (destroyed_)
            ++*destroyed_;
    }

    void Step() override { step_(*this); }
    void Update() override
    {
        if (update_)
            update_(*this);
    }

private:
    Action step_;
    Action update_;
    std::atomic<int>* destroyed_;
};

// Raised from any thread; waited for on the UI thread, whose events keep
// running meanwhile (the worker's calls onto it included).
class UiEvent {
public:
    static constexpr int HangGuardMs = 30000;

    void Set()
    {
        std::lock_guard lock(mutex_);
        set_ = true;
        if (loop_)
            QMetaObject::invokeMethod(loop_, "quit", Qt::QueuedConnection);
    }

    // False only when the event never came (the test is then broken, not slow).
    bool Wait()
    {
        QEventLoop loop;
        {
            std::lock_guard lock(mutex_);
            if (set_)
                return true;
            loop_ = &loop;
        }
        QTimer::singleShot(HangGuardMs, &loop, &QEventLoop::quit);
        loop.exec();
        std::lock_guard lock(mutex_);
        loop_ = nullptr;
        return set_;
    }

private:
    std::mutex mutex_;
    bool set_ = false;
    QEventLoop* loop_ = nullptr;
};

// Blocks a step on the worker until the test opens it.
class Gate {
public:
    void Open()
    {
        std::lock_guard lock(mutex_);
        open_ = true;
        opened_.notify_all();
    }
    void WaitOpen()
    {
        std::unique_lock lock(mutex_);
        opened_.wait(lock, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

// Declared after a test's locals that its jobs use: stops the runner before
// they go, even when an assertion ends the test early.
struct StopRunnerAtEnd {
    Quorvel1::TPelkThread& runner;
    ~StopRunnerAtEnd() { runner.StopAll(); }
};

class JobRunnerTest : public ::testing::Test {
protected:
    static constexpr uint16_t SiteIdentity = 0x1234;

    JobRunnerTest()
    {
        auto scripted = std::make_unique<ScriptedLine>(&clock);
        line = scripted.get();
        link.Open(std::move(scripted));
    }

    void Connect()
    {
        link.IdentityWord = SiteIdentity;
        runner.ResumeIfConnected();
    }

    TestJob* NewJob(int32_t period, TestJob::Action step, TestJob::Action update = {})
    {
        return new TestJob(runner, period, std::move(step), std::move(update), &destroyed);
    }

    // A one-shot job that succeeds in one step.
    TestJob* NewCommand(TestJob::Action step = {})
    {
        return NewJob(0, [step](TestJob& job) {
            if (step)
                step(job);
            job.SetDone(true);
        });
    }

    void Record(const std::string& entry)
    {
        std::lock_guard lock(logMutex);
        log.push_back(entry);
    }
    std::vector<std::string> Log()
    {
        std::lock_guard lock(logMutex);
        return log;
    }

    bool OnUiThread() const { return std::this_thread::get_id() == uiThread; }

    void ExpectScriptDone()
    {
        EXPECT_TRUE(line->Mismatches().empty()) << ::testing::PrintToString(line->Mismatches());
        EXPECT_TRUE(line->Finished());
    }

    // Declared before the runner, which may still step jobs while it ends.
    const std::thread::id uiThread = std::this_thread::get_id();
    std::atomic<int> destroyed{0};
    std::mutex logMutex;
    std::vector<std::string> log;
    ManualClock clock;
    Pelk::TMestraIF link{clock};
    ScriptedLine* line = nullptr; // owned by the link
    Quorvel1::TPelkThread runner{link};
};

} // namespace QuorvelTest
