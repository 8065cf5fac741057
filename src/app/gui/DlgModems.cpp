#include "app/gui/DlgModems.h"

#include "base/CommaText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableWidget>

namespace Quorvel1 {

namespace {

constexpr int ModemGridColumns = 2;
constexpr int ModemGridRows = 4; // below the title row
constexpr int ModemColumnWidths[ModemGridColumns] = {163, 147};
constexpr int RightPanelWidth = 161;

} // namespace

TDlgModems::TDlgModems(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromLatin1(Caption));
    setModal(true);
    sg = new QTableWidget(ModemGridRows, ModemGridColumns, this);
    sg->setObjectName(QStringLiteral("sg"));
    sg->verticalHeader()->hide(); // no fixed column
    for (int column = 0; column < ModemGridColumns; ++column)
        sg->setColumnWidth(column, ModemColumnWidths[column]);
    pnlRight = new QWidget(this);
    pnlRight->setObjectName(QStringLiteral("pnlRight"));
    pnlRight->setFixedWidth(RightPanelWidth);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(sg, 1);
    layout->addWidget(pnlRight);
    resize(ClientWidth, ClientHeight);
}

// The title row is the grid's fixed first row.
void TDlgModems::showEvent(QShowEvent* event)
{
    sg->setHorizontalHeaderLabels(SplitCommaText(QString::fromLatin1(Titles)));
    QDialog::showEvent(event);
}

} // namespace Quorvel1
