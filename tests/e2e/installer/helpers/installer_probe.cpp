// gm_installer_probe: what the installer tests need from inside Wine.
//
//   gm_installer_probe.exe limited "COMMAND-LINE"
//       runs COMMAND-LINE (one argument, used as it is: NSIS's /D=DIR must not be
//       quoted even with blanks in DIR) with the user's limited token (the linked token of an
//       elevated one, as Windows gives a user who has not confirmed elevation),
//       prints "elevation TYPE ELEVATED" of the process it started, waits for it
//       and exits with its exit code (100 when it could not be started)
//   gm_installer_probe.exe logon NAME
//       starts the command line of the value NAME under
//       HKCU\Software\Microsoft\Windows\CurrentVersion\Run as the shell does at
//       logon: the text as it is, in the system folder; prints "started PID"
//       and exits without waiting (3: no such value, 4: it did not start)
//   gm_installer_probe.exe tree PREFIX
//       every top-level window whose title starts with PREFIX (a message box
//       has its program's title; Setup's pages add to it), each as a line of
//       depth 0 followed by one line per window under it: depth, id, class,
//       visible, enabled, checked, screen rect, text (exits 3 without one)
//   gm_installer_probe.exe hold TITLE SECONDS
//       shows no window but owns a top-level window named TITLE that ignores
//       WM_CLOSE, for SECONDS at most: a program that will not close
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

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

int Limited(const wchar_t* commandLine) {
    HANDLE ownRaw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &ownRaw)) return 100;
    const KernelHandle own(ownRaw);
    KernelHandle linkedToken;
    TOKEN_LINKED_TOKEN linked{};
    DWORD size = 0;
    TOKEN_ELEVATION_TYPE type{};
    if (GetTokenInformation(own.get(), TokenElevationType, &type, sizeof type, &size) &&
        type == TokenElevationTypeFull &&
        GetTokenInformation(own.get(), TokenLinkedToken, &linked, sizeof linked, &size))
        linkedToken.Reset(linked.LinkedToken);
    HANDLE token = linkedToken ? linkedToken.get() : own.get();

    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessAsUserW(token, nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &started)) {
        fprintf(stderr, "cannot start the command: error %lu\n", GetLastError());
        return 100;
    }
    const KernelHandle process(started.hProcess);
    const KernelHandle thread(started.hThread);
    HANDLE childRaw = nullptr;
    TOKEN_ELEVATION elevation{};
    type = TokenElevationTypeDefault;
    if (OpenProcessToken(process.get(), TOKEN_QUERY, &childRaw)) {
        const KernelHandle childToken(childRaw);
        GetTokenInformation(childToken.get(), TokenElevationType, &type, sizeof type, &size);
        GetTokenInformation(childToken.get(), TokenElevation, &elevation, sizeof elevation, &size);
    }
    printf("elevation %d %lu\n", static_cast<int>(type), elevation.TokenIsElevated);
    fflush(stdout);
    WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 100;
    GetExitCodeProcess(process.get(), &code);
    return static_cast<int>(code);
}

int Logon(const wchar_t* name) {
    wchar_t value[2048] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", name, RRF_RT_REG_SZ,
                     nullptr, value, &size) != ERROR_SUCCESS)
        return 3;
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, value, nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &process)) {
        fprintf(stderr, "cannot start it: error %lu\n", GetLastError());
        return 4;
    }
    const KernelHandle owned(process.hProcess);
    const KernelHandle thread(process.hThread);
    printf("started %lu\n", process.dwProcessId);
    return 0;
}

std::wstring TextOf(HWND window) {
    wchar_t buffer[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, &copied);
    for (wchar_t& c : buffer)
        if (c == L'\r' || c == L'\n') c = L' ';
    return buffer;
}

void Walk(HWND parent, int depth) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[128] = {};
        GetClassNameW(child, cls, 128);
        RECT rc{};
        GetWindowRect(child, &rc);
        DWORD_PTR checked = 0;
        if (!_wcsicmp(cls, L"Button"))
            SendMessageTimeoutW(child, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &checked);
        printf("%d %d ", depth, GetDlgCtrlID(child));
        PrintUtf8(cls);
        printf(" %d %d %d %ld %ld %ld %ld ", IsWindowVisible(child) ? 1 : 0, IsWindowEnabled(child) ? 1 : 0,
               static_cast<int>(checked), rc.left, rc.top, rc.right, rc.bottom);
        PrintUtf8(TextOf(child));
        printf("\n");
        Walk(child, depth + 1);
    }
}

struct TreeSearch {
    const wchar_t* prefix;
    int found = 0;
};

BOOL CALLBACK PrintIfTitled(HWND top, LPARAM param) {
    auto& search = *reinterpret_cast<TreeSearch*>(param);
    const std::wstring title = TextOf(top);
    if (title.compare(0, wcslen(search.prefix), search.prefix) != 0) return TRUE;
    ++search.found;
    wchar_t cls[128] = {};
    GetClassNameW(top, cls, 128);
    RECT rc{};
    GetWindowRect(top, &rc);
    printf("0 0 ");
    PrintUtf8(cls);
    printf(" %d %d 0 %ld %ld %ld %ld ", IsWindowVisible(top) ? 1 : 0, IsWindowEnabled(top) ? 1 : 0, rc.left, rc.top,
           rc.right, rc.bottom);
    PrintUtf8(title);
    printf("\n");
    Walk(top, 1);
    return TRUE;
}

int Tree(const wchar_t* prefix) {
    TreeSearch search{prefix};
    EnumWindows(PrintIfTitled, reinterpret_cast<LPARAM>(&search));
    return search.found ? 0 : 3;
}

LRESULT CALLBACK HoldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

int Hold(const wchar_t* title, int seconds) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = HoldProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"GmInstallerTestHold";
    RegisterClassW(&cls);
    HWND window = CreateWindowExW(0, cls.lpszClassName, title, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  cls.hInstance, nullptr);
    if (!window) return 4;
    printf("holding\n");
    fflush(stdout);
    SetTimer(window, 1, static_cast<UINT>(seconds) * 1000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER) break;
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && !wcscmp(argv[1], L"limited")) return Limited(argv[2]);
    if (argc == 3 && !wcscmp(argv[1], L"logon")) return Logon(argv[2]);
    if (argc == 3 && !wcscmp(argv[1], L"tree")) return Tree(argv[2]);
    if (argc == 4 && !wcscmp(argv[1], L"hold")) return Hold(argv[2], _wtoi(argv[3]));
    fprintf(stderr, "usage: gm_installer_probe limited \"COMMAND\" | logon NAME | tree PREFIX | hold TITLE SECONDS\n");
    return 2;
}
