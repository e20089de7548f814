#pragma once
// CConfigPage: the first page of the main window. Its upper part manages the
// profiles (the drop-down list, new, delete, rename, reset, and a menu with
// copy, import and export); its lower part shows the button, performance and
// lighting sub-pages behind three tabs. Every page posts WM_SETTINGS_CHANGED
// here after changing the current profile, and this page runs the apply.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "bitmap_edit.h"
#include "gdi.h"
#include "skin_button.h"
#include "skin_list_box.h"
#include "skin_page.h"

class CMainWindow;
class OptionSession;

class CConfigPage : public CSkinPage {
public:
    enum class SubPage { kButtons = 0, kPerformance = 1, kLighting = 2 };

    explicit CConfigPage(CMainWindow& main);
    ~CConfigPage() override;

    // Refills the list, shows the current name and refreshes the sub-pages.
    void Refresh() override;
    // After the Monitor changed the store: the performance page shows the
    // DPI level and pointer speed again.
    void RefreshFromMonitor();
    // Closes the drop-down and finishes a rename. True when one was open.
    bool CloseTransients();
    void CloseTransient() override { CloseTransients(); }
    // Abandons a running rename (Esc): the old name stays.
    bool CancelRename();
    // A rename in progress, as it stands: the profile it began on and what is
    // typed so far. The box stays as it is.
    struct PendingRename {
        int32_t position;
        std::u16string oldName;
        std::u16string typed;
    };
    std::optional<PendingRename> RenameInProgress() const;
    // Saves the store and asks the Monitor to apply it; a full apply shows
    // the wait cursor until the Monitor answers.
    void ApplySettings(bool full);
    void ShowSubPage(SubPage page);
    CSkinPage* SubPageWindow(SubPage page) const { return subPages_[static_cast<int>(page)].get(); }

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
    OptionSession* Session() const;
    std::wstring OptionText(UINT id) const;
    void ShowName(const std::wstring& name);
    std::wstring CurrentName() const;
    void RefillList();
    void RefreshSubPages();
    // The sub-page's window object; a bare skinned page when its own cannot be made.
    std::unique_ptr<CSkinPage> MakeSubPage(SubPage page);
    void SelectProfile(int position);
    void OpenDropDown();
    void CloseDropDown();
    void StartRename();
    void FinishRename();
    void NewProfile();
    void DeleteProfile();
    void CopyProfile();
    void ResetCurrentProfile();
    void ShowProfileMenu();
    void ExportProfile();
    void ImportProfile();
    // The game of the current profile: its file name on the field, chosen with
    // the open-file dialog, unlinked with the clear button.
    void ShowGame();
    void ChooseGame();
    void ClearGame();
    bool Is(const std::unique_ptr<CSkinButton>& button, HWND control) const {
        return button && control == button->hwnd();
    }

    CMainWindow& main_;
    std::array<std::unique_ptr<CSkinButton>, 3> tabs_;
    std::unique_ptr<CSkinButton> dropDown_;
    std::unique_ptr<CSkinButton> newButton_;
    std::unique_ptr<CSkinButton> deleteButton_;
    std::unique_ptr<CSkinButton> menuButton_;
    std::unique_ptr<CSkinButton> nameButton_;
    std::unique_ptr<CSkinButton> resetButton_;
    std::unique_ptr<CSkinButton> gameButton_;
    std::unique_ptr<CSkinButton> gameClearButton_;
    std::unique_ptr<CSkinListBox> list_;
    std::unique_ptr<CBitmapEdit> renameBox_;
    std::array<std::unique_ptr<CSkinPage>, 3> subPages_;
    RECT profileCaption_{};
    RECT renameCaption_{};
    bool dropDownOpen_ = false;
    bool renaming_ = false;
    SubPage shownSub_ = SubPage::kButtons;
};
