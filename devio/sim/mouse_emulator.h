#pragma once
// The virtual mouse's firmware: takes feature commands and data reports as the
// real mouse does, checks their framing, and keeps its first profile slot.
//
// Framing rules (each break counts as one protocol error, and the offending
// command or report is not applied):
//   - a feature command is 8 bytes whose sum is 0xFF, bytes 3-6 zero, with a
//     known code and the argument bytes of that code;
//   - a download starts with 0x01 and ends with 0x02; setting commands come
//     only inside one;
//   - a command whose byte 2 is 0x80 is followed by exactly two 64-byte data
//     reports before the next command. A block is applied only when both
//     halves arrived; anything else discards it.
// Portable: the DLL around it owns the threads and files.
#include <array>
#include <cstdint>
#include <string>

#include "device_event.h"
#include "feature_command.h"

inline constexpr int kSlotMacros = 16;

struct MouseSlot {
    uint8_t pollingRate = 0;  // as sent: the report interval in ms
    uint8_t activeLevel = 0;  // as sent: 1-based
    DeviceBlock attributes{};
    DeviceBlock buttonTable{};
    std::array<DeviceBlock, kSlotMacros> macros{};  // by macro number - 1

    // What a new mouse holds: the Monitor's own reset profile.
    static MouseSlot Factory();
};

class MouseEmulator {
public:
    enum class Result {
        kAccepted,
        kDownloadEnded,  // a well-formed end command: the slot is complete
        kRejected,       // a protocol error
    };

    MouseEmulator() : slot_(MouseSlot::Factory()) {}
    // A mouse that already holds `slot`, as after earlier downloads.
    explicit MouseEmulator(const MouseSlot& slot) : slot_(slot) {}

    Result OnSetFeature(const uint8_t* data, int length);
    Result OnWriteUSB(const uint8_t* data, int length);
    // Power gone (unplugged): what was half received is lost, not an error.
    void PowerCycle();
    // One of the mouse's own buttons, as the event it reports: a DPI or rate
    // button makes the slot hold what it chose, whatever the host makes of it
    // later. True when the slot changed.
    bool OnOwnButton(const DeviceEvent& event);

    const MouseSlot& Slot() const { return slot_; }
    int ProtocolErrors() const { return errors_; }
    int DownloadsCompleted() const { return downloads_; }
    bool InDownload() const { return inDownload_; }
    const std::string& LastError() const { return lastError_; }

private:
    Result Reject(std::string why);
    void ApplyBlock();

    MouseSlot slot_;
    bool inDownload_ = false;
    // The block being received: its command and how many halves came.
    FeatureCommand blockCommand_{};
    int halvesReceived_ = -1;  // -1: no block announced
    DeviceBlock pending_{};
    int errors_ = 0;
    int downloads_ = 0;
    std::string lastError_;
};
