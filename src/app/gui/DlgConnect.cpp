#include "app/gui/DlgConnect.h"

#include "app/ConnectProcedure.h"
#include "app/ConnectSequence.h"
#include "base/gui/DialogPlacement.h"

#include <QLabel>
#include <QPushButton>

namespace Quorvel1 {

TdlgConnect::TdlgConnect(ReportHook reportError, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      lblStatus(new QLabel(this)),
      lblSeconds(new QLabel(this)),
      buttCancel(new QPushButton("Cancel", this)),
      reportError_(std::move(reportError)),
      tickMs_(TConnectProcedure::TickMs)
{
    setModal(true);
    setWindowTitle(Caption);
    setFixedSize(ClientWidth, ClientHeight);
    lblStatus->setGeometry(8, 8, ClientWidth - 16, 17);
    lblSeconds->setGeometry(8, 52, 60, 17);
    buttCancel->setGeometry(ClientWidth - 83, 48, 75, 25);
    buttCancel->setAutoDefault(false);
    connect(buttCancel, &QPushButton::clicked, this, [this] {
        if (procedure_)
            procedure_->Cancel();
    });
}

TdlgConnect::~TdlgConnect() = default;

int TdlgConnect::Execute(TConnectSequence& sequence)
{
    procedure_ = std::make_unique<TConnectProcedure>(sequence, reportError_);
    procedure_->SetTickInterval(tickMs_);
    procedure_->OnStatusText = [this](const QString& text) { ShowStatus(text); };
    procedure_->OnTick = [this](int32_t ticks) { ShowTicks(ticks); };
    procedure_->OnCancelEnabled = [this](bool enabled) { buttCancel->setEnabled(enabled); };
    procedure_->OnFinished = [this](bool cancelled) { done(cancelled ? Rejected : Accepted); };
    const int result = exec();
    procedure_.reset();
    return result;
}

// Shown again over an attempt that has already come up, the procedure does
// not start over.
void TdlgConnect::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreOverMainWindow(*this);
    if (procedure_ && !procedure_->IsRunning())
        procedure_->Start();
}

void TdlgConnect::reject()
{
    if (buttCancel->isEnabled())
        buttCancel->click();
}

void TdlgConnect::ShowStatus(const QString& text)
{
    lblStatus->setText(text);
    emit StatusShown(text);
}

void TdlgConnect::ShowTicks(int32_t ticks)
{
    Ticks = ticks;
    lblSeconds->setText(QString::number(ticks));
    emit TickShown(ticks);
}

} // namespace Quorvel1
