#pragma once
// CConfigPage: the first page of the main window. Its upper part is the
// profile bar (the drop-down list, new, delete, rename, and a menu with copy,
// import and export) with the reset button and the profile's game; its lower
// part shows the button, performance and lighting sub-pages behind three tabs.
// Every page posts WM_SETTINGS_CHANGED here after changing the current
// profile, and this page runs the apply.
#include <memory>
#include <optional>
#include <string>

#include "gdi.h"
#include "profile_bar.h"
#include "skin_button.h"
#include "skin_page.h"
#include "sub_page_host.h"

class OptionContext;
class OptionSession;

class CConfigPage : public CSkinPage {
public:
    using SubPage = CSubPageHost::SubPage;
    using PendingRename = CProfileBar::PendingRename;

    explicit CConfigPage(const OptionContext& context);
    ~CConfigPage() override;

    // Refills the list, shows the current name and refreshes the sub-pages.
    void Refresh() override;
    // After the Monitor changed the store: the performance page shows the
    // DPI level and pointer speed again.
    void RefreshFromMonitor() { subPages_.RefreshFromMonitor(); }
    // Closes the drop-down and finishes a rename. True when one was open.
    bool CloseTransients() { return profiles_.CloseTransients(); }
    void CloseTransient() override { CloseTransients(); }
    // Abandons a running rename (Esc): the old name stays.
    bool CancelRename() { return profiles_.CancelRename(); }
    // A rename in progress, as it stands: the profile it began on and what is
    // typed so far. The box stays as it is.
    std::optional<PendingRename> RenameInProgress() const { return profiles_.RenameInProgress(); }
    // Saves the store and asks the Monitor to apply it; a full apply shows
    // the wait cursor until the Monitor answers.
    void ApplySettings(bool full);
    void ShowSubPage(SubPage page) { subPages_.Show(page); }
    // Ctrl+PageDown and Ctrl+PageUp: the next or previous sub-page; returns its tab.
    HWND StepSubPage(int delta) { return subPages_.Step(delta); }
    CSkinPage* SubPageWindow(SubPage page) const { return subPages_.Window(page); }

protected:
    void CreateControls(const SkinDescription& skin, const SkinPictures& pictures) override;
    bool OnDialogCommand(WORD id, WORD code, HWND control) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PaintOver(HDC dc, const RECT& client) override;
    // Enter confirms a rename and Esc abandons it; otherwise they end Option.
    void OnOK() override;
    void OnCancel() override;
    void OnBackgroundPress(POINT client) override;

private:
    // Binds a click of one of the page's own buttons; every click first
    // closes what the profile bar has open.
    void Bind(const std::unique_ptr<CSkinButton>& button, void (CConfigPage::*clicked)());
    void ResetCurrentProfile();
    // The game of the current profile: its file name on the field, chosen with
    // the open-file dialog, unlinked with the clear button.
    void ShowGame();
    void ChooseGame();
    void ClearGame();
    std::wstring OptionText(UINT id) const;

    const OptionContext& context_;
    OptionSession& session_;
    CProfileBar profiles_;
    CSubPageHost subPages_;
    std::unique_ptr<CSkinButton> resetButton_;
    std::unique_ptr<CSkinButton> gameButton_;
    std::unique_ptr<CSkinButton> gameClearButton_;
    RECT profileCaption_{};
    RECT renameCaption_{};
    SkinRect subPageArea_{};  // where the sub-pages lie
};
