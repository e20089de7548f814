#include "macro_steps.h"

#include <array>

#include <algorithm>
#include <cstring>

#include "key_codes.h"
#include "list_box_model.h"

MacroWorkingCopy MacroWorkingCopy::FromRecord(const MacroRecord& record) {
    MacroWorkingCopy copy;
    std::memcpy(copy.events.data(), record.events, sizeof record.events);
    copy.count = std::clamp<int32_t>(record.eventCount, 0, kMaxMacroEvents);
    return copy;
}

void MacroWorkingCopy::StoreInto(MacroRecord& record) const {
    std::memcpy(record.events, events.data(), sizeof record.events);
    record.eventCount = count;
}

void MacroWorkingCopy::Clear() {
    count = 0;
    events.fill(MacroEvent{});
}

bool MacroWorkingCopy::InsertAt(int index, const MacroEvent& event) {
    if (!Fits(1) || index < 0 || index > count) return false;
    std::move_backward(events.begin() + index, events.begin() + count, events.begin() + count + 1);
    events[static_cast<size_t>(index)] = event;
    ++count;
    return true;
}

void MacroWorkingCopy::RemoveAt(int index) {
    if (index < 0 || index >= count) return;
    std::move(events.begin() + index + 1, events.begin() + count, events.begin() + index);
    --count;
    // Slots past the count are kept zero, as in a new record.
    events[static_cast<size_t>(count)] = MacroEvent{};
}

int MacroWorkingCopy::KeySteps() const {
    return static_cast<int>(
        std::count_if(events.begin(), events.begin() + count, [](const MacroEvent& e) { return !IsDelayStep(e); }));
}

bool operator==(const MacroWorkingCopy& a, const MacroWorkingCopy& b) {
    return a.count == b.count && std::memcmp(a.events.data(), b.events.data(), sizeof a.events) == 0;
}

MacroEvent DelayStep(uint16_t delay) { return MacroEvent{kDelayStepKey, 0, delay}; }
MacroEvent KeyStep(uint8_t keyCode, bool press) {
    return MacroEvent{keyCode, press ? kPressFlagDown : kPressFlagUp, 0};
}
bool IsDelayStep(const MacroEvent& event) { return event.keyCode == kDelayStepKey; }
bool IsPress(const MacroEvent& event) { return event.pressFlag == kPressFlagDown; }
bool IsMouseButtonCode(uint8_t keyCode) { return mouse_key::IsMouseButton(keyCode); }

uint32_t StepItemValue(int step, const MacroEvent& event) {
    uint32_t key = 0;
    uint8_t kind = list_row_kind::kDelay;
    if (!IsDelayStep(event)) {
        key = event.keyCode;
        if (IsMouseButtonCode(event.keyCode))
            kind = IsPress(event) ? list_row_kind::kMousePress : list_row_kind::kMouseRelease;
        else
            kind = IsPress(event) ? list_row_kind::kKeyPress : list_row_kind::kKeyRelease;
    }
    return (static_cast<uint32_t>(step + 1) << 16) | (key << 8) | kind;
}

int ItemValueStep(uint32_t itemValue) { return static_cast<int>(itemValue >> 16) - 1; }

namespace {

std::u16string DelayRowText(uint16_t delay) {
    const std::string digits = std::to_string(delay) + " ms";
    return std::u16string(digits.begin(), digits.end());
}

// The row of step `step` when it is a row and belongs to this copy.
const EventRow* RowAt(const MacroWorkingCopy& copy, const std::vector<EventRow>& rows, int row) {
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) return nullptr;
    const EventRow& r = rows[static_cast<size_t>(row)];
    return r.step >= 0 && r.step < copy.count ? &r : nullptr;
}

StepChange Move(MacroWorkingCopy& copy, const std::vector<EventRow>& rows, int row, int towards) {
    const EventRow* from = RowAt(copy, rows, row);
    const EventRow* to = RowAt(copy, rows, row + towards);
    if (!from || !to) return {};
    MacroEvent& a = copy.events[static_cast<size_t>(from->step)];
    MacroEvent& b = copy.events[static_cast<size_t>(to->step)];
    if (!IsDelayStep(a) && a.keyCode == b.keyCode) return {};
    std::swap(a, b);
    return {true, to->step};
}

}  // namespace

std::vector<EventRow> BuildEventRows(const MacroWorkingCopy& copy, const IKeyboardLayout& layout) {
    std::vector<EventRow> rows;
    rows.reserve(static_cast<size_t>(std::max(copy.count, 0)));
    // A name asks the platform's layout; a long macro repeats a few keys many
    // times, and the list is refilled after every recorded key.
    std::array<std::optional<std::u16string>, 256> names;
    for (int step = 0; step < copy.count; ++step) {
        const MacroEvent& event = copy.events[static_cast<size_t>(step)];
        EventRow row;
        row.step = step;
        row.itemValue = StepItemValue(step, event);
        if (IsDelayStep(event)) {
            if (event.delay == 0) continue;
            row.text = DelayRowText(event.delay);
        } else {
            std::optional<std::u16string>& name = names[event.keyCode];
            if (!name) name = std::u16string(DeviceKeyName(layout, event.keyCode));
            row.text = *name;
            if (IsMouseButtonCode(event.keyCode)) row.text += IsPress(event) ? u" Down" : u" Up";
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<uint32_t> RowItemValues(const std::vector<EventRow>& rows) {
    std::vector<uint32_t> values;
    values.reserve(rows.size());
    for (const EventRow& row : rows) values.push_back(row.itemValue);
    return values;
}

std::optional<int> PartnerStep(const MacroWorkingCopy& copy, int step, bool transitionOnly) {
    if (step < 0 || step >= copy.count || IsDelayStep(copy.events[static_cast<size_t>(step)])) return std::nullopt;
    const bool press = IsPress(copy.events[static_cast<size_t>(step)]);
    // Every step takes part, a mouse button as a key and a delay under its own
    // marker (0xFF is no key's code), so no key step can pair with a delay.
    // Steps ruled out as partners are hidden under that marker too.
    std::vector<uint32_t> values;
    values.reserve(static_cast<size_t>(copy.count));
    for (int i = 0; i < copy.count; ++i) {
        const MacroEvent& e = copy.events[static_cast<size_t>(i)];
        const bool hidden = IsDelayStep(e) || (transitionOnly && i != step && IsPress(e) == press);
        const uint32_t key = hidden ? kDelayStepKey : e.keyCode;
        const uint8_t kind = IsDelayStep(e) ? list_row_kind::kDelay
                             : IsPress(e)   ? list_row_kind::kKeyPress
                                            : list_row_kind::kKeyRelease;
        values.push_back((key << 8) | kind);
    }
    const auto partner = FindPartnerRow(values, static_cast<size_t>(step));
    if (!partner) return std::nullopt;
    return static_cast<int>(*partner);
}

StepChange MoveStepUp(MacroWorkingCopy& copy, const std::vector<EventRow>& rows, int row) {
    return Move(copy, rows, row, -1);
}

StepChange MoveStepDown(MacroWorkingCopy& copy, const std::vector<EventRow>& rows, int row) {
    return Move(copy, rows, row, +1);
}

StepChange DeleteStep(MacroWorkingCopy& copy, const std::vector<EventRow>& rows, int row) {
    const EventRow* target = RowAt(copy, rows, row);
    if (!target) return {};
    if (rows.size() == 1) {
        copy.Clear();
        return {true, std::nullopt};
    }
    const int step = target->step;
    const std::optional<int> partner = PartnerStep(copy, step, true);
    // The later step goes first so the earlier one keeps its index.
    if (partner && *partner > step) copy.RemoveAt(*partner);
    copy.RemoveAt(step);
    if (partner && *partner < step) copy.RemoveAt(*partner);
    return {true, std::nullopt};
}

bool SetStepDelay(MacroWorkingCopy& copy, int step, uint32_t delay) {
    if (step < 0 || step >= copy.count) return false;
    MacroEvent& event = copy.events[static_cast<size_t>(step)];
    if (!IsDelayStep(event)) return false;
    event.delay = static_cast<uint16_t>(std::min<uint32_t>(delay, kMaxStepDelay));
    return true;
}

bool SetStepKey(MacroWorkingCopy& copy, int step, uint8_t keyCode) {
    if (step < 0 || step >= copy.count || keyCode == 0 || keyCode == kDelayStepKey) return false;
    MacroEvent& event = copy.events[static_cast<size_t>(step)];
    if (IsDelayStep(event)) return false;
    const std::optional<int> partner = PartnerStep(copy, step);
    event.keyCode = keyCode;
    if (partner) copy.events[static_cast<size_t>(*partner)].keyCode = keyCode;
    return true;
}

std::optional<uint16_t> ParseDelayText(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    if (i >= text.size() || text[i] < u'0' || text[i] > u'9') return std::nullopt;
    uint32_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min<uint32_t>(value * 10 + static_cast<uint32_t>(text[i] - u'0'), kMaxStepDelay);
    return static_cast<uint16_t>(value);
}

uint32_t RefineModifierKey(uint32_t virtualKey, uint32_t keyData) {
    constexpr uint32_t kShift = 0x10, kCtrl = 0x11, kAlt = 0x12;
    const uint32_t scanCode = (keyData >> 16) & 0xFF;
    const bool extended = (keyData & (1u << 24)) != 0;
    switch (virtualKey) {
        case kShift:
            // Both Shift keys are plain keys; only their scan codes differ.
            if (scanCode == 0x2A) return 0xA0;
            if (scanCode == 0x36) return 0xA1;
            return virtualKey;
        case kCtrl:
            return extended ? 0xA3 : 0xA2;
        case kAlt:
            return extended ? 0xA5 : 0xA4;
        default:
            return virtualKey;
    }
}
