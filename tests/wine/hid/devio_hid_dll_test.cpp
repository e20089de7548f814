// devio-hid.dll as the Monitor uses it, on a machine without the mouse: loaded by
// full path, every export resolved by name, opened and closed in the Monitor's
// order, with the plug notices the system would send played to its hidden window.
#include <windows.h>
#include <dbt.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../../support/temp_folder.h"
#include "devio_api.h"
#include "device_notifier.h"
#include "process_counters.h"
#include "win32_hid_backend.h"

namespace {

constexpr UINT kEventMessage = 1325;
constexpr UINT kPlugMessage = 1326;

std::wstring BuiltLibraryPath() {
    std::string unix = DEVIO_HID_DLL;
    std::wstring path;
    if (!unix.empty() && unix[0] == '/') path = L"Z:";
    for (char c : unix) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

// The library with its nine entry points, resolved by name as the Monitor does.
class Devio {
public:
    explicit Devio(const std::wstring& path)
        : module_(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {
        if (module_ == nullptr) return;
        const char* names[] = {DEVIO_EXPORT_NAMES};
        for (const char* name : names) {
            if (GetProcAddress(module_, name) == nullptr) missing_.push_back(name);
        }
        Resolve(setVidPid, "Set_VIDPID");
        Resolve(openDevMonitor, "Open_DevMonitor");
        Resolve(closeDevMonitor, "Close_DevMonitor");
        Resolve(openFeature, "Open_FeatureDevice");
        Resolve(closeFeature, "Close_FeatureDevice");
        Resolve(openReport, "Open_ReportDevice");
        Resolve(closeReport, "Close_ReportDevice");
        Resolve(setFeature, "SetFeature");
        Resolve(writeUsb, "WriteUSB");
    }
    ~Devio() { Free(); }
    Devio(const Devio&) = delete;
    Devio& operator=(const Devio&) = delete;

    bool Usable() const { return module_ != nullptr && missing_.empty(); }
    const std::vector<std::string>& Missing() const { return missing_; }
    HMODULE Module() const { return module_; }
    void Free() {
        if (module_ != nullptr) FreeLibrary(module_);
        module_ = nullptr;
    }

    PFN_Set_VIDPID setVidPid = nullptr;
    PFN_Open_DevMonitor openDevMonitor = nullptr;
    PFN_Close_DevMonitor closeDevMonitor = nullptr;
    PFN_Open_FeatureDevice openFeature = nullptr;
    PFN_Close_FeatureDevice closeFeature = nullptr;
    PFN_Open_ReportDevice openReport = nullptr;
    PFN_Close_ReportDevice closeReport = nullptr;
    PFN_SetFeature setFeature = nullptr;
    PFN_WriteUSB writeUsb = nullptr;

private:
    template <typename Fn>
    void Resolve(Fn& fn, const char* name) {
        fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

    HMODULE module_;
    std::vector<std::string> missing_;
};

// A hidden top-level window like the Monitor's, and what was posted to it.
class TestWindow {
public:
    TestWindow() {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"DevioHidTestWindow";
        RegisterClassExW(&wc);
        hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"devio test", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                nullptr, wc.hInstance, nullptr);
    }
    ~TestWindow() {
        if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    }
    HWND Handle() const { return hwnd_; }

    // Every message in [first, last] posted to the window so far.
    std::vector<MSG> Take(UINT first, UINT last) {
        std::vector<MSG> got;
        MSG msg;
        while (PeekMessageW(&msg, hwnd_, first, last, PM_REMOVE)) got.push_back(msg);
        return got;
    }

private:
    HWND hwnd_ = nullptr;
};

HWND NotifierWindow() { return FindWindowExW(HWND_MESSAGE, nullptr, hidio::kNotifyWindowClass, nullptr); }

// A device-interface notice as the system builds it.
std::vector<BYTE> Notice(const std::wstring& path, const GUID& classGuid) {
    const size_t size = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + (path.size() + 1) * sizeof(wchar_t);
    std::vector<BYTE> bytes(size);
    auto* notice = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(bytes.data());
    notice->dbcc_size = static_cast<DWORD>(size);
    notice->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    notice->dbcc_classguid = classGuid;
    std::memcpy(notice->dbcc_name, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
    return bytes;
}

// {4D1E55B2-F16F-11CF-88CB-001111000030}, the HID interface class.
const GUID kHidClass = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

const wchar_t kMousePointer[] = L"\\\\?\\HID#VID_5A21&PID_7C03&MI_00#7&1A&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const wchar_t kMouseFeature[] =
    L"\\\\?\\HID#VID_5A21&PID_7C03&MI_01&Col01#7&2B&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const wchar_t kMouseReport[] =
    L"\\\\?\\HID#VID_5A21&PID_7C03&MI_01&Col02#7&2B&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const wchar_t kOtherMouse[] = L"\\\\?\\HID#VID_046D&PID_C077#7&3C&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";

void Play(HWND notifier, WPARAM event, std::vector<BYTE> notice) {
    SendMessageW(notifier, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(notice.data()));
}

class DevioHidDll : public ::testing::Test {
protected:
    const std::wstring path_ = BuiltLibraryPath();
};

}  // namespace

TEST_F(DevioHidDll, LoadsByFullPathAndResolvesAllNineExports) {
    Devio devio(path_);
    ASSERT_NE(devio.Module(), nullptr) << "LoadLibraryExW failed, error " << GetLastError();
    EXPECT_TRUE(devio.Missing().empty()) << "missing export " << devio.Missing().front();
}

TEST_F(DevioHidDll, WorksUnderTheNameDevioDll) {
    // A user with the mouse renames it to devio.dll in the program folder.
    const TempFolder folder;
    const std::wstring renamed = (folder / L"devio.dll").wstring();
    ASSERT_TRUE(CopyFileW(path_.c_str(), renamed.c_str(), FALSE));
    {
        TestWindow window;
        Devio original(path_);
        Devio copy(renamed);
        ASSERT_TRUE(copy.Usable());
        ASSERT_TRUE(original.Usable());
        EXPECT_NE(copy.Module(), original.Module());
        // Both watch for the mouse at once without getting in each other's way.
        EXPECT_EQ(copy.openDevMonitor(window.Handle(), kEventMessage, kPlugMessage), 1);
        EXPECT_EQ(original.openDevMonitor(window.Handle(), kEventMessage, kPlugMessage), 1);
        EXPECT_EQ(copy.openReport(), 0);
        copy.closeReport();
        copy.closeDevMonitor();
        original.closeDevMonitor();
    }
    EXPECT_TRUE(DeleteFileW(renamed.c_str()));
}

TEST_F(DevioHidDll, WithoutTheMouseTheMonitorsSequenceFailsCleanly) {
    TestWindow window;
    Devio devio(path_);
    ASSERT_TRUE(devio.Usable());
    EXPECT_EQ(devio.setVidPid(0x5A21, 0x7C03), 1);
    EXPECT_EQ(devio.openDevMonitor(window.Handle(), kEventMessage, kPlugMessage), 1);
    EXPECT_EQ(devio.openFeature(), 0);
    EXPECT_EQ(devio.openReport(), 0) << "no mouse, so not present";

    unsigned char command[8] = {0x01, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF6};
    unsigned char half[64] = {};
    EXPECT_EQ(devio.setFeature(command, 8), 0);
    EXPECT_EQ(devio.writeUsb(half, 64), 0);
    EXPECT_EQ(devio.setFeature(command, 7), 0);
    EXPECT_EQ(devio.writeUsb(half, 65), 0);
    EXPECT_EQ(devio.setFeature(nullptr, 8), 0);
    EXPECT_EQ(devio.writeUsb(nullptr, 64), 0);

    // The shutdown order, then all of it once more.
    for (int round = 0; round < 2; ++round) {
        devio.closeFeature();
        devio.closeReport();
        devio.closeDevMonitor();
    }
    EXPECT_TRUE(window.Take(kEventMessage, kPlugMessage).empty()) << "nothing attached, nothing announced";
}

TEST_F(DevioHidDll, ClosingWhatWasNeverOpenedIsHarmless) {
    Devio devio(path_);
    ASSERT_TRUE(devio.Usable());
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(devio.closeFeature(), 0);
        EXPECT_EQ(devio.closeReport(), 0);
        EXPECT_EQ(devio.closeDevMonitor(), 0);
    }
}

TEST_F(DevioHidDll, RefusesIdsAndMonitorArgumentsThatCannotBeRight) {
    TestWindow window;
    Devio devio(path_);
    ASSERT_TRUE(devio.Usable());
    EXPECT_EQ(devio.setVidPid(-1, 0x7C03), 0);
    EXPECT_EQ(devio.setVidPid(0x5A21, 0x10000), 0);

    const DWORD threads = ThreadsOfThisProcess();
    EXPECT_EQ(devio.openDevMonitor(nullptr, kEventMessage, kPlugMessage), 0);
    EXPECT_EQ(devio.openDevMonitor(reinterpret_cast<void*>(0x12345678), kEventMessage, kPlugMessage), 0);
    EXPECT_EQ(devio.openDevMonitor(window.Handle(), 0, kPlugMessage), 0);
    EXPECT_EQ(devio.openDevMonitor(window.Handle(), kEventMessage, 0x10000), 0);
    EXPECT_EQ(devio.openDevMonitor(window.Handle(), -5, kPlugMessage), 0);
    EXPECT_EQ(ThreadsOfThisProcess(), threads) << "a refused call starts nothing";
    EXPECT_EQ(NotifierWindow(), nullptr);
}

TEST_F(DevioHidDll, TheWatcherIsOneThreadWithAHiddenWindowUntilClosed) {
    TestWindow window;
    Devio devio(path_);
    ASSERT_TRUE(devio.Usable());
    const DWORD threads = ThreadsOfThisProcess();
    ASSERT_EQ(devio.openDevMonitor(window.Handle(), kEventMessage, kPlugMessage), 1);
    // Some Wine builds start a helper thread of their own on the first
    // registration; what counts is that ours comes and goes.
    const DWORD running = ThreadsOfThisProcess();
    EXPECT_GE(running, threads + 1);
    EXPECT_NE(NotifierWindow(), nullptr);
    EXPECT_EQ(devio.openDevMonitor(window.Handle(), kEventMessage, kPlugMessage), 1);
    EXPECT_EQ(ThreadsOfThisProcess(), running) << "a second open starts no second watcher";
    EXPECT_EQ(devio.closeDevMonitor(), 1);
    EXPECT_EQ(ThreadsOfThisProcess(), running - 1);
    EXPECT_EQ(NotifierWindow(), nullptr);
    EXPECT_EQ(devio.closeDevMonitor(), 0);
}

TEST_F(DevioHidDll, PlugNoticesReachTheWindowOncePerPlugWithTheGivenMessage) {
    TestWindow window;
    Devio devio(path_);
    ASSERT_TRUE(devio.Usable());
    // Numbers other than the Monitor's prove the library posts what it was given.
    const UINT eventMessage = WM_APP + 7, plugMessage = WM_APP + 8;
    ASSERT_EQ(devio.openDevMonitor(window.Handle(), eventMessage, plugMessage), 1);
    const HWND notifier = NotifierWindow();
    ASSERT_NE(notifier, nullptr);

    Play(notifier, DBT_DEVICEARRIVAL, Notice(kOtherMouse, kHidClass));
    EXPECT_TRUE(window.Take(eventMessage, plugMessage).empty()) << "another vendor's mouse";

    Play(notifier, DBT_DEVICEARRIVAL, Notice(kMousePointer, kHidClass));
    Play(notifier, DBT_DEVICEARRIVAL, Notice(kMouseFeature, kHidClass));
    Play(notifier, DBT_DEVICEARRIVAL, Notice(kMouseReport, kHidClass));
    std::vector<MSG> got = window.Take(eventMessage, plugMessage);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, plugMessage);
    EXPECT_EQ(got[0].wParam, 1u);
    EXPECT_EQ(got[0].lParam, 0);

    Play(notifier, DBT_DEVICEREMOVECOMPLETE, Notice(kMouseReport, kHidClass));
    Play(notifier, DBT_DEVICEREMOVECOMPLETE, Notice(kMousePointer, kHidClass));
    EXPECT_TRUE(window.Take(eventMessage, plugMessage).empty()) << "part of the mouse is still there";
    Play(notifier, DBT_DEVICEREMOVECOMPLETE, Notice(kMouseFeature, kHidClass));
    got = window.Take(eventMessage, plugMessage);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, plugMessage);
    EXPECT_EQ(got[0].wParam, 0u);

    // Set_VIDPID decides which device is "the mouse".
    ASSERT_EQ(devio.setVidPid(0x046D, 0xC077), 1);
    Play(notifier, DBT_DEVICEARRIVAL, Notice(kOtherMouse, kHidClass));
    got = window.Take(eventMessage, plugMessage);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].wParam, 1u);

    devio.closeDevMonitor();
}

TEST_F(DevioHidDll, ADeviceAlreadyPresentWhenWatchingStartsIsNotAnnouncedButItsRemovalIs) {
    // Wine's own HID pointer device (0x845E:0x0001) stands in for a mouse that is
    // plugged in before the Monitor starts.
    const wchar_t winePointer[] = L"\\\\?\\HID#VID_845E&PID_0001#0&0000&0&0#{4D1E55B2-F16F-11CF-88CB-001111000030}";
    bool present = false;
    for (const hidio::HidInterface& iface : hidio::Win32HidBackend().EnumerateInterfaces()) {
        present = present || hidio::PathMatchesVidPid(iface.path, 0x845E, 0x0001);
    }
    if (!present) GTEST_SKIP() << "this Wine provides no HID pointer device";
    TestWindow window;
    Devio devio(path_);
    ASSERT_TRUE(devio.Usable());
    ASSERT_EQ(devio.setVidPid(0x845E, 0x0001), 1);
    ASSERT_EQ(devio.openDevMonitor(window.Handle(), kEventMessage, kPlugMessage), 1);
    const HWND notifier = NotifierWindow();
    ASSERT_NE(notifier, nullptr);
    Play(notifier, DBT_DEVICEARRIVAL, Notice(winePointer, kHidClass));
    const std::vector<MSG> arrival = window.Take(kEventMessage, kPlugMessage);
    Play(notifier, DBT_DEVICEREMOVECOMPLETE, Notice(winePointer, kHidClass));
    const std::vector<MSG> removal = window.Take(kEventMessage, kPlugMessage);
    devio.closeDevMonitor();
    EXPECT_TRUE(arrival.empty()) << "it was there all along";
    ASSERT_EQ(removal.size(), 1u);
    EXPECT_EQ(removal[0].wParam, 0u);
}

TEST_F(DevioHidDll, MalformedNoticesAreIgnored) {
    TestWindow window;
    Devio devio(path_);
    ASSERT_TRUE(devio.Usable());
    ASSERT_EQ(devio.openDevMonitor(window.Handle(), kEventMessage, kPlugMessage), 1);
    const HWND notifier = NotifierWindow();
    ASSERT_NE(notifier, nullptr);

    const GUID otherClass = {0x53F56307, 0xB6BF, 0x11D0, {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};
    Play(notifier, DBT_DEVICEARRIVAL, Notice(kMousePointer, otherClass));
    SendMessageW(notifier, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
    SendMessageW(notifier, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);

    std::vector<BYTE> wrongType = Notice(kMousePointer, kHidClass);
    reinterpret_cast<DEV_BROADCAST_HDR*>(wrongType.data())->dbch_devicetype = DBT_DEVTYP_HANDLE;
    Play(notifier, DBT_DEVICEARRIVAL, wrongType);

    std::vector<BYTE> tooSmall = Notice(kMousePointer, kHidClass);
    reinterpret_cast<DEV_BROADCAST_HDR*>(tooSmall.data())->dbch_size = sizeof(DEV_BROADCAST_HDR);
    Play(notifier, DBT_DEVICEARRIVAL, tooSmall);

    std::vector<BYTE> hugeSize = Notice(kMousePointer, kHidClass);
    reinterpret_cast<DEV_BROADCAST_HDR*>(hugeSize.data())->dbch_size = 0x7FFFFFFF;
    Play(notifier, DBT_DEVICEARRIVAL, hugeSize);
    EXPECT_TRUE(window.Take(kEventMessage, kPlugMessage).empty());

    // A name without its terminating zero that ends right at an inaccessible
    // page: reading one character past the notice's own size would crash.
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const size_t page = info.dwPageSize;
    auto* pages = static_cast<BYTE*>(VirtualAlloc(nullptr, 2 * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    ASSERT_NE(pages, nullptr);
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(pages + page, page, PAGE_NOACCESS, &old));
    const std::wstring name = kMousePointer;
    std::vector<BYTE> full = Notice(name, kHidClass);
    const size_t unterminated = full.size() - sizeof(wchar_t);
    BYTE* at = pages + page - unterminated;
    std::memcpy(at, full.data(), unterminated);
    reinterpret_cast<DEV_BROADCAST_HDR*>(at)->dbch_size = static_cast<DWORD>(unterminated);
    SendMessageW(notifier, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(at));
    std::vector<MSG> got = window.Take(kEventMessage, kPlugMessage);
    ASSERT_EQ(got.size(), 1u) << "the name, cut at the notice's size, is still the mouse";
    EXPECT_EQ(got[0].wParam, 1u);
    VirtualFree(pages, 0, MEM_RELEASE);

    devio.closeDevMonitor();
}

TEST_F(DevioHidDll, OpenCloseCyclesLeaveNoThreadsHandlesOrModuleBehind) {
    TestWindow window;
    auto cycle = [&] {
        Devio devio(path_);
        ASSERT_TRUE(devio.Usable());
        devio.setVidPid(0x5A21, 0x7C03);
        devio.openDevMonitor(window.Handle(), kEventMessage, kPlugMessage);
        devio.openFeature();
        devio.openReport();
        unsigned char command[8] = {0x01, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF6};
        unsigned char half[64] = {};
        devio.setFeature(command, 8);
        devio.writeUsb(half, 64);
        devio.closeFeature();
        devio.closeReport();
        devio.closeDevMonitor();
    };
    // The first round may leave things the system keeps once per process.
    cycle();
    const DWORD handles = HandlesOfThisProcess();
    const DWORD threads = ThreadsOfThisProcess();
    for (int i = 0; i < 5; ++i) cycle();
    EXPECT_EQ(HandlesOfThisProcess(), handles);
    EXPECT_EQ(ThreadsOfThisProcess(), threads);
    EXPECT_EQ(GetModuleHandleW(path_.c_str()), nullptr) << "FreeLibrary unloads it";
    window.Take(0, 0xFFFF);
}

TEST_F(DevioHidDll, FreeingTheLibraryWhileItWatchesKeepsItLoadedUntilClosed) {
    TestWindow window;
    {
        Devio devio(path_);
        ASSERT_TRUE(devio.Usable());
        ASSERT_EQ(devio.openDevMonitor(window.Handle(), kEventMessage, kPlugMessage), 1);
    }  // freed without Close_DevMonitor
    ASSERT_NE(GetModuleHandleW(path_.c_str()), nullptr) << "the watcher's code must stay loaded";
    const HWND notifier = NotifierWindow();
    ASSERT_NE(notifier, nullptr);
    Play(notifier, DBT_DEVICEARRIVAL, Notice(kMousePointer, kHidClass));
    EXPECT_EQ(window.Take(kEventMessage, kPlugMessage).size(), 1u);
    {
        Devio again(path_);
        ASSERT_TRUE(again.Usable());
        EXPECT_EQ(again.closeDevMonitor(), 1);
    }
    EXPECT_EQ(GetModuleHandleW(path_.c_str()), nullptr);
}

TEST(DevioHidCounters, TheProcessCountersUsedAboveSeeChanges) {
    // Guards the leak test against counters that never move.
    auto round = [](DWORD* handlesWhileRunning, DWORD* threadsWhileRunning) {
        KernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        KernelHandle thread(CreateThread(
            nullptr, 0, [](void* e) -> DWORD { return WaitForSingleObject(static_cast<HANDLE>(e), INFINITE); },
            event.get(), 0, nullptr));
        *handlesWhileRunning = HandlesOfThisProcess();
        *threadsWhileRunning = ThreadsOfThisProcess();
        SetEvent(event.get());
        WaitForSingleObject(thread.get(), INFINITE);
        thread.Reset();
        event.Reset();
    };
    DWORD handlesWhileRunning = 0, threadsWhileRunning = 0;
    // Wine starts a helper thread of its own with the first thread of a process.
    round(&handlesWhileRunning, &threadsWhileRunning);
    const DWORD handles = HandlesOfThisProcess();
    const DWORD threads = ThreadsOfThisProcess();
    round(&handlesWhileRunning, &threadsWhileRunning);
    EXPECT_EQ(handlesWhileRunning, handles + 2);
    EXPECT_EQ(threadsWhileRunning, threads + 1);
    EXPECT_EQ(HandlesOfThisProcess(), handles);
    EXPECT_EQ(ThreadsOfThisProcess(), threads);
}
