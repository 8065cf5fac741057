#pragma once
// What the controller needs from the main window: status texts, the caption,
// the refresh of the controls from the site and back, message boxes and the
// site file dialogs. The window implements it with widgets; an unattended run
// uses a view that shows nothing and answers no.
#include "base/MessageFlags.h"

#include <QString>

namespace Pelk {
class TMestraIF;
}

namespace Quorvel1 {

class TConnectSequence;
class TJobProgressView;

class TQuorvelView {
public:
    virtual ~TQuorvelView() = default;

    virtual void SetStatusText(const QString& text, int panel) = 0;
    // Puts the site into the controls (description, telephone, lists, map,
    // options text). The caption is set separately.
    virtual void RefreshFromSite() = 0;
    // Copies the description and telephone fields into the site.
    virtual void StoreFieldsToSite() = 0;
    virtual void UpdateCaption(const QString& caption) = 0;
    // A modal message box; returns the answer (MessageAnswer).
    virtual int ShowMessage(const QString& text, const QString& caption, int flags) = 0;
    // The site save and open dialogs, starting in `folder` with the file name
    // `preset`; an empty result means the user cancelled.
    virtual QString AskSaveFileName(const QString& folder, const QString& preset) = 0;
    virtual QString AskOpenFileName(const QString& folder, const QString& preset) = 0;
    virtual void ShowSiteTab() = 0;

    // The progress dialog of commands, made once for the controller's job
    // runner; none means the runner waits without showing anything.
    virtual TJobProgressView* MakeJobProgressView(Pelk::TMestraIF& /*link*/) { return nullptr; }
    // Runs the connect dialog over `sequence` (already begun) and returns
    // once it has closed; false when the view has no dialog, and the
    // controller runs the sequence itself.
    virtual bool RunConnectDialog(TConnectSequence& /*sequence*/) { return false; }

    // The units list is emptied before a scan; after it the site's units
    // are complete and the lists and the map are bound to them again.
    virtual void UnitsCleared() {}
    virtual void UnitsScanned() {}
    // Shows the unit in the unit view and makes its tab the active page.
    virtual void ShowUnit(int /*unit*/) {}
    // The site's devices have new places in the logger's table.
    virtual void RefillLogDevices() {}
    // The link came up or went down (Online, ModemCall, LoggerPresent).
    virtual void ConnectionChanged() {}
};

// The view of a run without a display: shows nothing, answers every question
// no and cancels every dialog.
class THeadlessView : public TQuorvelView {
public:
    void SetStatusText(const QString&, int) override {}
    void RefreshFromSite() override {}
    void StoreFieldsToSite() override {}
    void UpdateCaption(const QString&) override {}
    int ShowMessage(const QString&, const QString&, int flags) override { return NegativeAnswer(flags); }
    QString AskSaveFileName(const QString&, const QString&) override { return QString(); }
    QString AskOpenFileName(const QString&, const QString&) override { return QString(); }
    void ShowSiteTab() override {}
};

} // namespace Quorvel1
