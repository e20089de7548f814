#include "download_sequence.h"

#include "attribute_block.h"
#include "button_table.h"
#include "profile_record.h"
#include "profile_store.h"

PartFlags PartFlags::FromStore(const StoreValues& values) {
    return {values.PRateFlag == 1, values.DPIStepFlag == 1, values.AttributeFlag == 1, values.KeysFlag == 1};
}

void SendCommand(IDeviceChannel& channel, const FeatureCommand& command) {
    channel.SetFeature(std::span<const uint8_t, kFeatureCommandSize>(command));
}

void SendCommandWithBlock(IDeviceChannel& channel, ISleeper& sleeper, const FeatureCommand& command,
                          const DeviceBlock& block) {
    SendCommand(channel, command);
    for (int half = 0; half < 2; ++half) {
        sleeper.SleepMs(kDeviceWaitMs);
        const ReportHalf buffer = BlockHalf(block, half);
        channel.WriteUSB(std::span<const uint8_t, kReportHalfSize>(buffer));
    }
    sleeper.SleepMs(kDeviceWaitMs);
}

void RunDownload(IDeviceChannel& channel, ISleeper& sleeper, const ProfileRecord& profile, const PartFlags& parts,
                 ButtonTable& scratch) {
    SendCommand(channel, StartCommand());
    sleeper.SleepMs(kDeviceWaitMs);
    if (parts.pollingRate) {
        SendCommand(channel, PollingRateCommand(profile.PollingRate));
        sleeper.SleepMs(kDeviceWaitMs);
    }
    if (parts.dpiStep) {
        SendCommand(channel, DpiStepCommand(profile.CpiStep));
        sleeper.SleepMs(kDeviceWaitMs);
    }
    if (parts.attributes) {
        SendCommandWithBlock(channel, sleeper, AttributeBlockCommand(), BuildAttributeBlock(profile));
        sleeper.SleepMs(kDeviceWaitMs);
    }
    // A download that skips the buttons must not send blocks of an earlier one.
    scratch.table.fill(0);
    scratch.macros.Clear();
    if (parts.keys) {
        BuildButtonTable(profile, scratch);
        SendCommandWithBlock(channel, sleeper, ButtonTableCommand(), scratch.table);
        sleeper.SleepMs(kDeviceWaitMs);
        for (int i = 0; i < kDeviceButtons; ++i) {
            if (!scratch.macros.pending[static_cast<size_t>(i)]) continue;
            SendCommandWithBlock(channel, sleeper, MacroBlockCommand(i + 1), scratch.macros.blocks[static_cast<size_t>(i)]);
        }
    }
    sleeper.SleepMs(kDeviceWaitMs);
    SendCommand(channel, EndCommand());
}

int MandatedWaitMs(const PartFlags& parts, int macroBlocks) {
    int waits = 2;  // after the start, before the end
    if (parts.pollingRate) waits += 1;
    if (parts.dpiStep) waits += 1;
    if (parts.attributes) waits += 4;
    if (parts.keys) waits += 4 + 3 * macroBlocks;
    return waits * kDeviceWaitMs;
}
