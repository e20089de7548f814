// Wall time of a full download through devio.dll (the virtual mouse), as a
// ratio to the waits the protocol mandates: 240 ms plus 60 ms per macro. The
// waits are the physical floor; everything above them is our overhead or a
// coarse timer. Measured side by side in one run:
//   worker       the DeviceWorker as the Monitor runs it (timer at 1 ms per download)
//   direct 1ms   the same download on this thread, timer resolution raised
//   direct tick  the same without raising it (what a plain Sleep gives)
// Target: the worker at most 1.10x.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "button_table.h"
#include "device_library_win32.h"
#include "device_worker_win32.h"
#include "download_job.h"
#include "kernel_handle.h"
#include "performance_clock.h"
#include "platform_sleeper_win32.h"
#include "profile_store.h"

namespace {

class NullHost final : public ILinkHost {
public:
    void WaitMs(int) override {}
    void PostFullDownload() override {}
    void ShowConnected() override {}
    void ShowUnplugged() override {}
    void CloseOptionWindow() override {}
    void DebugText(const std::string& text) override { fputs(text.c_str(), stderr); }
};

// Signals when the worker answers, which it does right after the end command.
class SignalHost final : public IWorkerHost {
public:
    SignalHost() : done_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
    bool PostApplyDone() override {
        SetEvent(done_.get());
        return true;
    }
    void DebugText(const char*) override {}
    HANDLE done() const { return done_.get(); }

private:
    KernelHandle done_;
};

void WithMacros(ProfileRecord& p, int macros) {
    MakeMonitorDefaultProfile(p);
    for (int m = 0; m < macros; ++m) {
        ButtonAssignment& b = p.MacroKeyInfo[m];
        b.FunctionClass = kClassMacro;
        b.FunctionCode = kCodeMacro;
        b.eventCount = 40;
        for (int i = 0; i < 40; ++i) b.events[i] = {uint8_t(0x04 + i % 26), uint8_t(i % 2 ? 2 : 1), uint16_t(30 * i)};
    }
}

double Direct(IDeviceChannel& channel, const ProfileRecord& p, bool raise) {
    PlatformSleeper sleeper(raise);
    auto scratch = std::make_unique<ButtonTable>();
    const double start = PerformanceCounterMs();
    sleeper.BeginPreciseWaits();
    RunDownload(channel, sleeper, p, PartFlags::All(), *scratch);
    sleeper.EndPreciseWaits();
    return PerformanceCounterMs() - start;
}

double ThroughWorker(DeviceWorker& worker, SignalHost& host, const ProfileRecord& p) {
    auto job = std::make_unique<DownloadJob>();
    job->kind = DownloadKind::kChangedParts;  // answered, so we see the end; all parts flagged
    job->parts = PartFlags::All();
    job->profile = p;
    const double start = PerformanceCounterMs();
    if (!worker.PostJob(std::move(job))) return -1;
    WaitForSingleObject(host.done(), INFINITE);
    return PerformanceCounterMs() - start;
}

}  // namespace

int main() {
    wchar_t exe[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH * 4);
    const std::filesystem::path folder = std::filesystem::path(std::wstring(exe, n)).parent_path();
    const std::filesystem::path scratchFolder = std::filesystem::temp_directory_path() / L"gm_download_bench";
    std::filesystem::create_directories(scratchFolder);
    SetEnvironmentVariableW(L"DEVIO_SIM_TRACE", (scratchFolder / L"trace.txt").c_str());
    SetEnvironmentVariableW(L"DEVIO_SIM_STATE", (scratchFolder / L"state.ini").c_str());

    DeviceLibrary library;
    if (!library.Load(folder) || !library.IsComplete()) {
        fprintf(stderr, "download bench: %s\n", library.Problem().c_str());
        return 1;
    }
    NullHost linkHost;
    DeviceLink link(library, linkHost);
    SignalHost workerHost;
    DeviceWorker worker(library, link, &workerHost);
    worker.Start();
    if (link.Connect(nullptr) != DeviceState::kConnected) {
        fprintf(stderr, "download bench: the virtual mouse is not there\n");
        return 1;
    }

    constexpr int kRounds = 3;
    auto profile = std::make_unique<ProfileRecord>();
    printf("full download through the virtual mouse: wall time / mandated waits (best of %d)\n", kRounds);
    printf("%-7s %-9s %-12s %-12s %-12s\n", "macros", "mandated", "worker", "direct 1ms", "direct tick");
    double worst = 0;
    for (int macros : {0, 1, 4}) {
        WithMacros(*profile, macros);
        const double mandated = MandatedWaitMs(PartFlags::All(), macros);
        double best[3] = {1e9, 1e9, 1e9};
        for (int round = 0; round < kRounds; ++round) {
            best[0] = std::min(best[0], ThroughWorker(worker, workerHost, *profile));
            best[1] = std::min(best[1], Direct(library, *profile, true));
            best[2] = std::min(best[2], Direct(library, *profile, false));
        }
        worst = std::max(worst, best[0] / mandated);
        printf("%-7d %-9.0f %5.3fx       %5.3fx       %5.3fx\n", macros, mandated, best[0] / mandated,
               best[1] / mandated, best[2] / mandated);
    }
    printf("worst worker ratio %.3fx (target at most 1.10x): %s\n", worst, worst <= 1.10 ? "met" : "NOT met");
    worker.Stop();
    link.Shutdown();
    library.Unload();
    std::error_code ec;
    std::filesystem::remove_all(scratchFolder, ec);
    return 0;
}
