#pragma once
// CInsertPanel: the macro page's panel for changing a macro in the middle. It
// lies over the page's recorder while the page's own controls are disabled,
// inserts a delay before or after the selected step or records new steps
// there, and reports everything to the page as posted messages. The page keeps
// the backup that Cancel goes back to.
#include <memory>

#include "bitmap_edit.h"
#include "skin_button.h"
#include "skin_page.h"

// Posted to the macro page.
inline constexpr UINT WM_INSERT_CANCEL = 0x46D;  // undo what the panel did, close
inline constexpr UINT WM_INSERT_CLOSE = 0x46E;   // keep it, close
inline constexpr UINT WM_INSERT_STOP = 0x46F;    // stop the insert recording
// Start recording at the selected step: LOWORD(wParam) the delay mode 0-2,
// HIWORD(wParam) 0 before / 1 after the step, lParam the fixed delay (ms).
inline constexpr UINT WM_INSERT_RECORD = 0x470;
// Insert a delay step: wParam 0 before / 1 after, lParam the delay (ms).
inline constexpr UINT WM_INSERT_DELAY = 0x471;

class OptionContext;

class CInsertPanel : public CSkinPage {
public:
    explicit CInsertPanel(const OptionContext& context);
    ~CInsertPanel() override;

    // Shows the panel over the page with the delay sub-panel ready the first time.
    void Open();
    // The page stopped a recording by itself: the record button reads "Record"
    // again and the mode controls come back.
    void ShowStopped();
    // The record button of the recording sub-panel, while it exists.
    HWND RecordButton() const;
    int Choice() const { return choice_; }

protected:
    void CreateControls(const SkinDescription& skin, const SkinPictures& pictures) override;
    bool OnDialogCommand(WORD id, WORD code, HWND control) override;
    void PaintOver(HDC dc, const RECT& client) override;
    DragMode Drag() const override { return DragMode::kNone; }

private:
    class DelayPanel;
    class RecordPanel;

    void ShowChoiceMenu();
    void Choose(int choice);
    void Apply();
    void Cancel();
    void PostToPage(UINT message, WPARAM wParam, LPARAM lParam) const;

    const OptionContext& context_;
    std::unique_ptr<CSkinButton> choiceButton_;
    std::unique_ptr<CSkinButton> applyButton_;
    std::unique_ptr<CSkinButton> cancelButton_;
    std::unique_ptr<DelayPanel> delayPanel_;
    std::unique_ptr<RecordPanel> recordPanel_;
    SkinRect subPanelArea_{};
    RECT heading_{};
    int choice_ = 0;
};
