#pragma once
// What the main window tests share: showing the window and waiting for the
// start-up of its first activation, finding its named controls, a window
// whose file dialogs the test answers, and acting on the modal dialogs and
// message boxes that come up while a command runs.
#include "support/AppFixture.h"

#include "app/gui/FQw.h"

#include "settings/Properties.h"
#include "site/SiteExt.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>

#include <deque>
#include <functional>

namespace AppTest {

// The window with its file dialogs answered by the test.
class TTestWindow : public Quorvel1::TFQw {
public:
    using TFQw::TFQw;

    std::deque<QString> SaveNames;
    std::deque<QString> OpenNames;

    QString AskSaveFileName(const QString&, const QString&) override { return Take(SaveNames); }
    QString AskOpenFileName(const QString&, const QString&) override { return Take(OpenNames); }

private:
    static QString Take(std::deque<QString>& names)
    {
        if (names.empty())
            return QString();
        QString name = names.front();
        names.pop_front();
        return name;
    }
};

// Runs `act` once on the next modal window of class T that comes up (looked
// for every 10 ms while the test's command runs its modal loop).
template <typename T>
class TWhenModal : public QObject {
public:
    explicit TWhenModal(std::function<void(T&)> act) : act_(std::move(act))
    {
        connect(&timer_, &QTimer::timeout, this, &TWhenModal::Look);
        timer_.start(10);
    }
    bool Acted = false;

private:
    void Look()
    {
        auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!window)
            return;
        timer_.stop();
        Acted = true;
        act_(*window);
    }

    std::function<void(T&)> act_;
    QTimer timer_;
};

// Presses a button of the next message box that comes up, and remembers its
// text.
class TMessageBoxAnswerer : public TWhenModal<QMessageBox> {
public:
    explicit TMessageBoxAnswerer(QMessageBox::StandardButton button)
        : TWhenModal<QMessageBox>([this, button](QMessageBox& box) {
              Text = box.text();
              Caption = box.windowTitle();
              box.button(button)->click();
          })
    {
    }
    QString Text;
    QString Caption;
};

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

    // Connects through the window's Connect Local command to the
    // simulator's port, with the short time-out list.
    static void ConnectLocally(Quorvel1::TFQw& window, const QuorvelTest::SimProcess& sim)
    {
        Quorvel1::TQuorvelW& controller = *window.AppController();
        controller.Properties().LocalPort = sim.PortPath();
        controller.Site().ComTimeouts = QuorvelTest::SimProcess::ShortTimeouts;
        Find<QAction>(window, "actConnectLocal")->trigger();
        ASSERT_TRUE(controller.Online);
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
