#pragma once
// The virtual mouse's state file ("devio-state.ini" by default): the emulated
// slot, decoded and raw, and the error count, written whole and atomically.
//
//   [Device]   Attached, ProtocolErrors, Downloads, LastError
//   [Slot]     PollingRate, ActiveLevel, CpiStep, MaxDPI, CpiLevel_X0-4 (units of
//              100 DPI), DpiByteX0-4, DpiByteY0-4, LightBytes ("03 0C 01"),
//              LightSwitch (-1 out-of-range triple), LightLevel, LightDir,
//              DPIColor0-4 (0x00BBGGRR of the components the mouse holds, decimal),
//              FixedBytesIntact, AttributeBlock (hex)
//   [Buttons]  Entry0-15 ("01 00 F0 00"), Codes0-15 (matching function codes,
//              space separated), Key0-15 / Modifiers0-15 (keyboard entries), ButtonTable (hex)
//   [Macro1]-[Macro16], only for blocks that are not all zero: RepeatHeader,
//              StepCount, Step0.. ("04 down 50", key in hex, delay in ms), Block (hex)
#include <filesystem>
#include <string>

#include "mouse_emulator.h"

struct SimStatus {
    bool attached = true;
    int protocolErrors = 0;
    int downloads = 0;
    std::string lastError;
};

bool WriteSimStateFile(const std::filesystem::path& path, const MouseSlot& slot, const SimStatus& status,
                       std::string* error = nullptr);
// Reads the raw blocks back (tests and tools). False when the file or a block is missing or damaged.
bool ReadSimStateFile(const std::filesystem::path& path, MouseSlot& slot, SimStatus& status);
