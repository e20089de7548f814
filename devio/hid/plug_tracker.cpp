#include "plug_tracker.h"

namespace hidio {

std::wstring PlugTracker::Key(std::wstring_view path) {
    std::wstring key(path);
    for (wchar_t& c : key) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return key;
}

void PlugTracker::Seed(const std::vector<std::wstring>& presentPaths) {
    present_.clear();
    for (const std::wstring& path : presentPaths) present_.insert(Key(path));
}

std::optional<PlugTracker::Plug> PlugTracker::OnArrival(std::wstring_view path) {
    const bool wasEmpty = present_.empty();
    if (!present_.insert(Key(path)).second) return std::nullopt;
    if (wasEmpty) return Plug::kAttached;
    return std::nullopt;
}

std::optional<PlugTracker::Plug> PlugTracker::OnRemoval(std::wstring_view path) {
    if (present_.erase(Key(path)) == 0) return std::nullopt;
    if (present_.empty()) return Plug::kRemoved;
    return std::nullopt;
}

}  // namespace hidio
