#pragma once
// Helpers for the device tests that run as Windows programs under Wine.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace wine_test {

// Pumps this thread's messages until `done` holds or `timeoutMs` passes.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 20000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

// A hidden top-level window that records the messages it is posted.
class MessageWindow {
public:
    struct Received {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    explicit MessageWindow(const wchar_t* title) {
        static const wchar_t* kClass = L"GM7741DeviceTestWindow";
        static bool registered = false;
        if (!registered) {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = &MessageWindow::Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = kClass;
            registered = RegisterClassExW(&wc) != 0;
        }
        hwnd_ = CreateWindowExW(0, kClass, title, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), this);
    }
    ~MessageWindow() {
        if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    }
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    int Count(UINT message) const {
        int n = 0;
        for (const Received& r : received) n += r.message == message ? 1 : 0;
        return n;
    }
    std::vector<Received> Of(UINT message) const {
        std::vector<Received> out;
        for (const Received& r : received)
            if (r.message == message) out.push_back(r);
        return out;
    }

    std::vector<Received> received;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        }
        auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self != nullptr && message >= WM_USER && message < 0x8000)
            self->received.push_back({message, wParam, lParam});
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    HWND hwnd_ = nullptr;  // owned
};

inline std::filesystem::path ExeFolder() {
    wchar_t path[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return std::filesystem::path(std::wstring(path, n)).parent_path();
}

}  // namespace wine_test
