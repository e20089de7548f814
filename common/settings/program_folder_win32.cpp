#include <windows.h>

#include <vector>

#include "program_folder.h"

std::filesystem::path GetProgramFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return std::filesystem::path(std::wstring(buffer.data(), n)).parent_path();
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
}
