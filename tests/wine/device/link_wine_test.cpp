// devio.dll bound for real under Wine: a missing or incomplete library, the
// virtual mouse driven by mousesim, and random stores downloaded through the
// binding, the worker and the virtual mouse, held against the printed listing
// and the mouse's own memory.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "app_messages.h"
#include "devio_api.h"
#include "device_library_win32.h"
#include "device_worker_win32.h"
#include "download_report.h"
#include "kernel_handle.h"
#include "random_profile.h"
#include "sim_state_file.h"
#include "text_codec.h"
#include "../../support/temp_folder.h"
#include "wine_test_support.h"

namespace {

class QuietHost final : public ILinkHost {
public:
    void WaitMs(int) override {}
    void PostFullDownload() override { ++fullDownloads; }
    void ShowConnected() override {}
    void ShowUnplugged() override {}
    void CloseOptionWindow() override {}
    void DebugText(const std::string& text) override { debug += text; }
    int fullDownloads = 0;
    std::string debug;
};

TEST(DeviceLibraryWine, MissingLibraryGivesNotPresent) {
    const TempFolder empty;
    DeviceLibrary library;
    EXPECT_FALSE(library.Load(empty.path()));
    EXPECT_FALSE(library.IsComplete());
    QuietHost host;
    DeviceLink link(library, host);
    EXPECT_EQ(link.Connect(nullptr), DeviceState::kNotPresent);
    link.OnDevicePlug(1);
    EXPECT_EQ(link.State(), DeviceState::kNotPresent);
    EXPECT_EQ(host.fullDownloads, 0);
    EXPECT_NE(host.debug.find("devio.dll"), std::string::npos);
    // Calls through the binding are refused, not made through null pointers.
    const FeatureCommand start = StartCommand();
    EXPECT_EQ(library.SetFeature(start), 0);
    EXPECT_EQ(library.OpenReportDevice(), 0);
    link.Shutdown();
    // A relative folder is never searched.
    EXPECT_FALSE(library.Load(L"relative\\folder"));
}

TEST(DeviceLibraryWine, MissingExportGivesNotPresent) {
    DeviceLibrary library;
    ASSERT_TRUE(library.Load(wine_test::ExeFolder() / L"partial"));
    EXPECT_TRUE(library.IsLoaded());
    EXPECT_FALSE(library.IsComplete());
    EXPECT_EQ(library.MissingExports(), std::vector<std::string>{"WriteUSB"});
    QuietHost host;
    DeviceLink link(library, host);
    EXPECT_EQ(link.Connect(nullptr), DeviceState::kNotPresent);
    EXPECT_NE(host.debug.find("WriteUSB"), std::string::npos);
    const ReportHalf half{};
    EXPECT_EQ(library.WriteUSB(half), 0);
    library.Unload();
    EXPECT_FALSE(library.IsLoaded());
}

// The virtual mouse loaded from beside this program, with its trace and state
// files in a folder of the test's own.
class VirtualMouseWine : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = temp_.path();
        trace_ = folder_ / L"trace.txt";
        state_ = folder_ / L"state.ini";
        SetEnvironmentVariableW(L"DEVIO_SIM_TRACE", trace_.c_str());
        SetEnvironmentVariableW(L"DEVIO_SIM_STATE", state_.c_str());
        ASSERT_TRUE(library_.Load(wine_test::ExeFolder()));
        ASSERT_TRUE(library_.IsComplete()) << library_.Problem();
        link_ = std::make_unique<DeviceLink>(library_, host_);
        worker_ = std::make_unique<DeviceWorker>(library_, *link_);
        ASSERT_TRUE(worker_->Start());
        ASSERT_EQ(link_->Connect(monitor_.hwnd()), DeviceState::kConnected);
    }
    void TearDown() override {
        if (worker_) worker_->Stop();
        if (link_) link_->Shutdown();
        library_.Unload();
    }

    // Trace lines without their time stamps.
    std::vector<std::string> TraceLines() const {
        std::ifstream in(trace_, std::ios::binary);
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const size_t space = line.find(' ');
            lines.push_back(space == std::string::npos ? line : line.substr(space + 1));
        }
        return lines;
    }
    size_t EndCommands() const {
        size_t n = 0;
        for (const std::string& l : TraceLines()) n += l == "SetFeature 02 01 00 00 00 00 00 FC" ? 1 : 0;
        return n;
    }

    int RunMousesim(const std::wstring& args, std::string* output = nullptr) {
        return RunTool(L"mousesim.exe", args, output);
    }
    // Runs a program of the test's folder; its output (both streams) in `output`.
    int RunTool(const std::wstring& exe, const std::wstring& args, std::string* output = nullptr) {
        // A file per run: the last run's process may still be letting go of its own.
        const auto outFile = folder_ / (L"tool-out-" + std::to_wstring(++toolRuns_) + L".txt");
        SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
        KernelHandle out(CreateFileW(outFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr));
        if (!out) return -1;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = out.get();
        si.hStdError = out.get();
        PROCESS_INFORMATION pi{};
        std::wstring command = L"\"" + (wine_test::ExeFolder() / exe).wstring() + L"\" " + args;
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                            &pi))
            return -1;
        const KernelHandle thread(pi.hThread), process(pi.hProcess);
        // mousesim talks to the library's control window, which runs on its own
        // thread; keep this thread's messages moving meanwhile.
        wine_test::PumpUntil([&] { return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0; }, 30000);
        DWORD code = 0;
        GetExitCodeProcess(process.get(), &code);
        out.Reset();  // our end closed before the file is read
        if (output != nullptr) {
            std::ifstream in(outFile, std::ios::binary);
            std::stringstream text;
            text << in.rdbuf();
            *output = text.str();
            std::erase(*output, '\r');
        }
        return static_cast<int>(code);
    }

    TempFolder temp_;
    std::filesystem::path folder_, trace_, state_;
    int toolRuns_ = 0;
    wine_test::MessageWindow monitor_{L"device link test monitor"};
    QuietHost host_;
    DeviceLibrary library_;
    std::unique_ptr<DeviceLink> link_;
    std::unique_ptr<DeviceWorker> worker_;
};

TEST_F(VirtualMouseWine, RandomStoresMatchTheListingAndTheMouse) {
    wine_test::MessageWindow option(kOptionWindowTitle);
    std::mt19937 rng(20240611);
    const TempFolder store;
    const auto program = store.path();
    std::filesystem::create_directories(program / L"config");
    size_t traceSeen = TraceLines().size();
    int applies = 0;
    for (int round = 0; round < 10; ++round) {
        // Write a store through the store API, and read it back as the Monitor does.
        ProfileStore written;
        const int profiles = 1 + round % 3;
        for (int i = 0; i < profiles; ++i) {
            auto p = std::make_unique<ProfileRecord>();
            device_test::RandomProfile(rng, *p);
            written.profiles.push_back(std::move(p));
        }
        written.values = {profiles, round % profiles, round % 2, round % 3 == 0, 1, round % 4 == 1};
        ASSERT_TRUE(SaveProfileStore(ProfileStorePath(program), written));
        ProfileStore store;
        LoadProfileStore(ProfileStorePath(program), store);
        ASSERT_EQ(store.profiles.size(), size_t(profiles));
        const ProfileRecord current = *CurrentProfile(store);

        // The command a person would type prints the same listing.
        if (round < 2) {
            std::string printed;
            ASSERT_EQ(RunTool(L"gmconfig.exe", L"--folder \"" + program.wstring() + L"\" reports --full", &printed), 0)
                << printed;
            EXPECT_EQ(printed, FormatDownloadReport(store, true));
        }
        for (const bool full : {true, false}) {
            std::vector<std::string> expected;
            for (const std::string& line : DownloadReportLines(store, full))
                if (line.rfind("Sleep ", 0) != 0) expected.push_back(line);
            const size_t ends = EndCommands();
            ASSERT_TRUE(worker_->PostDownload(store, full ? DownloadKind::kEverything : DownloadKind::kChangedParts));
            applies += full ? 0 : 1;
            ASSERT_TRUE(wine_test::PumpUntil([&] {
                return EndCommands() == ends + 1 && option.Count(WM_APPLY_DONE) == applies;
            })) << "round " << round;
            const std::vector<std::string> trace = TraceLines();
            const std::vector<std::string> got(trace.begin() + static_cast<std::ptrdiff_t>(traceSeen), trace.end());
            traceSeen = trace.size();
            ASSERT_EQ(got, expected) << "round " << round << (full ? " full" : " apply");

            MouseSlot slot;
            SimStatus status;
            ASSERT_TRUE(ReadSimStateFile(state_, slot, status));
            EXPECT_EQ(status.protocolErrors, 0);
            const PartFlags parts = full ? PartFlags::All() : PartFlags::FromStore(store.values);
            const auto diff = device_test::CompareSlot(DecodeSlot(slot), slot, current, parts);
            ASSERT_TRUE(diff.empty()) << "round " << round << ": " << diff.front();
        }
    }
    // An apply with no current profile sends nothing and is not queued.
    ProfileStore none;
    none.values.ProfileID = 4;
    EXPECT_FALSE(worker_->PostDownload(none, DownloadKind::kChangedParts));
}

TEST_F(VirtualMouseWine, MousesimPlugsAndPressesButtons) {
    std::string out;
    ASSERT_EQ(RunMousesim(L"dpi-button 3"), 0);
    ASSERT_TRUE(wine_test::PumpUntil([&] { return monitor_.Count(WM_DEVICE_EVENT) == 1; }));
    const auto event = monitor_.Of(WM_DEVICE_EVENT)[0];
    EXPECT_EQ(event.wParam, 0x0700u);
    EXPECT_EQ(event.lParam, 3);

    // The Monitor's reaction to the plug messages, run through the link.
    const auto follow = [&](size_t plugs) {
        return wine_test::PumpUntil([&] { return monitor_.Count(WM_DEVICE_PLUG) == int(plugs); });
    };
    ASSERT_EQ(RunMousesim(L"unplug"), 0);
    ASSERT_TRUE(follow(1));
    EXPECT_EQ(monitor_.Of(WM_DEVICE_PLUG)[0].wParam, 0u);
    link_->OnDevicePlug(monitor_.Of(WM_DEVICE_PLUG)[0].wParam);
    EXPECT_EQ(link_->State(), DeviceState::kRemoved);
    // Detached: the channels fail, the open reports no mouse, buttons cannot be pressed.
    EXPECT_EQ(library_.SetFeature(StartCommand()), 0);
    EXPECT_EQ(library_.OpenReportDevice(), 0);
    EXPECT_EQ(RunMousesim(L"config-button", &out), 1);
    EXPECT_NE(out.find("detached"), std::string::npos);
    ASSERT_EQ(RunMousesim(L"state", &out), 0);
    EXPECT_EQ(out.rfind("detached", 0), 0u) << out;

    ASSERT_EQ(RunMousesim(L"plug"), 0);
    ASSERT_TRUE(follow(2));
    EXPECT_EQ(monitor_.Of(WM_DEVICE_PLUG)[1].wParam, 1u);
    link_->OnDevicePlug(monitor_.Of(WM_DEVICE_PLUG)[1].wParam);
    EXPECT_EQ(link_->State(), DeviceState::kConnected);
    EXPECT_EQ(host_.fullDownloads, 1);
    // The link reopened the channels: a download goes through again.
    ProfileStore store;
    store.profiles.push_back(std::make_unique<ProfileRecord>());
    MakeMonitorDefaultProfile(*store.profiles[0]);
    store.values.ProfileID = 0;
    const size_t before = TraceLines().size();
    ASSERT_TRUE(worker_->PostDownload(store, DownloadKind::kEverything));
    ASSERT_TRUE(wine_test::PumpUntil([&] { return EndCommands() == 1; }));
    const auto after = TraceLines();
    EXPECT_EQ(std::count_if(after.begin() + std::ptrdiff_t(before), after.end(),
                            [](const std::string& l) { return l.find("failed") != std::string::npos; }),
              0);
    ASSERT_EQ(RunMousesim(L"state", &out), 0);
    EXPECT_NE(out.find("attached\nprotocol errors: 0\ndownloads: 1\n"), std::string::npos) << out;

    ASSERT_EQ(RunMousesim(L"launch-button 4"), 0);
    ASSERT_EQ(RunMousesim(L"event 0x1234 0xBEEF"), 0);
    ASSERT_TRUE(wine_test::PumpUntil([&] { return monitor_.Count(WM_DEVICE_EVENT) == 3; }));
    EXPECT_EQ(monitor_.Of(WM_DEVICE_EVENT)[1].wParam, 0x000Au);
    EXPECT_EQ(monitor_.Of(WM_DEVICE_EVENT)[1].lParam, 4);
    EXPECT_EQ(monitor_.Of(WM_DEVICE_EVENT)[2].lParam, 0xBEEF);

    EXPECT_EQ(RunMousesim(L"dpi-button", &out), 2);
    EXPECT_EQ(RunMousesim(L"fly"), 2);

    const auto trace = TraceLines();
    const std::vector<std::string> head(trace.begin(), trace.begin() + 4);
    EXPECT_EQ(head, (std::vector<std::string>{"Set_VIDPID 5A21 7C03", "Open_DevMonitor 1325 1326",
                                              "Open_FeatureDevice", "Open_ReportDevice"}));
    EXPECT_NE(std::find(trace.begin(), trace.end(), "mousesim unplug"), trace.end());
    EXPECT_NE(std::find(trace.begin(), trace.end(), "mousesim event 0700 0003"), trace.end());
    EXPECT_NE(std::find(trace.begin(), trace.end(), "SetFeature 01 08 00 00 00 00 00 F6 failed"), trace.end());
    EXPECT_NE(std::find(trace.begin(), trace.end(), "Open_ReportDevice failed"), trace.end());
}

TEST_F(VirtualMouseWine, BrokenFramingIsCountedNotApplied) {
    // The raw export, to send what the binding never would: a short report.
    HMODULE module = LoadLibraryExW((wine_test::ExeFolder() / L"devio.dll").c_str(), nullptr, 0);
    ASSERT_NE(module, nullptr);
    const auto rawSetFeature = reinterpret_cast<PFN_SetFeature>(reinterpret_cast<void*>(GetProcAddress(module, "SetFeature")));
    ASSERT_NE(rawSetFeature, nullptr);
    unsigned char shortCommand[4] = {0x01, 0x08, 0x00, 0x00};
    EXPECT_EQ(rawSetFeature(shortCommand, 4), 1);       // delivered, but not a command
    EXPECT_EQ(rawSetFeature(nullptr, 8), 1);
    library_.SetFeature(StartCommand());
    library_.SetFeature(ButtonTableCommand());
    const ReportHalf half{};
    library_.WriteUSB(half);  // one half only
    library_.SetFeature(EndCommand());
    FreeLibrary(module);

    MouseSlot slot;
    SimStatus status;
    ASSERT_TRUE(ReadSimStateFile(state_, slot, status));
    EXPECT_EQ(status.protocolErrors, 3);
    EXPECT_EQ(status.downloads, 1);
    EXPECT_EQ(slot.buttonTable, MouseSlot::Factory().buttonTable);
    const auto trace = TraceLines();
    const std::string shortLine = "SetFeature length 4 01 08 00 00 # protocol error: feature report of 4 bytes";
    EXPECT_NE(std::find(trace.begin(), trace.end(), shortLine), trace.end());
    EXPECT_NE(trace.back().find("# protocol error"), std::string::npos) << trace.back();
}

}  // namespace
