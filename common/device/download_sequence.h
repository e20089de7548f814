#pragma once
// The download: the fixed order of commands, blocks and 20 ms waits that puts a
// profile into the mouse. Runs over two small interfaces so the same code
// drives the real library, the virtual mouse, the report printer and tests.
#include <cstdint>
#include <span>

#include "feature_command.h"

struct ProfileRecord;
struct StoreValues;

// Where the bytes go. The results are not looked at: the mouse answers nothing.
class IDeviceChannel {
public:
    virtual ~IDeviceChannel() = default;
    virtual int SetFeature(std::span<const uint8_t, kFeatureCommandSize> command) = 0;
    virtual int WriteUSB(std::span<const uint8_t, kReportHalfSize> half) = 0;
};

class ISleeper {
public:
    virtual ~ISleeper() = default;
    virtual void SleepMs(int milliseconds) = 0;
    // Bracket a whole download; a platform sleeper raises the timer resolution
    // here so that each wait lasts what it says.
    virtual void BeginPreciseWaits() {}
    virtual void EndPreciseWaits() {}
};

inline constexpr int kDeviceWaitMs = 20;

// Which parts of the profile a download sends.
struct PartFlags {
    bool pollingRate = false;
    bool dpiStep = false;
    bool attributes = false;
    bool keys = false;

    static PartFlags All() { return {true, true, true, true}; }
    // A part counts as changed only when its flag is exactly 1; a missing key (-1) is not.
    static PartFlags FromStore(const StoreValues& values);
    friend bool operator==(const PartFlags&, const PartFlags&) = default;
};

struct ButtonTable;

// Sends a command; the waits of a block command are part of it: wait, first
// half, wait, second half, wait.
void SendCommand(IDeviceChannel& channel, const FeatureCommand& command);
void SendCommandWithBlock(IDeviceChannel& channel, ISleeper& sleeper, const FeatureCommand& command,
                          const DeviceBlock& block);

// One download of `profile`: start, the parts in `parts`, end. `scratch` holds the
// button table and macro blocks while they are sent (cleared first, whatever the
// parts), so nothing large lives on the caller's stack.
void RunDownload(IDeviceChannel& channel, ISleeper& sleeper, const ProfileRecord& profile, const PartFlags& parts,
                 ButtonTable& scratch);

// The total of the waits a download of `parts` mandates, in milliseconds.
int MandatedWaitMs(const PartFlags& parts, int macroBlocks);
