// The nine exports of devio.dll for the real mouse, over the Windows HID API.
//
// The library state lives in one object made on first use. It is freed when the
// library is unloaded only if nothing is open any more; otherwise it is left
// alone, since tearing down channels or threads is no work for DllMain.
#include <windows.h>

#include <atomic>
#include <string>
#include <string_view>

#include "devio_api.h"
#include "device_notifier.h"
#include "hid_session.h"
#include "message_target.h"
#include "win32_hid_backend.h"

namespace {

using namespace hidio;

void DebugLine(std::string_view text) {
    std::wstring line = L"devio: ";
    line.append(text.begin(), text.end());  // the session's lines are plain ASCII
    line += L"\n";
    OutputDebugStringW(line.c_str());
}

struct HidLibrary {
    HidLibrary() { session.SetDebugLog(&DebugLine); }
    bool Idle() const { return session.IsIdle() && !notifier.Running(); }

    Win32HidBackend backend;
    MessageTarget target;
    HidSession session{backend, target};
    DeviceNotifier notifier{backend, target, session};
};

std::atomic<HidLibrary*> g_library{nullptr};

// Made on first use, on the caller's thread, never in DllMain. No function-local
// static: its guard would take a lock of the runtime that leaks a handle per load.
HidLibrary& Library() {
    HidLibrary* library = g_library.load();
    if (library != nullptr) return *library;
    auto* made = new HidLibrary();
    if (g_library.compare_exchange_strong(library, made)) return *made;
    delete made;  // another thread was first; `library` now holds its object
    return *library;
}

struct LibraryRelease {
    ~LibraryRelease() {
        HidLibrary* library = g_library.load();
        if (library != nullptr && library->Idle()) delete library;
    }
} g_libraryRelease;

// Nothing may leave an export as an exception: the caller is plain C.
template <typename Body>
int Guarded(const char* name, Body body) {
    try {
        return body() ? 1 : 0;
    } catch (...) {
        DebugLine(std::string(name) + ": failed (out of memory)");
        return 0;
    }
}

bool ValidMessage(int message) { return message > 0 && message <= 0xFFFF; }

}  // namespace

extern "C" {

__declspec(dllexport) int Set_VIDPID(int vendorId, int productId) {
    return Guarded("Set_VIDPID", [&] { return Library().session.SetVidPid(vendorId, productId); });
}

__declspec(dllexport) int Open_DevMonitor(void* window, int eventMessage, int plugMessage) {
    return Guarded("Open_DevMonitor", [&] {
        const HWND hwnd = static_cast<HWND>(window);
        if (hwnd == nullptr || !IsWindow(hwnd) || !ValidMessage(eventMessage) || !ValidMessage(plugMessage)) {
            DebugLine("Open_DevMonitor: needs a window and two message numbers 1-65535");
            return false;
        }
        HidLibrary& library = Library();
        library.target.Set(hwnd, static_cast<UINT>(eventMessage), static_cast<UINT>(plugMessage));
        if (!library.notifier.Start()) {
            DebugLine("Open_DevMonitor: cannot watch for the mouse being attached and removed");
            library.target.Clear();
            return false;
        }
        return true;
    });
}

__declspec(dllexport) int Close_DevMonitor(void) {
    return Guarded("Close_DevMonitor", [] {
        HidLibrary& library = Library();
        const bool wasRunning = library.notifier.Running();
        library.notifier.Stop();
        library.target.Clear();
        return wasRunning;
    });
}

__declspec(dllexport) int Open_FeatureDevice(void) {
    return Guarded("Open_FeatureDevice", [] { return Library().session.OpenFeature(); });
}

__declspec(dllexport) int Close_FeatureDevice(void) {
    return Guarded("Close_FeatureDevice", [] { return Library().session.CloseFeature(); });
}

__declspec(dllexport) int Open_ReportDevice(void) {
    return Guarded("Open_ReportDevice", [] { return Library().session.OpenReport(); });
}

__declspec(dllexport) int Close_ReportDevice(void) {
    return Guarded("Close_ReportDevice", [] { return Library().session.CloseReport(); });
}

__declspec(dllexport) int SetFeature(unsigned char* bytes, int length) {
    return Guarded("SetFeature", [&] { return Library().session.SetFeature(bytes, length); });
}

__declspec(dllexport) int WriteUSB(unsigned char* bytes, int length) {
    return Guarded("WriteUSB", [&] { return Library().session.WriteUsb(bytes, length); });
}

}  // extern "C"

#include "devio_export_check.h"
