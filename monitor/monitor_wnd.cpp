#include "monitor_wnd.h"

#include <shellapi.h>

#include "app_messages.h"
#include "debug_output.h"
#include "program_folder.h"
#include "shared_lock.h"
#include "text_language.h"

namespace {

constexpr wchar_t kClassName[] = L"GamingMouse7741MonitorWnd";
constexpr UINT kFirstDownloadDelayMs = 200;
// The pause between the unlocked first read of the store and the creation of
// its lock. Nothing in this program needs it; it is kept so that the moment
// the lock, the icon and the first download appear stays what the programs
// and scripts started together with the Monitor have always seen.
constexpr DWORD kStartupSettleMs = 100;

// The one main window of this process: the foreground event's callback has no
// parameter of its own to find it by.
CMonitorWnd* g_foregroundTracker = nullptr;

}  // namespace

CMonitorWnd::CMonitorWnd(bool startOption, ForegroundClock foreground)
    : startOption_(startOption), foreground_(foreground), host_(*this) {}

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
    parts_ = std::make_unique<Parts>(host_);
    Parts& parts = *parts_;
    programFolder_ = GetProgramFolder();
    parts.texts.Load(programFolder_, ChooseTextLanguage(ReadLanguageOverride(programFolder_), GetUserDefaultUILanguage()));
    parts.pointerKey = CRegistryKey::OpenOrCreate(kPointerKeyPath);

    if (!parts.library.Load(programFolder_)) DebugOut(L"devio.dll could not be loaded: running without the mouse\n");

    parts.logic = std::make_unique<MonitorLogic>(ProfileStorePath(programFolder_), host_, parts.systemPointer);
    parts.logic->SetPointerRegistry(parts.pointerKey.get());
    // The lock does not exist yet, so this first read goes without it.
    parts.logic->LoadAtStartup();
    Sleep(kStartupSettleMs);

    bool lockExisted = false;
    parts.storeLock = NamedMutexLock::Create(kStoreLockName, lockExisted);
    if (lockExisted || !parts.storeLock) {
        // Someone else created the store lock: a second owner of the mouse would
        // fight this one over every download.
        DebugOut(lockExisted ? L"CMonitorWnd: the store lock already exists, the Monitor ends\n"
                             : L"CMonitorWnd: the store lock cannot be created, the Monitor ends\n");
        return -1;
    }
    parts.logic->SetStoreLock(parts.storeLock.get());
    running_ = true;

    parts.worker = std::make_unique<DeviceWorker>(parts.library, parts.link);
    if (!parts.worker->Start()) DebugOut(L"CMonitorWnd: the download worker did not start\n");

    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    parts.tray.Attach(hwnd(), WM_SYSTRAY_NOTIFY, &parts.texts);

    if (parts.link.Connect(hwnd()) == DeviceState::kConnected) {
        SetTimer(hwnd(), TIMER_FIRST_DOWNLOAD, kFirstDownloadDelayMs, nullptr);
        ShowConnected();
    } else {
        // Without the mouse the icon is the suite's only face: it opens Option,
        // whose changes the arrival's full download brings to the mouse.
        parts.tray.Add();
    }
    // A user who starts the suite wants to see it, mouse or not.
    if (startOption_) OnCustomizer();
    parts.logic->ApplyPointerSettings();
    return 0;
}

void CMonitorWnd::OnDestroy() {
    KillTimer(hwnd(), TIMER_FIRST_DOWNLOAD);
    StopForegroundTracking();
    if (running_) {
        // Ending the Monitor ends the configuration program too.
        host_.CloseOptionWindow();
        // A download in progress runs to its end before the channels close.
        if (parts_->worker) parts_->worker->Stop();
        parts_->link.Shutdown();
    }
    parts_.reset();
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
        case WM_QUERY_MOUSE:
            return MouseConnected() ? 1 : 0;
        case WM_DPICHANGED:
            // The window is never shown, so the rectangle Windows suggests does not matter.
            if (parts_) parts_->tray.FollowDisplay();
            return 0;
        case WM_DISPLAYCHANGE:
        case WM_SETTINGCHANGE:
            // A hidden window may miss WM_DPICHANGED; a new scale also comes as these.
            if (parts_) parts_->tray.FollowDisplay();
            return CWindow::HandleMessage(message, wParam, lParam);
        default:
            return CWindow::HandleMessage(message, wParam, lParam);
    }
}

bool CMonitorWnd::OnTimer(UINT_PTR id) {
    if (id == TIMER_FIRST_DOWNLOAD) {
        KillTimer(hwnd(), TIMER_FIRST_DOWNLOAD);
        QueueFullDownload();
    } else if (id == TIMER_FOREGROUND_GAME) {
        // The poller's last post may arrive after the mouse went.
        if (MouseConnected()) {
            TrackForegroundProgram();
            FollowForegroundPace();
        }
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
        if (MonitorLogic* logic = Logic()) logic->SetGameProfilesEnabled(!logic->GameProfilesEnabled());
        return true;
    }
    return false;
}

void CMonitorWnd::OnApplyAllSetting(LPARAM lParam) {
    if (MonitorLogic* logic = Logic()) logic->OnApplyAllSetting(MouseConnected(), lParam);
}

void CMonitorWnd::OnApplyPointerSetting() {
    if (MonitorLogic* logic = Logic()) logic->ApplyPointerSettings();
}

void CMonitorWnd::OnSystrayNotify(WPARAM, LPARAM mouseMessage) {
    switch (static_cast<UINT>(mouseMessage)) {
        case WM_LBUTTONDBLCLK:
            DebugOut(L"OnSystrayNotify WM_LBUTTONDBLCLK\n");
            OnCustomizer();
            break;
        case WM_RBUTTONDOWN:
            if (parts_) parts_->tray.ShowMenu(Logic() && Logic()->GameProfilesEnabled());
            break;
        default:
            break;
    }
}

void CMonitorWnd::OnCustomizer() {
    DebugOut(L"CMonitorWnd OnCustomizer\n");
    if (HWND option = CMonitorHost::OptionWindow()) {
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

void CMonitorWnd::OnDevicePlug(WPARAM wParam) {
    if (parts_) parts_->link.OnDevicePlug(wParam);
}

void CMonitorWnd::OnDeviceEvent(WPARAM wParam, LPARAM lParam) {
    if (MonitorLogic* logic = Logic()) logic->OnDeviceEvent(wParam, lParam);
}

void CMonitorWnd::OnTaskbarCreated() {
    // A restarted shell has lost every icon; ours belongs there while the Monitor runs.
    // The shell also restarts its notification area when the display's scale
    // changed; Add hands it a picture of the size that fits now.
    if (parts_ && parts_->tray.Add()) DebugOut(L"notification-area icon added again\n");
}

bool CMonitorWnd::WatchesForGames() {
    MonitorLogic* logic = Logic();
    return logic && logic->WatchesForGames([this] { return foregroundWindow_.FollowedPrograms(); });
}

void CMonitorWnd::StartForegroundTracking() {
    LookAtPace(WatchesForGames());
    if (foregroundHook_) return;
    g_foregroundTracker = this;
    // Out of context: the callback runs on this thread while it takes its messages.
    foregroundHook_.Reset(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                          &CMonitorWnd::OnForegroundEvent, 0, 0, WINEVENT_OUTOFCONTEXT));
    if (!foregroundHook_) DebugOut(L"foreground event not available: the timer alone follows the foreground\n");
}

void CMonitorWnd::LookAtPace(bool quick) {
    quickLooks_ = quick;
    // The window timer of a clock without a thread keeps the one period it was given.
    if (!foreground_.ownThread) {
        SetTimer(hwnd(), TIMER_FOREGROUND_GAME, foreground_.periodMs, nullptr);
        return;
    }
    if (!quick) {
        foregroundPoller_.Stop();
        SetTimer(hwnd(), TIMER_FOREGROUND_GAME, kForegroundIdlePeriodMs, nullptr);
        DebugOutF(L"foreground looked at every %u ms\n", kForegroundIdlePeriodMs);
        return;
    }
    // The window still hears every 2 s, to slow down again once the game has ended.
    if (foregroundPoller_.Start(hwnd(), TIMER_FOREGROUND_GAME, foreground_.periodMs, kForegroundIdlePeriodMs)) {
        KillTimer(hwnd(), TIMER_FOREGROUND_GAME);
    } else {
        DebugOut(L"foreground poller did not start: a window timer looks instead\n");
        SetTimer(hwnd(), TIMER_FOREGROUND_GAME, foreground_.periodMs, nullptr);
    }
    DebugOutF(L"foreground looked at every %u ms\n", foreground_.periodMs);
}

void CMonitorWnd::FollowForegroundPace() {
    if (!foreground_.ownThread || !Logic()) return;
    const bool quick = WatchesForGames();
    if (quick != quickLooks_) LookAtPace(quick);
}

void CMonitorWnd::StopForegroundTracking() {
    foregroundPoller_.Stop();
    if (hwnd()) KillTimer(hwnd(), TIMER_FOREGROUND_GAME);
    foregroundHook_.Reset();
    if (g_foregroundTracker == this) g_foregroundTracker = nullptr;
}

void CALLBACK CMonitorWnd::OnForegroundEvent(HWINEVENTHOOK, DWORD event, HWND, LONG, LONG, DWORD, DWORD) {
    if (event != EVENT_SYSTEM_FOREGROUND || !g_foregroundTracker || !g_foregroundTracker->MouseConnected()) return;
    // Called by the system, which knows nothing of C++: a failure ends here, and the timer looks again.
    try {
        if (g_foregroundTracker->TrackForegroundProgram()) {
            DebugOut(L"foreground event\n");
            g_foregroundTracker->FollowForegroundPace();
        }
    } catch (...) {
        DebugOut(L"foreground event: following the foreground failed\n");
    }
}

bool CMonitorWnd::TrackForegroundProgram() {
    const std::optional<std::wstring> name = foregroundWatch_.Look();
    MonitorLogic* logic = Logic();
    if (!name || !logic) return false;
    // Reported before it is followed: a switch's own lines come after it.
    if (FoldProgramName(*name) == logic->ForegroundProgram()) return false;
    DebugOutF(L"foreground program: %ls\n", name->c_str());
    logic->SetForegroundProgram(*name);
    // A game keeps the look quick after it left the front, until it ends.
    if (logic->LinksGame(*name)) foregroundWatch_.FollowProgramInFront();
    return true;
}

bool CMonitorWnd::MouseConnected() const { return parts_ && parts_->link.State() == DeviceState::kConnected; }

bool CMonitorWnd::QueueDownload(std::unique_ptr<DownloadJob> job) {
    return parts_ && parts_->worker && job && parts_->worker->PostJob(std::move(job));
}

void CMonitorWnd::QueueFullDownload() {
    if (MonitorLogic* logic = Logic()) logic->QueueFullDownload();
}

void CMonitorWnd::ShowActiveProfile(std::wstring name) {
    if (parts_) parts_->tray.SetProfileName(std::move(name));
}

void CMonitorWnd::ShowConnected() {
    if (parts_) {
        parts_->tray.SetConnected(true, false);
        parts_->tray.Add();
    }
    StartForegroundTracking();
    // An Option opened without the mouse stops saying it is missing.
    if (HWND option = CMonitorHost::OptionWindow()) PostMessageW(option, WM_MOUSE_STATE, 1, 0);
}

void CMonitorWnd::ShowUnplugged() {
    // Option closes next; the icon and its balloon tell the user why.
    if (parts_) parts_->tray.SetConnected(false, true);
    StopForegroundTracking();
}
