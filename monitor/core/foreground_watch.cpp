#include "foreground_watch.h"

std::optional<std::wstring> ForegroundWatch::Look() {
    const uintptr_t window = platform_.Window();
    // No window in front happens between two activations: what was in front
    // before may well come back, and is then no change.
    if (window == 0 || window == last_) return std::nullopt;
    last_ = window;
    std::wstring program = platform_.ProgramOf(window);
    if (program.empty()) return std::nullopt;
    return program;
}

void ForegroundWatch::FollowProgramInFront() {
    if (last_ != 0) platform_.Follow(last_);
}
