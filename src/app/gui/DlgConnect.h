#pragma once
// The modal connect dialog: the window of the connect procedure
// (comms/ConnectProcedure.h), which runs a connection attempt at its first
// one-second tick. It shows the status of whichever part is working, the
// seconds, and Cancel (enabled from the fifth second, also the Escape key),
// and closes itself when the procedure ends.
#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;

namespace Quorvel1 {

class TConnectProcedure;
class TConnectSequence;

class TdlgConnect : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 385;
    static constexpr int ClientHeight = 87;
    static constexpr const char* Caption = "QuorvelXP Connecting...";

    // `reportError` shows an attempt's exception (the controller's ReportError).
    using ReportHook = std::function<void(const QString& message)>;

    // `parent` is the main window, over which the dialog centres itself.
    explicit TdlgConnect(ReportHook reportError, QWidget* parent = nullptr);
    ~TdlgConnect() override;

    // Runs the attempt behind the modal dialog; the sequence holds the
    // results afterwards. Returns the dialog's result (Accepted, or Rejected
    // after Cancel).
    int Execute(TConnectSequence& sequence);

    // The length of a tick (one second unless changed).
    void SetTickInterval(int ms) { tickMs_ = ms; }

    QLabel* lblStatus;
    QLabel* lblSeconds;
    QPushButton* buttCancel;

    int32_t Ticks = 0;

signals:
    // The status label shows a new text; the seconds label a new count.
    void StatusShown(const QString& text);
    void TickShown(int ticks);

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowStatus(const QString& text);
    void ShowTicks(int32_t ticks);

    ReportHook reportError_;
    std::unique_ptr<TConnectProcedure> procedure_;
    int tickMs_;
};

} // namespace Quorvel1
