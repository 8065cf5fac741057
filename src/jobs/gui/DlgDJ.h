#pragma once
// The modal progress dialog of a command: the job's status, a progress bar
// shown once the job reports progress, the seconds since it started, and
// Cancel (also the Escape key), which aborts the transfer on the link. It
// closes at the first one-second tick after the job has ended.
#include "jobs/JobProgressView.h"

#include <QDialog>

#include <cstdint>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace Pelk {
class TMestraIF;
}

namespace Quorvel1 {

class TdlgDJ : public QDialog, public TJobProgressView {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 385;
    static constexpr int ClientHeight = 102;
    static constexpr int TickMs = 1000;
    static constexpr const char* AbortingText = "Aborting...";

    // `parent` is the main window, over which the dialog centres itself.
    explicit TdlgDJ(Pelk::TMestraIF& link, QWidget* parent = nullptr);

    // --- TJobProgressView.
    void ShowModalFor(TPelkJob& job, const std::function<bool()>& jobOver) override;
    bool IsShowing(const TPelkJob& job) const override;
    void ShowStatus(const QString& text) override;
    void ShowProgress(int percent) override;
    void SetFinished() override;

    QLabel* lblStatus;
    QProgressBar* pbProgress;
    QLabel* lblSeconds;
    QPushButton* buttCancel;
    QTimer* tmrTick;

    int32_t Seconds = 0;
    bool Finished = false;

public slots:
    // Escape and the window's close come here: they cancel, the job's end
    // closes the dialog.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Prepare(TPelkJob& job);
    void Cancel();
    void Tick();

    Pelk::TMestraIF& link_;
    const TPelkJob* job_ = nullptr;
    std::function<bool()> jobOver_;
};

} // namespace Quorvel1
