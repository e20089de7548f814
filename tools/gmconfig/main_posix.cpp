// gmconfig on Linux: no Monitor to tell and no shared lock to take.
#include <iostream>

#include "gmconfig.h"
#include "program_folder.h"
#include "shared_lock.h"

namespace {

class PosixPlatform final : public IGmconfigPlatform {
public:
    std::filesystem::path ProgramFolder() override { return GetProgramFolder(); }
    std::unique_ptr<ISharedLock> OpenStoreLock() override { return nullptr; }
    bool NotifyMonitor() override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    PosixPlatform platform;
    return RunGmconfig(args, std::cout, std::cerr, platform);
}
