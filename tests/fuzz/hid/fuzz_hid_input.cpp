// Interface paths from plug notices and input reports from the device: neither
// may crash the library, path matching must not depend on letter case, and an
// arrival followed by the removal of the same path must leave the tracker as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "hid_framing.h"
#include "plug_tracker.h"

using namespace hidio;

namespace {

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ParseInputReport({data, size});
    if (size < 4) return 0;
    const uint16_t vid = static_cast<uint16_t>(data[0] | (data[1] << 8));
    const uint16_t pid = static_cast<uint16_t>(data[2] | (data[3] << 8));
    // The rest is the path, one byte per character, as the notices' ASCII paths are.
    std::wstring path(data + 4, data + size);

    const bool matches = PathMatchesVidPid(path, vid, pid);
    if (PathMatchesVidPid(Upper(path), vid, pid) != matches) std::abort();

    PlugTracker tracker;
    if (tracker.OnArrival(path) != PlugTracker::Plug::kAttached) std::abort();
    if (tracker.OnRemoval(Upper(path)) != PlugTracker::Plug::kRemoved) std::abort();
    if (tracker.AnyPresent()) std::abort();
    return 0;
}
