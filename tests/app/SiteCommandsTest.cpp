// The site file commands: open, save, save as, new, and the question about a
// changed site, with a view that records what the user was asked.
#include "support/AppFixture.h"

#include "app/QuorvelW.h"
#include "settings/Properties.h"
#include "site/SiteExt.h"

#include <QDir>
#include <QFileInfo>

using namespace Quorvel1;
using AppTest::AppFixture;
using AppTest::EmptySiteFile;
using AppTest::TRecordingView;

namespace {

class SiteCommandsTest : public AppFixture {
protected:
    SiteCommandsTest()
    {
        WriteFile(Path("north.ste"), EmptySiteFile("North store"));
        original = ReadFile(Path("north.ste"));
    }

    // An interactive controller with north.ste open and changed.
    void OpenChangedNorth()
    {
        ASSERT_TRUE(controller.OpenSite(Path("north.ste")));
        controller.Site().SetModified(true);
        view.Description = "Changed";
    }

    // The description field of a site file, up to its NUL.
    QByteArray DescriptionIn(const QString& path)
    {
        const QByteArray field = ReadFile(path).mid(2, 41);
        return field.left(field.indexOf('\0'));
    }

    void AutoSave(bool on) { controller.Properties().AutoSave = on; }

    TRecordingView view;
    TQuorvelW controller{view};
    QByteArray original;
};

} // namespace

TEST_F(SiteCommandsTest, UnchangedSiteNeedsNoQuestionAndNoSave)
{
    ASSERT_TRUE(controller.OpenSite(Path("north.ste")));
    controller.Site().SetModified(false);
    AutoSave(false);
    EXPECT_TRUE(controller.ConfirmSaveChanges());
    EXPECT_TRUE(view.Messages.empty());
    EXPECT_EQ(view.FieldStores, 0);
}

TEST_F(SiteCommandsTest, AutoSaveSavesAChangedNamedSiteWithoutAQuestion)
{
    OpenChangedNorth();
    AutoSave(true);
    EXPECT_TRUE(controller.ConfirmSaveChanges());
    EXPECT_TRUE(view.Messages.empty());
    EXPECT_TRUE(view.SaveDialogs.empty());
    EXPECT_EQ(DescriptionIn(Path("north.ste")), "Changed");
}

TEST_F(SiteCommandsTest, QuestionAsksToSaveWithYesNoCancel)
{
    OpenChangedNorth();
    AutoSave(false);
    view.Answers = {2};
    controller.ConfirmSaveChanges();
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0].Text, "Save changes to site?");
    EXPECT_EQ(view.Messages[0].Caption, "Confirm");
    EXPECT_EQ(view.Messages[0].Flags, 0x23);
}

TEST_F(SiteCommandsTest, CancelKeepsTheChangedSiteAndSavesNothing)
{
    OpenChangedNorth();
    AutoSave(false);
    view.Answers = {2};
    EXPECT_FALSE(controller.ConfirmSaveChanges());
    EXPECT_TRUE(controller.Site().IsModified());
    EXPECT_EQ(ReadFile(Path("north.ste")), original);
}

TEST_F(SiteCommandsTest, YesSavesTheSite)
{
    OpenChangedNorth();
    AutoSave(false);
    view.Answers = {6};
    EXPECT_TRUE(controller.ConfirmSaveChanges());
    EXPECT_EQ(DescriptionIn(Path("north.ste")), "Changed");
}

TEST_F(SiteCommandsTest, NoGoesOnWithoutSaving)
{
    OpenChangedNorth();
    AutoSave(false);
    view.Answers = {7};
    EXPECT_TRUE(controller.ConfirmSaveChanges());
    EXPECT_EQ(ReadFile(Path("north.ste")), original);
}

TEST_F(SiteCommandsTest, CancelledQuestionKeepsTheSiteOnNewAndOpen)
{
    OpenChangedNorth();
    AutoSave(false);
    view.Answers = {2, 2};
    controller.NewSiteCommand();
    controller.OpenSiteCommand();
    EXPECT_EQ(controller.Caption(), "QuorvelXP - north");
    EXPECT_EQ(controller.Site().DescriptionText(), "North store");
    EXPECT_TRUE(view.OpenDialogs.empty());
}

TEST_F(SiteCommandsTest, UntitledChangedSiteWithAutoSaveAsksForAFileName)
{
    controller.NewSiteCommand();
    controller.Site().SetModified(true);
    AutoSave(true);
    view.SaveNames = {Path("fresh.ste")};
    EXPECT_TRUE(controller.ConfirmSaveChanges());
    ASSERT_EQ(view.SaveDialogs.size(), 1u);
    EXPECT_EQ(view.SaveDialogs[0].Folder, Folder());
    EXPECT_EQ(view.SaveDialogs[0].Preset, "");
    EXPECT_TRUE(QFileInfo::exists(Path("fresh.ste")));
    EXPECT_EQ(controller.Caption(), "QuorvelXP - fresh");
    EXPECT_EQ(controller.Properties().LastSite, Path("fresh.ste"));
}

TEST_F(SiteCommandsTest, CancelledSaveDialogSavesNothing)
{
    controller.NewSiteCommand();
    controller.Site().SetModified(true);
    controller.SaveSiteCommand(false);
    EXPECT_EQ(view.SaveDialogs.size(), 1u);
    EXPECT_EQ(controller.Caption(), "QuorvelXP - Untitled");
    EXPECT_TRUE(QDir(Folder()).entryList({"*.ste"}).contains("north.ste"));
    EXPECT_EQ(QDir(Folder()).entryList({"*.ste"}).size(), 1);
}

TEST_F(SiteCommandsTest, AutomaticModeSavesAChangedNamedSiteAtOnce)
{
    controller.RunLaunch("-AO", Path("north.ste"));
    controller.Properties().AutoSave = false;
    view.Description = "Changed";
    EXPECT_TRUE(controller.ConfirmSaveChanges());
    EXPECT_TRUE(view.Messages.empty());
    EXPECT_EQ(DescriptionIn(Path("north.ste")), "Changed");
}

TEST_F(SiteCommandsTest, AutomaticModeDoesNotSaveAnUntitledSiteUnderNoName)
{
    controller.RunLaunch("-AO", QString());
    QDir::setCurrent(Folder());
    controller.Site().SetModified(true);
    EXPECT_TRUE(controller.ConfirmSaveChanges());
    EXPECT_TRUE(view.SaveDialogs.empty());
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"errors.txt", "north.ste"}));
}

TEST_F(SiteCommandsTest, SaveAsSavesUnderTheChosenNameAndShowsIt)
{
    OpenChangedNorth();
    view.SaveNames = {Path("copy.ste")};
    controller.SaveSiteCommand(true);
    ASSERT_EQ(view.SaveDialogs.size(), 1u);
    EXPECT_EQ(view.SaveDialogs[0].Folder, Folder() + "/");
    EXPECT_EQ(view.SaveDialogs[0].Preset, "north.ste");
    EXPECT_EQ(DescriptionIn(Path("copy.ste")), "Changed");
    EXPECT_EQ(ReadFile(Path("north.ste")), original);
    EXPECT_EQ(view.Captions.last(), "QuorvelXP - copy");
}

TEST_F(SiteCommandsTest, ChosenNameGetsTheSiteExtension)
{
    OpenChangedNorth();
    view.SaveNames = {Path("plain")};
    controller.SaveSiteCommand(true);
    EXPECT_TRUE(QFileInfo::exists(Path("plain.ste")));
    EXPECT_EQ(controller.Properties().LastSite, Path("plain.ste"));
}

TEST_F(SiteCommandsTest, FailedSaveReportsAndMakesTheSiteUntitled)
{
    OpenChangedNorth();
    view.SaveNames = {"/nonexistent-folder/x.ste"};
    controller.SaveSiteCommand(true);
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0].Text, "Couldn't save site");
    EXPECT_EQ(view.Captions.last(), "QuorvelXP - Untitled");
}

TEST_F(SiteCommandsTest, OpenDialogStartsInTheSitesFolderThenInTheSitesOwnFolder)
{
    view.OpenNames = {Path("north.ste")};
    controller.OpenSiteCommand();
    ASSERT_EQ(view.OpenDialogs.size(), 1u);
    EXPECT_EQ(view.OpenDialogs[0].Folder, Folder());
    EXPECT_EQ(view.Refreshes, 1);
    EXPECT_EQ(view.Captions.last(), "QuorvelXP - north");

    controller.Site().SetModified(false);
    controller.OpenSiteCommand();
    ASSERT_EQ(view.OpenDialogs.size(), 2u);
    EXPECT_EQ(view.OpenDialogs[1].Folder, Folder() + "/");
    EXPECT_EQ(view.OpenDialogs[1].Preset, "north.ste");
}

TEST_F(SiteCommandsTest, SiteThatCannotBeOpenedIsReportedAndKeepsItsName)
{
    const QString missing = Path("missing.ste");
    EXPECT_FALSE(controller.OpenSite(missing));
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0].Text, "Couldn't open site: " + missing);
    EXPECT_EQ(view.Messages[0].Caption, "Quorvel Error");
    EXPECT_EQ(view.Messages[0].Flags, 0x10);
    EXPECT_EQ(controller.Caption(), "QuorvelXP - missing");
}

TEST_F(SiteCommandsTest, NewSiteIsUntitledAndEmptyButKeepsTheFolder)
{
    ASSERT_TRUE(controller.OpenSite(Path("north.ste")));
    controller.Site().SetModified(false);
    controller.NewSiteCommand();
    EXPECT_EQ(view.Captions.last(), "QuorvelXP - Untitled");
    EXPECT_EQ(controller.Site().DescriptionText(), "");
    EXPECT_EQ(controller.SiteFile.Dir, Folder() + "/");
}

TEST_F(SiteCommandsTest, SiteThatFailedToLoadIsSavedOnlyUnderANameTheUserChooses)
{
    WriteFile(Path("broken.ste"), AppTest::BrokenSiteFile());
    const QByteArray broken = ReadFile(Path("broken.ste"));
    EXPECT_FALSE(controller.OpenSite(Path("broken.ste")));
    EXPECT_EQ(controller.Caption(), "QuorvelXP - broken");
    controller.Site().SetModified(true);
    AutoSave(true);

    EXPECT_TRUE(controller.ConfirmSaveChanges()); // the dialog is cancelled
    ASSERT_EQ(view.SaveDialogs.size(), 1u);
    EXPECT_EQ(view.SaveDialogs[0].Preset, "broken.ste");
    EXPECT_EQ(ReadFile(Path("broken.ste")), broken);

    view.SaveNames = {Path("rescued.ste")};
    controller.SaveSiteCommand(false);
    EXPECT_EQ(ReadFile(Path("broken.ste")), broken);
    EXPECT_EQ(DescriptionIn(Path("rescued.ste")), "Broken store");
    EXPECT_EQ(controller.Caption(), "QuorvelXP - rescued");
}

TEST_F(SiteCommandsTest, RelativeSitePathStillNamesTheSameFileAfterTheLoad)
{
    ASSERT_TRUE(QDir(Folder()).mkdir("sub"));
    WriteFile(Path("sub/east.ste"), EmptySiteFile("East store"));
    QDir::setCurrent(Folder());
    ASSERT_TRUE(controller.OpenSite("sub/east.ste"));
    controller.Site().SetModified(true);
    view.Description = "Changed";
    controller.SaveSiteCommand(false);
    EXPECT_TRUE(view.Messages.empty());
    EXPECT_EQ(DescriptionIn(Path("sub/east.ste")), "Changed");
    EXPECT_FALSE(QFileInfo::exists(Path("sub/sub/east.ste")));
}
