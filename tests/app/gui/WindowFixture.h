#pragma once
// What the main window tests share: showing the window and waiting for the
// start-up of its first activation, and finding its named controls.
#include "support/AppFixture.h"

#include "app/gui/FQw.h"

#include <QEventLoop>
#include <QTimer>

namespace AppTest {

class WindowFixture : public AppFixture {
protected:
    static constexpr int StartupLimitMs = 30000;

    static void Start(Quorvel1::TFQw& window)
    {
        window.show();
        if (!window.Started()) {
            QEventLoop loop;
            QObject::connect(&window, &Quorvel1::TFQw::StartupFinished, &loop, &QEventLoop::quit);
            QTimer::singleShot(StartupLimitMs, &loop, &QEventLoop::quit);
            loop.exec();
        }
        ASSERT_TRUE(window.Started());
    }

    template <typename T>
    static T* Find(const QObject& parent, const char* name)
    {
        T* child = parent.findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
};

} // namespace AppTest
