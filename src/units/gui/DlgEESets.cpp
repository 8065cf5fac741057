#include "units/gui/DlgEESets.h"

#include "base/Exception.h"
#include "base/MessageFlags.h"
#include "base/gui/MessageBoxes.h"
#include "comms/MestraIF.h"
#include "jobs/PelkThread.h"
#include "jobs/RunnerPause.h"
#include "site/EEBlock.h"
#include "site/SiteExt.h"
#include "units/EESetsLoop.h"
#include "units/EESetsModel.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace Quorvel1 {

TDlgEESets::TDlgEESets(TSiteExt& site, TPelkThread& runner, std::function<bool()> online, ErrorHook reportError,
                       QWidget* parent)
    : QDialog(parent), site_(site), runner_(runner), online_(std::move(online)), reportError_(std::move(reportError))
{
    setObjectName(QStringLiteral("DlgEESets"));
    setWindowTitle(tr("EE Settings"));
    buttTrack = new QPushButton(tr("&Track"), this);
    buttTrack->setObjectName(QStringLiteral("buttTrack"));
    buttTrack->setToolTip(tr("Load to grid position"));
    buttTrack->setAutoDefault(false);
    buttCopy = new QPushButton(tr("&Copy"), this);
    buttCopy->setObjectName(QStringLiteral("buttCopy"));
    buttCopy->setToolTip(tr("Copy to clipboard"));
    buttCopy->setAutoDefault(false);
    buttExit = new QPushButton(tr("E&xit"), this);
    buttExit->setObjectName(QStringLiteral("buttExit"));
    buttExit->setAutoDefault(false);
    sgEE = new QTableView(this);
    sgEE->setObjectName(QStringLiteral("sgEE"));
    sgEE->verticalHeader()->hide();
    sgEE->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    sgEE->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                          | QAbstractItemView::AnyKeyPressed);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));

    auto* bar = new QHBoxLayout;
    bar->addWidget(buttTrack);
    bar->addWidget(buttCopy);
    bar->addStretch(1);
    bar->addWidget(buttExit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(sgEE, 1);
    layout->addWidget(lblStatus);
    resize(560, 420);

    connect(buttTrack, &QPushButton::clicked, this, &TDlgEESets::Track);
    connect(buttCopy, &QPushButton::clicked, this, &TDlgEESets::Copy);
    connect(buttExit, &QPushButton::clicked, this, &TDlgEESets::reject);
    connect(sgEE->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { buttTrack->setEnabled(Connected()); });
}

TDlgEESets::~TDlgEESets() = default;

bool TDlgEESets::Connected() const
{
    return online_() && runner_.Link().IsConnected();
}

void TDlgEESets::ShowForUnit(int unit)
{
    TRunnerPause pause(runner_);
    try {
        Open(unit);
    } catch (const std::exception& e) {
        ShowMessageBox(parentWidget(), QString::fromUtf8(e.what()), QString::fromLatin1(ErrorCaption),
                       MessageFlags::Ok);
    }
}

void TDlgEESets::Open(int unit)
{
    Pelk::TMestraIF& link = runner_.Link();
    // The interface unit answers under its own LAN address too, but is read
    // directly, not across its own LAN.
    const int addressed = (online_() && unit == link.InterfaceAddress) ? 0 : unit;
    link.SelectUnit(static_cast<std::uint8_t>(addressed), false);
    std::uint16_t processorId = site_.ProcessorId(unit);
    if (processorId == 0 && online_()) {
        processorId = link.ReadWord(0, Pelk::TMestraIF::Ee);
        site_.SetProcessorId(unit, processorId);
    }
    if (processorId == 0)
        throw Exception(QString::fromLatin1(NoProcessorIdText) + QString::number(unit));
    TEEBlock* image = site_.EEImage(unit);
    if (!image)
        throw Exception(QString::fromLatin1(NoProcessorIdText) + QString::number(unit));

    model_ = std::make_unique<TEESetsModel>(*image, site_.ConfigBlock(unit));
    model_->SetErrorHook(reportError_);
    model_->SetEditable(Connected());
    sgEE->setModel(model_.get());
    const QFontMetrics metrics = sgEE->fontMetrics();
    sgEE->setColumnWidth(TEESetsModel::Addr, metrics.horizontalAdvance(QStringLiteral("Addr")) + 10);
    sgEE->setColumnWidth(TEESetsModel::Name, metrics.horizontalAdvance(QStringLiteral("0123456789")) + 10);
    for (int column = TEESetsModel::Byte; column < TEESetsModel::ColumnCount; ++column)
        sgEE->setColumnWidth(column, metrics.horizontalAdvance(QStringLiteral("-99999")) + 5);
    setWindowTitle(QStringLiteral("EE: ") + image->Name() + QStringLiteral(" Processor: ")
                   + QString::number(processorId));
    buttTrack->setEnabled(false);
    lblStatus->clear();

    loop_ = std::make_unique<TEESetsLoop>(link, *model_);
    connect(loop_.get(), &TEESetsLoop::Status, lblStatus, &QLabel::setText);
    connect(loop_.get(), &TEESetsLoop::Finished, this, [this] { done(QDialog::Accepted); });
    if (Connected())
        QTimer::singleShot(FirstTickMs, loop_.get(), [this] {
            if (isVisible() && Connected())
                loop_->Start();
        });
    // Scrolled once the view has its size.
    QTimer::singleShot(0, this, [this] {
        sgEE->scrollTo(model_->index(model_->LowestNamed(), 0), QAbstractItemView::PositionAtTop);
        buttTrack->setEnabled(false);
    });
    exec();
    if (image->IsModified()) {
        // A file that cannot be written keeps its old bytes; the image stays
        // modified and is saved again when it is dropped.
        (void)image->Save();
    }
}

void TDlgEESets::Track()
{
    if (loop_)
        loop_->Track(sgEE->rowAt(0));
}

void TDlgEESets::Copy()
{
    if (model_)
        QGuiApplication::clipboard()->setText(model_->CopyText());
}

void TDlgEESets::reject()
{
    if (loop_ && loop_->IsRunning()) {
        loop_->Stop(); // the loop closes the window when its pass ends
        return;
    }
    QDialog::reject();
}

void TDlgEESets::closeEvent(QCloseEvent* event)
{
    if (loop_ && loop_->IsRunning()) {
        event->ignore();
        loop_->Stop();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace Quorvel1
