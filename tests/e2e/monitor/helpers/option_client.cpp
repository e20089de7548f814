// A stand-in for Option in the Monitor's end-to-end tests: a window titled
// "7741 Gaming Mouse Option" that edits the store with the store code, posts
// the Monitor's requests and logs every message the Monitor sends it.
//
//   Option.exe                       run as the window (log: client-log.txt beside the exe)
//   Option.exe --send "CMD; CMD"     hand commands to the running window, wait until done
//   Option.exe --edit K=V ...        edit the current profile without a window and exit
//   Option.exe --query-pointer       print the system pointer speed and parameters
//   Option.exe --die-holding-lock    take the store lock and end without giving it back
//   Option.exe --own-store-lock S    create the store lock's name and keep it S seconds
//
// Commands: apply [K=V ...] [flags=K,A,D,P] | set K=V ... | post | pointer |
//           close-monitor | monitor-command ID | minimize | query-pointer | quit |
//           bench-apply N (N requests, each after the previous answer) | query-memory |
//           forget-icon | shell-restarted (the Monitor's icon lost, then the shell's restart broadcast) |
//           query-mouse (asks the Monitor whether it holds the mouse: logs "mouse 1" or "mouse 0")
// Keys are store keys of a profile ("CpiStep", "DPIColor2" ...), plus
// buttonN=CODE[:PROGRAM] (N = 0-15) and ProfileID.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app_messages.h"
#include "ini_file.h"
#include "kernel_handle.h"
#include "named_mutex_lock.h"
#include "profile_section.h"
#include "profile_store.h"
#include "program_folder.h"
#include "shared_lock.h"
#include "window.h"

namespace {

constexpr ULONG_PTR kCopyDataCommands = 0x7741;

std::u16string ToU16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts;
    std::wstring current;
    for (wchar_t c : text) {
        if (c == separator) {
            parts.push_back(current);
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    parts.push_back(current);
    return parts;
}

std::wstring Trim(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return L"";
    const size_t last = text.find_last_not_of(L" \t");
    return text.substr(first, last - first + 1);
}

std::vector<std::wstring> Words(const std::wstring& text) {
    std::vector<std::wstring> words;
    std::wistringstream in(text);
    std::wstring word;
    while (in >> word) words.push_back(word);
    return words;
}

double NowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

class Log {
public:
    void Open(const std::wstring& path) { file_ = _wfopen(path.c_str(), L"a"); }
    ~Log() {
        if (file_) fclose(file_);
    }
    void Line(const std::string& text) {
        if (!file_) return;
        fprintf(file_, "%.1f %s\n", NowMs(), text.c_str());
        fflush(file_);
    }

private:
    FILE* file_ = nullptr;
};

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(c < 128 ? static_cast<char>(c) : '?');
    return out;
}

// Sets one key of `record`; false for an unknown key.
bool SetKey(ProfileRecord& record, StoreValues& values, const std::wstring& key, const std::wstring& value) {
    if (key == L"ProfileID") {
        values.ProfileID = _wtoi(value.c_str());
        return true;
    }
    if (key.rfind(L"button", 0) == 0) {
        const int index = _wtoi(key.c_str() + 6);
        if (index < 0 || index >= kButtonCount) return false;
        ButtonAssignment& button = record.MacroKeyInfo[index];
        const size_t colon = value.find(L':');
        button.FunctionCode = static_cast<uint8_t>(_wtoi(value.substr(0, colon).c_str()));
        button.FunctionClass = button.FunctionCode == kCodeLaunchProgram || button.FunctionCode == kCodeLaunchCommand
                                   ? kClassLaunch
                                   : kClassMouseFunction;
        if (colon != std::wstring::npos) CopyToField(button.program, ToU16(value.substr(colon + 1)));
        return true;
    }
    // Any store key of a profile: round-trip the record through an INI section.
    CIniFile ini(L"unused.ini");
    ini.Clear();
    WriteProfileFields(ini, u"P", ProfileKeySet::Store, record);
    if (!ini.HasKey(u"P", ToU16(key))) return false;
    ini.WriteString(u"P", ToU16(key), ToU16(value));
    ReadProfileFields(ini, u"P", ProfileKeySet::Store, record);
    return true;
}

class StoreEditor {
public:
    explicit StoreEditor(Log& log) : log_(log), file_(ProfileStorePath(GetProgramFolder())) {
        // As Option does: the lock exists only while a Monitor runs.
        lock_ = NamedMutexLock::Open(kStoreLockName);
    }

    // Applies K=V words (and flags=) to the current profile and saves. False on a bad key.
    bool Edit(const std::vector<std::wstring>& words, size_t first, bool setFlags) {
        ProfileStore store;
        if (!LoadProfileStoreLocked(lock_.get(), file_, store)) {
            FreeProfiles(store);
            LoadProfileStore(file_, store);
        }
        if (setFlags) MarkAllParts(store.values);
        for (size_t i = first; i < words.size(); ++i) {
            const size_t eq = words[i].find(L'=');
            if (eq == std::wstring::npos) return Fail("bad word " + Narrow(words[i]));
            const std::wstring key = words[i].substr(0, eq);
            const std::wstring value = words[i].substr(eq + 1);
            if (key == L"flags") {
                const std::vector<std::wstring> f = Split(value, L',');
                if (f.size() != 4) return Fail("flags need four values");
                store.values.KeysFlag = _wtoi(f[0].c_str());
                store.values.AttributeFlag = _wtoi(f[1].c_str());
                store.values.DPIStepFlag = _wtoi(f[2].c_str());
                store.values.PRateFlag = _wtoi(f[3].c_str());
                continue;
            }
            ProfileRecord* current = CurrentProfile(store);
            if (key != L"ProfileID" && !current) return Fail("no current profile");
            ProfileRecord scratch{};
            if (!SetKey(current ? *current : scratch, store.values, key, value))
                return Fail("unknown key " + Narrow(key));
        }
        std::string error;
        if (!SaveProfileStoreLocked(lock_.get(), file_, store, &error) && error.empty())
            SaveProfileStore(file_, store, &error);
        if (!error.empty()) return Fail("save failed: " + error);
        return true;
    }

private:
    bool Fail(const std::string& why) {
        log_.Line("error " + why);
        return false;
    }
    Log& log_;
    std::filesystem::path file_;
    std::unique_ptr<NamedMutexLock> lock_;
};

std::string PointerState() {
    int speed = 0;
    int mouse[3] = {};
    SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0);
    SystemParametersInfoW(SPI_GETMOUSE, 0, mouse, 0);
    char text[96];
    snprintf(text, sizeof text, "speed=%d mouse=%d,%d,%d", speed, mouse[0], mouse[1], mouse[2]);
    return text;
}

HWND MonitorWindow() { return FindWindowW(nullptr, kMonitorWindowTitle); }

class CClientWnd final : public CWindow {
public:
    explicit CClientWnd(Log& log) : log_(log), editor_(log) {}

    bool CreateVisible() {
        CreateParams params;
        params.className = L"GamingMouse7741OptionTestClient";
        params.title = kOptionWindowTitle;
        params.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        params.x = 200;
        params.y = 150;
        params.width = 320;
        params.height = 200;
        params.background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        return Create(params);
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_APPLY_DONE:
                ++answers_;
                log_.Line("WM_APPLY_DONE");
                return 0;
            case WM_PROFILE_CHANGED: {
                ProfileStore store;
                LoadProfileStore(ProfileStorePath(GetProgramFolder()), store);
                const ProfileRecord* p = CurrentProfile(store);
                log_.Line("WM_PROFILE_CHANGED CpiStep=" + std::to_string(p ? p->CpiStep : -1) +
                          " PollingRate=" + std::to_string(p ? p->PollingRate : -1));
                return 0;
            }
            case WM_MOUSE_STATE:
                log_.Line("WM_MOUSE_STATE " + std::to_string(wParam));
                return 0;
            case WM_CLOSE:
                log_.Line("WM_CLOSE");
                break;
            case WM_SIZE:
                if (wParam == SIZE_MINIMIZED) minimized_ = true;
                if (wParam == SIZE_RESTORED && minimized_) {
                    minimized_ = false;
                    log_.Line("restored");
                }
                break;
            case WM_ACTIVATE:
                if (LOWORD(wParam) != WA_INACTIVE) log_.Line("activated");
                break;
            case WM_SETTINGCHANGE:
                if (wParam == SPI_SETMOUSESPEED) log_.Line("settingchange " + PointerState());
                break;
            case WM_COPYDATA: {
                const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
                if (data->dwData != kCopyDataCommands) return FALSE;
                std::wstring text(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
                for (const std::wstring& command : Split(text, L';')) Run(Trim(command));
                return TRUE;
            }
            default:
                break;
        }
        return CWindow::HandleMessage(message, wParam, lParam);
    }
    void OnDestroy() override { PostQuitMessage(0); }

private:
    void Run(const std::wstring& command) {
        const std::vector<std::wstring> words = Words(command);
        if (words.empty()) return;
        const std::wstring& verb = words[0];
        if (verb == L"apply") {
            if (!editor_.Edit(words, 1, true)) return;
            PostToMonitor(WM_APPLY_ALL_SETTING, "apply-posted");
        } else if (verb == L"set") {
            if (editor_.Edit(words, 1, false)) log_.Line("set");
        } else if (verb == L"post") {
            PostToMonitor(WM_APPLY_ALL_SETTING, "apply-posted");
        } else if (verb == L"pointer") {
            PostToMonitor(WM_APPLY_POINTER_SETTING, "pointer-posted");
        } else if (verb == L"close-monitor") {
            PostToMonitor(WM_CLOSE, "close-posted");
        } else if (verb == L"monitor-command" && words.size() == 2) {
            HWND monitor = MonitorWindow();
            const bool posted = monitor && PostMessageW(monitor, WM_COMMAND, _wtoi(words[1].c_str()), 0);
            log_.Line(posted ? "command-posted" : "command-posted no-monitor");
        } else if (verb == L"forget-icon") {
            // What a shell that ends takes with it: the Monitor's icon.
            NOTIFYICONDATAW data{};
            data.cbSize = NOTIFYICONDATAW_V2_SIZE;
            data.hWnd = MonitorWindow();
            data.uID = 102;
            log_.Line(Shell_NotifyIconW(NIM_DELETE, &data) ? "icon-forgotten" : "icon-forgotten failed");
        } else if (verb == L"shell-restarted") {
            // What a shell that starts again tells every top-level window.
            PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
            log_.Line("taskbar-created");
        } else if (verb == L"query-mouse") {
            HWND monitor = MonitorWindow();
            DWORD_PTR answer = 0;
            const bool asked = monitor && SendMessageTimeoutW(monitor, WM_QUERY_MOUSE, 0, 0, SMTO_ABORTIFHUNG, 5000,
                                                              &answer);
            log_.Line(asked ? "mouse " + std::to_string(answer) : std::string("mouse no-answer"));
        } else if (verb == L"minimize") {
            ShowWindow(hwnd(), SW_MINIMIZE);
            log_.Line("minimized");
        } else if (verb == L"bench-apply" && words.size() == 2) {
            BenchApply(_wtoi(words[1].c_str()));
        } else if (verb == L"query-memory") {
            QueryMonitorMemory();
        } else if (verb == L"query-pointer") {
            log_.Line("pointer " + PointerState());
        } else if (verb == L"quit") {
            DestroyWindow(hwnd());
        } else {
            log_.Line("error unknown command " + Narrow(verb));
        }
    }

    // Posts `count` apply requests one after another, each once the previous one
    // was answered, and logs the moment just before each post.
    void BenchApply(int count) {
        HWND monitor = MonitorWindow();
        if (!monitor) {
            log_.Line("bench no-monitor");
            return;
        }
        for (int i = 0; i < count; ++i) {
            const int answered = answers_;
            char line[64];
            const double before = NowMs();
            PostMessageW(monitor, WM_APPLY_ALL_SETTING, 0, 0);
            snprintf(line, sizeof line, "bench-post %.3f", before);
            log_.Line(line);
            const double deadline = NowMs() + 5000;
            while (answers_ == answered && NowMs() < deadline) {
                MSG message;
                while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
                if (answers_ == answered) MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            }
            Sleep(30);
        }
        log_.Line("bench-done");
    }

    void QueryMonitorMemory() {
        DWORD processId = 0;
        if (HWND monitor = MonitorWindow()) GetWindowThreadProcessId(monitor, &processId);
        const KernelHandle process(
            processId ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId) : nullptr);
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof counters;
        if (process && GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                            sizeof counters)) {
            log_.Line("memory private=" + std::to_string(counters.PrivateUsage) +
                      " pagefile=" + std::to_string(counters.PagefileUsage) +
                      " working-set=" + std::to_string(counters.WorkingSetSize));
        } else {
            log_.Line("memory unknown");
        }
    }

    void PostToMonitor(UINT message, const char* what) {
        HWND monitor = MonitorWindow();
        if (monitor && PostMessageW(monitor, message, 0, 0))
            log_.Line(what);
        else
            log_.Line(std::string(what) + " no-monitor");
    }

    Log& log_;
    StoreEditor editor_;
    bool minimized_ = false;
    int answers_ = 0;
};

int SendCommands(const std::wstring& commands) {
    HWND client = FindWindowW(nullptr, kOptionWindowTitle);
    if (!client) return 3;
    COPYDATASTRUCT data{};
    data.dwData = kCopyDataCommands;
    data.cbData = static_cast<DWORD>(commands.size() * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(commands.data());
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(client, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 300000, &result))
        return 4;
    return result ? 0 : 5;
}

void PrintLine(const std::string& text) {
    const std::string line = text + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args(argv, argv + argc);
    LocalFree(argv);

    Log log;
    log.Open((GetProgramFolder() / L"client-log.txt").wstring());

    if (args.size() >= 3 && args[1] == L"--send") return SendCommands(args[2]);
    if (args.size() >= 2 && args[1] == L"--query-pointer") {
        PrintLine(PointerState());
        return 0;
    }
    if (args.size() >= 3 && args[1] == L"--own-store-lock") {
        // Another program that took the store lock's name before the Monitor.
        const KernelHandle lock(CreateMutexW(nullptr, FALSE, kStoreLockName));
        log.Line("owning-store-lock");
        Sleep(static_cast<DWORD>(_wtoi(args[2].c_str())) * 1000);
        return 0;
    }
    if (args.size() >= 2 && args[1] == L"--die-holding-lock") {
        // A holder that crashes inside a load or save: the lock is left abandoned.
        const KernelHandle lock(OpenMutexW(MUTEX_ALL_ACCESS, FALSE, kStoreLockName));
        if (!lock || WaitForSingleObject(lock.get(), 5000) != WAIT_OBJECT_0) return 3;
        log.Line("holding-lock-and-dying");
        ExitProcess(0);
    }
    if (args.size() >= 2 && args[1] == L"--edit") {
        std::vector<std::wstring> words(args.begin() + 1, args.end());
        StoreEditor editor(log);
        return editor.Edit(words, 1, false) ? 0 : 2;
    }

    // One window at a time, as the real program.
    const KernelHandle instance(CreateMutexW(nullptr, FALSE, kOptionInstanceMutex));
    if (instance && GetLastError() == ERROR_ALREADY_EXISTS) {
        log.Line("second-instance");
        return 0;
    }
    log.Line("started");
    CClientWnd window(log);
    if (!window.CreateVisible()) return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    log.Line("ended");
    return 0;
}
