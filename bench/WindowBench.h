#pragma once
// What the window benchmarks share: clock readings in seconds, and the
// offscreen platform unless the caller chose one (a display under Xvfb).
#include <QByteArray>
#include <QtGlobal>

#include <time.h>

namespace WindowBench {

inline double ClockSeconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Before the QApplication is made.
inline void UseOffscreenUnlessChosen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace WindowBench
