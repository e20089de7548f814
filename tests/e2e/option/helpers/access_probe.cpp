// gm_access_probe: what a screen reader learns of another program's windows,
// through the platform's accessibility interfaces alone.
//
//   gm_access_probe.exe TITLE   one line per visible window of the top-level
//                               window TITLE, itself first, tab-separated:
//                               class, control id, enabled (1/0), focused
//                               (1/0), then the client object's role and
//                               state in hex, its name and its value, UTF-8.
//                               A window without an object prints "-" as role
//                               and the error as state. A list's rows
//                               follow it as "CLASS#item" lines.
// Exits 3 when no window has the title.
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

void PrintUtf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    fputs(bytes.c_str(), stdout);
}

// One line of text: tabs and line breaks would split the answer.
std::wstring OneLine(BSTR text) {
    std::wstring out = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    for (wchar_t& c : out)
        if (c == L'\t' || c == L'\r' || c == L'\n') c = L' ';
    return out;
}

struct Walk {
    std::vector<HWND> windows;
};

BOOL CALLBACK Collect(HWND window, LPARAM param) {
    reinterpret_cast<Walk*>(param)->windows.push_back(window);
    return TRUE;
}

// Role, state, name and value of `child` of `object`, ending the line.
void PrintElement(IAccessible* object, LONG child) {
    VARIANT id;
    VariantInit(&id);
    id.vt = VT_I4;
    id.lVal = child;
    VARIANT role, state;
    VariantInit(&role);
    VariantInit(&state);
    BSTR name = nullptr, value = nullptr;
    const bool hasRole = SUCCEEDED(object->get_accRole(id, &role)) && role.vt == VT_I4;
    const bool hasState = SUCCEEDED(object->get_accState(id, &state)) && state.vt == VT_I4;
    if (FAILED(object->get_accName(id, &name))) name = nullptr;
    if (FAILED(object->get_accValue(id, &value))) value = nullptr;
    wchar_t numbers[64];
    swprintf(numbers, 64, L"%lx\t%lx\t", hasRole ? static_cast<unsigned long>(role.lVal) : 0ul,
             hasState ? static_cast<unsigned long>(state.lVal) : 0ul);
    PrintUtf8(numbers);
    PrintUtf8(OneLine(name) + L"\t" + OneLine(value) + L"\n");
    SysFreeString(name);
    SysFreeString(value);
}

void Describe(HWND window, HWND focus) {
    wchar_t cls[128] = L"";
    GetClassNameW(window, cls, 128);
    wchar_t head[256];
    swprintf(head, 256, L"%ls\t%d\t%d\t%d\t", cls, GetDlgCtrlID(window), IsWindowEnabled(window) ? 1 : 0,
             window == focus ? 1 : 0);
    PrintUtf8(head);
    IAccessible* object = nullptr;
    const HRESULT found = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                     reinterpret_cast<void**>(&object));
    if (FAILED(found) || !object) {
        // The error in the state column, for whoever reads the failure.
        printf("-\t%lx\t\t\n", static_cast<unsigned long>(found));
        return;
    }
    PrintElement(object, CHILDID_SELF);
    // Simple children (a list's rows) on lines of their own, after their window:
    // the class with "#item", the child's number, the list's enabling, and focus
    // where the list has it and names that row as its focus.
    LONG children = 0;
    VARIANT focused;
    VariantInit(&focused);
    const LONG focusedChild =
        window == focus && SUCCEEDED(object->get_accFocus(&focused)) && focused.vt == VT_I4 ? focused.lVal : 0;
    if (SUCCEEDED(object->get_accChildCount(&children))) {
        for (LONG child = 1; child <= children; ++child) {
            VARIANT id;
            VariantInit(&id);
            id.vt = VT_I4;
            id.lVal = child;
            swprintf(head, 256, L"%ls#item\t%ld\t%d\t%d\t", cls, child, IsWindowEnabled(window) ? 1 : 0,
                     child == focusedChild ? 1 : 0);
            PrintUtf8(head);
            PrintElement(object, child);
        }
    }
    object->Release();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        fputs("usage: gm_access_probe TITLE\n", stderr);
        return 2;
    }
    const HWND top = FindWindowW(nullptr, argv[1]);
    if (!top) return 3;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 4;
    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    const HWND focus = GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &gui) ? gui.hwndFocus : nullptr;
    Walk walk;
    walk.windows.push_back(top);
    EnumChildWindows(top, Collect, reinterpret_cast<LPARAM>(&walk));
    for (HWND window : walk.windows)
        if (IsWindowVisible(window)) Describe(window, focus);
    fflush(stdout);
    CoUninitialize();
    return 0;
}
