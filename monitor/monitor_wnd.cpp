#include "monitor_wnd.h"

#include <objbase.h>
#include <shellapi.h>

#include "app_messages.h"
#include "debug_output.h"
#include "kernel_handle.h"
#include "program_folder.h"
#include "shared_lock.h"
#include "text_language.h"

namespace {

constexpr wchar_t kClassName[] = L"GamingMouse7741MonitorWnd";
constexpr UINT kFirstDownloadDelayMs = 200;
constexpr UINT kForegroundPeriodMs = 2000;
constexpr DWORD kStartupSettleMs = 100;

HWND FindOptionWindow() { return FindWindowW(nullptr, kOptionWindowTitle); }

// The one main window of this process: the foreground event's callback has no
// parameter of its own to find it by.
CMonitorWnd* g_foregroundTracker = nullptr;

}  // namespace

CMonitorWnd::CMonitorWnd(bool startOption) : startOption_(startOption), link_(library_, *this) {}

CMonitorWnd::~CMonitorWnd() = default;

bool CMonitorWnd::CreateHidden() {
    CreateParams params;
    params.className = kClassName;
    params.title = kMonitorWindowTitle;
    params.style = WS_POPUP;  // never shown
    params.exStyle = 0;
    params.x = 100;
    params.y = 100;
    params.width = 100;
    params.height = 100;
    return Create(params);
}

int CMonitorWnd::OnCreate(CREATESTRUCTW*) {
    programFolder_ = GetProgramFolder();
    texts_.Load(programFolder_, ChooseTextLanguage(ReadLanguageOverride(programFolder_), GetUserDefaultUILanguage()));
    pointerKey_ = CRegistryKey::OpenOrCreate(kPointerKeyPath);

    if (!library_.Load(programFolder_)) DebugOut(L"devio.dll could not be loaded: running without the mouse\n");

    logic_ = std::make_unique<MonitorLogic>(ProfileStorePath(programFolder_), *this, systemPointer_);
    logic_->SetPointerRegistry(pointerKey_.get());
    // The lock does not exist yet, so this first read goes without it.
    logic_->LoadAtStartup();
    Sleep(kStartupSettleMs);

    bool lockExisted = false;
    storeLock_ = NamedMutexLock::Create(kStoreLockName, lockExisted);
    if (lockExisted || !storeLock_) {
        // Someone else created the store lock: a second owner of the mouse would
        // fight this one over every download.
        DebugOut(lockExisted ? L"CMonitorWnd: the store lock already exists, the Monitor ends\n"
                             : L"CMonitorWnd: the store lock cannot be created, the Monitor ends\n");
        return -1;
    }
    logic_->SetStoreLock(storeLock_.get());
    running_ = true;

    worker_ = std::make_unique<DeviceWorker>(library_, link_);
    if (!worker_->Start()) DebugOut(L"CMonitorWnd: the download worker did not start\n");

    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    tray_.Attach(hwnd(), WM_SYSTRAY_NOTIFY, &texts_);

    if (link_.Connect(hwnd()) == DeviceState::kConnected) {
        SetTimer(hwnd(), TIMER_FIRST_DOWNLOAD, kFirstDownloadDelayMs, nullptr);
        AddIcon();
        if (startOption_) OnCustomizer();
    }
    logic_->ApplyPointerSettings();
    return 0;
}

void CMonitorWnd::OnDestroy() {
    KillTimer(hwnd(), TIMER_FIRST_DOWNLOAD);
    StopForegroundTracking();
    if (running_) {
        // Ending the Monitor ends the configuration program too.
        if (HWND option = FindOptionWindow()) PostMessageW(option, WM_CLOSE, 0, 0);
        // A download in progress runs to its end before the channels close.
        if (worker_) worker_->Stop();
        link_.Shutdown();
    }
    worker_.reset();
    library_.Unload();
    if (ownsCom_) {
        CoUninitialize();
        ownsCom_ = false;
    }
    if (logic_) logic_->SetStoreLock(nullptr);
    storeLock_.reset();
    tray_.Remove();
    texts_.Unload();
    if (logic_) logic_->SetPointerRegistry(nullptr);
    pointerKey_.reset();
    PostQuitMessage(0);
}

LRESULT CMonitorWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (taskbarCreated_ != 0 && message == taskbarCreated_) {
        OnTaskbarCreated();
        return 0;
    }
    switch (message) {
        case WM_APPLY_ALL_SETTING:
            OnApplyAllSetting(lParam);
            return 0;
        case WM_APPLY_POINTER_SETTING:
            OnApplyPointerSetting();
            return 0;
        case WM_SYSTRAY_NOTIFY:
            OnSystrayNotify(wParam, lParam);
            return 0;
        case WM_DEVICE_EVENT:
            OnDeviceEvent(wParam, lParam);
            return 0;
        case WM_DEVICE_PLUG:
            OnDevicePlug(wParam);
            return 0;
        default:
            return CWindow::HandleMessage(message, wParam, lParam);
    }
}

bool CMonitorWnd::OnTimer(UINT_PTR id) {
    if (id == TIMER_FIRST_DOWNLOAD) {
        KillTimer(hwnd(), TIMER_FIRST_DOWNLOAD);
        if (logic_) logic_->QueueFullDownload();
    } else if (id == TIMER_FOREGROUND_GAME) {
        TrackForegroundProgram();
    } else {
        return false;
    }
    return true;
}

bool CMonitorWnd::OnCommand(WORD id, WORD, HWND) {
    if (id == ID_OPEN_OPTION) {
        OnCustomizer();
        return true;
    }
    if (id == ID_EXIT_MONITOR) {
        PostMessageW(hwnd(), WM_CLOSE, 0, 0);
        return true;
    }
    if (id == ID_GAME_PROFILES) {
        if (logic_) logic_->SetGameProfilesEnabled(!logic_->GameProfilesEnabled());
        return true;
    }
    return false;
}

void CMonitorWnd::OnApplyAllSetting(LPARAM lParam) {
    if (logic_) logic_->OnApplyAllSetting(MouseConnected(), lParam);
}

void CMonitorWnd::OnApplyPointerSetting() {
    if (logic_) logic_->ApplyPointerSettings();
}

void CMonitorWnd::OnSystrayNotify(WPARAM, LPARAM mouseMessage) {
    switch (static_cast<UINT>(mouseMessage)) {
        case WM_LBUTTONDBLCLK:
            DebugOut(L"OnSystrayNotify WM_LBUTTONDBLCLK\n");
            OnCustomizer();
            break;
        case WM_RBUTTONDOWN:
            tray_.ShowMenu(logic_ && logic_->GameProfilesEnabled());
            break;
        default:
            break;
    }
}

void CMonitorWnd::OnCustomizer() {
    DebugOut(L"CMonitorWnd OnCustomizer\n");
    if (HWND option = FindOptionWindow()) {
        DebugOut(L"CMonitorWnd OnCustomizer hWnd!=NULL\n");
        if (IsIconic(option)) ShowWindow(option, SW_SHOWNORMAL);
        SetForegroundWindow(option);
        SetActiveWindow(option);
        return;
    }
    DebugOut(L"CMonitorWnd OnCustomizer hWnd==NULL\n");
    const std::wstring path = (programFolder_ / L"Option.exe").wstring();
    ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOW);
}

void CMonitorWnd::OnDevicePlug(WPARAM wParam) { link_.OnDevicePlug(wParam); }

void CMonitorWnd::OnDeviceEvent(WPARAM wParam, LPARAM lParam) {
    if (logic_) logic_->OnDeviceEvent(wParam, lParam);
}

void CMonitorWnd::OnTaskbarCreated() {
    // A restarted shell has lost every icon; ours belongs there while the mouse is connected.
    if (MouseConnected() && tray_.Add()) DebugOut(L"notification-area icon added again\n");
}

void CMonitorWnd::StartForegroundTracking() {
    SetTimer(hwnd(), TIMER_FOREGROUND_GAME, kForegroundPeriodMs, nullptr);
    if (foregroundHook_) return;
    g_foregroundTracker = this;
    // Out of context: the callback runs on this thread while it takes its messages.
    foregroundHook_.Reset(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                          &CMonitorWnd::OnForegroundEvent, 0, 0, WINEVENT_OUTOFCONTEXT));
    if (!foregroundHook_) DebugOut(L"foreground event not available: the timer alone follows the foreground\n");
}

void CMonitorWnd::StopForegroundTracking() {
    if (hwnd()) KillTimer(hwnd(), TIMER_FOREGROUND_GAME);
    foregroundHook_.Reset();
    if (g_foregroundTracker == this) g_foregroundTracker = nullptr;
}

void CALLBACK CMonitorWnd::OnForegroundEvent(HWINEVENTHOOK, DWORD event, HWND, LONG, LONG, DWORD, DWORD) {
    if (event != EVENT_SYSTEM_FOREGROUND || !g_foregroundTracker || !g_foregroundTracker->MouseConnected()) return;
    if (g_foregroundTracker->TrackForegroundProgram()) DebugOut(L"foreground event\n");
}

bool CMonitorWnd::TrackForegroundProgram() {
    HWND foreground = GetForegroundWindow();
    if (!foreground) return false;
    DWORD processId = 0;
    GetWindowThreadProcessId(foreground, &processId);
    if (foreground == lastForeground_ && processId == lastForegroundProcess_) return false;
    lastForeground_ = foreground;
    lastForegroundProcess_ = processId;

    const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return false;
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    const BOOL found = QueryFullProcessImageNameW(process.Get(), 0, path, &size);
    if (!found) return false;
    const std::wstring name = ExecutableFileName(std::wstring_view(path, size));
    if (!logic_) return false;
    // Reported before it is followed: a switch's own lines come after it.
    if (FoldProgramName(name) == logic_->ForegroundProgram()) return false;
    DebugOutF(L"foreground program: %ls\n", name.c_str());
    logic_->SetForegroundProgram(name);
    return true;
}

bool CMonitorWnd::MouseConnected() const { return link_.State() == DeviceState::kConnected; }

bool CMonitorWnd::QueueDownload(std::unique_ptr<DownloadJob> job) {
    return worker_ && job && worker_->PostJob(std::move(job));
}

bool CMonitorWnd::PostToOption(unsigned message) {
    HWND option = FindOptionWindow();
    return option && PostMessageW(option, message, 0, 0);
}

void CMonitorWnd::PostOpenOption() { PostMessageW(hwnd(), WM_COMMAND, ID_OPEN_OPTION, 0); }

void CMonitorWnd::OpenWithShell(const std::u16string& target) {
    const std::wstring text(target.begin(), target.end());
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", text.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) DebugOutF(L"launch button: the shell could not open %ls\n", text.c_str());
}

void CMonitorWnd::Debug(const wchar_t* text) { DebugOut(text); }

void CMonitorWnd::ShowActiveProfile(std::u16string_view name) { tray_.SetProfileName(std::wstring(name.begin(), name.end())); }

void CMonitorWnd::WaitMs(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

void CMonitorWnd::PostFullDownload() {
    if (logic_) logic_->QueueFullDownload();
}

void CMonitorWnd::AddIcon() {
    tray_.Add();
    StartForegroundTracking();
}

void CMonitorWnd::RemoveIcon() {
    tray_.Remove();
    StopForegroundTracking();
}

void CMonitorWnd::CloseOptionWindow() {
    if (HWND option = FindOptionWindow()) PostMessageW(option, WM_CLOSE, 0, 0);
}

void CMonitorWnd::DebugText(const std::string& text) {
    const std::wstring wide(text.begin(), text.end());
    DebugOut(wide.c_str());
}
