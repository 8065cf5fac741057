// The log just downloaded, one click from the status bar: after a download
// from the simulator's logger the main window offers the site's last log,
// and its button opens the log viewer on it with the table and the chart.
#include "support/SimProcess.h"
#include "WindowFixture.h"

#include "app/QuorvelW.h"
#include "logger/gui/DlgLogView.h"
#include "logger/gui/LogChart.h"

#include <QAction>
#include <QPushButton>
#include <QTableView>

using namespace Quorvel1;
using QuorvelTest::SimProcess;

namespace {

class DownloadedLogWindowTest : public AppTest::WindowFixture {
protected:
    SimProcess sim{QStringList(), QStringLiteral("logger prefill 300\n")};
    AppTest::TTestWindow window{QStringList()};
};

} // namespace

TEST_F(DownloadedLogWindowTest, ADownloadOffersItsLogAndOneClickShowsIt)
{
    const QString site = Path("4660.ste");
    WriteFile(site, AppTest::EmptySiteFile("Logger site"));
    window.OpenNames.push_back(site);
    Start(window);
    Find<QAction>(window, "actOpen")->trigger();
    QPushButton* offer = window.DownloadedLogButton();
    ASSERT_NE(offer, nullptr);
    EXPECT_FALSE(offer->isVisibleTo(&window));
    ConnectLocally(window, sim);

    Find<QAction>(window, "tbDownload")->trigger();
    const QString log = window.AppController()->Site().LastLog;
    ASSERT_FALSE(log.isEmpty());
    EXPECT_TRUE(offer->isVisibleTo(&window));
    EXPECT_EQ(offer->toolTip(), log);

    int rows = 0;
    QStringList lines;
    AppTest::TWhenModal<TDlgLogView> viewer([&](TDlgLogView& dialog) {
        rows = dialog.View().model()->rowCount();
        lines = dialog.Chart().DeviceNames();
        dialog.reject();
    });
    offer->click();
    ASSERT_TRUE(viewer.Acted);
    EXPECT_EQ(rows, 300);
    EXPECT_FALSE(lines.isEmpty());
}
