#pragma once
// Turns the system's per-interface arrival and removal notices into one arrival
// and one removal per plug of the mouse.
//
// Windows reports every HID interface of a device separately: the mouse's own
// pointer collection, its keyboard collection and the two vendor collections each
// arrive and leave on their own. The Monitor wants to hear "attached" once when
// the first of them appears and "removed" once when the last one is gone.
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace hidio {

class PlugTracker {
public:
    enum class Plug { kRemoved = 0, kAttached = 1 };

    // Interfaces already present when watching starts: they announce nothing.
    void Seed(const std::vector<std::wstring>& presentPaths);

    // A matching interface arrived; kAttached when it is the first one present.
    std::optional<Plug> OnArrival(std::wstring_view path);
    // A matching interface left; kRemoved when it was the last one present. The
    // removal of a path never seen arriving changes nothing.
    std::optional<Plug> OnRemoval(std::wstring_view path);

    bool AnyPresent() const { return !present_.empty(); }

private:
    // Paths compare without regard to letter case: the notices and the
    // enumeration spell the same interface differently.
    static std::wstring Key(std::wstring_view path);

    std::set<std::wstring> present_;
};

}  // namespace hidio
