#pragma once
// The program's one site: the site record plus, per unit number 0..30 (0 is
// the interface unit), what the background jobs collect about the unit, and
// the per-site connection settings cached from the site's ini file.
//
// A site is kept in two files of the same folder and name: the binary site
// record in "<name>.ste" and the site's ini file "<name>.ini", which holds
// the connection settings in section "Site" and per unit n a section
// "Unit<n>" with its identity ("ProcID", "RomID", and for people and other
// tools "Prog" and "App"). The site map keeps its own entries in that file.
#include "settings/Ini.h"
#include "settings/IniBindings.h"
#include "site/ADFList.h"
#include "site/ConfigBlock.h"
#include "site/EEBlock.h"
#include "site/Site.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace Quorvel1 {

constexpr int FirstUnitNumber = 1;
constexpr int LastUnitNumber = 30;
constexpr int InterfaceUnitNumber = 0;

// What the site knows about one unit number. The pointers refer to items of
// the site's Units list and are refreshed by RebuildUnitTable.
struct TUnitRecord {
    TUnit* Unit = nullptr;
    std::vector<TAs*> Airspaces; // airspace k at [k - 1]; empty without a unit
    // The unit's stored settings: the named EE addresses of its application,
    // made when the unit table is rebuilt, and the image of its EE memory,
    // loaded on first use. A number that loses its unit keeps both until the
    // site is cleared.
    std::unique_ptr<TConfigBlock> ConfigBlock;
    std::unique_ptr<TEEBlock> EEImage;
    // The unit's settings from its application's definition file, made on
    // first use over the config block and the image above (so it is
    // declared after them and goes first), with the file's bad lines until
    // they are shown.
    std::unique_ptr<TADFList> Definitions;
    QStringList DefinitionErrors;
    std::uint16_t AlarmWord = 0;
    std::uint16_t TripWord = 0;
    std::uint16_t ProcessorId = 0;
};

class TSiteExt : public TSite {
public:
    static constexpr int UnitRecordCount = LastUnitNumber + 1;

    // The site's ini file; open (named) from a Load until the next NewSite or
    // Save, which reopens it through its Load.
    TIni Ini;
    TIniSection SiteSection{QStringLiteral("Site"), Ini};
    TIniString IniLastLog{SiteSection, QStringLiteral("LastLog"), QString()};
    TIniInt IniProcId{SiteSection, QStringLiteral("Procid"), 0};
    TIniInt IniComSpeed{SiteSection, QStringLiteral("ComSpeed"), -1};
    TIniInt IniModemDev{SiteSection, QStringLiteral("ModemDev"), -1};
    TIniString IniComTimeouts{SiteSection, QStringLiteral("ComTimeouts"), QString()};

    std::array<TUnitRecord, UnitRecordCount> UnitTable;
    QString LastLog;     // path of the last log file downloaded
    QString ComTimeouts; // the link's time-out list; empty for the default
    std::int32_t ModemDev = -1; // -1: the settings' default modem
    std::int32_t ComSpeed = -1; // -1: the default speed
    bool Modified = false;

    // Empties the site. The per-unit settings objects go too, so that another
    // site never shows them; a modified EE image is saved to its file first.
    void Clear() override;

    void SetModified(bool modified) { Modified = modified; }
    bool IsModified() const { return Modified; }

    // Null outside 1..30.
    TUnit* UnitByNumber(int n) const;
    // Airspace k (1-based) of unit n; null outside the ranges.
    TAs* AirspaceOfUnit(int n, int k) const;

    // Unit numbers 0..30; outside that range reads give 0 and writes do nothing.
    std::uint16_t AlarmWord(int n) const;
    void SetAlarmWord(int n, std::uint16_t word);
    std::uint16_t TripWord(int n) const;
    void SetTripWord(int n, std::uint16_t word);
    std::uint16_t ProcessorId(int n) const;
    void SetProcessorId(int n, std::uint16_t id); // always marks the site modified
    void SetProcId(std::uint16_t id);             // marks it only on a change

    // Puts the unit into Units in place of any unit of its number and points
    // its record at it. Returns the unit, now owned by the site.
    TUnit* AddUnit(std::unique_ptr<TUnit> unit);
    void ClearUnits();
    // Points every record 1..30 at its unit and airspaces in Units. A record
    // with a unit gets a new config block for the unit's application and loses
    // its EE image (a modified image is saved first); a record without a unit
    // keeps both.
    void RebuildUnitTable();

    // The config block of unit n; null outside 1..30 or before the unit table
    // was rebuilt with a unit at n.
    TConfigBlock* ConfigBlock(int n) const;
    // The EE image of unit number n (0..30, 0 the interface unit), made and
    // loaded from its image file on first use and then kept in the record;
    // null outside 0..30. Its size follows the unit's config block (512 bytes
    // without one) and its name the unit number and application (0 for a
    // number without a unit).
    TEEBlock* EEImage(int n);
    // The image file of unit number n: the site's folder + the unit's
    // processor identifier in decimal + ".ee" (or an existing ".EE").
    // Without an open site the folder is the current folder.
    QString EEImagePath(int n) const;
    // The settings of unit number n (0..30) from the definition file that
    // its config block names, "<program folder>/Adf/<name>.adf" (the name
    // matched without regard to case), made on first use and kept in the
    // record; an empty list when there is no such file or the name is no
    // file name. Null outside 0..30.
    TADFList* DefinitionList(int n);
    // The definition file's bad lines of unit n, once: later calls give none.
    QStringList TakeDefinitionErrors(int n);
    static QString DefinitionPath(const QString& adfName);

    QStringList AlarmNames(int n) const;
    QStringList TripNames(int n) const;

    // Reads the site files of `path` (its extension is replaced by ".ste" and
    // ".ini", each spelled as the file on disk spells it, so that files
    // written on Windows in capitals are found and saved in place). False
    // when the site file cannot be opened, and then the site is left as it
    // was; false also when the record fails part-way, and then
    // the site holds what was read and the ini part is still loaded. Makes
    // the site's folder the current folder.
    bool Load(const QString& path);
    // Writes both site files and reads them back. The site file is replaced
    // atomically: on failure the previous file is left intact and the ini
    // file is not touched.
    bool Save(const QString& path);
    // True when the last Load returned false: the site in memory is not the
    // whole of the file at that path, so it must not be saved over it without
    // the user's say. Cleared by a successful Load and by NewSite.
    bool LoadFailed() const { return loadFailed_; }
    // Empties the site and its cached ini values and closes the ini file.
    void NewSite();
    // The ini part alone; false when the ini file is not open.
    bool LoadIni();
    bool SaveIni();
    // Stores the path of the last downloaded log, in the ini file at once
    // when it is open.
    void SetLastLog(const QString& path);

private:
    static bool IsRecordNumber(int n) { return n >= 0 && n < UnitRecordCount; }
    void RebuildRecord(int n);
    void RenewUnitSettings(TUnitRecord& record);
    void DropUnitSettings();
    void TakeProcIdFromName(const QString& name);

    bool loadFailed_ = false;
};

} // namespace Quorvel1
