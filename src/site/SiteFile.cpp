// The site's two files: the binary site record (".ste") and the site's ini
// file (".ini") of the same folder and name.
#include "base/AtomicFile.h"
#include "base/FileDir.h"
#include "site/BinaryStream.h"
#include "site/SiteExt.h"

#include <QBuffer>
#include <QFile>

namespace Quorvel1 {

namespace {

const QString SiteFileExt = QStringLiteral(".ste");
const QString IniFileExt = QStringLiteral(".ini");

// Keys of a unit's section "Unit<n>". Prog and App are written for people
// and other tools only; this program never reads them back.
const QString KeyProcessorId = QStringLiteral("ProcID");
const QString KeyRomId = QStringLiteral("RomID");
const QString KeyProg = QStringLiteral("Prog");
const QString KeyApp = QStringLiteral("App");

// The file beside the site file with the same name and extension `ext`,
// in whatever case it was written.
QString PartnerPath(TFileDir file, const QString& ext)
{
    file.SetExtAsOnDisk(ext);
    return file.FullPath();
}

QString UnitSection(int n)
{
    return QStringLiteral("Unit") + QString::number(n);
}

} // namespace

bool TSiteExt::Load(const QString& path)
{
    TFileDir file(path);
    file.SetExtAsOnDisk(SiteFileExt);
    QFile siteFile(file.FullPath());
    if (!siteFile.open(QIODevice::ReadOnly)) {
        loadFailed_ = true;
        return false;
    }
    NewSite();
    TBinaryStream stream(siteFile);
    const bool ok = Read(stream);
    if (ok)
        Modified = false;
    siteFile.close();
    RebuildUnitTable();

    Ini.Open(PartnerPath(file, IniFileExt));
    LoadIni();
    file.ChangeDir();
    if (ProcId == 0)
        TakeProcIdFromName(file.Name);
    loadFailed_ = !ok;
    return ok;
}

bool TSiteExt::Save(const QString& path)
{
    TFileDir file(path);
    file.SetExtAsOnDisk(SiteFileExt);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TBinaryStream stream(buffer);
    if (!Write(stream) || !ReplaceFileAtomically(file.FullPath(), bytes))
        return false;

    Ini.Open(PartnerPath(file, IniFileExt));
    SaveIni();
    Ini.Close();
    // Reading back makes the model hold exactly what the files now say.
    return Load(file.FullPath());
}

void TSiteExt::NewSite()
{
    Clear();
    ClearUnits();
    LastLog.clear();
    ComTimeouts.clear();
    ProcId = 0;
    ModemDev = -1;
    ComSpeed = -1;
    // The processor identifiers come from the site's ini file; a new site
    // must not pass the previous site's identifiers on to its own file.
    for (TUnitRecord& record : UnitTable)
        record.ProcessorId = 0;
    Ini.Close();
    Modified = false;
    loadFailed_ = false;
}

bool TSiteExt::LoadIni()
{
    if (!Ini.IsOpen())
        return false;
    LastLog = IniLastLog.Read();
    ProcId = static_cast<std::uint16_t>(IniProcId.Read());
    ComSpeed = IniComSpeed.Read();
    ModemDev = IniModemDev.Read();
    ComTimeouts = IniComTimeouts.Read();
    for (int n = FirstUnitNumber; n <= LastUnitNumber; ++n) {
        const QString section = UnitSection(n);
        SetProcessorId(n, static_cast<std::uint16_t>(Ini.ReadInteger(section, KeyProcessorId, 0)));
        if (TUnit* unit = UnitByNumber(n))
            unit->RomId = static_cast<std::uint16_t>(Ini.ReadInteger(section, KeyRomId, 0));
    }
    return true;
}

bool TSiteExt::SaveIni()
{
    if (!Ini.IsOpen())
        return false;
    IniLastLog.Write(LastLog);
    IniProcId.Write(ProcId);
    IniComSpeed.Write(ComSpeed);
    IniModemDev.Write(ModemDev);
    IniComTimeouts.Write(ComTimeouts);
    for (int n = FirstUnitNumber; n <= LastUnitNumber; ++n) {
        const QString section = UnitSection(n);
        const TUnit* unit = UnitByNumber(n);
        if (!unit && ProcessorId(n) == 0) {
            Ini.EraseSection(section);
            continue;
        }
        Ini.WriteInteger(section, KeyProcessorId, ProcessorId(n));
        if (!unit)
            continue;
        Ini.WriteInteger(section, KeyRomId, unit->RomId);
        Ini.WriteString(section, KeyProg, unit->AppIdText());
        Ini.WriteString(section, KeyApp, unit->ProgramNameText());
    }
    return true;
}

void TSiteExt::SetLastLog(const QString& path)
{
    LastLog = path;
    if (Ini.IsOpen())
        IniLastLog.Write(path);
}

void TSiteExt::TakeProcIdFromName(const QString& name)
{
    // A site named after its interface unit ("1234.ste") gives the
    // identifier before the first connection; other names give nothing.
    bool ok = false;
    const uint value = name.toUInt(&ok);
    if (ok && value <= 0xFFFF)
        SetProcId(static_cast<std::uint16_t>(value));
}

} // namespace Quorvel1
