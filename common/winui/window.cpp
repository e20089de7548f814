#include "window.h"

#include <windowsx.h>

#include <map>
#include <string>
#include <utility>

#include "accessible_object.h"
#include "module.h"
#include "owner_draw_menu.h"

namespace {

// The object bound to a window, and where the window's unhandled messages go
// when no object is bound (before WM_NCCREATE, and after the object let go of
// a window that is still being destroyed).
const wchar_t* ObjectProperty() {
    static const ATOM atom = GlobalAddAtomW(L"GmWindowObject");
    return MAKEINTATOM(atom);
}
const wchar_t* DefaultProperty() {
    static const ATOM atom = GlobalAddAtomW(L"GmWindowDefaultProc");
    return MAKEINTATOM(atom);
}

// The system procedure behind each superclass we registered, for messages that
// come before WM_NCCREATE binds the window.
std::map<std::wstring, WNDPROC>& SuperclassProcs() {
    static std::map<std::wstring, WNDPROC> procs;
    return procs;
}

WNDPROC SuperclassProcOf(HWND window) {
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

LRESULT Unbound(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC proc = reinterpret_cast<WNDPROC>(GetPropW(window, DefaultProperty()));
    if (!proc) proc = SuperclassProcOf(window);
    const LRESULT result =
        proc ? CallWindowProcW(proc, window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) RemovePropW(window, DefaultProperty());
    return result;
}

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

CWindow::~CWindow() {
    // Handlers of this object may still be on the stack (it was deleted from
    // inside one): they must not touch it when they return.
    for (DispatchFrame* frame = frames_; frame; frame = frame->outer) frame->self = nullptr;
    frames_ = nullptr;
    if (hwnd_) {
        // Unbind first: the derived parts are gone, so no handler may run now.
        // The window's default procedure stays, so a dialog's destruction still
        // runs through the dialog manager and frees what it made.
        HWND window = hwnd_;
        Unbind();
        DestroyWindow(window);
    }
    if (MessageWatcher* watcher = std::exchange(watcher_, nullptr)) watcher->WatchedWindowGone();
}

CWindow::PendingBinding::PendingBinding(CWindow* window, const wchar_t* className)
    : previousWindow_(t_pending.window), previousClassName_(t_pending.className) {
    t_pending = Pending{window, className};
}

CWindow::PendingBinding::~PendingBinding() { t_pending = Pending{previousWindow_, previousClassName_}; }

CWindow* CWindow::FromHandle(HWND window) {
    if (!window) return nullptr;
    return static_cast<CWindow*>(GetPropW(window, ObjectProperty()));
}

bool CWindow::Create(const CreateParams& params) {
    HINSTANCE instance = CurrentModule();
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
    HINSTANCE instance = CurrentModule();
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
                                  params.width, params.height, params.parent, params.menuOrId, CurrentModule(),
                                  this);
    return window != nullptr && window == hwnd_;
}

void CWindow::Bind(HWND window) {
    hwnd_ = window;
    finalPending_ = false;
    if (!baseProc_) baseProc_ = SuperclassProcOf(window);
    SetPropW(window, ObjectProperty(), static_cast<HANDLE>(this));
    if (baseProc_) SetPropW(window, DefaultProperty(), reinterpret_cast<HANDLE>(baseProc_));
}

void CWindow::Unbind() {
    if (hwnd_ && GetPropW(hwnd_, ObjectProperty()) == static_cast<HANDLE>(this))
        RemovePropW(hwnd_, ObjectProperty());
    hwnd_ = nullptr;
    if (MessageWatcher* watcher = std::exchange(watcher_, nullptr)) watcher->WatchedWindowGone();
}

LRESULT CALLBACK CWindow::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWindow* self = FromHandle(window);
    if (message == WM_NCCREATE && !self) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<CWindow*>(create->lpCreateParams);
        if (!self) self = TakePending(window);
        if (self) self->Bind(window);
    }
    if (!self) return Unbound(window, message, wParam, lParam);
    if (message == WM_GETOBJECT) {
        if (const LRESULT answer = AnswerAccessibleObject(window, wParam, lParam)) return answer;
    }
    const LRESULT result = self->Dispatch(message, wParam, lParam);
    // The object may be gone now; the window's described client is asked afresh.
    AccessibleAnswer described;
    if (message == WM_SETFOCUS && AccessibleAnswerOf(window, described)) NotifyAccessible(window, EVENT_OBJECT_FOCUS);
    return result;
}

LRESULT CWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = hwnd_;
    DispatchFrame frame{this, frames_, message, wParam, lParam};
    frames_ = &frame;
    const LRESULT result = HandleMessage(message, wParam, lParam);
    if (frame.self && watcher_) watcher_->AfterMessage(message, wParam, lParam, result);
    if (!frame.self) {
        // The object was deleted inside the handler; its destructor let go of
        // the window. The dialog manager's last words still belong to it.
        if (message == WM_NCDESTROY) RemovePropW(window, DefaultProperty());
        return result;
    }
    frames_ = frame.outer;
    if (message == WM_NCDESTROY) {
        // The window is gone: its properties go with it now, the object's
        // binding when the outermost message returns.
        RemovePropW(window, ObjectProperty());
        RemovePropW(window, DefaultProperty());
        finalPending_ = true;
    }
    if (finalPending_ && !frames_) {
        finalPending_ = false;
        hwnd_ = nullptr;
        if (MessageWatcher* watcher = std::exchange(watcher_, nullptr)) watcher->WatchedWindowGone();
        OnFinalMessage();  // may delete the object: nothing touches it after this
    }
    return result;
}

void CWindow::SetAccessibleName(std::wstring name) {
    if (name == accessibleName_) return;
    accessibleName_ = std::move(name);
    if (hwnd_) NotifyAccessible(hwnd_, EVENT_OBJECT_NAMECHANGE);
}

bool CWindow::ReflectMeasureItem(HWND control, MEASUREITEMSTRUCT* item) {
    CWindow* target = FromHandle(control);
    return target && item && target->OnReflectedMeasureItem(item);
}

LRESULT CWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (baseProc_) return CallWindowProcW(baseProc_, hwnd_, message, wParam, lParam);
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CWindow::DefaultProc() {
    if (!frames_) return 0;
    return DefaultProc(frames_->message, frames_->wParam, frames_->lParam);
}

// Messages a parent hands back to the child control they are about. Sets
// `handled` when the child's object took it.
LRESULT CWindow::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = false;
    switch (message) {
        case WM_COMMAND: {
            // Menus and accelerators send no control handle.
            if (CWindow* child = lParam ? FromHandle(reinterpret_cast<HWND>(lParam)) : nullptr)
                handled = child->OnReflectedCommand(HIWORD(wParam));
            return 0;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            LRESULT result = 0;
            if (CWindow* child = header ? FromHandle(header->hwndFrom) : nullptr)
                handled = child->OnReflectedNotify(header, result);
            return result;
        }
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (!item) return FALSE;
            if (item->CtlType == ODT_MENU) {
                handled = RouteMenuDrawItem(item);
            } else if (CWindow* child = FromHandle(item->hwndItem)) {
                handled = child->OnReflectedDrawItem(item);
            }
            return TRUE;
        }
        case WM_MEASUREITEM: {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (!item) return FALSE;
            if (item->CtlType == ODT_MENU) {
                handled = RouteMenuMeasureItem(item);
            } else if (CWindow* child = FromHandle(GetDlgItem(hwnd_, static_cast<int>(item->CtlID)))) {
                // The item carries no handle: the control is found by its id.
                handled = child->OnReflectedMeasureItem(item);
            }
            return TRUE;
        }
        case WM_COMPAREITEM: {
            auto* item = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam);
            int order = 0;
            if (CWindow* child = item ? FromHandle(item->hwndItem) : nullptr)
                handled = child->OnReflectedCompareItem(item, order);
            return order;
        }
        case WM_DELETEITEM: {
            auto* item = reinterpret_cast<DELETEITEMSTRUCT*>(lParam);
            if (CWindow* child = item ? FromHandle(item->hwndItem) : nullptr)
                handled = child->OnReflectedDeleteItem(item);
            return TRUE;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSCROLLBAR: {
            HBRUSH brush = nullptr;
            if (CWindow* child = FromHandle(reinterpret_cast<HWND>(lParam)))
                brush = child->OnReflectedCtlColor(reinterpret_cast<HDC>(wParam));
            handled = brush != nullptr;
            return reinterpret_cast<LRESULT>(brush);
        }
        case WM_HSCROLL:
        case WM_VSCROLL: {
            if (CWindow* child = lParam ? FromHandle(reinterpret_cast<HWND>(lParam)) : nullptr)
                handled = child->OnReflectedScroll(message, wParam);
            return 0;
        }
        default:
            return 0;
    }
}

LRESULT CWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const LRESULT reflected = HandleReflected(message, wParam, lParam, handled);
    if (handled) return reflected;

    bool done = false;
    switch (message) {
        case WM_CREATE: {
            if (DefaultProc(message, wParam, lParam) == -1) return -1;
            return OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam));
        }
        case WM_DESTROY:
            OnDestroy();
            return DefaultProc(message, wParam, lParam);
        case WM_TIMER:
            done = OnTimer(static_cast<UINT_PTR>(wParam));
            break;
        case WM_PAINT:
            done = OnPaint();
            break;
        case WM_COMMAND:
            done = OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            break;
        case WM_MOUSEMOVE:
            done = OnMouseMove(PointOf(lParam), static_cast<UINT>(wParam));
            break;
        case WM_LBUTTONDOWN:
            done = OnLButtonDown(PointOf(lParam), static_cast<UINT>(wParam));
            break;
        case WM_LBUTTONUP:
            done = OnLButtonUp(PointOf(lParam), static_cast<UINT>(wParam));
            break;
        case WM_LBUTTONDBLCLK:
            done = OnLButtonDblClk(PointOf(lParam), static_cast<UINT>(wParam));
            break;
        case WM_RBUTTONDOWN:
            done = OnRButtonDown(PointOf(lParam), static_cast<UINT>(wParam));
            break;
        case WM_RBUTTONUP:
            done = OnRButtonUp(PointOf(lParam), static_cast<UINT>(wParam));
            break;
        case WM_MOUSEWHEEL:
            done = OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam), GET_KEYSTATE_WPARAM(wParam), PointOf(lParam));
            break;
        case WM_MOUSELEAVE:
            done = OnMouseLeave();
            break;
        case WM_CAPTURECHANGED:
            done = OnCaptureChanged(reinterpret_cast<HWND>(lParam));
            break;
        case WM_KILLFOCUS:
            done = OnKillFocus(reinterpret_cast<HWND>(wParam));
            break;
        case WM_SIZE:
            done = OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
            break;
        case WM_KEYDOWN:
            done = OnKeyDown(static_cast<UINT>(wParam), static_cast<UINT>(lParam));
            break;
        case WM_KEYUP:
            done = OnKeyUp(static_cast<UINT>(wParam), static_cast<UINT>(lParam));
            break;
        default:
            break;
    }
    if (done) return 0;
    // What nobody handled, reflected item messages included, gets the default.
    return DefaultProc(message, wParam, lParam);
}
