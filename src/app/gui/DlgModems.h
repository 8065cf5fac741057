#pragma once
// The modems dialog opened by the properties dialog's "Modems..." button: a
// grid of connections and their modems, of which only the titles are filled,
// beside an empty panel. Nothing in it is stored.
#include <QDialog>

class QTableWidget;
class QWidget;

namespace Quorvel1 {

class TDlgModems : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* Caption = "Modems";
    static constexpr int ClientWidth = 553;
    static constexpr int ClientHeight = 540;
    // The grid's title row, as comma text.
    static constexpr const char* Titles = "Connection,Modem";

    explicit TDlgModems(QWidget* parent = nullptr);

    QTableWidget* sg = nullptr;
    QWidget* pnlRight = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace Quorvel1
