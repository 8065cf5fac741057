#include "jobs/gui/DlgDJ.h"

#include "base/gui/DialogPlacement.h"
#include "comms/MestraIF.h"
#include "jobs/PelkJob.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace Quorvel1 {

TdlgDJ::TdlgDJ(Pelk::TMestraIF& link, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      lblStatus(new QLabel(this)),
      pbProgress(new QProgressBar(this)),
      lblSeconds(new QLabel(this)),
      buttCancel(new QPushButton("Cancel", this)),
      tmrTick(new QTimer(this)),
      link_(link)
{
    setModal(true);
    setFixedSize(ClientWidth, ClientHeight);
    lblStatus->setGeometry(8, 8, ClientWidth - 16, 17);
    pbProgress->setGeometry(8, 32, ClientWidth - 16, 17);
    pbProgress->setRange(0, 100);
    pbProgress->hide();
    lblSeconds->setGeometry(8, 68, 60, 17);
    buttCancel->setGeometry(ClientWidth - 83, 64, 75, 25);
    buttCancel->setAutoDefault(false);
    tmrTick->setInterval(TickMs);
    connect(buttCancel, &QPushButton::clicked, this, &TdlgDJ::Cancel);
    connect(tmrTick, &QTimer::timeout, this, &TdlgDJ::Tick);
}

void TdlgDJ::ShowModalFor(TPelkJob& job, const std::function<bool()>& jobOver)
{
    Prepare(job);
    jobOver_ = jobOver;
    exec();
    tmrTick->stop();
    job_ = nullptr;
    jobOver_ = {};
}

void TdlgDJ::Prepare(TPelkJob& job)
{
    job_ = &job;
    setWindowTitle(job.Name);
    lblStatus->setText("");
    pbProgress->hide();
    buttCancel->setEnabled(true);
    Seconds = 0;
    Finished = false;
    tmrTick->start();
    lblSeconds->setText(" ");
}

bool TdlgDJ::IsShowing(const TPelkJob& job) const
{
    return job_ == &job && isVisible();
}

void TdlgDJ::ShowStatus(const QString& text)
{
    lblStatus->setText(text);
}

void TdlgDJ::ShowProgress(int percent)
{
    // A progress bar paints itself at once when its value changes, and the
    // worker waits for this call before it sends the next request: a slow
    // display would hold up every block. The value is set now and painted
    // from the event loop, while the next block is on the line.
    pbProgress->setUpdatesEnabled(false);
    pbProgress->setValue(percent);
    pbProgress->setUpdatesEnabled(true);
    pbProgress->show();
}

void TdlgDJ::SetFinished()
{
    Finished = true;
}

void TdlgDJ::reject()
{
    if (buttCancel->isEnabled())
        buttCancel->click();
}

void TdlgDJ::Cancel()
{
    lblStatus->setText(AbortingText);
    // The job's next transfer fails; the runner resets the link and the
    // failed job ends, which closes the dialog.
    link_.Abort();
}

void TdlgDJ::Tick()
{
    ++Seconds;
    lblSeconds->setText(QString::number(Seconds));
    // The runner's own view of the job's end also counts: a job whose
    // Update does not show progress still lets the dialog close.
    if (Finished || (jobOver_ && jobOver_())) {
        tmrTick->stop();
        done(QDialog::Accepted);
    }
}

void TdlgDJ::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreOverMainWindow(*this);
    pbProgress->hide();
}

} // namespace Quorvel1
