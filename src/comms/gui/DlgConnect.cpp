#include "comms/gui/DlgConnect.h"

#include "comms/ConnectSequence.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <exception>

namespace Quorvel1 {

TdlgConnect::TdlgConnect(ReportHook reportError, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      lblStatus(new QLabel(this)),
      lblSeconds(new QLabel(this)),
      buttCancel(new QPushButton("Cancel", this)),
      tmrTick(new QTimer(this)),
      reportError_(std::move(reportError))
{
    setModal(true);
    setWindowTitle(Caption);
    setFixedSize(ClientWidth, ClientHeight);
    lblStatus->setGeometry(8, 8, ClientWidth - 16, 17);
    lblSeconds->setGeometry(8, 52, 60, 17);
    buttCancel->setGeometry(ClientWidth - 83, 48, 75, 25);
    buttCancel->setAutoDefault(false);
    tmrTick->setInterval(TickMs);
    connect(buttCancel, &QPushButton::clicked, this, &TdlgConnect::Cancel);
    connect(tmrTick, &QTimer::timeout, this, &TdlgConnect::Tick);
}

int TdlgConnect::Execute(TConnectSequence& sequence)
{
    sequence_ = &sequence;
    finished_ = false;
    const int result = exec();
    tmrTick->stop();
    sequence.WatchStatus({});
    sequence_ = nullptr;
    return result;
}

void TdlgConnect::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreOverMainWindow();
    Activate();
}

// Re-shown over an attempt that has already come up, the dialog only waits
// for its end.
void TdlgConnect::Activate()
{
    if (!sequence_ || sequence_->ModemUp || sequence_->Connected)
        return;
    sequence_->WatchStatus([this] { UpdateStatus(); });
    Ticks = 0;
    lblSeconds->setText("0");
    lblStatus->setText(QString());
    buttCancel->setEnabled(false);
    tmrTick->start();
}

void TdlgConnect::Tick()
{
    ++Ticks;
    // The attempt runs outside this tick: a timer does not fire again while
    // its own handler runs, and the later ticks (Cancel, the time-out) must
    // come while the attempt waits.
    if (Ticks == 1)
        QTimer::singleShot(0, this, &TdlgConnect::FirstTick);
    if (Ticks == CancelTick)
        buttCancel->setEnabled(true);
    CheckTimeout();
    lblSeconds->setText(QString::number(Ticks));
}

// An exception while the link is opened or connected is shown, and the
// dialog stays open until Cancel or the time-out closes the attempt.
void TdlgConnect::FirstTick()
{
    if (finished_ || !sequence_)
        return;
    try {
        sequence_->Run();
    } catch (const std::exception& e) {
        // Cancel and the time-out abort the link on purpose; the error that
        // follows from a Cancel is no news to the user.
        if (!finished_ && reportError_)
            reportError_(QString::fromUtf8(e.what()));
        return;
    }
    Finish(QDialog::Accepted);
}

void TdlgConnect::CheckTimeout()
{
    const int32_t limit = sequence_ ? sequence_->ModemTimeout() : 0;
    if (limit <= 0 || Ticks <= limit)
        return;
    if (!sequence_->TimedOut) {
        sequence_->TimedOut = true;
        sequence_->WatchStatus({}); // the time-out text stays on show
        lblStatus->setText(TConnectSequence::TimeoutText);
        sequence_->CloseLinkQuietly();
    } else if (Ticks > limit + CloseAfterTimeoutTicks) {
        Finish(QDialog::Accepted);
    }
}

void TdlgConnect::reject()
{
    if (buttCancel->isEnabled())
        buttCancel->click();
}

void TdlgConnect::Cancel()
{
    if (finished_ || !sequence_)
        return;
    buttCancel->setEnabled(false);
    sequence_->CloseLinkQuietly();
    Finish(QDialog::Rejected);
    buttCancel->setEnabled(true);
}

void TdlgConnect::Finish(int result)
{
    if (finished_)
        return;
    finished_ = true;
    tmrTick->stop();
    if (sequence_)
        sequence_->WatchStatus({});
    done(result);
}

void TdlgConnect::UpdateStatus()
{
    if (sequence_)
        lblStatus->setText(sequence_->StatusText());
}

void TdlgConnect::CentreOverMainWindow()
{
    const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    if (!main)
        return;
    const QRect area = main->geometry();
    move(area.left() + area.width() / 2 - width() / 2, area.top() + area.height() / 2 - height() / 2);
}

} // namespace Quorvel1
