#include <system_error>

#include "program_folder.h"

std::filesystem::path GetProgramFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path();
}
