#include "macro_recorder.h"

#include <algorithm>

#include "key_codes.h"

DelayMode DelayModeFromNumber(int number) {
    switch (number) {
        case 0: return DelayMode::kMeasured;
        case 2: return DelayMode::kNone;
        default: return DelayMode::kFixed;
    }
}

void MacroRecorder::Start(DelayMode mode, uint32_t fixedDelay, int insertPosition) {
    recording_ = true;
    firstStep_ = true;
    mode_ = mode;
    fixedDelay_ = static_cast<uint16_t>(std::min<uint32_t>(fixedDelay, kMaxStepDelay));
    insertPosition_ = insertPosition < 0 ? -1 : insertPosition;
    lastStepTime_ = 0;
    // A new recording owes nothing to the last one: its first key is never
    // taken for the repeat of a key from before.
    haveLastKey_ = false;
    down_.reset();
}

void MacroRecorder::Stop() {
    recording_ = false;
    firstStep_ = false;
    insertPosition_ = -1;
    lastStepTime_ = 0;
    haveLastKey_ = false;
}

MacroRecorder::Outcome MacroRecorder::OnKey(MacroWorkingCopy& copy, const IKeyboardLayout& layout,
                                            uint32_t virtualKey, bool release, uint32_t timeMs) {
    if (!recording_) return {};
    if (haveLastKey_ && virtualKey == lastKey_ && release == lastKeyRelease_) return {};
    const size_t bit = virtualKey & 0xFF;
    if (release && !down_.test(bit)) return {};
    uint32_t deviceCode = 0;
    // A key without a device code would be stored as key 0, which plays
    // nothing and has no name; it is left out, delay and all.
    if (!VirtualKeyToDeviceCode(layout, virtualKey, deviceCode) || deviceCode == 0 || deviceCode >= kDelayStepKey)
        return {};
    const Outcome outcome = Add(copy, static_cast<uint8_t>(deviceCode), release, timeMs);
    if (outcome.added) {
        down_.set(bit, !release);
        haveLastKey_ = true;
        lastKey_ = virtualKey;
        lastKeyRelease_ = release;
    }
    return outcome;
}

MacroRecorder::Outcome MacroRecorder::OnMouseButton(MacroWorkingCopy& copy, uint8_t buttonCode, bool release,
                                                    uint32_t timeMs) {
    if (!recording_ || !IsMouseButtonCode(buttonCode)) return {};
    return Add(copy, buttonCode, release, timeMs);
}

int MacroRecorder::SlotsPerStep() const { return mode_ == DelayMode::kNone ? 1 : 2; }

uint16_t MacroRecorder::DelayBefore(uint32_t timeMs) const {
    if (mode_ == DelayMode::kFixed) return fixedDelay_;
    // Unsigned difference survives the tick count wrapping; a time stamp
    // older than the last step (events handed over out of order) waits 0.
    const uint32_t elapsed = timeMs - lastStepTime_;
    if (static_cast<int32_t>(elapsed) < 0) return 0;
    return static_cast<uint16_t>(std::min<uint32_t>(elapsed, kMaxStepDelay));
}

MacroRecorder::Outcome MacroRecorder::Add(MacroWorkingCopy& copy, uint8_t keyCode, bool release, uint32_t timeMs) {
    const bool withDelay = !firstStep_ && mode_ != DelayMode::kNone;
    // A step that cannot be added whole is not added at all: a delay step
    // without the key it waits for would be left behind otherwise.
    if (copy.KeySteps() >= kMaxRecordedKeySteps || !copy.Fits(withDelay ? 2 : 1)) return {false, true};
    if (insertPosition_ > copy.count) insertPosition_ = copy.count;
    auto put = [&](const MacroEvent& event) {
        if (insertPosition_ >= 0)
            copy.InsertAt(insertPosition_++, event);
        else
            copy.InsertAt(copy.count, event);
    };
    if (withDelay) put(DelayStep(DelayBefore(timeMs)));
    put(KeyStep(keyCode, !release));
    lastStepTime_ = timeMs;
    firstStep_ = false;
    const bool stop = copy.KeySteps() >= kMaxRecordedKeySteps || !copy.Fits(SlotsPerStep());
    return {true, stop};
}
