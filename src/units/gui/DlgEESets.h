#pragma once
// The EE settings editor: a unit's whole EE image as a table, one row per
// address, in several number formats at once. A connected user types new
// values into any format column; the editor writes them to the unit and
// keeps re-reading the named part of the EE memory so the table follows the
// unit. Offline it shows the image from its file, read-only. The background
// jobs are paused while it is open.
#include <QDialog>

#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QTableView;

namespace Quorvel1 {

class TEESetsLoop;
class TEESetsModel;
class TPelkThread;
class TSiteExt;

class TDlgEESets : public QDialog {
    Q_OBJECT
public:
    using ErrorHook = std::function<void(const QString&)>;

    static constexpr const char* ErrorCaption = "Settings";
    static constexpr const char* NoProcessorIdText = "Couldn't get processor id for Unit";
    static constexpr int FirstTickMs = 250;

    // `online`: the controller's connection state; `reportError` shows the
    // message of a refused cell.
    TDlgEESets(TSiteExt& site, TPelkThread& runner, std::function<bool()> online, ErrorHook reportError,
               QWidget* parent = nullptr);
    ~TDlgEESets() override;

    // The whole life of the window for unit number `unit` (0 the interface
    // unit): returns when it has closed and the image is saved. A failure
    // shows its message in a box titled "Settings".
    void ShowForUnit(int unit);

    QTableView* Grid() const { return sgEE; }
    TEESetsModel* Model() const { return model_.get(); }
    TEESetsLoop* Loop() const { return loop_.get(); }
    QPushButton* TrackButton() const { return buttTrack; }
    QPushButton* CopyButton() const { return buttCopy; }
    QPushButton* ExitButton() const { return buttExit; }
    QLabel* Status() const { return lblStatus; }

    void Track();
    void Copy();

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Open(int unit);
    bool Connected() const;

    TSiteExt& site_;
    TPelkThread& runner_;
    std::function<bool()> online_;
    ErrorHook reportError_;
    std::unique_ptr<TEESetsModel> model_;
    std::unique_ptr<TEESetsLoop> loop_;

    QTableView* sgEE = nullptr;
    QPushButton* buttTrack = nullptr;
    QPushButton* buttCopy = nullptr;
    QPushButton* buttExit = nullptr;
    QLabel* lblStatus = nullptr;
};

} // namespace Quorvel1
