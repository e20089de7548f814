#pragma once
// The gallery window: a skinned, shaped main window with one of every skinned
// control, laid out by the gallery skin; or, for any other skin file, a plain
// skinned button for each of its entries.
//
// With a log file it writes a line for every click ("clicked N"), hover change
// ("hover N 1"), menu choice ("menu ID"), edit report ("edit N") and slider
// report ("slider VALUE RELEASED").
#include <windows.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bitmap_edit.h"
#include "click_slider.h"
#include "skin_button.h"
#include "skin_dialog.h"
#include "skin_label.h"

class CGalleryWindow : public CSkinDialog {
public:
    static constexpr wchar_t kTitle[] = L"7741 Skin Gallery";

    CGalleryWindow(std::u16string skinFile, std::wstring logPath);
    ~CGalleryWindow() override;
    void PlaceAt(int x, int y) {
        placed_ = true;
        x_ = x;
        y_ = y;
    }

protected:
    void CreateControls(const SkinDescription& skin, const SkinPictures& pictures) override;
    BOOL OnInitDialog() override;
    bool OnDialogCommand(WORD id, WORD code, HWND control) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    DragMode Drag() const override { return DragMode::kSelf; }

private:
    bool IsGallerySkin() const;
    void CreateGalleryControls(const SkinDescription& skin, const SkinPictures& pictures);
    void CreatePlainButtons(const SkinDescription& skin, const SkinPictures& pictures);
    CSkinButton* AddButton(int entry, const ButtonPos& pos, const SkinPictures& pictures);
    void ShowMenu();
    void Log(const std::string& line) const;

    std::wstring logPath_;
    std::vector<std::unique_ptr<CWindow>> controls_;
    std::map<HWND, int> entryOf_;  // buttons by handle, as windows tell their controls apart
    CSkinButton* menuButton_ = nullptr;   // not owned (in controls_)
    CSkinButton* closeButton_ = nullptr;  // not owned (in controls_)
    CClickSlider* slider_ = nullptr;     // not owned (in controls_)
    CSkinLabel* label_ = nullptr;         // not owned (in controls_): shows the slider's value
    bool placed_ = false;
    int x_ = 0;
    int y_ = 0;
};
