// The properties dialog over the main window's settings: it starts from the
// stored settings without touching the program's own (the last site), OK
// checks every field before it stores any and saves, Cancel changes
// nothing, and a stored modem or port the machine does not have is kept.
// Connect Local then opens the port chosen in it.
#include "support/SimProcess.h"
#include "WindowFixture.h"

#include "app/QuorvelW.h"
#include "app/gui/DlgModems.h"
#include "app/gui/PropsDlg.h"
#include "base/ProgramFolder.h"
#include "modem/TapiModem.h"
#include "modem/gui/ModemConfigDialog.h"
#include "settings/Properties.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>

#include <functional>

using namespace Quorvel1;
using AppTest::EmptySiteFile;
using AppTest::TMessageBoxAnswerer;
using AppTest::TTestWindow;
using AppTest::TWhenModal;

namespace {

class PropertiesDialogTest : public AppTest::WindowFixture {
protected:
    PropertiesDialogTest()
    {
        WriteFile(Path("north.ste"), EmptySiteFile("North store"));
        WriteFile(Path("south.ste"), EmptySiteFile("South store"));
    }

    static QVariant Stored(const QString& key)
    {
        return QSettings("Mestra Apps", "Quorvel").value("Settings/" + key);
    }

    // Opens Properties from the menu and runs `act` on the dialog while it
    // is up; `act` closes it. False when no dialog came up.
    static bool WithProperties(TFQw& window, const std::function<void(TPropsDlg&)>& act)
    {
        TWhenModal<TPropsDlg> driver(act);
        Find<QAction>(window, "actProperties")->trigger();
        return driver.Acted;
    }

    static void ChooseItem(QComboBox* combo, int item)
    {
        combo->setCurrentIndex(item);
        emit combo->activated(item);
    }
};

} // namespace

TEST_F(PropertiesDialogTest, FirstOpeningShowsTheDefaults)
{
    TTestWindow window{QStringList()};
    Start(window);
    window.AppController()->Modem()->Initialise(QStringList());
    ASSERT_TRUE(WithProperties(window, [&](TPropsDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "QuorvelXP - Properties");
        EXPECT_EQ(dialog.cbLocalPort->currentText(), "COM1");
        EXPECT_EQ(dialog.ChosenPort(), "COM1");
        EXPECT_EQ(dialog.edModemTimeout->text(), "0");
        EXPECT_EQ(dialog.edDialPrefix->text(), "");
        EXPECT_EQ(dialog.edDialSuffix->text(), "");
        EXPECT_EQ(dialog.edSitesPath->text(), Folder()); // the fixture's
        EXPECT_EQ(dialog.edErrLog->text(), ErrorLogPath());
        EXPECT_TRUE(dialog.cbAutoSave->isChecked());
        EXPECT_EQ(dialog.cbModemDevs->currentText(), "No devices available");
        EXPECT_FALSE(dialog.cbModemDevs->isEnabled());
        EXPECT_FALSE(dialog.buttModemConfig->isEnabled());
        EXPECT_FALSE(dialog.buttHelp->isVisible());
        dialog.buttOk->click();
    }));
    EXPECT_EQ(Stored("Comms/ModemDevice").toInt(), 0);
    EXPECT_EQ(Stored("Comms/LocalPort").toString(), "COM1");
}

TEST_F(PropertiesDialogTest, StoredCom3IsChosenAndTheFourthItemStoresCom4)
{
    StoreSetting("Settings/Comms/LocalPort", "COM3");
    TTestWindow window{QStringList()};
    Start(window);
    ASSERT_TRUE(WithProperties(window, [&](TPropsDlg& dialog) {
        EXPECT_EQ(dialog.cbLocalPort->currentIndex(), 2);
        EXPECT_EQ(dialog.cbLocalPort->itemText(3), "COM4");
        EXPECT_EQ(dialog.cbLocalPort->itemData(3, Qt::ToolTipRole).toString(), "/dev/ttyS3");
        ChooseItem(dialog.cbLocalPort, 3);
        dialog.buttOk->click();
    }));
    EXPECT_EQ(Stored("Comms/LocalPort").toString(), "COM4");
    EXPECT_EQ(window.AppController()->Properties().LocalPort, "COM4");
}

TEST_F(PropertiesDialogTest, CancelChangesNothingEvenAtExit)
{
    StoreSetting("Settings/Modems/Ports", "/dev/ttyQ0,/dev/ttyQ1");
    StoreSetting("Settings/Comms/LocalPort", "COM2");
    StoreSetting("Settings/Comms/DialPrefix", "9");
    TTestWindow window{QStringList()};
    Start(window);
    ASSERT_TRUE(WithProperties(window, [&](TPropsDlg& dialog) {
        EXPECT_EQ(dialog.cbModemDevs->currentIndex(), 0);
        ChooseItem(dialog.cbModemDevs, 1);
        ChooseItem(dialog.cbLocalPort, 3);
        dialog.edDialPrefix->setText("0");
        dialog.cbAutoSave->setChecked(false);
        dialog.buttCancel->click();
    }));
    const TProperties& cached = window.AppController()->Properties();
    EXPECT_EQ(cached.ModemDevice, 0);
    EXPECT_EQ(cached.LocalPort, "COM2");
    ASSERT_TRUE(window.close());
    EXPECT_EQ(Stored("Comms/ModemDevice").toInt(), 0);
    EXPECT_EQ(Stored("Comms/LocalPort").toString(), "COM2");
    EXPECT_EQ(Stored("Comms/DialPrefix").toString(), "9");
    EXPECT_EQ(Stored("Paths/AutoSave").toInt(), 1);
}

TEST_F(PropertiesDialogTest, OkKeepsTheSiteOpenedSinceTheLastSave)
{
    StoreSetting("Settings/Paths/LastSite", Path("north.ste"));
    TTestWindow window{QStringList()};
    Start(window);
    window.OpenNames = {Path("south.ste")};
    Find<QAction>(window, "actOpen")->trigger();
    ASSERT_EQ(window.windowTitle(), "QuorvelXP - south");

    ASSERT_TRUE(WithProperties(window, [&](TPropsDlg& dialog) { dialog.buttOk->click(); }));
    EXPECT_EQ(Stored("Paths/LastSite").toString(), Path("south.ste"));
    EXPECT_EQ(window.AppController()->Properties().LastSite, Path("south.ste"));
    ASSERT_TRUE(window.close());
    EXPECT_EQ(Stored("Paths/LastSite").toString(), Path("south.ste"));
}

TEST_F(PropertiesDialogTest, BadTimeoutKeepsTheDialogOpenAndStoresNothing)
{
    TTestWindow window{QStringList()};
    Start(window);
    bool stillOpen = false;
    QString told;
    ASSERT_TRUE(WithProperties(window, [&](TPropsDlg& dialog) {
        dialog.edDialPrefix->setText("9");
        ChooseItem(dialog.cbLocalPort, 1);
        dialog.edModemTimeout->setText("12x");
        TMessageBoxAnswerer answerer(QMessageBox::Ok);
        dialog.buttOk->click();
        told = answerer.Text;
        stillOpen = dialog.isVisible();
        dialog.edModemTimeout->setText("007");
        dialog.buttOk->click();
    }));
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(told.contains("12x")) << told.toStdString();
    EXPECT_EQ(Stored("Comms/ModemTimeout").toInt(), 7);
    EXPECT_EQ(Stored("Comms/DialPrefix").toString(), "9");
    EXPECT_EQ(Stored("Comms/LocalPort").toString(), "COM2");
}

TEST_F(PropertiesDialogTest, LeavingTheTimeoutFieldTidiesOrHoldsIt)
{
    TTestWindow window{QStringList()};
    Start(window);
    ASSERT_TRUE(WithProperties(window, [&](TPropsDlg& dialog) {
        dialog.activateWindow();
        dialog.edModemTimeout->setFocus();
        dialog.edModemTimeout->setText("007");
        dialog.edDialPrefix->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(dialog.edModemTimeout->text(), "7");

        dialog.edModemTimeout->setFocus();
        dialog.edModemTimeout->setText("-3");
        dialog.edDialPrefix->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(dialog.edModemTimeout->text(), "-3");
        EXPECT_TRUE(dialog.edModemTimeout->hasFocus());
        EXPECT_EQ(dialog.edModemTimeout->selectedText(), "-3");
        dialog.buttCancel->click();
    }));
}

TEST_F(PropertiesDialogTest, ModemAndPortTheMachineLacksAreKept)
{
    StoreSetting("Settings/Modems/Ports", "/dev/ttyQ0");
    StoreSetting("Settings/Comms/ModemDevice", "3");
    StoreSetting("Settings/Comms/LocalPort", "/dev/ttyUSB9");
    TTestWindow window{QStringList()};
    Start(window);
    ASSERT_TRUE(WithProperties(window, [&](TPropsDlg& dialog) {
        EXPECT_EQ(dialog.cbModemDevs->currentText(), "Modem 3 (not present)");
        EXPECT_EQ(dialog.ChosenModemDevice(), 3);
        EXPECT_EQ(dialog.ChosenPort(), "/dev/ttyUSB9");
        dialog.buttOk->click();
    }));
    EXPECT_EQ(Stored("Comms/ModemDevice").toInt(), 3);
    EXPECT_EQ(Stored("Comms/LocalPort").toString(), "/dev/ttyUSB9");

    // Chosen away, they go.
    ASSERT_TRUE(WithProperties(window, [&](TPropsDlg& dialog) {
        ChooseItem(dialog.cbModemDevs, 0);
        dialog.cbLocalPort->setEditText("/tmp/other-port");
        dialog.buttOk->click();
    }));
    EXPECT_EQ(Stored("Comms/ModemDevice").toInt(), 0);
    EXPECT_EQ(Stored("Comms/LocalPort").toString(), "/tmp/other-port");
}

TEST_F(PropertiesDialogTest, ConfigureEditsTheChosenModemsFile)
{
    StoreSetting("Settings/Modems/Ports", Path("modem-a") + "," + Path("modem-b"));
    const QString file = ProgramFolder() + "ModemCfg1.dat";
    QFile::remove(file);
    TTestWindow window{QStringList()};
    Start(window);
    ASSERT_TRUE(WithProperties(window, [&](TPropsDlg& dialog) {
        ChooseItem(dialog.cbModemDevs, 1);
        // Comes up over the properties dialog once Configure is pressed.
        TWhenModal<QDialog> editor([](QDialog& config) {
            EXPECT_EQ(config.windowTitle(), "Modem configuration");
            for (QLineEdit* field : config.findChildren<QLineEdit*>())
                if (field->text().startsWith("ATD"))
                    field->setText("ATDP");
            config.accept();
        });
        dialog.buttModemConfig->click();
        EXPECT_TRUE(editor.Acted);
        dialog.buttCancel->click();
    }));
    EXPECT_TRUE(QFile::exists(file));
    TTapiModem& modem = *window.AppController()->Modem();
    EXPECT_EQ(modem.DeviceConfig(1).Dial, "ATDP");
    QFile::remove(file);
}

TEST_F(PropertiesDialogTest, ModemsDialogShowsItsTitleRow)
{
    TTestWindow window{QStringList()};
    Start(window);
    QStringList titles;
    ASSERT_TRUE(WithProperties(window, [&](TPropsDlg& dialog) {
        TWhenModal<TDlgModems> modems([&](TDlgModems& grid) {
            EXPECT_EQ(grid.windowTitle(), "Modems");
            for (int column = 0; column < grid.sg->columnCount(); ++column)
                titles << grid.sg->horizontalHeaderItem(column)->text();
            grid.accept();
        });
        dialog.Button1->click();
        dialog.buttCancel->click();
    }));
    EXPECT_EQ(titles, QStringList({"Connection", "Modem"}));
}

TEST_F(PropertiesDialogTest, ThePortChosenIsTheOneConnectLocalOpens)
{
    QuorvelTest::SimProcess sim;
    TTestWindow window({Path("north.ste")});
    Start(window);
    ASSERT_TRUE(WithProperties(window, [&](TPropsDlg& dialog) {
        dialog.cbLocalPort->setEditText(sim.PortPath());
        EXPECT_FALSE(dialog.lblPortProblem->isVisible());
        dialog.buttOk->click();
    }));
    EXPECT_EQ(Stored("Comms/LocalPort").toString(), sim.PortPath());
    Find<QAction>(window, "actConnectLocal")->trigger();
    EXPECT_TRUE(window.AppController()->Online);
    EXPECT_EQ(Find<QLabel>(window, "LinkStatus")->text(), "LOCAL");
    window.AppController()->Disconnect();
}
