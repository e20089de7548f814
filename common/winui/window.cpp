#include "window.h"

#include <map>
#include <string>
#include <utility>

namespace {

// The system procedure behind each superclass we registered, for windows that
// receive messages while no object is bound (before WM_NCCREATE, after unbinding).
std::map<std::wstring, WNDPROC>& SuperclassProcs() {
    static std::map<std::wstring, WNDPROC> procs;
    return procs;
}

WNDPROC BaseProcOf(HWND window) {
    wchar_t name[256];
    if (!GetClassNameW(window, name, 256)) return nullptr;
    const auto& procs = SuperclassProcs();
    const auto it = procs.find(name);
    return it == procs.end() ? nullptr : it->second;
}

// The object a PendingBinding announced for the next window of its class.
struct Pending {
    CWindow* window = nullptr;          // not owned
    const wchar_t* className = nullptr;  // not owned
};
thread_local Pending t_pending;

CWindow* TakePending(HWND window) {
    if (!t_pending.window || !t_pending.className) return nullptr;
    wchar_t name[256];
    if (!GetClassNameW(window, name, 256) || lstrcmpiW(name, t_pending.className) != 0) return nullptr;
    return std::exchange(t_pending.window, nullptr);
}

// The module this code lives in: the program, or a DLL that links the framework.
// Classes are registered under it, so a DLL's classes never outlive its code.
HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

LRESULT Unbound(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (WNDPROC base = BaseProcOf(window)) return CallWindowProcW(base, window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

CWindow::~CWindow() {
    if (hwnd_) {
        // Unbind first: the derived parts are gone, so no handler may run now.
        HWND window = hwnd_;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        DestroyWindow(window);
    }
}

CWindow::PendingBinding::PendingBinding(CWindow* window, const wchar_t* className)
    : previousWindow_(t_pending.window), previousClassName_(t_pending.className) {
    t_pending = Pending{window, className};
}

CWindow::PendingBinding::~PendingBinding() { t_pending = Pending{previousWindow_, previousClassName_}; }

CWindow* CWindow::FromHandle(HWND window) {
    if (!window) return nullptr;
    WNDPROC proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    if (proc != &CWindow::StaticWindowProc) return nullptr;
    return reinterpret_cast<CWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

bool CWindow::Create(const CreateParams& params) {
    HINSTANCE instance = ThisModule();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, params.className, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.style = params.classStyle;
        wc.lpfnWndProc = &CWindow::StaticWindowProc;
        wc.hInstance = instance;
        wc.hCursor = params.cursor;
        wc.hbrBackground = params.background;
        wc.lpszClassName = params.className;
        if (!RegisterClassExW(&wc)) return false;
    }
    return CreateBound(params);
}

bool CWindow::CreateSuperclassed(const wchar_t* baseClass, const CreateParams& params) {
    HINSTANCE instance = ThisModule();
    auto& procs = SuperclassProcs();
    const auto known = procs.find(params.className);
    if (known == procs.end()) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        if (!GetClassInfoExW(nullptr, baseClass, &wc)) return false;
        const WNDPROC systemProc = wc.lpfnWndProc;
        wc.lpfnWndProc = &CWindow::StaticWindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = params.className;
        if (!RegisterClassExW(&wc)) return false;
        procs.emplace(params.className, systemProc);
        baseProc_ = systemProc;
    } else {
        baseProc_ = known->second;
    }
    return CreateBound(params);
}

bool CWindow::CreateBound(const CreateParams& params) {
    HWND window = CreateWindowExW(params.exStyle, params.className, params.title, params.style, params.x, params.y,
                                  params.width, params.height, params.parent, params.menuOrId, ThisModule(),
                                  this);
    return window != nullptr && window == hwnd_;
}

LRESULT CALLBACK CWindow::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWindow* self = reinterpret_cast<CWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<CWindow*>(create->lpCreateParams);
        if (!self) self = TakePending(window);
        if (self) {
            self->hwnd_ = window;
            if (!self->baseProc_) self->baseProc_ = BaseProcOf(window);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    }
    if (!self) return Unbound(window, message, wParam, lParam);

    const LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnFinalMessage();  // may delete the object
    }
    return result;
}

LRESULT CWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (baseProc_) return CallWindowProcW(baseProc_, hwnd_, message, wParam, lParam);
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            if (DefaultProc(message, wParam, lParam) == -1) return -1;
            return OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam));
        }
        case WM_DESTROY:
            OnDestroy();
            return DefaultProc(message, wParam, lParam);
        case WM_TIMER:
            OnTimer(static_cast<UINT_PTR>(wParam));
            return 0;
        case WM_PAINT:
            if (OnPaint()) return 0;
            return DefaultProc(message, wParam, lParam);
        case WM_COMMAND: {
            HWND control = reinterpret_cast<HWND>(lParam);
            if (CWindow* child = FromHandle(control)) child->OnReflectedCommand(HIWORD(wParam));
            if (OnCommand(LOWORD(wParam), HIWORD(wParam), control)) return 0;
            return DefaultProc(message, wParam, lParam);
        }
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (CWindow* child = FromHandle(item->hwndItem))
                if (child->OnReflectedDrawItem(item)) return TRUE;
            return DefaultProc(message, wParam, lParam);
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSCROLLBAR: {
            if (CWindow* child = FromHandle(reinterpret_cast<HWND>(lParam)))
                if (HBRUSH brush = child->OnReflectedCtlColor(reinterpret_cast<HDC>(wParam)))
                    return reinterpret_cast<LRESULT>(brush);
            return DefaultProc(message, wParam, lParam);
        }
        case WM_HSCROLL:
        case WM_VSCROLL: {
            if (CWindow* child = FromHandle(reinterpret_cast<HWND>(lParam)))
                if (child->OnReflectedScroll(message, wParam)) return 0;
            return DefaultProc(message, wParam, lParam);
        }
        default:
            return DefaultProc(message, wParam, lParam);
    }
}
