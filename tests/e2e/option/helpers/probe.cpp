// gm_probe: what another program's windows show, for the end-to-end tests.
//
//   gm_probe.exe tree TITLE   one line per window under the top-level window
//                             TITLE: depth, id, class, visible, screen rect, text
//   gm_probe.exe window TITLE    the first line of tree: the top-level window alone
//   gm_probe.exe states TITLE    as tree, with 1 or 0 for enabled after visible
//   gm_probe.exe list TITLE ID   the rows of the list box with control id ID
//   gm_probe.exe mousespeed      the pointer speed Windows uses now
//   gm_probe.exe windows         one line per visible top-level window: its
//                                process id, class, screen rect and title
//   gm_probe.exe move TITLE LEFT TOP
//                                moves the top-level window TITLE, neither
//                                activating nor raising it: a stand-in game
//                                that came to the front over Option goes
//                                aside, where it hides no click point
//   gm_probe.exe dpichange TITLE DPI LEFT TOP RIGHT BOTTOM
//                                sends WM_DPICHANGED to the window TITLE with
//                                DPI in wParam and the suggested rectangle,
//                                written into the window's process, in lParam
//                                (Wine 8 never sends it itself)
//   gm_probe.exe serve           answers those commands, one a line on standard
//                                input (arguments split by tabs, UTF-8), each
//                                answer closed by a line "=end CODE"; a long run
//                                asks thousands of questions, and a Wine start
//                                for each costs more than the question
// Exits 3 when no window has the title.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "kernel_handle.h"

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

int Answer(const std::vector<std::wstring>& argv) {
    const auto argc = static_cast<int>(argv.size());
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
    if (argc == 8 && std::wstring(argv[1]) == L"dpichange") {
        HWND top = FindWindowW(nullptr, argv[2].c_str());
        if (!top) return 3;
        const int dpi = _wtoi(argv[3].c_str());
        const RECT suggested{_wtoi(argv[4].c_str()), _wtoi(argv[5].c_str()), _wtoi(argv[6].c_str()),
                             _wtoi(argv[7].c_str())};
        // The rectangle is read in the receiver's address space.
        DWORD pid = 0;
        GetWindowThreadProcessId(top, &pid);
        const KernelHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid));
        if (!process) return 5;
        void* remote = VirtualAllocEx(process.get(), nullptr, sizeof suggested, MEM_COMMIT, PAGE_READWRITE);
        const bool written =
            remote && WriteProcessMemory(process.get(), remote, &suggested, sizeof suggested, nullptr);
        DWORD_PTR result = 0;
        const bool sent = written && SendMessageTimeoutW(top, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
                                                         reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                                                         20000, &result);
        if (remote) VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
        printf("%d\n", sent ? 1 : 0);
        return sent ? 0 : 6;
    }
    if (argc < 3) {
        fputs("usage: gm_probe tree TITLE | window TITLE | states TITLE | list TITLE ID | move TITLE LEFT TOP | "
              "mousespeed | windows\n", stderr);
        return 2;
    }
    HWND top = FindWindowW(nullptr, argv[2].c_str());
    if (!top) return 3;
    const std::wstring command = argv[1];
    if (command == L"move" && argc == 5) {
        return SetWindowPos(top, nullptr, _wtoi(argv[3].c_str()), _wtoi(argv[4].c_str()), 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)
                   ? 0
                   : 6;
    }
    if (command == L"window") {
        PrintWindow(top, 0);
        return 0;
    }
    if (command == L"tree" || command == L"states") {
        const bool withEnabled = command == L"states";
        PrintWindow(top, 0, withEnabled);
        Walk(top, 1, withEnabled);
        return 0;
    }
    if (command == L"list" && argc >= 4) {
        HWND list = FindChildById(top, _wtoi(argv[3].c_str()));
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

std::wstring FromUtf8(const std::string& bytes) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

int Serve(const std::wstring& self) {
    std::string line;
    for (int c = getchar(); c != EOF; c = getchar()) {
        if (c == '\r') continue;
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        std::vector<std::wstring> args{self};
        size_t start = 0;
        for (size_t tab = line.find('\t'); ; tab = line.find('\t', start)) {
            args.push_back(FromUtf8(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        line.clear();
        const int code = Answer(args);
        printf("=end %d\n", code);
        fflush(stdout);
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Rectangles in the display's own pixels, as xdotool and the screenshots
    // have them: an unaware probe would be handed those of 96 DPI.
    using SetContext = BOOL(WINAPI*)(HANDLE);
    if (auto set = reinterpret_cast<SetContext>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext"))))
        set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)));
    else
        SetProcessDPIAware();
    if (argc == 2 && std::wstring(argv[1]) == L"serve") return Serve(argv[0]);
    return Answer(std::vector<std::wstring>(argv, argv + argc));
}
