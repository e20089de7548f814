#pragma once
// DpiLevelsDialog: how many DPI levels the mouse's DPI button cycles through,
// and the DPI of each. It edits a copy; the caller takes it only when the
// dialog ends with IDOK.
#include <array>
#include <memory>

#include "click_slider.h"
#include "performance_model.h"
#include "skin_button.h"
#include "skin_dialog.h"

class OptionContext;

class DpiLevelsDialog : public CSkinDialog {
public:
    DpiLevelsDialog(performance::DpiLevels levels, const OptionContext& context);

    const performance::DpiLevels& Levels() const { return levels_; }

protected:
    void CreateControls(const SkinDescription& skin, const SkinPictures& pictures) override;
    BOOL OnInitDialog() override;
    bool OnDialogCommand(WORD id, WORD code, HWND control) override;
    void PaintOver(HDC dc, const RECT& client) override;
    void OnBackgroundPress(POINT client) override;
    DragMode Drag() const override { return DragMode::kSelf; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowCountMenu();
    void ShowCount();
    void InvalidateRows();

    performance::DpiLevels levels_;
    const OptionContext& context_;
    std::unique_ptr<CClickSlider> slider_;
    std::unique_ptr<CSkinButton> countButton_;
    std::unique_ptr<CSkinButton> acceptButton_;
    std::unique_ptr<CSkinButton> cancelButton_;
    std::unique_ptr<CSkinButton> closeButton_;
    std::array<RECT, kDpiLevels> rows_{};
    std::array<RECT, kDpiLevels> rowCaptions_{};
    std::array<RECT, kDpiLevels> rowValues_{};
    RECT captions_[2]{};
};
