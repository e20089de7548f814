// gmconfig on Windows: takes the Monitor's store lock when it exists and asks
// a running Monitor to apply what was saved.
#include <windows.h>

#include <io.h>

#include <iostream>
#include <sstream>

#include "app_messages.h"
#include "gmconfig.h"
#include "named_mutex_lock.h"
#include "program_folder.h"
#include "text_codec.h"

namespace {

class Win32Platform final : public IGmconfigPlatform {
public:
    std::filesystem::path ProgramFolder() override { return GetProgramFolder(); }
    std::unique_ptr<ISharedLock> OpenStoreLock() override { return NamedMutexLock::Open(kStoreLockName); }
    bool NotifyMonitor() override {
        HWND monitor = FindWindowW(nullptr, kMonitorWindowTitle);
        return monitor && PostMessageW(monitor, WM_APPLY_ALL_SETTING, 0, 0);
    }
};

// UTF-8 text to a console as characters, to a pipe or file as UTF-8 bytes.
void Emit(DWORD which, const std::string& utf8) {
    if (utf8.empty()) return;
    HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::u16string text = Utf8ToU16(utf8);
        DWORD written = 0;
        WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    DWORD written = 0;
    WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(U16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(argv[i]))));
    Win32Platform platform;
    std::ostringstream out, err;
    const int code = RunGmconfig(args, out, err, platform);
    Emit(STD_OUTPUT_HANDLE, out.str());
    Emit(STD_ERROR_HANDLE, err.str());
    return code;
}
