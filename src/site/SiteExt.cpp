#include "site/SiteExt.h"

#include "base/FileDir.h"
#include "base/ProgramFolder.h"
#include "site/DeviceNames.h"

#include <QDir>

#include <utility>

namespace Quorvel1 {

namespace {

const QString EEImageExt = QStringLiteral(".ee");

bool IsUnitNumber(int n)
{
    return n >= FirstUnitNumber && n <= LastUnitNumber;
}

} // namespace

void TSiteExt::Clear()
{
    TSite::Clear();
    // The units are gone: no record may keep pointing at them.
    RebuildUnitTable();
    DropUnitSettings();
}

TUnit* TSiteExt::UnitByNumber(int n) const
{
    return IsUnitNumber(n) ? UnitTable[static_cast<std::size_t>(n)].Unit : nullptr;
}

TAs* TSiteExt::AirspaceOfUnit(int n, int k) const
{
    if (!IsUnitNumber(n))
        return nullptr;
    const std::vector<TAs*>& airspaces = UnitTable[static_cast<std::size_t>(n)].Airspaces;
    if (k < 1 || k > static_cast<int>(airspaces.size()))
        return nullptr;
    return airspaces[static_cast<std::size_t>(k - 1)];
}

std::uint16_t TSiteExt::AlarmWord(int n) const
{
    return IsRecordNumber(n) ? UnitTable[static_cast<std::size_t>(n)].AlarmWord : 0;
}

void TSiteExt::SetAlarmWord(int n, std::uint16_t word)
{
    if (IsRecordNumber(n))
        UnitTable[static_cast<std::size_t>(n)].AlarmWord = word;
}

std::uint16_t TSiteExt::TripWord(int n) const
{
    return IsRecordNumber(n) ? UnitTable[static_cast<std::size_t>(n)].TripWord : 0;
}

void TSiteExt::SetTripWord(int n, std::uint16_t word)
{
    if (IsRecordNumber(n))
        UnitTable[static_cast<std::size_t>(n)].TripWord = word;
}

std::uint16_t TSiteExt::ProcessorId(int n) const
{
    return IsRecordNumber(n) ? UnitTable[static_cast<std::size_t>(n)].ProcessorId : 0;
}

void TSiteExt::SetProcessorId(int n, std::uint16_t id)
{
    if (!IsRecordNumber(n))
        return;
    UnitTable[static_cast<std::size_t>(n)].ProcessorId = id;
    Modified = true;
}

void TSiteExt::SetProcId(std::uint16_t id)
{
    if (ProcId == id)
        return;
    ProcId = id;
    Modified = true;
}

TUnit* TSiteExt::AddUnit(std::unique_ptr<TUnit> owned)
{
    TUnit* unit = Units.AddUnit(std::move(owned));
    // The replaced unit's airspaces are destroyed with it, so the record's
    // airspace pointers are renewed here, not left for the next rebuild.
    if (IsUnitNumber(unit->Number))
        RebuildRecord(unit->Number);
    Modified = true;
    return unit;
}

void TSiteExt::ClearUnits()
{
    Units.Clear();
    for (TUnitRecord& record : UnitTable) {
        record.AlarmWord = 0;
        record.TripWord = 0;
    }
    RebuildUnitTable();
    Modified = true;
}

void TSiteExt::RebuildRecord(int n)
{
    TUnitRecord& record = UnitTable[static_cast<std::size_t>(n)];
    const auto number = static_cast<std::uint8_t>(n);
    record.Unit = Units.FindUnit(number);
    record.Airspaces.clear();
    if (!record.Unit)
        return;
    for (int k = 1; k <= record.Unit->AirspaceCount; ++k)
        record.Airspaces.push_back(
            dynamic_cast<TAs*>(Units.Find(number, static_cast<std::uint8_t>(k))));
}

void TSiteExt::RebuildUnitTable()
{
    for (int n = FirstUnitNumber; n <= LastUnitNumber; ++n) {
        RebuildRecord(n);
        TUnitRecord& record = UnitTable[static_cast<std::size_t>(n)];
        if (record.Unit)
            RenewUnitSettings(record);
    }
}

void TSiteExt::RenewUnitSettings(TUnitRecord& record)
{
    // The unit may now run another application: its addresses and the size
    // and name of its image follow it. The image is made again on demand.
    record.Definitions.reset();
    record.ConfigBlock.reset();
    record.ConfigBlock = std::make_unique<TConfigBlock>(record.Unit->AppId);
    record.EEImage.reset();
}

void TSiteExt::DropUnitSettings()
{
    for (TUnitRecord& record : UnitTable) {
        record.Definitions.reset();
        record.ConfigBlock.reset();
        record.EEImage.reset();
    }
}

TConfigBlock* TSiteExt::ConfigBlock(int n) const
{
    return IsUnitNumber(n) ? UnitTable[static_cast<std::size_t>(n)].ConfigBlock.get() : nullptr;
}

TEEBlock* TSiteExt::EEImage(int n)
{
    if (!IsRecordNumber(n))
        return nullptr;
    TUnitRecord& record = UnitTable[static_cast<std::size_t>(n)];
    if (!record.EEImage) {
        const int highestAddress = record.ConfigBlock ? record.ConfigBlock->HighestAddress() : 0;
        // The interface unit has no unit object and counts as application 0.
        const TUnit* unit = UnitByNumber(n);
        auto image = std::make_unique<TEEBlock>(
            highestAddress, TEEBlock::ImageName(n, unit ? unit->AppId : 0));
        image->Load(EEImagePath(n));
        record.EEImage = std::move(image);
    }
    return record.EEImage.get();
}

QString TSiteExt::EEImagePath(int n) const
{
    TFileDir file(Ini.FileName());
    file.SetName(QString::number(ProcessorId(n)));
    file.SetExtAsOnDisk(EEImageExt);
    return file.FullPath();
}

TADFList* TSiteExt::DefinitionList(int n)
{
    if (!IsRecordNumber(n))
        return nullptr;
    TUnitRecord& record = UnitTable[static_cast<std::size_t>(n)];
    if (!record.Definitions) {
        const TConfigBlock* config = record.ConfigBlock.get();
        TEEBlock* image = EEImage(n);
        const QString name = config ? config->AdfName() : QString();
        TADFLoad load{std::make_unique<TADFList>(config, image), {}};
        if (IsSafeDefinitionName(name))
            load = LoadADF(DefinitionPath(name), config, image);
        else if (!name.trimmed().isEmpty())
            load.Errors << QStringLiteral("The definition name \"%1\" is not a file name").arg(name);
        const TUnit* unit = UnitByNumber(n);
        load.List->AppId = unit ? unit->AppId : 0;
        record.Definitions = std::move(load.List);
        record.DefinitionErrors = load.Errors;
    }
    return record.Definitions.get();
}

QStringList TSiteExt::TakeDefinitionErrors(int n)
{
    if (!IsRecordNumber(n))
        return {};
    return std::exchange(UnitTable[static_cast<std::size_t>(n)].DefinitionErrors, QStringList());
}

QString TSiteExt::DefinitionPath(const QString& adfName)
{
    const QDir folder(ProgramFolder() + QStringLiteral("/Adf"));
    const QString fileName = adfName + QStringLiteral(".adf");
    // Definition files copied from Windows keep whatever case they had.
    for (const QString& entry : folder.entryList(QDir::Files)) {
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return folder.filePath(entry);
    }
    return folder.filePath(fileName);
}

QStringList TSiteExt::AlarmNames(int n) const
{
    return AlarmNamesOf(AlarmWord(n));
}

QStringList TSiteExt::TripNames(int n) const
{
    return ChannelNamesOf(TripWord(n));
}

} // namespace Quorvel1
