#include "dialog_base.h"

#include "debug_output.h"
#include "module.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "templates are UTF-16 words");

namespace {

// The dialog class: the shared bound window procedure, with the extra window
// bytes the dialog manager keeps its state in.
bool RegisterDialogClass(const wchar_t* name, WNDPROC proc) {
    HINSTANCE instance = CurrentModule();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, name, &wc)) return true;
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

const wchar_t* CDialogBase::ClassName() const { return reinterpret_cast<const wchar_t*>(layout_.className.c_str()); }

bool CDialogBase::PrepareTemplate(std::vector<uint16_t>& words) {
    if (layout_.className.empty()) {
        DebugOut(L"dialog template without a class\n");
        return false;
    }
    if (!RegisterDialogClass(ClassName(), SharedWindowProc())) return false;
    words = BuildDialogTemplate(layout_);
    SetDefaultProc(&DefDlgProcW);
    return true;
}

INT_PTR CDialogBase::DoModal(HWND owner) {
    std::vector<uint16_t> words;
    if (hwnd() || !PrepareTemplate(words)) return -1;
    modal_ = true;
    PendingBinding binding(this, ClassName());
    return DialogBoxIndirectParamW(CurrentModule(), reinterpret_cast<const DLGTEMPLATE*>(words.data()), owner,
                                   &NoDialogProc, 0);
}

bool CDialogBase::CreateModeless(HWND parent) {
    std::vector<uint16_t> words;
    if (hwnd() || !PrepareTemplate(words)) return false;
    modal_ = false;
    PendingBinding binding(this, ClassName());
    HWND window = CreateDialogIndirectParamW(CurrentModule(), reinterpret_cast<const DLGTEMPLATE*>(words.data()),
                                             parent, &NoDialogProc, 0);
    return window != nullptr && window == hwnd();
}

void CDialogBase::EndDialog(INT_PTR result) {
    if (!hwnd()) return;
    if (modal_) {
        ::EndDialog(hwnd(), result);
    } else {
        DestroyWindow(hwnd());
    }
}

bool CDialogBase::OnCommand(WORD id, WORD code, HWND control) {
    if (OnDialogCommand(id, code, control)) return true;
    // The dialog manager's OK and Cancel (Enter, Esc, the close box) end the
    // dialog; a control of ours that happens to carry id 1 or 2 does not.
    if (control) return false;
    if (code == BN_CLICKED && id == IDOK) {
        OnOK();
        return true;
    }
    if (code == BN_CLICKED && id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

LRESULT CDialogBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return OnInitDialog();
    return CWindow::HandleMessage(message, wParam, lParam);
}
