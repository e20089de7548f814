#include "menu_frame_hook.h"

#include "gdi.h"
#include "gdi_cache.h"
#include "menu_registry.h"
#include "module.h"

namespace {

struct MenuRecord {
    HWND window;  // not owned
};

thread_local HHOOK t_hook = nullptr;
thread_local MenuRegistry<HWND, MenuRecord> t_menus;

constexpr UINT kMenuSizeWindow = 0x1E2;  // MN_SIZEWINDOW: the menu window is (re)sized
constexpr wchar_t kMenuClass[] = L"#32768";

bool IsPopupMenuWindow(HWND window) {
    wchar_t name[10] = {};
    const int length = GetClassNameW(window, name, 10);
    return length == 6 && lstrcmpW(name, kMenuClass) == 0;
}

WNDPROC OldProcOf(HWND window) {
    return reinterpret_cast<WNDPROC>(GetPropW(window, CMenuFrameHook::kOldProcProperty));
}

}  // namespace

HHOOK CMenuFrameHook::Install() {
    if (t_hook) return t_hook;
    t_hook = SetWindowsHookExW(WH_CALLWNDPROC, &CMenuFrameHook::HookProc, CurrentModule(),
                               GetCurrentThreadId());
    return t_hook;
}

void CMenuFrameHook::Uninstall() {
    for (HWND window : t_menus.Keys()) Unsubclass(window);
    t_menus.Clear();
    if (t_hook) UnhookWindowsHookEx(t_hook);
    t_hook = nullptr;
}

bool CMenuFrameHook::Installed() { return t_hook != nullptr; }
size_t CMenuFrameHook::SubclassedCount() { return t_menus.Size(); }
bool CMenuFrameHook::TableAllocated() { return t_menus.Allocated(); }

LRESULT CALLBACK CMenuFrameHook::HookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if ((call->message == WM_CREATE || call->message == kMenuSizeWindow) && IsPopupMenuWindow(call->hwnd) &&
            !GetPropW(call->hwnd, kOldProcProperty))
            Subclass(call->hwnd);
    }
    return CallNextHookEx(t_hook, code, wParam, lParam);
}

void CMenuFrameHook::Subclass(HWND window) {
    t_menus.Add(window, MenuRecord{window});
    const LONG_PTR old = GetWindowLongPtrW(window, GWLP_WNDPROC);
    SetPropW(window, kOldProcProperty, reinterpret_cast<HANDLE>(old));
    if (!SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CMenuFrameHook::MenuProc))) {
        RemovePropW(window, kOldProcProperty);
        t_menus.Remove(window);
    }
}

void CMenuFrameHook::Unsubclass(HWND window) {
    if (WNDPROC old = OldProcOf(window)) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        RemovePropW(window, kOldProcProperty);
    }
    t_menus.Remove(window);  // the table goes with its last entry
}

void CMenuFrameHook::DrawFrame(HWND window, HDC dc) {
    if (!dc) return;
    RECT frame{};
    GetWindowRect(window, &frame);
    OffsetRect(&frame, -frame.left, -frame.top);
    FrameRect(dc, &frame, CachedBrush(kOuterColor));
    InflateRect(&frame, -1, -1);
    FrameRect(dc, &frame, CachedBrush(kInnerColor));
    InflateRect(&frame, -1, -1);
    FrameRect(dc, &frame, CachedBrush(kInnerColor));
}

LRESULT CALLBACK CMenuFrameHook::MenuProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC old = OldProcOf(window);
    if (!old) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_SHOWWINDOW:
            if (!wParam) Unsubclass(window);
            return CallWindowProcW(old, window, message, wParam, lParam);
        case WM_NCDESTROY:
            Unsubclass(window);
            return CallWindowProcW(old, window, message, wParam, lParam);
        case WM_NCPAINT: {
            WindowDC dc(window);
            DrawFrame(window, dc.get());
            return 0;
        }
        case WM_PRINT: {
            const LRESULT result = CallWindowProcW(old, window, message, wParam, lParam);
            DrawFrame(window, reinterpret_cast<HDC>(wParam));
            return result;
        }
        case WM_PAINT: {
            const LRESULT result = CallWindowProcW(old, window, message, wParam, lParam);
            // Where the platform draws the menu's border inside the client area
            // (no non-client frame at all), the frame goes over it after the paint.
            RECT client{}, whole{};
            GetClientRect(window, &client);
            GetWindowRect(window, &whole);
            if (client.right == whole.right - whole.left && client.bottom == whole.bottom - whole.top) {
                WindowDC dc(window);
                DrawFrame(window, dc.get());
            }
            return result;
        }
        default:
            return CallWindowProcW(old, window, message, wParam, lParam);
    }
}
