#include "feature_command.h"

#include <algorithm>

uint8_t FeatureChecksum(std::span<const uint8_t, kFeatureCommandSize> command) {
    uint8_t sum = 0xFF;
    for (size_t i = 0; i < kFeatureCommandSize - 1; ++i) sum = static_cast<uint8_t>(sum - command[i]);
    return sum;
}

bool HasValidChecksum(const FeatureCommand& command) { return FeatureChecksum(command) == command[7]; }

FeatureCommand MakeFeatureCommand(uint8_t code, uint8_t arg1, uint8_t arg2) {
    FeatureCommand command{};
    command[0] = code;
    command[1] = arg1;
    command[2] = arg2;
    command[7] = FeatureChecksum(command);
    return command;
}

FeatureCommand StartCommand() { return MakeFeatureCommand(kCmdStartDownload, 0x08, 0x00); }
FeatureCommand EndCommand() { return MakeFeatureCommand(kCmdEndDownload, 0x01, 0x00); }

FeatureCommand PollingRateCommand(int32_t pollingRate) {
    return MakeFeatureCommand(kCmdPollingRate, kDeviceSlot, static_cast<uint8_t>(pollingRate));
}

FeatureCommand DpiStepCommand(int32_t cpiStep) {
    return MakeFeatureCommand(kCmdDpiStep, kDeviceSlot, static_cast<uint8_t>(static_cast<uint8_t>(cpiStep) + 1));
}

FeatureCommand AttributeBlockCommand() { return MakeFeatureCommand(kCmdAttributeBlock, kDeviceSlot, kBlockFollows); }
FeatureCommand ButtonTableCommand() { return MakeFeatureCommand(kCmdButtonTable, kDeviceSlot, kBlockFollows); }

FeatureCommand MacroBlockCommand(int macroNumber) {
    return MakeFeatureCommand(kCmdMacroBlock, static_cast<uint8_t>(macroNumber), kBlockFollows);
}

ReportHalf BlockHalf(const DeviceBlock& block, int half) {
    ReportHalf out{};
    const auto first = block.begin() + (half == 0 ? 0 : static_cast<std::ptrdiff_t>(kReportHalfSize));
    std::copy(first, first + static_cast<std::ptrdiff_t>(kReportHalfSize), out.begin());
    return out;
}
