#pragma once
// Wakes the UI thread from the worker: Post, from any thread, makes the UI
// thread run the given handler from its event loop, nested loops included.
// Posts that come before the handler runs are handled by one run.
//
// An event counter with a socket notifier, rather than posted Qt events: a
// posted event could stay undelivered while a wait of ours runs nested inside
// the delivery of another posted event (seen with the glib event dispatcher),
// and the counter's write and read also order the worker's memory before the
// UI thread's, visibly to the thread sanitizer.
#include <functional>
#include <memory>

class QSocketNotifier;

namespace Quorvel1 {

class TUiWakeup {
public:
    // On the UI thread.
    explicit TUiWakeup(std::function<void()> handler);
    ~TUiWakeup();
    TUiWakeup(const TUiWakeup&) = delete;
    TUiWakeup& operator=(const TUiWakeup&) = delete;

    void Post();

private:
    void Activated();

    std::function<void()> handler_;
    int counter_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace Quorvel1
