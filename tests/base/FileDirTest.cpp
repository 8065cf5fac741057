// Splitting a path into folder, name and extension.
#include "base/FileDir.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using Quorvel1::TFileDir;

namespace {

void ExpectSplit(const QString& path, const QString& dir, const QString& name, const QString& ext)
{
    const TFileDir file(path);
    EXPECT_EQ(file.Dir, dir) << path.toStdString();
    EXPECT_EQ(file.Name, name) << path.toStdString();
    EXPECT_EQ(file.Ext, ext) << path.toStdString();
}

} // namespace

TEST(FileDir, IsEmptyAfterConstruction)
{
    const TFileDir file;
    EXPECT_TRUE(file.Dir.isEmpty());
    EXPECT_TRUE(file.Name.isEmpty());
    EXPECT_TRUE(file.Ext.isEmpty());
}

TEST(FileDir, SplitsWindowsPathKeepingTheBackslashOfTheFolder)
{
    ExpectSplit("D:\\a\\Site.STE", "D:\\a\\", "Site", ".STE");
}

TEST(FileDir, BareFileNameHasNoFolder)
{
    ExpectSplit("site.ste", "", "site", ".ste");
}

TEST(FileDir, DriveColonIsTheFolder)
{
    ExpectSplit("C:x.ste", "C:", "x", ".ste");
}

TEST(FileDir, LastDotOfTheFileNameStartsTheExtension)
{
    const struct {
        const char* Path;
        const char* Dir;
        const char* Name;
        const char* Ext;
    } rows[] = {
        {"/home/u/a.b.ste", "/home/u/", "a.b", ".ste"},
        {"/sites/plant.v2.ste", "/sites/", "plant.v2", ".ste"},
        {"C:\\s\\a.b.STE", "C:\\s\\", "a.b", ".STE"},
        {"x.tar.gz", "", "x.tar", ".gz"},
        {"/sites/trailing.", "/sites/", "trailing", "."},
    };
    for (const auto& row : rows)
        ExpectSplit(row.Path, row.Dir, row.Name, row.Ext);
}

TEST(FileDir, DottedNameKeepsItsOwnPartnerFiles)
{
    TFileDir file("/sites/plant.v2.ste");
    file.SetExt(".ini");
    EXPECT_EQ(file.FullPath(), "/sites/plant.v2.ini");
}

// Which spelling of an extension SetExtAsOnDisk takes, from the files in
// the folder: the exact one wins, then one that differs only in case; with
// none on disk the path's own spelling stays.
TEST(FileDir, ExtensionIsSpelledAsTheFileOnDisk)
{
    const struct {
        QStringList OnDisk;
        const char* Start; // the file name before the extension is set
        const char* Ext;
        const char* Result;
    } rows[] = {
        {{"STORE12.STE", "STORE12.INI"}, "STORE12.STE", ".ini", "STORE12.INI"},
        {{"STORE12.STE", "STORE12.INI"}, "STORE12.ste", ".ste", "STORE12.STE"},
        {{"STORE12.STE"}, "STORE12.STE", ".ste", "STORE12.STE"},
        {{"site.ini", "site.INI"}, "site.ste", ".ini", "site.ini"},
        {{"site.Ini"}, "site.ste", ".ini", "site.Ini"},
        {{}, "NEW.STE", ".ste", "NEW.STE"},
        {{}, "new.ste", ".ini", "new.ini"},
        // Another name is another site, whatever its case.
        {{"PLANT.INI"}, "plant.ste", ".ini", "plant.ini"},
        {{"plant.v2.INI", "plant.ini"}, "plant.v2.ste", ".ini", "plant.v2.INI"},
        {{"1234.EE"}, "site.ini", ".ee", "site.ee"},
    };
    for (const auto& row : rows) {
        QuorvelTest::TempFolder folder;
        for (const QString& name : row.OnDisk)
            ASSERT_TRUE(folder.WriteBytes(name, "x"));
        TFileDir file(folder.path() + "/" + row.Start);
        file.SetExtAsOnDisk(row.Ext);
        EXPECT_EQ(file.FullPath(), folder.path() + "/" + row.Result)
            << row.Start << " " << row.Ext << " with " << row.OnDisk.join(' ').toStdString();
    }
}

TEST(FileDir, ADirectoryIsNotAPartnerFile)
{
    QuorvelTest::TempFolder folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir("site.INI"));
    TFileDir file(folder.path() + "/site.ste");
    file.SetExtAsOnDisk(".ini");
    EXPECT_EQ(file.FileName(), "site.ini");
}

TEST(FileDir, PathWithoutExtension)
{
    ExpectSplit("/home/u/site", "/home/u/", "site", "");
}

TEST(FileDir, DotsInTheFolderAreNotAnExtension)
{
    ExpectSplit("/home/u.v/site", "/home/u.v/", "site", "");
}

TEST(FileDir, SetPathForgetsThePreviousPath)
{
    TFileDir file("/home/u/old.ste");
    file.SetPath("new");
    EXPECT_EQ(file.Dir, "");
    EXPECT_EQ(file.Name, "new");
    EXPECT_EQ(file.Ext, "");
}

TEST(FileDir, SwappingNameAndExtensionBuildsSiblingPaths)
{
    TFileDir file("/sites/Cold.ste");
    file.SetExt(".ini");
    EXPECT_EQ(file.FullPath(), "/sites/Cold.ini");
    file.SetName("1234");
    file.SetExt(".ee");
    EXPECT_EQ(file.FullPath(), "/sites/1234.ee");
    EXPECT_EQ(file.FileName(), "1234.ee");
}

TEST(FileDir, ChangeDirMakesTheFolderCurrent)
{
    const QString start = QDir::currentPath();
    QuorvelTest::TempFolder folder;
    const TFileDir file(folder.path() + "/site.ste");
    EXPECT_TRUE(file.ChangeDir());
    EXPECT_EQ(QFileInfo(QDir::currentPath()).canonicalFilePath(),
              QFileInfo(folder.path()).canonicalFilePath());
    QDir::setCurrent(start);
}

TEST(FileDir, ChangeDirToAMissingFolderFails)
{
    const QString start = QDir::currentPath();
    QuorvelTest::TempFolder folder;
    const TFileDir file(folder.path() + "/missing/site.ste");
    EXPECT_FALSE(file.ChangeDir());
    EXPECT_EQ(QDir::currentPath(), start);
}
