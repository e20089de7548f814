#pragma once
// How the mouse's commands, block halves and device events travel in HID
// reports, and how its two vendor collections are told apart. Pure functions:
// bytes in, bytes out, no handles, so the real library and the tests share them.
//
// The mouse exposes two top-level collections on vendor usage page 0xFF00:
//  - the feature channel (usage 0x01): feature report 0x05, 8 command bytes;
//  - the report channel (usage 0x02): output report 0x06 carrying one 64-byte
//    half of a block, and input report 0x07 carrying a device event as a
//    16-bit little-endian code followed by a 16-bit little-endian value.
// docs/device-protocol.md describes the same for the firmware side.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace hidio {

inline constexpr uint16_t kVendorUsagePage = 0xFF00;
inline constexpr uint16_t kFeatureCollectionUsage = 0x01;
inline constexpr uint16_t kReportCollectionUsage = 0x02;

inline constexpr uint8_t kFeatureReportId = 0x05;
inline constexpr uint8_t kOutputReportId = 0x06;
inline constexpr uint8_t kInputReportId = 0x07;

// Payload sizes, without the report id byte.
inline constexpr size_t kCommandLength = 8;
inline constexpr size_t kBlockHalfLength = 64;
inline constexpr size_t kEventPayloadLength = 4;

// Report lengths as Windows counts them (HIDP_CAPS): the id byte included.
inline constexpr size_t kFeatureReportLength = 1 + kCommandLength;    // 9
inline constexpr size_t kOutputReportLength = 1 + kBlockHalfLength;   // 65
inline constexpr size_t kInputReportLength = 1 + kEventPayloadLength;  // 5

// What one HID interface says about itself (HidD_GetAttributes and HidP_GetCaps).
struct HidCollectionInfo {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t inputReportLength = 0;
    uint16_t outputReportLength = 0;
    uint16_t featureReportLength = 0;
};

enum class ChannelKind { kNone, kFeature, kReport };

// Which of the mouse's channels an interface is, if any. The usage alone is not
// trusted: a collection whose report lengths differ from ours would make every
// write fail, so it is not taken for one of our channels.
ChannelKind ClassifyCollection(const HidCollectionInfo& info, uint16_t vendorId, uint16_t productId);

// Feature report for one command: id 0x05 followed by the 8 command bytes.
// Empty when the command is not exactly 8 bytes long.
std::vector<uint8_t> BuildFeatureReport(std::span<const uint8_t> command);

// Output report for one block half: id 0x06 followed by the 64 bytes.
// Empty when the half is not exactly 64 bytes long.
std::vector<uint8_t> BuildOutputReport(std::span<const uint8_t> half);

struct HidDeviceEvent {
    uint16_t code = 0;
    uint16_t value = 0;
    bool operator==(const HidDeviceEvent&) const = default;
};

// The device event in one input report as ReadFile returns it (id byte first).
// Nothing for other report ids and for reports too short to hold an event;
// bytes past the event are padding and are ignored.
std::optional<HidDeviceEvent> ParseInputReport(std::span<const uint8_t> report);

// The input report the mouse sends for an event (what ParseInputReport reads);
// used by tests and by anyone emulating the mouse.
std::vector<uint8_t> BuildInputReport(HidDeviceEvent event);

// Whether a device interface path names a device of this vendor and product id.
// Understands the USB form ("...VID_5A21&PID_7C03...") and the Bluetooth forms,
// where a 2- or 4-digit vendor id source precedes the id ("...VID&025A21_PID&7C03..."
// or "...VID&00025A21_PID&7C03..."), in any letter case.
bool PathMatchesVidPid(std::wstring_view path, uint16_t vendorId, uint16_t productId);

}  // namespace hidio
