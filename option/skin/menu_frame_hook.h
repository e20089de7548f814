#pragma once
// CMenuFrameHook: the dark frame of every popup menu of the user-interface thread.
// A call-window-procedure hook spots each new popup-menu window ("#32768") and
// subclasses it while it is shown; its frame becomes one purple line and two
// dark ones instead of the platform's raised border. Menus are built and
// tracked as usual; nothing else needs to know.
#include <windows.h>

#include <cstddef>

class CMenuFrameHook {
public:
    static constexpr COLORREF kOuterColor = RGB(128, 21, 153);
    static constexpr COLORREF kInnerColor = RGB(16, 16, 16);
    static constexpr wchar_t kOldProcProperty[] = L"GmMenuFrameOldProc";

    // Installs the hook for the calling thread (once); returns it.
    static HHOOK Install();
    // Gives every dressed menu back its own procedure and removes the hook.
    static void Uninstall();
    static bool Installed();

    // For tests: the menus dressed right now, and whether their table exists.
    static size_t SubclassedCount();
    static bool TableAllocated();
    // Draws the three-line frame around the whole of `window` into `dc`.
    static void DrawFrame(HWND window, HDC dc);

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MenuProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void Subclass(HWND window);
    static void Unsubclass(HWND window);
};
