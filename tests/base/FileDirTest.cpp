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

TEST(FileDir, LeftmostDotOfTheFileNameStartsTheExtension)
{
    ExpectSplit("/home/u/a.b.ste", "/home/u/", "a", ".b");
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
