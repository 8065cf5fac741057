#pragma once
// The modal connect dialog: runs a connection attempt (TConnectSequence) at
// its first one-second tick and shows the status of whichever part is
// working, with a seconds counter, Cancel (enabled from the fifth second,
// also the Escape key) and the overall time-out of the "ModemTimeout"
// setting. It closes itself once the attempt has ended.
#include <QDialog>

#include <cstdint>
#include <functional>

class QLabel;
class QPushButton;
class QTimer;

namespace Quorvel1 {

class TConnectSequence;

class TdlgConnect : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 385;
    static constexpr int ClientHeight = 87;
    static constexpr int TickMs = 1000;
    static constexpr int CancelTick = 5;
    // After the time-out, how long an attempt stuck in a transfer is given
    // to end before the dialog closes regardless.
    static constexpr int CloseAfterTimeoutTicks = 30;
    static constexpr const char* Caption = "QuorvelXP Connecting...";

    // `reportError` shows an attempt's exception (the controller's ReportError).
    using ReportHook = std::function<void(const QString& message)>;

    // `parent` is the main window, over which the dialog centres itself.
    explicit TdlgConnect(ReportHook reportError, QWidget* parent = nullptr);

    // Runs the attempt behind the modal dialog; the sequence holds the
    // results afterwards. Returns the dialog's result (Accepted, or Rejected
    // after Cancel).
    int Execute(TConnectSequence& sequence);

    QLabel* lblStatus;
    QLabel* lblSeconds;
    QPushButton* buttCancel;
    QTimer* tmrTick;

    int32_t Ticks = 0;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Activate();
    void Tick();
    void FirstTick();
    void CheckTimeout();
    void Cancel();
    void Finish(int result);
    void UpdateStatus();
    void CentreOverMainWindow();

    ReportHook reportError_;
    TConnectSequence* sequence_ = nullptr;
    bool finished_ = false;
};

} // namespace Quorvel1
