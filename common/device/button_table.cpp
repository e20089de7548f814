#include "button_table.h"

#include <algorithm>

#include "button_assignment.h"
#include "key_codes.h"
#include "macro_block.h"
#include "profile_record.h"

namespace {

constexpr uint8_t kFill = 0x00;  // arguments filled in per button

constexpr DeviceFunctionRow kRows[] = {
    {0, {0x00, 0x00, 0x00, 0x00}},
    {1, {0x01, 0x00, mouse_key::kLeft, 0x00}},
    {2, {0x01, 0x00, mouse_key::kRight, 0x00}},
    {3, {0x01, 0x00, mouse_key::kWheel, 0x00}},
    {4, {0x01, 0x00, mouse_key::kForward, 0x00}},
    {5, {0x01, 0x00, mouse_key::kBackward, 0x00}},
    {6, {0x0A, 0xF0, 0x32, 0x02}},   {7, {0x04, 0x00, 0x01, 0x00}},   {8, {0x04, 0x00, 0x02, 0x00}},
    {9, {0x04, 0x00, 0x04, 0x00}},   {10, {0x04, 0x00, 0x03, 0x00}},  {11, {0x0A, 0xF0, 0x10, 0x00}},
    {12, {0x00, kFill, kFill, 0x00}}, {13, {0x07, 0x00, 0x03, 0x00}}, {14, {0x07, 0x00, 0x01, 0x00}},
    {15, {0x07, 0x00, 0x02, 0x00}},  {16, {0x09, kFill, kFill, 0x00}}, {17, {0x06, 0x00, 0x0A, kFill}},
    {18, {0x08, 0x00, 0x03, 0x00}},  {19, {0x08, 0x00, 0x01, 0x00}},  {20, {0x08, 0x00, 0x02, 0x00}},
    {22, {0x0A, 0x01, 0x00, 0x00}},  {23, {0x00, 0x08, 0x00, 0x00}},  {24, {0x06, 0x00, 0xA0, 0x00}},
    {25, {0x03, 0x00, 0x83, 0x01}},  {26, {0x03, 0x00, 0xB6, 0x00}},  {27, {0x03, 0x00, 0xB5, 0x00}},
    {28, {0x03, 0x00, 0xCD, 0x00}},  {29, {0x03, 0x00, 0xB7, 0x00}},  {30, {0x03, 0x00, 0xE2, 0x00}},
    {31, {0x03, 0x00, 0xE9, 0x00}},  {32, {0x03, 0x00, 0xEA, 0x00}},  {33, {0x03, 0x00, 0x92, 0x01}},
    {34, {0x03, 0x00, 0x8A, 0x01}},  {35, {0x03, 0x00, 0x2A, 0x02}},  {36, {0x03, 0x00, 0x25, 0x02}},
    {37, {0x03, 0x00, 0x24, 0x02}},  {38, {0x03, 0x00, 0x26, 0x02}},  {39, {0x03, 0x00, 0x94, 0x01}},
    {40, {0x03, 0x00, 0x27, 0x02}},  {41, {0x03, 0x00, 0x23, 0x02}},  {42, {0x03, 0x00, 0x21, 0x02}},
    {50, {0x09, 0x00, kFill, 0x04}}, {52, {0x03, 0x00, 0x94, 0x01}},  {56, {0x09, 0x00, kFill, 0x04}},
    {57, {0x09, 0x00, kFill, 0x04}}, {58, {0x09, 0x00, kFill, 0x04}}, {59, {0x09, 0x00, kFill, 0x04}},
    {60, {0x09, 0x00, kFill, 0x04}}, {62, {0x09, 0x00, kFill, 0x04}}, {65, {0x06, 0x00, 0x0A, kFill}},
    {112, {0x00, 0x03, 0x29, 0x00}}, {113, {0x00, 0x08, 0x18, 0x00}}, {114, {0x00, 0x08, 0x07, 0x00}},
    {115, {0x00, 0x08, 0x2B, 0x00}}, {116, {0x00, 0x04, 0x2B, 0x00}}, {117, {0x00, 0x04, 0x3D, 0x00}},
    {118, {0x00, 0x01, 0x1B, 0x00}}, {119, {0x00, 0x01, 0x06, 0x00}}, {120, {0x00, 0x01, 0x19, 0x00}},
};

}  // namespace

std::span<const DeviceFunctionRow> DeviceFunctionTable() { return kRows; }

std::optional<ButtonEntry> FindDeviceFunction(uint8_t functionCode) {
    const auto it = std::lower_bound(std::begin(kRows), std::end(kRows), functionCode,
                                     [](const DeviceFunctionRow& row, uint8_t code) { return row.code < code; });
    if (it == std::end(kRows) || it->code != functionCode) return std::nullopt;
    return it->entry;
}

ButtonEntry MakeButtonEntry(const ButtonAssignment& record, int buttonIndex) {
    const uint8_t code = record.FunctionCode;
    const std::optional<ButtonEntry> row = FindDeviceFunction(code);
    if (!row) return ButtonEntry{};
    ButtonEntry entry = *row;
    const auto buttonNumber = static_cast<uint8_t>(buttonIndex + 1);
    if (code == kCodeKeyboardKey) {
        entry.arg1 = static_cast<uint8_t>(record.keyModifierByte() >> 1);
        entry.arg2 = record.keyCode();
    }
    if (code == kCodeMacro) {
        // Modes 2 and 3 are told to the mouse here; mode 1 travels in the block header.
        const bool modeInEntry = record.eventCount != 0 && record.repeatMode != 0 && record.repeatMode != 1;
        entry.arg1 = modeInEntry ? static_cast<uint8_t>(static_cast<uint32_t>(record.repeatMode) - 1u) : 0;
    }
    if (code == kCodeLaunchProgram || code == kCodeLaunchCommand) entry.arg3 = buttonNumber;
    if (entry.kind == kKindMacro) entry.arg2 = buttonNumber;
    return entry;
}

void MacroBlockStore::Clear() {
    pending.fill(false);
    for (DeviceBlock& block : blocks) block.fill(0);
}

int MacroBlockStore::PendingCount() const {
    return static_cast<int>(std::count(pending.begin(), pending.end(), true));
}

void BuildButtonTable(const ProfileRecord& profile, ButtonTable& out) {
    out.table.fill(0);
    out.macros.Clear();
    for (int i = 0; i < kDeviceButtons; ++i) {
        const ButtonAssignment& record = profile.MacroKeyInfo[i];
        const ButtonEntry entry = MakeButtonEntry(record, i);
        const size_t at = 4 * static_cast<size_t>(i);
        out.table[at] = entry.kind;
        out.table[at + 1] = entry.arg1;
        out.table[at + 2] = entry.arg2;
        out.table[at + 3] = entry.arg3;
        if (entry.kind != kKindMacro) continue;
        out.macros.pending[static_cast<size_t>(i)] = true;
        // Only a recorded macro has steps; the other macro kinds get an empty block.
        if (record.FunctionCode == kCodeMacro) out.macros.blocks[static_cast<size_t>(i)] = BuildMacroBlock(record);
    }
}

std::unique_ptr<ButtonTable> BuildButtonTable(const ProfileRecord& profile) {
    auto table = std::make_unique<ButtonTable>();
    BuildButtonTable(profile, *table);
    return table;
}
