#pragma once
// A path split into folder, name and extension, so that the site's files,
// log files and per-unit files can be named by swapping one part.
//
// "/" separates folders; "\" and a drive's ":" are separators too, so that a
// path written on Windows (a setting, a launch file) still splits. The
// extension starts at the leftmost dot of the file name and runs to the next
// dot: "a.b.ste" is the name "a" with the extension ".b".
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
    // Makes Dir the process's current folder. An empty Dir names the current
    // folder already, so there is nothing to change.
    bool ChangeDir() const;
};

} // namespace Quorvel1
