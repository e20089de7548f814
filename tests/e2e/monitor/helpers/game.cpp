// A stand-in game: one plain top-level window titled after its own executable
// ("shooter.exe" as the title of shooter.exe), until it is closed or killed.
// `game.exe N` leaves after N seconds. `game.exe --activate TITLE` asks the
// running window of that title to bring itself to the front and ends: without
// a window manager, Wine moves the foreground for no X request, but a program
// may always activate its own window.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kClassName[] = L"GamingMouse7741TestGame";
constexpr UINT kActivateMessage = WM_APP + 1;

LRESULT CALLBACK GameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kActivateMessage) {
        // The moment of the request, on the clock the virtual mouse's trace
        // uses with DEVIO_SIM_TRACE_CLOCK=qpc: the reaction benchmark starts there.
        LARGE_INTEGER frequency, counter;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&counter);
        SetForegroundWindow(window);
        SetActiveWindow(window);
        if (FILE* log = _wfopen(L"activations.txt", L"a")) {
            fprintf(log, "%.3f\n", 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart));
            fclose(log);
        }
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv && argc >= 3 && std::wstring(argv[1]) == L"--activate") {
        HWND target = FindWindowW(kClassName, argv[2]);
        const bool posted = target && PostMessageW(target, kActivateMessage, 0, 0);
        LocalFree(argv);
        return posted ? 0 : 3;
    }
    if (argv) LocalFree(argv);
    wchar_t path[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 2 - 1);
    std::wstring title(path);
    title = title.substr(title.find_last_of(L"\\/") + 1);

    WNDCLASSW wc{};
    wc.lpfnWndProc = GameProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 200, 200, 320, 200,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    const int seconds = commandLine ? _wtoi(commandLine) : 0;
    if (seconds > 0) SetTimer(window, 1, static_cast<UINT>(seconds) * 1000, [](HWND w, UINT, UINT_PTR, DWORD) {
        DestroyWindow(w);
    });
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
