#pragma once
// The one key combination that the recorder and the assignment dialog's key
// page do not take as a key: it ends their listening, as Stop does, since
// while they listen every other key (Tab, Enter and Esc included) is theirs.
// The keys must come in their order, each held, the last one a press; the
// modifiers pressed on the way are held back until it is clear whether they
// start the combination, and are handed on unchanged (their own time stamps
// kept) as soon as it is clear they do not.
#include <array>
#include <cstdint>
#include <vector>

// Ctrl, then Alt, then End (the generic virtual keys; either side's Ctrl and
// Alt count). No game binds it: Ctrl+Alt with a navigation key belongs to the
// system's own shortcuts.
inline constexpr std::array<uint32_t, 3> kStopListeningChord = {0x11 /*Ctrl*/, 0x12 /*Alt*/, 0x23 /*End*/};

struct HeardKey {
    uint32_t virtualKey = 0;
    bool release = false;
    uint32_t timeMs = 0;
    bool operator==(const HeardKey&) const = default;
};

class StopChordFilter {
public:
    struct Outcome {
        std::vector<HeardKey> pass;  // the keys to take now, oldest first
        bool complete = false;       // the combination was pressed: listening ends
    };

    Outcome Feed(const HeardKey& key);
    // The keys held back so far, handed on when listening ends another way
    // (Stop clicked while a modifier is down).
    std::vector<HeardKey> Flush();
    void Reset() { held_.clear(); }

private:
    std::vector<HeardKey> held_;
};
