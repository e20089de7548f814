#include "dpi_awareness.h"

#include "gdi.h"
#include "module_handle.h"

namespace {

constexpr UINT kDefaultDpi = 96;

// The awareness contexts are handles with fixed values, the same on every
// system that has them.
const auto kPerMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const auto kPerMonitor = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
constexpr int kProcessPerMonitorDpiAware = 2;  // PROCESS_DPI_AWARENESS in shcore
constexpr int kPerMonitorAwareness = 2;        // DPI_AWARENESS_PER_MONITOR_AWARE, v1 and v2 alike

template <typename Function>
Function User32Function(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

// Succeeded, or a manifest set the awareness first: either way the process has one.
bool Settled(bool succeeded) { return succeeded || GetLastError() == ERROR_ACCESS_DENIED; }

}  // namespace

void EnsurePerMonitorDpiAwareness() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    if (const auto setContext = User32Function<SetContext>("SetProcessDpiAwarenessContext")) {
        if (Settled(setContext(kPerMonitorV2)) || Settled(setContext(kPerMonitor))) return;
    }
    // Windows 8.1 has per-monitor awareness only in shcore.
    if (const ModuleHandle shcore(LoadLibraryW(L"shcore.dll")); shcore) {
        using SetAwareness = HRESULT(WINAPI*)(int);
        const auto setAwareness = reinterpret_cast<SetAwareness>(
            reinterpret_cast<void*>(GetProcAddress(shcore.get(), "SetProcessDpiAwareness")));
        // E_ACCESSDENIED: the manifest came first.
        const HRESULT result = setAwareness ? setAwareness(kProcessPerMonitorDpiAware) : E_NOTIMPL;
        if (SUCCEEDED(result) || result == E_ACCESSDENIED) return;
    }
    using SetAware = BOOL(WINAPI*)();
    if (const auto setAware = User32Function<SetAware>("SetProcessDPIAware")) setAware();
}

bool PerMonitorDpiAware() {
    using ThreadContext = HANDLE(WINAPI*)();
    using AwarenessOf = int(WINAPI*)(HANDLE);
    static const auto threadContext = User32Function<ThreadContext>("GetThreadDpiAwarenessContext");
    static const auto awarenessOf = User32Function<AwarenessOf>("GetAwarenessFromDpiAwarenessContext");
    return threadContext && awarenessOf && awarenessOf(threadContext()) == kPerMonitorAwareness;
}

UINT WindowDpi(HWND window) {
    using ForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = User32Function<ForWindow>("GetDpiForWindow");
    if (forWindow && window) {
        if (const UINT dpi = forWindow(window)) return dpi;
    }
    const ClientDC screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT MonitorDpiAt(POINT point) {
    using ForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    if (const ModuleHandle shcore(LoadLibraryW(L"shcore.dll")); shcore) {
        const auto forMonitor = reinterpret_cast<ForMonitor>(
            reinterpret_cast<void*>(GetProcAddress(shcore.get(), "GetDpiForMonitor")));
        UINT x = 0, y = 0;
        if (const HMONITOR monitor = MonitorFromPoint(point, MONITOR_DEFAULTTOPRIMARY);
            forMonitor && monitor && SUCCEEDED(forMonitor(monitor, kEffectiveDpi, &x, &y)) && x > 0)
            return x;
    }
    return WindowDpi(nullptr);
}

int SystemMetricForDpi(int index, UINT dpi) {
    using ForDpi = int(WINAPI*)(int, UINT);
    static const auto forDpi = User32Function<ForDpi>("GetSystemMetricsForDpi");
    return forDpi ? forDpi(index, dpi) : GetSystemMetrics(index);
}
