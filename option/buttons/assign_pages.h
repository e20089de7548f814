#pragma once
// The nine pages of the assignment dialog, one per function class, each a
// skinned child dialog in the dialog's page rectangle. They show what the
// dialog's record copy holds for their class and turn the user's choices into
// calls of the dialog's model. The key page holds the keyboard hook while it
// is shown, so a pressed key reaches no other program.
#include <memory>
#include <string>

#include "assign_model.h"
#include "bitmap_edit.h"
#include "keyboard_hook.h"
#include "skin_button.h"
#include "skin_list_box.h"
#include "skin_page.h"

class OptionContext;

class AssignPage : public CSkinPage {
public:
    AssignPage(uint8_t functionClass, assign::AssignModel& model, const MacroLibrary& library,
               const OptionContext& context);
    ~AssignPage() override;

    uint8_t FunctionClass() const { return class_; }
    // Shows the page with what the record holds (after the model entered it),
    // or hides it; the key page takes or gives back the keyboard.
    void SetShown(bool shown);
    // Shows what the record holds for this page.
    void ShowRecord();
    // A press on the dialog's background closes the macro list.
    // True when the macro list was open.
    bool CloseDropDown();
    // OK: typing in the page's box is over.
    void Finish();

protected:
    void CreateControls(const SkinDescription& skin, const SkinPictures& pictures) override;
    void OnDestroy() override;
    bool OnDialogCommand(WORD id, WORD code, HWND control) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PaintOver(HDC dc, const RECT& client) override;
    DragMode Drag() const override { return DragMode::kParent; }

private:
    void ShowMenu(CSkinButton& button, int width, int fontHeight);
    void ShowChoiceCaption();
    void ShowRepeat();
    void OpenMacroList();
    void ShowLaunchChoice();
    void ChooseProgramFile();
    void OnBoxChanged(bool focusLost);
    // The key page takes every key (the stop combination aside) from now on.
    void Listen();
    void OnHookKey(WPARAM virtualKey, LPARAM flags);
    std::unique_ptr<CBitmapEdit> MakeBox(const SkinDescription& skin, int entry, int id, DWORD extraStyle);
    std::wstring OptionText(UINT id) const;
    std::wstring CaptionText(const ButtonAssignment& record) const;

    uint8_t class_;
    assign::AssignModel& model_;
    const MacroLibrary& library_;
    const OptionContext& context_;
    CKeyboardHook hook_;

    RECT labels_[3]{};
    RECT defaultCaption_{};
    std::unique_ptr<CSkinButton> choice_;        // drop-down of the menu pages, macro name of the macro page
    std::unique_ptr<CSkinListBox> macroList_;
    std::unique_ptr<CSkinButton> repeatButton_;
    std::unique_ptr<CBitmapEdit> box_;           // key, repeat count or command
    RECT countFrame_{};
    std::unique_ptr<CSkinButton> programChoice_;
    std::unique_ptr<CSkinButton> pathButton_;
    std::unique_ptr<CSkinButton> commandChoice_;
    bool dropDownOpen_ = false;
    bool commandTyped_ = false;
    bool settingBox_ = false;
};
