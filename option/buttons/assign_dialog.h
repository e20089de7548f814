#pragma once
// AssignDialog: what one mouse button does. A category menu picks one of nine
// pages, each of which edits the dialog's copy of the button's record; the
// caller takes the copy, with the acceptance rules applied, when the dialog
// ends with IDOK.
#include <array>
#include <functional>
#include <memory>

#include "assign_model.h"
#include "assign_pages.h"
#include "skin_button.h"
#include "skin_dialog.h"

class OptionContext;

class AssignDialog : public CSkinDialog {
public:
    AssignDialog(const ButtonAssignment& record, int buttonIndex, const MacroLibrary& library,
                 const OptionContext& context);
    ~AssignDialog() override;

    // The record to store: a macro, key or program page left without its
    // choice gives the button's default back.
    const ButtonAssignment& Accept() { return model_.Accept(); }
    // Called with the accepted record on OK, before the dialog's windows go:
    // the mouse need not wait for some forty windows to be destroyed.
    void SetOnAccept(std::function<void(const ButtonAssignment&)> accepted) { onAccept_ = std::move(accepted); }

protected:
    void CreateControls(const SkinDescription& skin, const SkinPictures& pictures) override;
    BOOL OnInitDialog() override;
    void OnDestroy() override;
    bool OnDialogCommand(WORD id, WORD code, HWND control) override;
    void PaintOver(HDC dc, const RECT& client) override;
    void OnBackgroundPress(POINT client) override;
    DragMode Drag() const override { return DragMode::kSelf; }
    void OnOK() override;
    void OnCancel() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowPage(uint8_t functionClass);
    void ShowCategoryMenu();
    AssignPage* PageOf(uint8_t functionClass) const;

    assign::AssignModel model_;
    const MacroLibrary& library_;
    const OptionContext& context_;
    std::array<std::unique_ptr<AssignPage>, 9> pages_;
    std::unique_ptr<CSkinButton> category_;
    std::unique_ptr<CSkinButton> accept_;
    std::unique_ptr<CSkinButton> cancel_;
    std::unique_ptr<CSkinButton> close_;
    RECT title_{};
    uint8_t shown_ = 0;
    bool closeRequested_ = false;  // WM_CLOSE came: Cancel ends the dialog whatever is open
    std::function<void(const ButtonAssignment&)> onAccept_;
};
