#include "device_notifier.h"

#include <dbt.h>

#include <cstddef>
#include <cwchar>
#include <optional>

#include "module_thread.h"
#include "plug_tracker.h"
#include "win32_hid_backend.h"

namespace hidio {

namespace {

// Posted by Stop: the window unregisters, destroys itself and ends the loop.
constexpr UINT kStopMessage = WM_APP + 0x41;

// The interface path a notice carries, when it is a HID interface notice. The
// structure comes from outside the library, so its size is trusted only as far
// as it is consistent, and the name is never read past it.
std::optional<std::wstring> NoticePath(LPARAM data, const GUID& hidClass) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (header == nullptr || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return std::nullopt;
    constexpr size_t kNameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    constexpr size_t kMaxSize = kNameOffset + 4096 * sizeof(wchar_t);
    if (header->dbch_size <= kNameOffset || header->dbch_size > kMaxSize) return std::nullopt;
    const auto* notice = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(data);
    if (!IsEqualGUID(notice->dbcc_classguid, hidClass)) return std::nullopt;
    const size_t maxChars = (header->dbch_size - kNameOffset) / sizeof(wchar_t);
    return std::wstring(notice->dbcc_name, wcsnlen(notice->dbcc_name, maxChars));
}

// The hidden window of the notifier thread. It does not build on the programs'
// CWindow: that registers its classes under the executable's instance for the
// life of the process, and a class left behind by a library that has since been
// unloaded would point at code that is gone. This class belongs to the
// library's own module and is unregistered when the thread ends.
class CDeviceWatchWindow {
public:
    CDeviceWatchWindow(MessageTarget& target, const HidSession& session)
        : target_(target), session_(session), hidClass_(HidInterfaceClass()) {}

    static ATOM Register(HINSTANCE instance) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &CDeviceWatchWindow::WindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = kNotifyWindowClass;
        return RegisterClassExW(&wc);
    }

    bool Create(HINSTANCE instance) {
        return CreateWindowExW(0, kNotifyWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this) !=
               nullptr;
    }

    bool RegisterNotices() {
        DEV_BROADCAST_DEVICEINTERFACE_W filter{};
        filter.dbcc_size = sizeof filter;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        filter.dbcc_classguid = hidClass_;
        notices_ = RegisterDeviceNotificationW(hwnd_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
        return notices_ != nullptr;
    }

    void Seed(IHidBackend& backend) {
        std::vector<std::wstring> present;
        for (const HidInterface& iface : backend.EnumerateInterfaces()) {
            if (iface.info.vendorId == session_.VendorId() && iface.info.productId == session_.ProductId()) {
                present.push_back(iface.path);
            }
        }
        tracker_.Seed(present);
    }

    HWND Handle() const { return hwnd_; }

    void Destroy() {
        if (notices_ != nullptr) {
            UnregisterDeviceNotification(notices_);
            notices_ = nullptr;
        }
        if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            auto* self = static_cast<CDeviceWatchWindow*>(create->lpCreateParams);
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<CDeviceWatchWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
        switch (message) {
        case WM_DEVICECHANGE:
            return self->OnDeviceChange(wParam, lParam);
        case kStopMessage:
            self->OnStop();
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
            PostQuitMessage(0);
            break;
        default:
            break;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    LRESULT OnDeviceChange(WPARAM event, LPARAM data) {
        if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return TRUE;
        const std::optional<std::wstring> path = NoticePath(data, hidClass_);
        if (!path || !PathMatchesVidPid(*path, session_.VendorId(), session_.ProductId())) return TRUE;
        const std::optional<PlugTracker::Plug> plug =
            event == DBT_DEVICEARRIVAL ? tracker_.OnArrival(*path) : tracker_.OnRemoval(*path);
        if (plug) target_.PostPlug(*plug == PlugTracker::Plug::kAttached);
        return TRUE;
    }

    void OnStop() { Destroy(); }

    MessageTarget& target_;
    const HidSession& session_;
    const GUID hidClass_;
    PlugTracker tracker_;
    HWND hwnd_ = nullptr;
    HDEVNOTIFY notices_ = nullptr;
};

}  // namespace

struct DeviceNotifier::Startup {
    KernelHandle ready;
    bool ok = false;
    HWND window = nullptr;
    DWORD threadId = 0;
};

DeviceNotifier::DeviceNotifier(IHidBackend& backend, MessageTarget& target, const HidSession& session)
    : backend_(backend), target_(target), session_(session) {}

DeviceNotifier::~DeviceNotifier() { Stop(); }

bool DeviceNotifier::Start() {
    if (thread_) return true;
    Startup startup;
    startup.ready.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!startup.ready) return false;
    KernelHandle thread = StartModuleThread([this, &startup] { ThreadMain(&startup); });
    if (!thread) return false;
    // The thread signals once its window is up (or has failed); if it dies
    // first, its handle is signalled instead.
    const HANDLE waits[2] = {startup.ready.get(), thread.get()};
    WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    if (!startup.ok) {
        WaitForSingleObject(thread.get(), INFINITE);
        return false;
    }
    window_ = startup.window;
    threadId_ = startup.threadId;
    thread_ = std::move(thread);
    return true;
}

void DeviceNotifier::ThreadMain(Startup* startup) {
    const HINSTANCE instance = ThisModule();
    // A class left registered by a previous run is fine; a missing one is not.
    if (!CDeviceWatchWindow::Register(instance) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        SetEvent(startup->ready.get());
        return;
    }
    {
        CDeviceWatchWindow window(target_, session_);
        const bool ok = window.Create(instance) && window.RegisterNotices();
        if (ok) window.Seed(backend_);
        startup->ok = ok;
        startup->window = window.Handle();
        startup->threadId = GetCurrentThreadId();
        // `startup` lives on the starting thread's stack: not touched after this.
        SetEvent(startup->ready.get());
        if (ok) {
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        window.Destroy();
    }
    UnregisterClassW(kNotifyWindowClass, instance);
}

void DeviceNotifier::Stop() {
    if (!thread_) return;
    if (!PostMessageW(window_, kStopMessage, 0, 0)) PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_.get(), INFINITE);
    thread_.Reset();
    window_ = nullptr;
    threadId_ = 0;
}

}  // namespace hidio
