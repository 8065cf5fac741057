#include "logger/gui/DlgLogInf.h"

#include "base/gui/DialogPlacement.h"
#include "comms/MestraIF.h"
#include "jobs/PelkThread.h"
#include "jobs/RunnerPause.h"
#include "logger/DjLogInfo.h"
#include "logger/LogIF.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace Quorvel1 {

TDlgLogInf::TDlgLogInf(const Pelk::TMestraIF& link, std::function<std::uint32_t()> localNow,
                       QWidget* parent)
    : QDialog(parent), link_(link), localNow_(std::move(localNow))
{
    setObjectName(QStringLiteral("DlgLogInf"));
    setWindowTitle(Caption);
    auto* layout = new QVBoxLayout(this);
    lbInfo = new QListWidget(this);
    lbInfo->setObjectName(QStringLiteral("lbInfo"));
    layout->addWidget(lbInfo);
    auto* panel = new QHBoxLayout;
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("buttOk"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    panel->addStretch();
    panel->addWidget(ok);
    panel->addStretch();
    layout->addLayout(panel);
    resize(420, 260);
}

void TDlgLogInf::ShowInfo(const TLogInfo& info)
{
    const QStringList lines =
        LogInfoLines(info, localNow_ ? localNow_() : 0, link_.Resets, link_.ChecksumErrors);
    lbInfo->setUpdatesEnabled(false);
    lbInfo->clear();
    lbInfo->addItems(lines);
    lbInfo->setUpdatesEnabled(true);
}

QStringList TDlgLogInf::Lines() const
{
    QStringList lines;
    for (int i = 0; i < lbInfo->count(); ++i)
        lines << lbInfo->item(i)->text();
    return lines;
}

void TDlgLogInf::ShowLogInfo(TPelkThread& runner, TLogIF& log, QWidget* parent,
                             const std::function<void(TDlgLogInf&, TDjLogInfo&)>& shown)
{
    TDlgLogInf dialog(runner.Link(), log.Time.LocalNow, parent);
    TDjLogInfo* job = nullptr;
    {
        // The job is active from birth: the worker must not step it before
        // it is whole and wired.
        TRunnerPause hold(runner);
        job = new TDjLogInfo(runner, log);
        job->SetView([&dialog](const TLogInfo& info) { dialog.ShowInfo(info); });
    }
    // However the dialog ends, the job is cut off from it before the dialog
    // goes: a step under way when it closed brings an update that shows
    // nothing.
    struct TRelease {
        TDjLogInfo* Job;
        ~TRelease()
        {
            Job->SetView({});
            Job->Release();
        }
    } release{job};
    if (shown)
        shown(dialog, *job);
    CentreOverMainWindow(dialog);
    dialog.exec();
}

} // namespace Quorvel1
