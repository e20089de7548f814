// Times the bare store reload, in the same Wine and on the same file as the
// Monitor, so the apply benchmark can tell the store's share from the
// Monitor's own.
//
//   store_load_probe.exe FOLDER COUNT      prints the median load time in ms
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "profile_store.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const std::filesystem::path file = ProfileStorePath(argv[1]);
    const int count = std::max(1, _wtoi(argv[2]));
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    size_t profiles = 0;
    for (int i = 0; i < count; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        ProfileStore store;
        LoadProfileStore(file, store);
        QueryPerformanceCounter(&end);
        profiles = store.profiles.size();
        times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    printf("%.3f %zu\n", times[times.size() / 2], profiles);
    return 0;
}
