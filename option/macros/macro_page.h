#pragma once
// CMacroPage: the main window's second page. It keeps the macro library (pick,
// new, delete, rename, copy, import, export), shows the selected macro's steps
// in the event list with the step buttons beside it, records keys and mouse
// buttons, and opens the insert panel. The rules are MacroEditModel's; this
// window turns clicks and messages into its calls and shows what they leave.
// Every change that reaches a macro is written into the library, the buttons
// of the current profile that play it, and the mouse, at once.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bitmap_edit.h"
#include "insert_panel.h"
#include "item_bar.h"
#include "keyboard_hook.h"
#include "lazy_page.h"
#include "macro_edit_model.h"
#include "message_filter.h"
#include "skin_button.h"
#include "skin_list_box.h"
#include "skin_page.h"

class OptionContext;
class OptionSession;

class CMacroPage : public CSkinPage {
public:
    explicit CMacroPage(const OptionContext& context);
    ~CMacroPage() override;

    void Refresh() override;
    void CloseTransient() override;
    // True when an open drop-down or rename was closed (Esc goes no further).
    bool CloseTransients();
    // Esc on an open insert panel: as its Cancel, the steps as they were. False when none is open.
    bool CancelInsertPanel();
    // Abandons a running rename: the old name stays.
    void CancelRename();
    // Ends a recording on the way out of the page (another tab, the window
    // closing): keys never stay caught after the page is gone.
    void StopRecording();
    bool Recording() const { return model_.Recording(); }
    // Called after the macro buttons of the current profile changed, so the
    // button page shows them again.
    void SetButtonsChanged(std::function<void()> changed) { buttonsChanged_ = std::move(changed); }

protected:
    void CreateControls(const SkinDescription& skin, const SkinPictures& pictures) override;
    void OnDestroy() override;
    bool OnDialogCommand(WORD id, WORD code, HWND control) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PaintOver(HDC dc, const RECT& client) override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnBackgroundPress(POINT client) override;

private:
    void Persist();

    // What the window shows of the model.
    void ShowMacroList();
    void ShowName();
    void ShowRows();
    void ShowSelection();

    // The macro bar's work.
    void ConfigureBar();
    void PickMacro(int row);
    void ExportMacro();
    void ImportMacro();
    void SetMode(DelayMode mode);

    void ToggleRecording();
    bool BeginRecordingUi();
    void AfterRecordingStopped();
    void OnHookKey(WPARAM virtualKey, LPARAM flags);

    void EditStep();
    void FinishStepEdit(const std::wstring& typed);

    void OpenInsertPanel();
    void HideInsertPanel();
    void EnableControls(bool enable);
    bool HasFocusWithin(HWND window) const;
    // Moves the focus as Tab would, with its mark.
    void FocusControl(HWND control);

    // Binds a click of one of the page's buttons; every click first closes
    // what the bar has open and ends a step being edited.
    void Bind(const std::unique_ptr<CSkinButton>& button, std::function<void()> clicked);
    void BeforeClick(HWND button);

    // Every queued message of the thread passes here first while the page shows.
    bool FilterMessage(const MSG& message);
    bool FilterKey(const MSG& message);
    HWND ActiveRecordButton() const;

    std::wstring OptionText(UINT id) const;

    const OptionContext& context_;
    OptionSession& session_;
    MacroEditModel model_;
    CKeyboardHook hook_;
    CThreadMessageFilter filter_;
    std::function<void()> buttonsChanged_;

    CItemBar bar_{model_.Bar()};
    std::unique_ptr<CSkinButton> modeButtons_[3];
    std::unique_ptr<CBitmapEdit> fixedDelayBox_;
    std::unique_ptr<CSkinButton> recordButton_;
    std::unique_ptr<CSkinButton> editButton_;
    std::unique_ptr<CSkinButton> deleteStepButton_;
    std::unique_ptr<CSkinButton> upButton_;
    std::unique_ptr<CSkinButton> downButton_;
    std::unique_ptr<CSkinListBox> steps_;
    std::unique_ptr<CSkinButton> insertButton_;
    SkinRect panelArea_{};  // where the insert panel lies
    // Built when it is first opened.
    LazyPage<CInsertPanel> panel_;
    // The page's controls that the open panel lies over: hidden meanwhile,
    // since sibling windows that overlap paint over each other.
    std::vector<HWND> underPanel_;  // not owned
    RECT labels_[3]{};
    DelayMode mode_ = DelayMode::kFixed;
};
