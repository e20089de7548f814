#pragma once
// CWindow: the base of every window and control of the two programs.
//
// One static window procedure binds the C++ object to its window at
// WM_NCCREATE (through CREATESTRUCT::lpCreateParams) and dispatches every
// message to virtual handlers; what a class does not handle goes to
// DefWindowProc, or to the system class's own procedure for controls built on
// BUTTON, EDIT and the like (registered as superclasses, so they bind at
// WM_NCCREATE too), or to the dialog manager for dialogs.
//
// The binding is a window property, so a window that someone else subclasses
// later (a menu frame) is still found and still gets its reflected messages;
// an object of ours that follows another's messages (the scroll-bar frame
// around a list) watches it through MessageWatcher instead. Parents reflect WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM, WM_CTLCOLOR* and
// scroll messages back to the child's object, so each control paints and
// decides for itself; what the child handles never reaches the parent.
//
// Lifetime: a handler may destroy its own window, end a modeless dialog or
// delete its object. The object forgets its window and gets OnFinalMessage
// only when the outermost message of its window returns, and a deleted object
// is never touched again by the frames still on the stack.
#include <windows.h>

#include <string>

#include "accessible_rules.h"

class CWindow {
public:
    CWindow() = default;
    virtual ~CWindow();
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    HWND hwnd() const { return hwnd_; }

    struct CreateParams {
        const wchar_t* className = nullptr;
        const wchar_t* title = L"";
        DWORD style = 0;
        DWORD exStyle = 0;
        int x = CW_USEDEFAULT;
        int y = CW_USEDEFAULT;
        int width = CW_USEDEFAULT;
        int height = CW_USEDEFAULT;
        HWND parent = nullptr;  // not owned
        HMENU menuOrId = nullptr;
        UINT classStyle = 0;    // used when the class is registered here
        HCURSOR cursor = nullptr;
        HBRUSH background = nullptr;  // not owned; a system colour brush or null
    };

    // Registers `className` with the shared window procedure (once per process)
    // and creates the window bound to this object.
    bool Create(const CreateParams& params);
    // Registers `params.className` as a superclass of the system class
    // `baseClass` (BUTTON, EDIT, LISTBOX, SCROLLBAR ...) and creates the control
    // bound to this object; unhandled messages go to the system class.
    bool CreateSuperclassed(const wchar_t* baseClass, const CreateParams& params);

    // The object bound to a window of ours, or null.
    static CWindow* FromHandle(HWND window);

    // What a screen reader is told about this window: a control fills in its
    // role and texts, the toolkit adds visibility, enabling and focus and
    // answers WM_GETOBJECT with it (accessible_object.h). False, the default,
    // leaves the question to the default procedure.
    virtual bool Describe(AccessibleFacts& facts) const { return false; }
    // The parts a screen reader finds inside the window (a list's rows), as
    // its simple children 1 to the count; each part describes itself as a
    // window does, `index` counting from 0.
    virtual int AccessibleItemCount() const { return 0; }
    virtual bool DescribeItem(int index, AccessibleFacts& facts) const { return false; }
    // A name given by the owner (a slider's meaning, a hot spot's button),
    // which wins over the control's caption and tooltip. Listeners hear of a change.
    void SetAccessibleName(std::wstring name);
    const std::wstring& AccessibleName() const { return accessibleName_; }

    // Another object that follows this window's messages, as a frame around a
    // control does: subclassing through the object instead of the window
    // procedure, so the control keeps its one procedure and its binding.
    class MessageWatcher {
    public:
        // After this window's object has handled a message. `result` is what
        // the message returns; what lParam points to may be changed (a frame
        // widens a WM_NCCALCSIZE rectangle).
        virtual void AfterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT result) = 0;
        // The object lets go of its window (the window is destroyed, or the
        // object deleted first). The watch has ended when this is called.
        virtual void WatchedWindowGone() = 0;

    protected:
        ~MessageWatcher() = default;
    };
    // One watcher per window; null ends the watch. The watcher is not owned
    // and must end its watch before it goes.
    void SetWatcher(MessageWatcher* watcher) { watcher_ = watcher; }
    MessageWatcher* Watcher() const { return watcher_; }

protected:
    // Every message of the window. The default sends the common messages to the
    // On... handlers below and everything else to DefaultProc. Classes that
    // have messages of their own override it and call the base for the rest.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // DefWindowProc, the system class's procedure for a superclassed control,
    // or the dialog manager's for a dialog.
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    // DefaultProc for the message being handled now, for typed handlers that
    // want the default behaviour before or after their own.
    LRESULT DefaultProc();

    // Return -1 to refuse the window; called after the default WM_CREATE processing.
    virtual int OnCreate(CREATESTRUCTW* create) { return 0; }
    virtual void OnDestroy() {}
    // The last call for a window: it is gone and the object no longer bound.
    // Comes when the outermost message of the window has returned, so the
    // object may delete itself here.
    virtual void OnFinalMessage() {}
    // Return false to let the default procedure have the timer (a system
    // control runs its own timers through it).
    virtual bool OnTimer(UINT_PTR id) { return false; }
    // Commands and control notifications. Return true when handled.
    virtual bool OnCommand(WORD id, WORD code, HWND control) { return false; }
    // Return false to let the default painting run.
    virtual bool OnPaint() { return false; }

    // Typed input handlers. `at` is in client coordinates, `keys` the MK_*
    // flags. Return true when handled; false lets the default procedure run
    // (a handler that wants the default first calls DefaultProc() itself and
    // returns true).
    virtual bool OnMouseMove(POINT at, UINT keys) { return false; }
    virtual bool OnLButtonDown(POINT at, UINT keys) { return false; }
    virtual bool OnLButtonUp(POINT at, UINT keys) { return false; }
    virtual bool OnLButtonDblClk(POINT at, UINT keys) { return false; }
    virtual bool OnRButtonDown(POINT at, UINT keys) { return false; }
    virtual bool OnRButtonUp(POINT at, UINT keys) { return false; }
    // `delta` in WHEEL_DELTA units, positive away from the user; `screen` in
    // screen coordinates, as the message carries it.
    virtual bool OnMouseWheel(int delta, UINT keys, POINT screen) { return false; }
    virtual bool OnMouseLeave() { return false; }
    // `gaining` is the window that takes the capture (may be this one again).
    virtual bool OnCaptureChanged(HWND gaining) { return false; }
    virtual bool OnKillFocus(HWND gaining) { return false; }
    // `kind` is SIZE_RESTORED, SIZE_MINIMIZED ...; the size of the client area.
    virtual bool OnSize(UINT kind, int width, int height) { return false; }
    // `virtualKey` VK_*, `flags` the repeat count and key data of lParam.
    virtual bool OnKeyDown(UINT virtualKey, UINT flags) { return false; }
    virtual bool OnKeyUp(UINT virtualKey, UINT flags) { return false; }

    // Messages reflected from the parent. Return true (or a brush) when
    // handled; a handled message does not reach the parent's own handlers.
    virtual bool OnReflectedDrawItem(DRAWITEMSTRUCT* item) { return false; }
    virtual bool OnReflectedMeasureItem(MEASUREITEMSTRUCT* item) { return false; }
    // `result` as WM_COMPAREITEM returns it: -1, 0 or 1.
    virtual bool OnReflectedCompareItem(COMPAREITEMSTRUCT* item, int& result) { return false; }
    virtual bool OnReflectedDeleteItem(DELETEITEMSTRUCT* item) { return false; }
    virtual HBRUSH OnReflectedCtlColor(HDC dc) { return nullptr; }
    virtual bool OnReflectedCommand(WORD code) { return false; }
    virtual bool OnReflectedNotify(NMHDR* header, LRESULT& result) { return false; }
    virtual bool OnReflectedScroll(UINT message, WPARAM wParam) { return false; }

    // Hands a measure request to another control's object, for windows that
    // stand in for a control under its id (a frame around a list).
    static bool ReflectMeasureItem(HWND control, MEASUREITEMSTRUCT* item);

    // Windows that a system manager creates for us (dialogs: the dialog manager
    // passes no creation parameter) cannot carry the object in CREATESTRUCT.
    // For the lifetime of a PendingBinding, the next window of `className`
    // created on this thread without a parameter binds to `window` at its
    // WM_NCCREATE. Thread-local and consumed at once, so nested creations and
    // other threads cannot pick up the wrong object.
    class PendingBinding {
    public:
        PendingBinding(CWindow* window, const wchar_t* className);
        ~PendingBinding();
        PendingBinding(const PendingBinding&) = delete;
        PendingBinding& operator=(const PendingBinding&) = delete;

    private:
        CWindow* previousWindow_;           // not owned
        const wchar_t* previousClassName_;  // not owned
    };
    // The shared procedure, for classes registered outside Create (dialog classes
    // need their own cbWndExtra).
    static WNDPROC SharedWindowProc() { return &CWindow::StaticWindowProc; }
    // What DefaultProc calls for this window (DefDlgProcW for dialogs). Set
    // before the window is created.
    void SetDefaultProc(WNDPROC proc) { baseProc_ = proc; }

private:
    // One message being handled, on the stack of the window procedure. The
    // frames of one object form a chain, innermost first; the destructor clears
    // `self` in each, so a frame never touches an object deleted under it.
    struct DispatchFrame {
        CWindow* self;          // not owned; null once the object is gone
        DispatchFrame* outer;   // not owned
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateBound(const CreateParams& params);
    void Bind(HWND window);
    void Unbind();
    LRESULT HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

    HWND hwnd_ = nullptr;            // owned: destroyed with the object if still alive
    WNDPROC baseProc_ = nullptr;     // not owned: where unhandled messages go
    DispatchFrame* frames_ = nullptr;  // not owned: the innermost message being handled
    MessageWatcher* watcher_ = nullptr;  // not owned
    bool finalPending_ = false;      // the window is gone; OnFinalMessage when the stack unwinds
    std::wstring accessibleName_;
};
