#include "display_dpi.h"

namespace {

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and its predecessor, as the
// headers of older tool chains lack them.
const HANDLE kPerMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const HANDLE kPerMonitor = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
constexpr int kProcessPerMonitorDpiAware = 2;
constexpr int kMdtEffectiveDpi = 0;

template <typename Function>
Function Lookup(const wchar_t* module, const char* name) {
    HMODULE handle = GetModuleHandleW(module);
    if (!handle) handle = LoadLibraryW(module);  // shcore stays loaded for the process
    return handle ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name))) : nullptr;
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

void BecomeDpiAware() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    using SetAwareness = HRESULT(WINAPI*)(int);
    using SetAware = BOOL(WINAPI*)();
    if (auto set = Lookup<SetContext>(L"user32.dll", "SetProcessDpiAwarenessContext")) {
        if (set(kPerMonitorV2) || set(kPerMonitor)) return;
        // Already set, by the manifest: that is what was asked for.
        if (GetLastError() == ERROR_ACCESS_DENIED) return;
    }
    if (auto set = Lookup<SetAwareness>(L"shcore.dll", "SetProcessDpiAwareness")) {
        if (SUCCEEDED(set(kProcessPerMonitorDpiAware))) return;
    }
    if (auto set = Lookup<SetAware>(L"user32.dll", "SetProcessDPIAware")) set();
}

int DpiOfMonitorAt(POINT point) {
    using GetForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    if (auto get = Lookup<GetForMonitor>(L"shcore.dll", "GetDpiForMonitor")) {
        UINT x = 0, y = 0;
        if (HMONITOR monitor = MonitorFromPoint(point, MONITOR_DEFAULTTOPRIMARY);
            monitor && SUCCEEDED(get(monitor, kMdtEffectiveDpi, &x, &y)) && x > 0)
            return static_cast<int>(x);
    }
    return SystemDpi();
}

int DpiOfWindow(HWND window) {
    using GetForWindow = UINT(WINAPI*)(HWND);
    if (auto get = Lookup<GetForWindow>(L"user32.dll", "GetDpiForWindow")) {
        if (const UINT dpi = window ? get(window) : 0) return static_cast<int>(dpi);
    }
    RECT placed{};
    if (window && GetWindowRect(window, &placed)) return DpiOfMonitorAt(POINT{placed.left, placed.top});
    return SystemDpi();
}
