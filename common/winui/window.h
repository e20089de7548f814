#pragma once
// CWindow: the base of every window and control of the two programs.
//
// One static window procedure binds the C++ object to its window at
// WM_NCCREATE (through CREATESTRUCT::lpCreateParams) and dispatches every
// message to virtual handlers; what a class does not handle goes to
// DefWindowProc, or to the system class's own procedure for controls built on
// BUTTON, EDIT and the like (registered as superclasses, so they bind at
// WM_NCCREATE too). Parents reflect WM_DRAWITEM, WM_CTLCOLOR* and scroll
// messages back to the child's object, so each control paints itself.
#include <windows.h>

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

protected:
    // Every message of the window. The default sends the common messages to the
    // On... handlers below and everything else to DefaultProc. Classes that
    // have messages of their own override it and call the base for the rest.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // DefWindowProc, or the system class's procedure for a superclassed control.
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Return -1 to refuse the window; called after the default WM_CREATE processing.
    virtual int OnCreate(CREATESTRUCTW* create) { return 0; }
    virtual void OnDestroy() {}
    // The last message; the object is no longer bound afterwards.
    virtual void OnFinalMessage() {}
    virtual void OnTimer(UINT_PTR id) {}
    // Commands and control notifications. Return true when handled.
    virtual bool OnCommand(WORD id, WORD code, HWND control) { return false; }
    // Return false to let the default painting run.
    virtual bool OnPaint() { return false; }

    // Messages reflected from the parent. Return true (or a brush) when handled.
    virtual bool OnReflectedDrawItem(DRAWITEMSTRUCT* item) { return false; }
    virtual HBRUSH OnReflectedCtlColor(HDC dc) { return nullptr; }
    virtual bool OnReflectedCommand(WORD code) { return false; }
    virtual bool OnReflectedScroll(UINT message, WPARAM wParam) { return false; }

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
    // What DefaultProc calls for this window (DefDlgProcW for dialogs).
    void SetDefaultProc(WNDPROC proc) { baseProc_ = proc; }

private:
    static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateBound(const CreateParams& params);

    HWND hwnd_ = nullptr;          // owned: destroyed with the object if still alive
    WNDPROC baseProc_ = nullptr;   // system class procedure of a superclassed control
};
