#include "units/gui/LBUnitsModel.h"

#include "site/Unit.h"

namespace Quorvel1 {

TLBUnitsModel::TLBUnitsModel(QObject* parent) : TLBHdrModel(Columns, parent)
{
    SetTitle(UnitColumn, QStringLiteral("Unit"));
    SetAlignment(UnitColumn, THdrAlignment::Centre);
    SetTitle(ApplicationColumn, QStringLiteral("Application"));
    SetTitle(ProgramColumn, QStringLiteral("Program"));
    SetTitle(StatusColumn, QStringLiteral("Status"));
    ClearTables();
}

void TLBUnitsModel::ClearTables()
{
    unitRow_.fill(-1);
    rowUnit_.fill(-1);
    alarmCount_.fill(0);
}

void TLBUnitsModel::Clear()
{
    ClearTables();
    TLBHdrModel::Clear(); // the tooltips go with the rows
}

void TLBUnitsModel::RefreshAll()
{
    Clear();
    SetVisible(ApplicationColumn, true);
    for (int number = FirstUnitNumber; number <= LastUnitNumber; ++number)
        UpdateUnit(number);
}

void TLBUnitsModel::UpdateUnit(int number)
{
    const TSiteExt* site = Site();
    const TUnit* unit = site ? site->UnitByNumber(number) : nullptr;
    if (!unit)
        return;
    int row = unitRow_[number];
    if (row < 0) {
        row = RowCount();
        unitRow_[number] = row;
    }
    if (InTable(row)) {
        rowUnit_[row] = number;
        // The unit's alarms are shown afresh by its next status.
        const bool hadAlarms = alarmCount_[row] > 0;
        alarmCount_[row] = 0;
        if (hadAlarms)
            InvalidateRow(row);
    }
    SetCell(row, UnitColumn, QString::number(number));
    // The identifier keeps the trailing space the list has always shown.
    SetCell(row, ApplicationColumn, unit->AppIdText() + QLatin1Char(' '));
    SetCell(row, ProgramColumn, unit->ProgramNameText());
    SetCell(row, StatusColumn, QStringLiteral(" "));
    SetCellHint(row, StatusColumn, QString());
}

// Qt shows an item's tooltip as it is, so the names are joined by line feeds
// alone; a single name gets its tooltip as well, and a row without alarms
// none, so no tooltip outlives its alarms.
void TLBUnitsModel::UpdateStatus(int number)
{
    if (!InTable(number))
        return;
    const int row = unitRow_[number];
    const TSiteExt* site = Site();
    if (!InTable(row) || row >= RowCount() || !site)
        return;
    const QStringList names = site->AlarmNames(number);
    QString status = names.isEmpty() ? QString() : names.first();
    if (names.size() > 1)
        status += QLatin1Char('+');
    SetCellHint(row, StatusColumn, names.join(QLatin1Char('\n')));
    SetCell(row, StatusColumn, status);
    if (names.size() != alarmCount_[row]) {
        alarmCount_[row] = int(names.size());
        InvalidateRow(row);
    }
}

int TLBUnitsModel::RowOfUnit(int number) const
{
    return InTable(number) ? unitRow_[number] : -1;
}

int TLBUnitsModel::UnitOfRow(int row) const
{
    return InTable(row) ? rowUnit_[row] : -1;
}

int TLBUnitsModel::AlarmCount(int row) const
{
    return InTable(row) ? alarmCount_[row] : 0;
}

TColor TLBUnitsModel::RowColour(int row, bool& useDefault) const
{
    useDefault = !(InTable(row) && alarmCount_[row] > 0);
    return useDefault ? clBlack : clRed;
}

} // namespace Quorvel1
