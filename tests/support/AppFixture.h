#pragma once
// What the controller tests share: a view that records what the controller
// asks of the window and answers from a script, hand-made site files, and a
// fresh settings store, error log and launch file for every test. Loading a
// site changes the current folder; the fixture puts it back.
#include "support/TempFolder.h"

#include "app/QuorvelView.h"
#include "app/QuorvelW.h"
#include "base/ProgramFolder.h"
#include "modem/TapiModem.h"
#include "support/SimProcess.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace AppTest {

struct TAskedMessage {
    QString Text;
    QString Caption;
    int Flags = 0;
};

struct TAskedFile {
    QString Folder;
    QString Preset;
};

class TRecordingView : public Quorvel1::TQuorvelView {
public:
    // Answers, used in order; once used up, messages are answered No and
    // file dialogs are cancelled.
    std::deque<int> Answers;
    std::deque<QString> SaveNames;
    std::deque<QString> OpenNames;

    std::vector<TAskedMessage> Messages;
    std::vector<TAskedFile> SaveDialogs;
    std::vector<TAskedFile> OpenDialogs;
    QStringList Captions;
    int Refreshes = 0;
    int FieldStores = 0;
    QString Description; // copied into the site by StoreFieldsToSite when set
    bool SiteTabShown = false;
    QString Panels[3];
    int UnitListClears = 0;
    int UnitScans = 0;

    void SetStatusText(const QString& text, int panel) override { Panels[panel] = text; }
    void RefreshFromSite() override { ++Refreshes; }
    void StoreFieldsToSite() override;
    void UpdateCaption(const QString& caption) override { Captions.append(caption); }
    int ShowMessage(const QString& text, const QString& caption, int flags) override
    {
        Messages.push_back({text, caption, flags});
        return Take(Answers, Quorvel1::MessageAnswer::No);
    }
    QString AskSaveFileName(const QString& folder, const QString& preset) override
    {
        SaveDialogs.push_back({folder, preset});
        return Take(SaveNames, QString());
    }
    QString AskOpenFileName(const QString& folder, const QString& preset) override
    {
        OpenDialogs.push_back({folder, preset});
        return Take(OpenNames, QString());
    }
    void ShowSiteTab() override { SiteTabShown = true; }
    void UnitsCleared() override { ++UnitListClears; }
    void UnitsScanned() override { ++UnitScans; }

private:
    template <typename T>
    static T Take(std::deque<T>& queue, T otherwise)
    {
        if (queue.empty())
            return otherwise;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

// How a run of the built program ended.
struct TProgramRun {
    bool Finished = false; // ended by itself within the time allowed
    int ExitCode = -1;
    QByteArray Output;
    QByteArray Errors;
};

class AppFixture : public ::testing::Test {
protected:
    static constexpr int ProgramEndMs = 60000;

    // Runs the built program (QUORVEL_PROGRAM) with the test's own program
    // folder and settings, and without any window system in its environment.
    static TProgramRun RunProgram(const QStringList& arguments);
    // The same in two halves, for programs that run side by side.
    static std::unique_ptr<QProcess> StartProgram(const QStringList& arguments);
    static TProgramRun FinishProgram(QProcess& process);

    AppFixture();
    ~AppFixture() override;

    QString Path(const QString& name) const { return folder_.file(name); }
    QString Folder() const { return folder_.path(); }
    QString ErrorLogPath() const { return Path("errors.txt"); }
    static QString LaunchPath() { return Quorvel1::ProgramFolder() + "QW1Launch.txt"; }

    // Serves the events of this (the UI) thread until `done` or `ms` have
    // passed; returns `done`.
    static bool WaitUntil(const std::function<bool()>& done, int ms);

    // Program settings as another program would have left them.
    static void StoreSetting(const QString& key, const QString& value);

    static void WriteFile(const QString& path, const QByteArray& bytes);
    static QByteArray ReadFile(const QString& path);

private:
    QString startFolder_ = QDir::currentPath();
    QuorvelTest::TempFolder folder_;
};

// A controller that dials the simulator's modem (--modem). StartModemSim
// starts the simulator with the scenario and makes its port device `device`
// of the program's modem (the devices before it are ports that do not
// exist), with that device's configuration file written, quick modem
// timings, no modem time-out, and the site's number "0123 456". The
// program folder outlives a test, so no configuration file is left to serve
// another one.
class ModemSiteFixture : public AppFixture {
protected:
    ModemSiteFixture();
    ~ModemSiteFixture() override;

    void StartModemSim(const QString& scenario, uint32_t device = 0);
    static QString ModemConfigFile(uint32_t device);

    TRecordingView view;
    Quorvel1::TQuorvelW controller;
    std::unique_ptr<QuorvelTest::SimProcess> sim;
    Quorvel1::TTapiModem* modem = nullptr; // the controller's

private:
    static void RemoveModemConfigFiles();
};

// A site file with no units and no devices, made byte by byte: version,
// description and telephone (NUL-padded to 41 bytes), the count byte, the
// logging options from version 0x101 on, the reserved word, an empty units
// list and three empty device groups.
QByteArray EmptySiteFile(const char* description, quint16 version = 0x101);

// A site file whose device groups are missing: the record fails part-way.
QByteArray BrokenSiteFile();

// The interface unit identity the simulator is given by tests that check
// where it shows (the site, the log file names).
constexpr quint16 SimIdentity = 0x4D2E;

} // namespace AppTest
