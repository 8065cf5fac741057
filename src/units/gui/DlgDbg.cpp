#include "units/gui/DlgDbg.h"

#include "base/gui/Colours.h"
#include "comms/MestraIF.h"
#include "jobs/PelkThread.h"
#include "jobs/RunnerPause.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

namespace Quorvel1 {

TdlgDbg::TdlgDbg(TPelkThread& runner, ErrorHook reportError, QWidget* parent)
    : QDialog(parent), runner_(runner), reportError_(std::move(reportError)), memory_(runner.Link())
{
    setObjectName(QStringLiteral("dlgDbg"));
    setWindowTitle(QString::fromLatin1(BaseCaption));

    edAddress = new QLineEdit(QString::fromLatin1(InitialAddress), this);
    edAddress->setObjectName(QStringLiteral("edAddress"));
    edAddress->setToolTip(tr("Address for Goto - precede with x for hex"));
    cbSize = new QCheckBox(tr("&Size (Word)"), this);
    cbSize->setObjectName(QStringLiteral("cbSize"));
    cbSize->setChecked(true);
    cbSize->setToolTip(tr("Select word (not byte)"));
    cbMem = new QCheckBox(tr("&Mem (RAM)"), this);
    cbMem->setObjectName(QStringLiteral("cbMem"));
    cbMem->setChecked(true);
    cbMem->setToolTip(tr("Select RAM (not EEPROM)"));
    buttGoto = new QPushButton(tr("&Goto"), this);
    buttGoto->setObjectName(QStringLiteral("buttGoto"));
    buttGoto->setDefault(true);
    buttGoto->setToolTip(tr("Goto (read) memory address"));
    buttNext = new QPushButton(tr("&Next"), this);
    buttNext->setObjectName(QStringLiteral("buttNext"));
    buttNext->setToolTip(tr("Read next word/byte"));
    buttRefresh = new QPushButton(tr("&Refresh"), this);
    buttRefresh->setObjectName(QStringLiteral("buttRefresh"));
    buttRefresh->setToolTip(tr("Refresh current word/byte"));
    edValue = new QLineEdit(this);
    edValue->setObjectName(QStringLiteral("edValue"));
    edValue->setToolTip(tr("Modify current value"));
    buttSetVal = new QPushButton(tr("Set&Val"), this);
    buttSetVal->setObjectName(QStringLiteral("buttSetVal"));
    buttSetVal->setToolTip(tr("Set new value for current address"));
    buttSetVal->setEnabled(false);
    // A fixed list: a typed number above 30 would address no unit of the
    // site but some other LAN destination.
    cbUnit = new QComboBox(this);
    cbUnit->setObjectName(QStringLiteral("cbUnit"));
    cbUnit->setEditable(false);
    cbUnit->setToolTip(tr("Select Unit address"));
    for (int unit = 0; unit <= TDbgMemory::HighestUnit; ++unit)
        cbUnit->addItem(QString::number(unit));

    mmLog = new QPlainTextEdit(this);
    mmLog->setObjectName(QStringLiteral("mmLog"));
    mmLog->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    mmLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    QPalette palette = mmLog->palette();
    palette.setColor(QPalette::Base, ToQColor(clNavy));
    palette.setColor(QPalette::Text, ToQColor(clYellow));
    mmLog->setPalette(palette);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));

    auto* top = new QGridLayout;
    top->addWidget(new QLabel(tr("Address"), this), 0, 0);
    top->addWidget(edAddress, 0, 1);
    top->addWidget(cbSize, 0, 2);
    top->addWidget(cbMem, 0, 3);
    top->addWidget(buttGoto, 0, 4);
    top->addWidget(buttNext, 0, 5);
    top->addWidget(buttRefresh, 0, 6);
    top->addWidget(new QLabel(tr("Value"), this), 1, 0);
    top->addWidget(edValue, 1, 1);
    top->addWidget(buttSetVal, 1, 2);
    top->addWidget(new QLabel(tr("Unit"), this), 1, 3);
    top->addWidget(cbUnit, 1, 4);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(mmLog, 1);
    layout->addWidget(lblStatus);
    resize(520, 360);

    connect(buttGoto, &QPushButton::clicked, this, &TdlgDbg::Goto);
    connect(buttNext, &QPushButton::clicked, this, &TdlgDbg::Next);
    connect(buttRefresh, &QPushButton::clicked, this, &TdlgDbg::Refresh);
    connect(buttSetVal, &QPushButton::clicked, this, &TdlgDbg::SetVal);
    connect(cbUnit, &QComboBox::activated, this, [this](int index) { SelectUnit(index); });

    // The log's pop-up: the reads, size and memory mirrored as radio pairs,
    // Clear and the usual editing commands on the log text.
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("pmLog"));
    popup_->addAction(tr("Goto"), this, &TdlgDbg::Goto);
    popup_->addAction(tr("Next"), this, &TdlgDbg::Next);
    popup_->addAction(tr("Refresh"), this, &TdlgDbg::Refresh);
    popup_->addSeparator();
    auto* sizes = new QActionGroup(popup_);
    actByte = popup_->addAction(tr("Byte"), this, [this] { cbSize->setChecked(false); });
    actWord = popup_->addAction(tr("Word"), this, [this] { cbSize->setChecked(true); });
    for (QAction* action : {actByte, actWord}) {
        action->setCheckable(true);
        sizes->addAction(action);
    }
    popup_->addSeparator();
    auto* memories = new QActionGroup(popup_);
    actRam = popup_->addAction(tr("RAM/ROM"), this, [this] { cbMem->setChecked(true); });
    actEe = popup_->addAction(tr("EEPROM"), this, [this] { cbMem->setChecked(false); });
    for (QAction* action : {actRam, actEe}) {
        action->setCheckable(true);
        memories->addAction(action);
    }
    popup_->addSeparator();
    popup_->addAction(tr("Clear"), mmLog, &QPlainTextEdit::clear);
    popup_->addSeparator();
    popup_->addAction(tr("&Copy"), QKeySequence::Copy, mmLog, &QPlainTextEdit::copy);
    popup_->addAction(tr("Cu&t"), QKeySequence::Cut, mmLog, &QPlainTextEdit::cut);
    popup_->addAction(tr("&Delete"), QKeySequence::Delete, mmLog,
                      [this] { mmLog->textCursor().removeSelectedText(); });
    popup_->addAction(tr("Select &All"), mmLog, &QPlainTextEdit::selectAll);
    connect(popup_, &QMenu::aboutToShow, this, &TdlgDbg::PopupOpening);
    mmLog->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mmLog, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(mmLog->mapToGlobal(at)); });
}

TdlgDbg::~TdlgDbg() = default;

void TdlgDbg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!pause_)
        pause_ = std::make_unique<TRunnerPause>(runner_);
    // The jobs may have addressed another unit since the last read.
    memory_.Forget();
    buttSetVal->setEnabled(false);
    cbUnit->setCurrentIndex(runner_.Link().Unit <= TDbgMemory::HighestUnit ? runner_.Link().Unit : 0);
}

void TdlgDbg::hideEvent(QHideEvent* event)
{
    pause_.reset();
    QDialog::hideEvent(event);
}

void TdlgDbg::SetStatus(const QString& text)
{
    lblStatus->setText(text);
    lblStatus->repaint();
}

void TdlgDbg::Act(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::exception& e) {
        SetStatus(QString());
        reportError_(QString::fromUtf8(e.what()));
    }
    buttSetVal->setEnabled(memory_.HasRead());
}

void TdlgDbg::SelectUnit(int unit)
{
    Act([this, unit] {
        SetStatus(tr("Selecting unit..."));
        bool selected = false;
        const QString text = memory_.SelectUnit(unit, selected);
        setWindowTitle(QString::fromLatin1(BaseCaption) + QStringLiteral("- ") + text);
        SetStatus(selected ? tr("Selected") : tr("Select unit failed"));
        if (cbUnit->currentIndex() != unit)
            cbUnit->setCurrentIndex(unit);
    });
}

void TdlgDbg::ReadAt(std::uint16_t address, bool replace)
{
    SetStatus(tr("Reading data..."));
    AddLine(memory_.Read(address, cbSize->isChecked(), !cbMem->isChecked()), replace);
    edValue->setText(QString::number(memory_.Value()));
    edAddress->setFocus();
    edAddress->selectAll();
    SetStatus(QString());
}

void TdlgDbg::AddLine(const QString& line, bool replace)
{
    QTextCursor cursor(mmLog->document());
    cursor.movePosition(QTextCursor::Start);
    if (replace && !mmLog->document()->isEmpty()) {
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.insertText(line);
        return;
    }
    cursor.insertText(mmLog->document()->isEmpty() ? line : line + QLatin1Char('\n'));
}

void TdlgDbg::Goto()
{
    Act([this] { ReadAt(TDbgMemory::ParseAddress(edAddress->text()), false); });
}

void TdlgDbg::Next()
{
    Act([this] {
        const int step = cbSize->isChecked() ? 2 : 1;
        ReadAt(static_cast<std::uint16_t>(memory_.Address() + step), false);
    });
}

void TdlgDbg::Refresh()
{
    Act([this] { ReadAt(memory_.Address(), true); });
}

void TdlgDbg::SetVal()
{
    Act([this] {
        const std::uint16_t value = TDbgMemory::ParseValue(edValue->text(), memory_.Word());
        SetStatus(tr("Writing data..."));
        AddLine(memory_.Write(value), true);
        edValue->setText(QString::number(memory_.Value()));
        SetStatus(QString());
    });
}

void TdlgDbg::PopupOpening()
{
    actByte->setChecked(!cbSize->isChecked());
    actWord->setChecked(cbSize->isChecked());
    actRam->setChecked(cbMem->isChecked());
    actEe->setChecked(!cbMem->isChecked());
}

} // namespace Quorvel1
