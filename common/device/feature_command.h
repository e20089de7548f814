#pragma once
// The units of the mouse's download protocol: 8-byte feature commands and the
// 128-byte blocks that three of them announce. Pure data, no handles.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

inline constexpr size_t kFeatureCommandSize = 8;
inline constexpr size_t kDeviceBlockSize = 128;
inline constexpr size_t kReportHalfSize = 64;

// One feature report: code, two arguments, four zero bytes, checksum.
using FeatureCommand = std::array<uint8_t, kFeatureCommandSize>;
// One data block (attribute block, button table or macro block).
using DeviceBlock = std::array<uint8_t, kDeviceBlockSize>;
// One data report: half of a block.
using ReportHalf = std::array<uint8_t, kReportHalfSize>;

// Command codes.
inline constexpr uint8_t kCmdStartDownload = 0x01;
inline constexpr uint8_t kCmdEndDownload = 0x02;
inline constexpr uint8_t kCmdPollingRate = 0x03;
inline constexpr uint8_t kCmdDpiStep = 0x04;
inline constexpr uint8_t kCmdAttributeBlock = 0x0C;
inline constexpr uint8_t kCmdButtonTable = 0x0D;
inline constexpr uint8_t kCmdMacroBlock = 0x0F;

// Every setting goes to the mouse's first profile slot.
inline constexpr uint8_t kDeviceSlot = 1;
// Byte 2 of a command that is followed by a 128-byte block.
inline constexpr uint8_t kBlockFollows = 0x80;
inline constexpr int kMacroNumbers = 16;  // macro numbers 1-16

// 0xFF minus the sum of bytes 0-6, modulo 256: all eight bytes then add up to 0xFF.
uint8_t FeatureChecksum(std::span<const uint8_t, kFeatureCommandSize> command);
bool HasValidChecksum(const FeatureCommand& command);

FeatureCommand MakeFeatureCommand(uint8_t code, uint8_t arg1, uint8_t arg2);

FeatureCommand StartCommand();                            // 01 08 00 .. F6
FeatureCommand EndCommand();                              // 02 01 00 .. FC
FeatureCommand PollingRateCommand(int32_t pollingRate);   // low byte of the interval in ms
FeatureCommand DpiStepCommand(int32_t cpiStep);           // the 0-based step, sent 1-based
FeatureCommand AttributeBlockCommand();
FeatureCommand ButtonTableCommand();
// `macroNumber` 1-16.
FeatureCommand MacroBlockCommand(int macroNumber);

// The two halves of a block, each in a zero-filled report buffer.
ReportHalf BlockHalf(const DeviceBlock& block, int half);
