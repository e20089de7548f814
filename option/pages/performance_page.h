#pragma once
// PerformancePage: the configuration page's sub-page for the DPI of the
// active level, the Windows pointer speed and the polling rate. Every change
// goes into the current profile; a slider applies when the user lets go, the
// menu and the levels dialog at once.
#include <memory>

#include "click_slider.h"
#include "skin_button.h"
#include "skin_label.h"
#include "skin_page.h"

class OptionContext;
class OptionSession;

class PerformancePage : public CSkinPage {
public:
    explicit PerformancePage(const OptionContext& context);

    void Refresh() override;

protected:
    void CreateControls(const SkinDescription& skin, const SkinPictures& pictures) override;
    bool OnDialogCommand(WORD id, WORD code, HWND control) override;
    void PaintOver(HDC dc, const RECT& client) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnSlider(int id, int value);
    void ShowPollingMenu();
    void ShowLevelsDialog();
    void ShowPollingCaption();
    void ShowDpi(int value);

    const OptionContext& context_;
    OptionSession& session_;
    std::unique_ptr<CClickSlider> dpiSlider_;
    std::unique_ptr<CClickSlider> speedSlider_;
    std::unique_ptr<CSkinLabel> dpiLabel_;
    std::unique_ptr<CSkinButton> levelsButton_;
    std::unique_ptr<CSkinButton> pollingButton_;
    RECT captions_[7]{};
    RECT levelBox_{};
};
