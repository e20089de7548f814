#include "control_tooltip.h"

#include <commctrl.h>

#include <map>
#include <memory>

#include "skin_control.h"
#include "skin_rescale.h"
#include "skin_scale.h"
#include "window.h"

namespace {

// In the 100 % layout; the tip follows the skin scale like the skin's own texts.
constexpr int kTipFontHeight = 14;
// A longer tip wraps: a skin entry's text may run to hundreds of characters.
constexpr int kTipMaxWidth = 320;

// The tooltip control of one top-level window.
class CSharedTooltip : public CWindow {
public:
    explicit CSharedTooltip(HWND top) : top_(top) {}

    bool Create() {
        static const bool initialised = [] {
            INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
            return InitCommonControlsEx(&icc) != FALSE;
        }();
        (void)initialised;
        CreateParams p;
        p.className = L"GmSharedTooltip";
        p.title = nullptr;
        p.style = WS_POPUP | TTS_ALWAYSTIP;
        p.exStyle = WS_EX_TOPMOST;
        p.parent = top_;  // a pop-up's owner: the tooltip is destroyed with it
        if (!CreateSuperclassed(TOOLTIPS_CLASSW, p)) return false;
        TakeScale();
        SendMessageW(hwnd(), TTM_ACTIVATE, TRUE, 0);
        return true;
    }

protected:
    // The tooltip control runs on its own timers and messages: all of them go
    // to it. A change of skin scale reaches every top-level window of the
    // program, this one too.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == SkinRescaleMessage()) {
            TakeScale();
            return 0;
        }
        return DefaultProc(message, wParam, lParam);
    }
    void OnFinalMessage() override;

private:
    // The font and wrap width of the skin scale in use. A tip on screen goes:
    // the control measures a tip only as it shows it, and this one was placed
    // for the window's old place and size; the next rest shows it anew.
    void TakeScale() {
        DefaultProc(TTM_POP, 0, 0);
        DefaultProc(WM_SETFONT, reinterpret_cast<WPARAM>(SkinFont(kTipFontHeight)), FALSE);
        DefaultProc(TTM_SETMAXTIPWIDTH, 0, S(kTipMaxWidth));
    }

    HWND top_;  // not owned
};

// The shared tooltips of the thread's top-level windows. An entry goes when
// its tooltip window is destroyed, which its owner's destruction does.
std::map<HWND, std::unique_ptr<CSharedTooltip>>& Tooltips() {
    thread_local std::map<HWND, std::unique_ptr<CSharedTooltip>> tooltips;
    return tooltips;
}

void CSharedTooltip::OnFinalMessage() {
    Tooltips().erase(top_);  // deletes this object: nothing may follow
}

HWND TopLevelOf(HWND window) { return window ? GetAncestor(window, GA_ROOT) : nullptr; }

HWND ExistingTooltip(HWND top) {
    const auto& tooltips = Tooltips();
    const auto found = tooltips.find(top);
    return found == tooltips.end() ? nullptr : found->second->hwnd();
}

HWND TooltipFor(HWND top) {
    if (!top) return nullptr;
    if (HWND existing = ExistingTooltip(top)) return existing;
    auto tooltip = std::make_unique<CSharedTooltip>(top);
    if (!tooltip->Create()) return nullptr;
    HWND window = tooltip->hwnd();
    Tooltips()[top] = std::move(tooltip);
    return window;
}

// The tool record that every version of the common controls accepts.
TTTOOLINFOW ToolInfo(HWND control) {
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = control;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    return info;
}

}  // namespace

HWND CControlTooltip::SharedTooltipOf(HWND window) { return ExistingTooltip(TopLevelOf(window)); }

HWND CControlTooltip::Tooltip() const { return top_ ? ExistingTooltip(top_) : nullptr; }

void CControlTooltip::SetText(HWND control, const wchar_t* text, bool activate) {
    if (!text || !control) return;
    if (control != control_) Remove();
    control_ = control;
    text_ = text;
    active_ = activate;
    if (!activate || held_) {
        Remove();
        return;
    }
    if (!hasTool_) top_ = TopLevelOf(control);
    HWND tooltip = TooltipFor(top_);
    if (!tooltip) return;
    TTTOOLINFOW info = ToolInfo(control);
    info.lpszText = const_cast<wchar_t*>(text_.c_str());
    if (!hasTool_) {
        hasTool_ = SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
    } else {
        SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void CControlTooltip::Remove() {
    if (!hasTool_) return;
    hasTool_ = false;
    // Gone already when the whole window is being destroyed.
    if (HWND tooltip = Tooltip()) {
        TTTOOLINFOW info = ToolInfo(control_);
        SendMessageW(tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void CControlTooltip::Hold(bool hold) {
    if (hold == held_) return;
    held_ = hold;
    if (hold) {
        // The tip of the click that opened the list may show already, or be
        // about to: it goes with the tool.
        if (HWND tooltip = Tooltip()) SendMessageW(tooltip, TTM_POP, 0, 0);
        Remove();
        return;
    }
    if (active_ && control_) {
        const std::wstring text = text_;
        SetText(control_, text.c_str(), true);
    }
}

void CControlTooltip::Relay(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (!hasTool_) return;
    HWND tooltip = Tooltip();
    if (!tooltip) return;
    MSG msg{};
    msg.hwnd = control_;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(GetMessageTime());
    const DWORD pos = GetMessagePos();
    msg.pt = POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    SendMessageW(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}
