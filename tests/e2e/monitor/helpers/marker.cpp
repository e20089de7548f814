// A harmless program for launch buttons: it leaves "<its own name>.ran" beside
// itself, holding its command line, and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t path[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 2 - 1);
    std::wstring marker(path);
    const size_t dot = marker.rfind(L'.');
    if (dot != std::wstring::npos) marker.resize(dot);
    marker += L".ran";
    if (FILE* file = _wfopen(marker.c_str(), L"a")) {
        fwprintf(file, L"%ls\n", GetCommandLineW());
        fclose(file);
    }
    return 0;
}
