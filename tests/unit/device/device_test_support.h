#pragma once
// Doubles and builders shared by the device tests.
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "button_assignment.h"
#include "download_sequence.h"
#include "feature_command.h"
#include "profile_record.h"
#include "profile_store.h"

// Records every operation of a download in order, with a fake clock.
class RecordingDevice final : public IDeviceChannel, public ISleeper {
public:
    struct Op {
        enum class Kind { kFeature, kWrite, kSleep } kind;
        std::vector<uint8_t> bytes;
        int ms = 0;
        int at = 0;  // fake clock at the time of the operation
    };

    int SetFeature(std::span<const uint8_t, kFeatureCommandSize> command) override {
        ops.push_back({Op::Kind::kFeature, {command.begin(), command.end()}, 0, clock});
        return 1;
    }
    int WriteUSB(std::span<const uint8_t, kReportHalfSize> half) override {
        ops.push_back({Op::Kind::kWrite, {half.begin(), half.end()}, 0, clock});
        return 1;
    }
    void SleepMs(int ms) override {
        ops.push_back({Op::Kind::kSleep, {}, ms, clock});
        clock += ms;
    }
    void BeginPreciseWaits() override { ++preciseDepth, ++preciseBegins; }
    void EndPreciseWaits() override { --preciseDepth; }

    // The command codes sent (byte 0), with the macro number for 0x0F as 0x0F00 | n.
    std::vector<int> CommandCodes() const {
        std::vector<int> codes;
        for (const Op& op : ops) {
            if (op.kind != Op::Kind::kFeature) continue;
            codes.push_back(op.bytes[0] == kCmdMacroBlock ? (0x0F00 | op.bytes[1]) : op.bytes[0]);
        }
        return codes;
    }
    // A compact picture of the sequence: "F01 S F03 S ..." with W for a data report.
    std::string Shape() const {
        std::string s;
        static const char* kHex = "0123456789ABCDEF";
        for (const Op& op : ops) {
            if (!s.empty()) s += ' ';
            if (op.kind == Op::Kind::kFeature) {
                s += 'F';
                s += kHex[op.bytes[0] >> 4];
                s += kHex[op.bytes[0] & 15];
            } else if (op.kind == Op::Kind::kWrite) {
                s += 'W';
            } else {
                s += op.ms == kDeviceWaitMs ? "S" : "S?";
            }
        }
        return s;
    }

    std::vector<Op> ops;
    int clock = 0;
    int preciseDepth = 0;
    int preciseBegins = 0;
};

inline ProfileRecord MonitorDefaultProfile() {
    ProfileRecord p;
    std::memset(&p, 0, sizeof p);
    ResetProfileMonitor(p);
    return p;
}

// Sets a button to play a recorded macro with the given steps.
inline void SetMacro(ProfileRecord& p, int button, std::initializer_list<MacroEvent> steps, int32_t repeatMode = 0,
                     int32_t repeatCount = 2) {
    ButtonAssignment& b = p.MacroKeyInfo[button];
    ResetAssignmentState(b, button);
    b.FunctionClass = kClassMacro;
    b.FunctionCode = kCodeMacro;
    b.macroIndex = 0;
    b.repeatMode = repeatMode;
    b.repeatCount = repeatCount;
    b.eventCount = static_cast<uint16_t>(steps.size());
    int i = 0;
    for (const MacroEvent& e : steps) b.events[i++] = e;
}

inline std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> out;
    for (int v : values) out.push_back(static_cast<uint8_t>(v));
    return out;
}

template <typename Container>
std::vector<uint8_t> Slice(const Container& c, size_t from, size_t count) {
    return std::vector<uint8_t>(c.begin() + static_cast<std::ptrdiff_t>(from),
                                c.begin() + static_cast<std::ptrdiff_t>(from + count));
}
