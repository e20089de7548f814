#include "stop_chord.h"

#include <utility>

namespace {

// The left and right keys the low-level hook reports stand for the generic one.
uint32_t Generic(uint32_t virtualKey) {
    switch (virtualKey) {
        case 0xA0:
        case 0xA1: return 0x10;  // Shift
        case 0xA2:
        case 0xA3: return 0x11;  // Ctrl
        case 0xA4:
        case 0xA5: return 0x12;  // Alt
        default: return virtualKey;
    }
}

}  // namespace

StopChordFilter::Outcome StopChordFilter::Feed(const HeardKey& key) {
    const uint32_t generic = Generic(key.virtualKey);
    if (!key.release) {
        // A held modifier repeats while it is held: still the same combination.
        for (const HeardKey& held : held_)
            if (Generic(held.virtualKey) == generic) return {};
        if (held_.size() < kStopListeningChord.size() && generic == kStopListeningChord[held_.size()]) {
            if (held_.size() + 1 == kStopListeningChord.size()) {
                held_.clear();
                return {{}, true};
            }
            held_.push_back(key);
            return {};
        }
    }
    Outcome outcome;
    outcome.pass = Flush();
    outcome.pass.push_back(key);
    return outcome;
}

std::vector<HeardKey> StopChordFilter::Flush() { return std::exchange(held_, {}); }
