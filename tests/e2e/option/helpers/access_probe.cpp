// gm_access_probe: what a screen reader learns of another program's windows,
// through the platform's accessibility interfaces alone.
//
//   gm_access_probe.exe TITLE   one line per visible window of the top-level
//                               window TITLE, itself first, tab-separated:
//                               class, control id, enabled (1/0), focused
//                               (1/0), then the client object's role and
//                               state in hex, its name and its value, UTF-8.
//                               A window without an object prints "-" as role
//                               and the error as state.
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
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role, state;
    VariantInit(&role);
    VariantInit(&state);
    BSTR name = nullptr, value = nullptr;
    const bool hasRole = SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4;
    const bool hasState = SUCCEEDED(object->get_accState(self, &state)) && state.vt == VT_I4;
    if (FAILED(object->get_accName(self, &name))) name = nullptr;
    if (FAILED(object->get_accValue(self, &value))) value = nullptr;
    wchar_t numbers[64];
    swprintf(numbers, 64, L"%lx\t%lx\t", hasRole ? static_cast<unsigned long>(role.lVal) : 0ul,
             hasState ? static_cast<unsigned long>(state.lVal) : 0ul);
    PrintUtf8(numbers);
    PrintUtf8(OneLine(name) + L"\t" + OneLine(value) + L"\n");
    SysFreeString(name);
    SysFreeString(value);
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
