// Save followed by Load of the profile store: the suite's CIniFile against the
// same file written and read key by key through the platform's private-profile
// functions, side by side in one run. Prints times and ratios.
//
//   build/win/wine-run.sh build/win/bench/store/store_bench.exe [--platform-max N]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "performance_clock.h"
#include "platform_store.h"
#include "profile_store.h"

namespace {

double Now() { return PerformanceCounterMs() / 1000.0; }

// Sixteen buttons per profile, each carrying a full 160-step macro.
ProfileStore MacroLadenStore(int profiles) {
    std::mt19937 rng(7741);
    ProfileStore store;
    for (int i = 0; i < profiles; ++i) {
        auto p = std::make_unique<ProfileRecord>();
        InitNewProfile(*p, u"Profile" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                               std::u16string(1, static_cast<char16_t>(u'0' + i % 10)));
        for (int b = 0; b < kButtonCount; ++b) {
            ButtonAssignment& a = p->MacroKeyInfo[b];
            a.FunctionClass = kClassMacro;
            a.FunctionCode = kCodeMacro;
            a.macroIndex = b;
            CopyToField(a.macroName, u"Macro");
            a.eventCount = kMaxMacroEvents;
            for (auto& e : a.events)
                e = MacroEvent{static_cast<uint8_t>(4 + rng() % 60), static_cast<uint8_t>(1 + rng() % 2),
                               static_cast<uint16_t>(rng() % 500)};
        }
        store.profiles.push_back(std::move(p));
    }
    store.values = StoreValues{profiles, 0, 1, 1, 1, 1};
    return store;
}

// The best of `runs` timings of Save followed by Load.
template <typename SaveLoad>
double Best(int runs, SaveLoad&& saveLoad) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        saveLoad();
        best = std::min(best, Now() - start);
    }
    return best;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int platformMax = 50;
    for (int i = 1; i + 1 < argc; ++i)
        if (wcscmp(argv[i], L"--platform-max") == 0) platformMax = _wtoi(argv[i + 1]);

    wchar_t tempPath[MAX_PATH];
    GetTempPathW(MAX_PATH, tempPath);
    const std::filesystem::path folder = std::filesystem::path(tempPath) / L"gm-store-bench";
    std::filesystem::create_directories(folder);

    std::printf("store Save+Load, 16 macro-laden buttons per profile (best of runs, seconds)\n");
    std::printf("%9s %12s %14s %10s %10s\n", "profiles", "CIniFile", "key by key", "ratio", "file MB");
    double ours50 = 0, ours200 = 0;
    for (int count : {1, 10, 50, 200}) {
        const ProfileStore store = MacroLadenStore(count);
        const auto oursPath = folder / ("ours" + std::to_string(count) + ".data");
        const double ours = Best(count >= 50 ? 5 : 20, [&] {
            SaveProfileStore(oursPath, store);
            ProfileStore back;
            LoadProfileStore(oursPath, back);
            if (back.profiles.size() != store.profiles.size()) std::printf("load lost profiles!\n");
        });
        double theirs = -1;
        if (count <= platformMax) {
            int run = 0;
            theirs = Best(1, [&] {
                // A new file each time: the platform caches files by name.
                const std::wstring path = (folder / ("theirs" + std::to_string(count) + "_" +
                                                     std::to_string(run++) + ".data")).wstring();
                DeleteFileW(path.c_str());
                WriteStoreKeyByKey(path, store);
                ProfileStore back;
                ReadStoreKeyByKey(path, back);
            });
        }
        const double mb = static_cast<double>(std::filesystem::file_size(oursPath)) / 1e6;
        if (theirs > 0)
            std::printf("%9d %12.4f %14.3f %9.0fx %10.2f\n", count, ours, theirs, theirs / ours, mb);
        else
            std::printf("%9d %12.4f %14s %10s %10.2f\n", count, ours, "(skipped)", "-", mb);
        if (count == 50) ours50 = ours;
        if (count == 200) ours200 = ours;
    }
    std::printf("growth: 200 profiles take %.2fx the time of 50 (linear is 4x; target at most 5x)\n",
                ours200 / ours50);
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return 0;
}
