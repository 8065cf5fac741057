#pragma once
// A path split into folder, name and extension, so that the site's files,
// log files and per-unit files can be named by swapping one part.
//
// "/" separates folders; "\" and a drive's ":" are separators too, so that a
// path written on Windows (a setting, a launch file) still splits. The
// extension is what follows the last dot of the file name: "plant.v2.ste" is
// the name "plant.v2" with the extension ".ste", so a dotted site name keeps
// its own partner files.
#include <QString>

namespace Quorvel1 {

class TFileDir {
public:
    QString Dir;  // the folder with its trailing separator (or "C:"); may be empty
    QString Name; // without folder and extension
    QString Ext;  // with its leading "."; may be empty

    TFileDir() = default;
    explicit TFileDir(const QString& path) { SetPath(path); }

    void SetPath(const QString& path);
    QString FullPath() const { return Dir + Name + Ext; }
    QString FileName() const { return Name + Ext; }
    void SetName(const QString& name) { Name = name; }
    void SetExt(const QString& ext) { Ext = ext; }
    // Sets the extension `ext` spelled as the file on disk spells it. Files
    // copied from Windows keep their capitals ("STORE12.STE" beside
    // "STORE12.INI"): a partner found that way is read and written in place
    // instead of gaining a lower-case twin. The spelling already in Ext wins
    // when it is `ext` but for case, then an existing file with exactly
    // `ext`, then one whose extension differs from `ext` only in case; with
    // none on disk the spelling of Ext or `ext` stays. Folder and name are
    // taken as they are: another name is another file.
    void SetExtAsOnDisk(const QString& ext);
    // Makes Dir the process's current folder. An empty Dir names the current
    // folder already, so there is nothing to change.
    bool ChangeDir() const;
};

} // namespace Quorvel1
