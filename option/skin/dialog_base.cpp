#include "dialog_base.h"

#include "debug_output.h"
#include "dialog_template.h"
#include "skin_popup_menu.h"

namespace {

const wchar_t* DialogClassName() { return reinterpret_cast<const wchar_t*>(kSkinDialogClass); }

// The dialog class: the shared bound window procedure, with the extra window
// bytes the dialog manager keeps its state in.
bool RegisterDialogClass(WNDPROC proc) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, DialogClassName(), &wc)) return true;
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = DialogClassName();
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

static_assert(sizeof(wchar_t) == sizeof(char16_t), "templates are UTF-16 words");

bool CDialogBase::PrepareTemplate(std::vector<uint16_t>& words) {
    const auto spec = SkinDialogTemplate(templateId_);
    if (!spec) {
        DebugOutF(L"no dialog template %d\n", templateId_);
        return false;
    }
    if (!RegisterDialogClass(SharedWindowProc())) return false;
    words = BuildDialogTemplate(*spec);
    SetDefaultProc(&DefDlgProcW);
    return true;
}

INT_PTR CDialogBase::DoModal(HWND owner) {
    std::vector<uint16_t> words;
    if (hwnd() || !PrepareTemplate(words)) return -1;
    modal_ = true;
    PendingBinding binding(this, DialogClassName());
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(words.data()),
                                   owner, &NoDialogProc, 0);
}

bool CDialogBase::CreateModeless(HWND parent) {
    std::vector<uint16_t> words;
    if (hwnd() || !PrepareTemplate(words)) return false;
    modal_ = false;
    PendingBinding binding(this, DialogClassName());
    HWND window = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                             reinterpret_cast<const DLGTEMPLATE*>(words.data()), parent,
                                             &NoDialogProc, 0);
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
    // Commands nobody took: the dialog manager's OK and Cancel end the dialog.
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
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_MEASUREITEM: {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (item && item->CtlType == ODT_MENU && CSkinPopupMenu::RouteMeasureItem(item)) return TRUE;
            break;
        }
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (item && item->CtlType == ODT_MENU) {
                if (CSkinPopupMenu::RouteDrawItem(item)) return TRUE;
                return DefaultProc(message, wParam, lParam);
            }
            break;
        }
        default:
            break;
    }
    return CWindow::HandleMessage(message, wParam, lParam);
}
