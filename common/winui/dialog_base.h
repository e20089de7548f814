#pragma once
// CDialogBase: a dialog made by the platform's dialog manager from an empty
// in-memory template, bound to its object from WM_NCCREATE on. Messages that
// the object does not handle go to the dialog manager (DefDlgProc), also while
// the window is destroyed through the object's destructor, so the dialog
// manager frees what it made (the template's font).
#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "dialog_template.h"
#include "window.h"

class CDialogBase : public CWindow {
public:
    // A template without a class name gets no window: dialogs of ours need a
    // class whose procedure binds them.
    explicit CDialogBase(DialogTemplateSpec layout) : layout_(std::move(layout)) {}

    // Runs the dialog modally; returns what EndDialog was given, or -1 when the
    // dialog could not be created.
    INT_PTR DoModal(HWND owner);
    // Creates the dialog modelessly (a page inside its parent, or a pop-up).
    bool CreateModeless(HWND parent);
    // Ends a modal dialog's loop; destroys a modeless one.
    void EndDialog(INT_PTR result);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Return TRUE to let the dialog manager give the focus to the first control.
    virtual BOOL OnInitDialog() { return TRUE; }
    // Commands and notifications of the dialog's controls and menus. Return true
    // when handled; IDOK and IDCANCEL that nobody handles end the dialog.
    virtual bool OnDialogCommand(WORD id, WORD code, HWND control) { return false; }
    // The dialog manager's standard commands (Enter, Esc, the close box).
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

private:
    bool OnCommand(WORD id, WORD code, HWND control) final;
    static INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
    bool PrepareTemplate(std::vector<uint16_t>& words);
    const wchar_t* ClassName() const;

    DialogTemplateSpec layout_;
    bool modal_ = false;
};
