#pragma once
// The ButtonTable: what each of the sixteen buttons does, sent after command
// 0x0D, and the MacroBlocks of the buttons that play a macro. Built from the
// button records of a profile through the DeviceFunctionTable.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "feature_command.h"

struct ButtonAssignment;
struct ProfileRecord;

inline constexpr int kDeviceButtons = 16;

// Entry kinds the mouse knows.
inline constexpr uint8_t kKindKeyboard = 0x00;  // arg1 modifier mask, arg2 key usage
inline constexpr uint8_t kKindMouseButton = 0x01;
inline constexpr uint8_t kKindConsumer = 0x03;  // arg2 low byte, arg3 high byte of the usage
inline constexpr uint8_t kKindHostEvent = 0x06;  // the mouse reports (arg2, arg3) as a device event
inline constexpr uint8_t kKindMacro = 0x09;      // plays macro number arg2

// One button's four bytes: kind and three arguments.
struct ButtonEntry {
    uint8_t kind = 0;
    uint8_t arg1 = 0;
    uint8_t arg2 = 0;
    uint8_t arg3 = 0;
    friend bool operator==(const ButtonEntry&, const ButtonEntry&) = default;
};
static_assert(sizeof(ButtonEntry) == 4);

struct DeviceFunctionRow {
    uint8_t code;
    ButtonEntry entry;
};
// Every function code the mouse is told about, in code order. Codes that are
// not in it go out as four zero bytes.
std::span<const DeviceFunctionRow> DeviceFunctionTable();
std::optional<ButtonEntry> FindDeviceFunction(uint8_t functionCode);

// The entry of one button record at button index `buttonIndex`, with the
// per-button overrides (key, macro repeat, launch and macro numbers) applied.
ButtonEntry MakeButtonEntry(const ButtonAssignment& record, int buttonIndex);

// Macro blocks by button index; button index i goes out as macro number i + 1.
struct MacroBlockStore {
    std::array<bool, kDeviceButtons> pending{};
    std::array<DeviceBlock, kDeviceButtons> blocks{};
    void Clear();
    int PendingCount() const;
};

// The table and the macro blocks of a profile. About 2 KB: kept on the heap by
// callers that run on small stacks.
struct ButtonTable {
    DeviceBlock table{};
    MacroBlockStore macros;
};
void BuildButtonTable(const ProfileRecord& profile, ButtonTable& out);
std::unique_ptr<ButtonTable> BuildButtonTable(const ProfileRecord& profile);
