#pragma once
// The foreground as Windows reports it, for the Monitor's ForegroundWatch.
#include <windows.h>

#include "foreground_watch.h"
#include "kernel_handle.h"

class CForegroundWindow final : public IForegroundWindow {
public:
    uintptr_t Window() override;
    std::wstring ProgramOf(uintptr_t window) override;
    void Follow(uintptr_t window) override;
    std::vector<std::wstring> FollowedPrograms() override;

private:
    struct Followed {
        std::wstring program;
        DWORD processId = 0;
        KernelHandle process;  // signalled when the program ends
    };
    // One wait takes at most this many; the oldest is dropped for a new one.
    static constexpr size_t kMostFollowed = MAXIMUM_WAIT_OBJECTS;
    std::vector<Followed> followed_;
};
