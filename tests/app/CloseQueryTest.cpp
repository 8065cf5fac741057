// The close query: the save question comes first, then the settings are
// written, so that a site saved under a new name in answer to the question
// is the last site the next start opens; Cancel keeps the program open.
#include "support/AppFixture.h"

#include "app/QuorvelW.h"
#include "settings/Properties.h"
#include "site/SiteExt.h"

#include <QSettings>

using namespace Quorvel1;
using AppTest::EmptySiteFile;
using AppTest::TRecordingView;

namespace {

class CloseQueryTest : public AppTest::AppFixture {
protected:
    CloseQueryTest()
    {
        WriteFile(Path("north.ste"), EmptySiteFile("North store"));
        controller.Properties().AutoSave = false;
    }

    static QString StoredLastSite()
    {
        return QSettings("Mestra Apps", "Quorvel").value("Settings/Paths/LastSite").toString();
    }

    TRecordingView view;
    TQuorvelW controller{view};
};

} // namespace

TEST_F(CloseQueryTest, SiteSavedInAnswerToTheQuestionIsTheLastSite)
{
    ASSERT_TRUE(controller.OpenSite(Path("north.ste")));
    controller.NewSite();
    controller.Site().SetModified(true);
    view.Answers = {MessageAnswer::Yes};
    view.SaveNames = {Path("west.ste")};

    EXPECT_TRUE(controller.QueryClose());

    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0].Text, "Save changes to site?");
    EXPECT_EQ(StoredLastSite(), Path("west.ste"));
}

TEST_F(CloseQueryTest, CancelKeepsTheProgramOpen)
{
    ASSERT_TRUE(controller.OpenSite(Path("north.ste")));
    controller.Site().SetModified(true);
    view.Answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(controller.QueryClose());
    EXPECT_TRUE(controller.Site().IsModified());
}
