#include "button_tooltip.h"

#include <commctrl.h>

#include "module.h"

namespace {

// The tool record that every version of the common controls accepts.
TTTOOLINFOW ToolInfo(HWND button) {
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = button;
    info.uId = 1;
    return info;
}

}  // namespace

CButtonTooltip::~CButtonTooltip() { Destroy(); }

void CButtonTooltip::Destroy() {
    if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
    tooltip_ = nullptr;
    hasTool_ = false;
}

bool CButtonTooltip::Ensure() {
    if (tooltip_) return true;
    static const bool initialised = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)initialised;
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                               CurrentModule(), nullptr);
    if (!tooltip_) return false;
    SendMessageW(tooltip_, TTM_ACTIVATE, FALSE, 0);
    return true;
}

void CButtonTooltip::SetText(HWND button, const wchar_t* text, bool activate) {
    if (!text || !button || !Ensure()) return;
    text_ = text;
    TTTOOLINFOW info = ToolInfo(button);
    info.lpszText = const_cast<wchar_t*>(text_.c_str());
    if (!hasTool_) {
        GetClientRect(button, &info.rect);
        hasTool_ = SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
    }
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageW(tooltip_, TTM_ACTIVATE, activate ? TRUE : FALSE, 0);
}

void CButtonTooltip::Relay(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!tooltip_) return;
    MSG msg{};
    msg.hwnd = button;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(GetMessageTime());
    const DWORD pos = GetMessagePos();
    msg.pt = POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}
