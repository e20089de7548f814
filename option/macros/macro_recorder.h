#pragma once
// What recording does with each key or button transition, without windows or
// hooks: the caller feeds plain events (a virtual key or a mouse button code,
// press or release, the event's own time stamp in milliseconds), so a delay is
// the time between the events themselves, not between their handling.
#include <bitset>
#include <cstdint>

#include "keyboard_layout.h"
#include "macro_steps.h"

enum class DelayMode : int {
    kMeasured = 0,  // the time since the last recorded step
    kFixed = 1,     // the fixed delay before every step but the first
    kNone = 2,      // no delay steps at all
};
// The mode numbers the page's buttons and the insert panel's message carry;
// an unknown number gives the page's initial mode, fixed.
DelayMode DelayModeFromNumber(int number);

class MacroRecorder {
public:
    // What one event did: whether steps were added, and whether recording must
    // now stop (60 key steps, or no room for another step).
    struct Outcome {
        bool added = false;
        bool stop = false;
    };

    // Appends at the end (insertPosition -1) or inserts from step
    // `insertPosition` on, moving on with every step added.
    void Start(DelayMode mode, uint32_t fixedDelay, int insertPosition = -1);
    void Stop();

    bool Recording() const { return recording_; }
    bool InsertRecording() const { return recording_ && insertPosition_ >= 0; }
    // Where the next step goes; -1 appends.
    int InsertPosition() const { return insertPosition_; }
    DelayMode Mode() const { return mode_; }
    uint16_t FixedDelay() const { return fixedDelay_; }
    uint32_t LastStepTime() const { return lastStepTime_; }

    // A key transition from the keyboard hook. A repeat of the previous
    // transition (the key held down), a key the device cannot send, and the
    // release of a key that was down before the recording began (the Enter
    // or Space that pressed Record) are dropped.
    Outcome OnKey(MacroWorkingCopy& copy, const IKeyboardLayout& layout, uint32_t virtualKey, bool release,
                  uint32_t timeMs);
    // A mouse button (device key codes 240-244).
    Outcome OnMouseButton(MacroWorkingCopy& copy, uint8_t buttonCode, bool release, uint32_t timeMs);

private:
    Outcome Add(MacroWorkingCopy& copy, uint8_t keyCode, bool release, uint32_t timeMs);
    uint16_t DelayBefore(uint32_t timeMs) const;
    int SlotsPerStep() const;

    bool recording_ = false;
    bool firstStep_ = false;
    DelayMode mode_ = DelayMode::kFixed;
    uint16_t fixedDelay_ = 0;
    int insertPosition_ = -1;
    uint32_t lastStepTime_ = 0;
    bool haveLastKey_ = false;
    uint32_t lastKey_ = 0;
    bool lastKeyRelease_ = false;
    std::bitset<256> down_;  // the virtual keys pressed in this recording and not yet released
};
