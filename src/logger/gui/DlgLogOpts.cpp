#include "logger/gui/DlgLogOpts.h"

#include "base/gui/DialogPlacement.h"
#include "site/SiteExt.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <array>
#include <utility>

namespace Quorvel1 {

TDlgLogOpts::TDlgLogOpts(TSiteExt& site, QWidget* parent) : QDialog(parent), site_(site)
{
    setObjectName(QStringLiteral("DlgLogOpts"));
    setWindowTitle(Caption);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    seInterval = new QSpinBox(this);
    seInterval->setObjectName(QStringLiteral("seInterval"));
    seInterval->setRange(0, MaxInterval);
    seInterval->setSingleStep(IntervalStep);
    form->addRow(tr("Interval (seconds)"), seInterval);
    layout->addLayout(form);
    const auto makeCheck = [this, layout](const QString& text, const char* name) {
        auto* check = new QCheckBox(text, this);
        check->setObjectName(QLatin1String(name));
        layout->addWidget(check);
        return check;
    };
    cbStop = makeCheck(tr("&Stop when full"), "cbStop");
    cbAvgSensors = makeCheck(tr("&Average Sensor readings"), "cbAvgSensors");
    cbAvgOutputs = makeCheck(tr("Average &Output readings"), "cbAvgOutputs");
    cbAvgASMs = makeCheck(tr("Average AS&M readings"), "cbAvgASMs");
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("buttOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    connect(ok, &QPushButton::clicked, this, &TDlgLogOpts::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

int TDlgLogOpts::Execute()
{
    Load();
    CentreOverMainWindow(*this);
    return exec();
}

void TDlgLogOpts::Load()
{
    seInterval->setValue(site_.LogInterval);
    cbStop->setChecked(site_.LogFlags & LogStopWhenFull);
    cbAvgSensors->setChecked(site_.LogFlags & LogAverageSensors);
    cbAvgOutputs->setChecked(site_.LogFlags & LogAverageOutputs);
    cbAvgASMs->setChecked(site_.LogFlags & LogAverageAsms);
}

void TDlgLogOpts::accept()
{
    site_.LogInterval = std::uint16_t(seInterval->value());
    const std::array<std::pair<const QCheckBox*, std::uint16_t>, 4> flags = {{
        {cbStop, LogStopWhenFull},
        {cbAvgSensors, LogAverageSensors},
        {cbAvgOutputs, LogAverageOutputs},
        {cbAvgASMs, LogAverageAsms},
    }};
    std::uint16_t bits = 0;
    for (const auto& [box, bit] : flags)
        if (box->isChecked())
            bits |= bit;
    site_.LogFlags = bits;
    site_.SetModified(true);
    QDialog::accept();
}

} // namespace Quorvel1
