// gm_probe: what another program's windows show, for the end-to-end tests.
//
//   gm_probe.exe tree TITLE   one line per window under the top-level window
//                             TITLE: depth, id, class, visible, screen rect, text
//   gm_probe.exe states TITLE    as tree, with 1 or 0 for enabled after visible
//   gm_probe.exe list TITLE ID   the rows of the list box with control id ID
//   gm_probe.exe mousespeed      the pointer speed Windows uses now
//   gm_probe.exe windows         one line per visible top-level window: its
//                                process id, class, screen rect and title
// Exits 3 when no window has the title.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void PrintUtf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    fputs(bytes.c_str(), stdout);
}

std::wstring TextOf(HWND window) {
    wchar_t buffer[512] = {};
    // Across processes WM_GETTEXT is marshalled; a time limit keeps a hung window from hanging the probe.
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, &copied);
    return buffer;
}

void PrintWindow(HWND window, int depth, bool withEnabled = false) {
    wchar_t cls[128] = {};
    GetClassNameW(window, cls, 128);
    RECT rc{};
    GetWindowRect(window, &rc);
    printf("%d %d ", depth, GetDlgCtrlID(window));
    PrintUtf8(cls);
    printf(" %d ", IsWindowVisible(window) ? 1 : 0);
    if (withEnabled) printf("%d ", IsWindowEnabled(window) ? 1 : 0);
    printf("%ld %ld %ld %ld ", rc.left, rc.top, rc.right, rc.bottom);
    PrintUtf8(TextOf(window));
    printf("\n");
}

void Walk(HWND parent, int depth, bool withEnabled = false) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        PrintWindow(child, depth, withEnabled);
        Walk(child, depth + 1, withEnabled);
    }
}

HWND FindChildById(HWND parent, int id) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[128] = {};
        GetClassNameW(child, cls, 128);
        if (GetDlgCtrlID(child) == id && SendMessageW(child, LB_GETCOUNT, 0, 0) != LB_ERR &&
            wcsstr(cls, L"List"))
            return child;
        if (HWND found = FindChildById(child, id)) return found;
    }
    return nullptr;
}

BOOL CALLBACK PrintTopLevel(HWND window, LPARAM) {
    if (!IsWindowVisible(window)) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t cls[128] = {};
    GetClassNameW(window, cls, 128);
    RECT rc{};
    GetWindowRect(window, &rc);
    printf("%lu ", pid);
    PrintUtf8(cls);
    printf(" %ld %ld %ld %ld ", rc.left, rc.top, rc.right, rc.bottom);
    PrintUtf8(TextOf(window));
    printf("\n");
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wstring(argv[1]) == L"mousespeed") {
        int speed = 0;
        SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0);
        printf("%d\n", speed);
        return 0;
    }
    if (argc == 2 && std::wstring(argv[1]) == L"windows") {
        EnumWindows(PrintTopLevel, 0);
        return 0;
    }
    if (argc < 3) {
        fputs("usage: gm_probe tree TITLE | states TITLE | list TITLE ID | mousespeed | windows\n", stderr);
        return 2;
    }
    HWND top = FindWindowW(nullptr, argv[2]);
    if (!top) return 3;
    const std::wstring command = argv[1];
    if (command == L"tree" || command == L"states") {
        const bool withEnabled = command == L"states";
        PrintWindow(top, 0, withEnabled);
        Walk(top, 1, withEnabled);
        return 0;
    }
    if (command == L"list" && argc >= 4) {
        HWND list = FindChildById(top, _wtoi(argv[3]));
        if (!list) return 4;
        const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        const auto selected = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
        const auto topIndex = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
        printf("count %d selected %d top %d\n", count, selected, topIndex);
        for (int i = 0; i < count; ++i) {
            wchar_t row[256] = {};
            DWORD_PTR copied = 0;
            SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row), SMTO_ABORTIFHUNG, 2000, &copied);
            PrintUtf8(row);
            printf("\n");
        }
        return 0;
    }
    return 2;
}
