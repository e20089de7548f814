#pragma once
// CMainWindow: Option's only top-level window. A skinned dialog with a
// minimise and a close button, two page tabs and the page area where the
// configuration page and the macro page take turns. It owns the settings of
// the run (OptionSession), the texts and the context its pages are handed,
// and answers the Monitor's messages.
#include <functional>
#include <memory>

#include "dialog_key_filter.h"
#include "kernel_handle.h"
#include "lazy_page.h"
#include "monitor_port_win32.h"
#include "option_context.h"
#include "option_session.h"
#include "skin_button.h"
#include "skin_dialog.h"
#include "skin_label.h"
#include "text_library.h"

class CConfigPage;
class CMacroPage;
class CSkinPage;
class ISharedLock;

class CMainWindow : public CSkinDialog {
public:
    enum class Page { kConfig, kMacros };

    CMainWindow();
    ~CMainWindow() override;

    void ShowPage(Page page);

protected:
    int OnCreate(CREATESTRUCTW* create) override;
    BOOL OnInitDialog() override;
    void OnDestroy() override;
    bool OnDialogCommand(WORD id, WORD code, HWND control) override;
    void OnOK() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void CreateControls(const SkinDescription& skin, const SkinPictures& pictures) override;
    DragMode Drag() const override { return DragMode::kSelf; }
    void OnBackgroundPress(POINT client) override;

private:
    void Bind(CSkinButton* button, std::function<void()> clicked);
    void CloseTransients();
    void OnProfileChanged();
    void CloseNow();
    // Ctrl+PageDown and Ctrl+PageUp, before the dialog manager: true when taken.
    bool OnDialogKey(const MSG& message);
    // The badge says the mouse is missing: changes are saved, and the Monitor
    // sends them when it arrives.
    void ShowMouseStatus(bool connected);

    std::unique_ptr<ISharedLock> lock_;
    CTextLibrary texts_;
    CMonitorPort monitor_;
    std::unique_ptr<OptionSession> session_;
    std::unique_ptr<OptionContext> context_;
    std::unique_ptr<CSkinButton> minimize_;
    std::unique_ptr<CSkinButton> close_;
    std::unique_ptr<CSkinButton> configTab_;
    std::unique_ptr<CSkinButton> macroTab_;
    std::unique_ptr<CSkinLabel> mouseStatus_;
    std::unique_ptr<CConfigPage> configPage_;
    SkinRect pageArea_{};  // where the pages lie
    // Built when its tab is first chosen.
    LazyPage<CMacroPage> macroPage_;
    Page shown_ = Page::kConfig;
    CDialogKeyFilter keys_;
};
