#pragma once
// gmconfig: a command line over a program folder's profile store and macro
// library. It saves the way Option saves (part flags from the comparison with
// the store as it was, under the shared lock when there is one) and tells a
// running Monitor to apply.
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class ISharedLock;

// What differs between Windows and elsewhere.
class IGmconfigPlatform {
public:
    virtual ~IGmconfigPlatform() = default;
    // The folder of the executable: the default program folder.
    virtual std::filesystem::path ProgramFolder() = 0;
    // The store lock when a Monitor has created it; null otherwise.
    virtual std::unique_ptr<ISharedLock> OpenStoreLock() = 0;
    // Posts the apply request to a running Monitor. False when none runs.
    virtual bool NotifyMonitor() = 0;
};

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;    // a file could not be written
inline constexpr int kExitBadInput = 2;  // nothing was changed
inline constexpr int kExitSlotDiffers = 3;  // slot-check: the virtual mouse holds something else

// Runs one command line (without the program name). Arguments and output are UTF-8.
int RunGmconfig(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                IGmconfigPlatform& platform);
