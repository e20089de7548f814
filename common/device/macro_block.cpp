#include "macro_block.h"

#include <algorithm>

#include "button_assignment.h"

std::array<uint8_t, 2> MacroRepeatHeader(int32_t repeatMode, int32_t repeatCount) {
    std::array<uint8_t, 2> header{};
    if (repeatMode == 0) {
        header = {0x00, 0x01};
    } else if (repeatMode == 1) {
        bytes::StoreBe16(header.data(), static_cast<uint16_t>(repeatCount));
    }
    return header;
}

std::vector<MacroEvent> MergeDelaySteps(std::span<const MacroEvent> steps) {
    std::vector<MacroEvent> kept;
    kept.reserve(steps.size());
    for (const MacroEvent& step : steps) {
        if (step.keyCode == kDelayStepKey && !kept.empty()) {
            const uint32_t sum = uint32_t{kept.back().delay} + step.delay;
            kept.back().delay = static_cast<uint16_t>(std::min<uint32_t>(sum, 0xFFFF));
            continue;
        }
        kept.push_back(step);
    }
    return kept;
}

int EncodeMacroStep(const MacroEvent& step, std::array<uint8_t, 4>& out) {
    const bool press = step.pressFlag == kPressFlagDown;
    const int tenths = step.delay / 10;
    if (tenths <= kShortFormMaxTenths) {
        out[0] = static_cast<uint8_t>(tenths | (press ? 0x01 : 0x81));
        out[1] = step.keyCode;
        return 2;
    }
    out[0] = press ? 0x01 : 0x81;
    out[1] = step.keyCode;
    out[2] = static_cast<uint8_t>(std::min(step.delay / 50, kLongFormMaxUnits));
    out[3] = 0x02;
    return 4;
}

DeviceBlock BuildMacroBlock(const ButtonAssignment& record) {
    DeviceBlock block{};
    const auto header = MacroRepeatHeader(record.repeatMode, record.repeatCount);
    block[0] = header[0];
    block[1] = header[1];
    const size_t count = std::min<size_t>(record.eventCount, kMaxMacroEvents);
    const std::vector<MacroEvent> steps = MergeDelaySteps(std::span<const MacroEvent>(record.events, count));
    size_t pos = kMacroStepsOffset;
    for (const MacroEvent& step : steps) {
        if (pos >= block.size()) break;
        std::array<uint8_t, 4> encoded{};
        const int length = EncodeMacroStep(step, encoded);
        // A step that crosses the end of the block keeps what fits, so the key
        // itself still reaches the mouse even if its long delay does not.
        for (int i = 0; i < length && pos < block.size(); ++i) block[pos++] = encoded[static_cast<size_t>(i)];
    }
    return block;
}
