#include "mouse_emulator.h"

#include <algorithm>
#include <cstring>

#include "attribute_block.h"
#include "button_table.h"
#include "download_job.h"
#include "profile_record.h"

MouseSlot MouseSlot::Factory() {
    auto profile = std::make_unique<ProfileRecord>();
    MakeMonitorDefaultProfile(*profile);
    MouseSlot slot;
    slot.pollingRate = static_cast<uint8_t>(profile->PollingRate);
    slot.activeLevel = static_cast<uint8_t>(profile->CpiStep + 1);
    slot.attributes = BuildAttributeBlock(*profile);
    auto table = BuildButtonTable(*profile);
    slot.buttonTable = table->table;
    return slot;
}

MouseEmulator::Result MouseEmulator::Reject(std::string why) {
    ++errors_;
    lastError_ = std::move(why);
    return Result::kRejected;
}

void MouseEmulator::PowerCycle() {
    inDownload_ = false;
    halvesReceived_ = -1;
}

bool MouseEmulator::OnOwnButton(const DeviceEvent& event) {
    const DeviceEventAction action = InterpretDeviceEvent(event);
    uint8_t* field = nullptr;
    uint8_t value = 0;
    if (action.kind == DeviceEventAction::Kind::kSetCpiStep) {
        field = &slot_.activeLevel;
        value = static_cast<uint8_t>(action.value + 1);  // 1-based, as command 0x04 sets it
    }
    if (action.kind == DeviceEventAction::Kind::kSetPollingRate) {
        field = &slot_.pollingRate;
        value = static_cast<uint8_t>(action.value);
    }
    if (field == nullptr || *field == value) return false;
    *field = value;
    return true;
}

MouseEmulator::Result MouseEmulator::OnSetFeature(const uint8_t* data, int length) {
    // Whatever comes now, a block still waiting for halves is broken.
    const bool blockBroken = halvesReceived_ >= 0;
    halvesReceived_ = -1;
    if (data == nullptr || length != static_cast<int>(kFeatureCommandSize))
        return Reject("feature report of " + std::to_string(length) + " bytes");
    FeatureCommand c;
    std::memcpy(c.data(), data, c.size());
    if (!HasValidChecksum(c)) return Reject("bad checksum");
    if (c[3] != 0 || c[4] != 0 || c[5] != 0 || c[6] != 0) return Reject("bytes 3-6 not zero");
    if (blockBroken) Reject("command before both halves of the block");

    const uint8_t code = c[0];
    if (code == kCmdStartDownload) {
        if (c[1] != 0x08 || c[2] != 0x00) return Reject("bad start arguments");
        const bool restarted = inDownload_;
        inDownload_ = true;
        if (restarted) return Reject("start inside a download");
        return Result::kAccepted;
    }
    if (!inDownload_) return Reject("command outside a download");
    switch (code) {
    case kCmdEndDownload:
        if (c[1] != 0x01 || c[2] != 0x00) return Reject("bad end arguments");
        inDownload_ = false;
        ++downloads_;
        return Result::kDownloadEnded;
    case kCmdPollingRate:
        if (c[1] != kDeviceSlot) return Reject("polling rate for another slot");
        slot_.pollingRate = c[2];
        return Result::kAccepted;
    case kCmdDpiStep:
        if (c[1] != kDeviceSlot) return Reject("DPI step for another slot");
        slot_.activeLevel = c[2];
        return Result::kAccepted;
    case kCmdAttributeBlock:
    case kCmdButtonTable:
        if (c[1] != kDeviceSlot || c[2] != kBlockFollows) return Reject("bad block command arguments");
        break;
    case kCmdMacroBlock:
        if (c[1] < 1 || c[1] > kSlotMacros || c[2] != kBlockFollows) return Reject("bad macro command arguments");
        break;
    default:
        return Reject("unknown command");
    }
    blockCommand_ = c;
    halvesReceived_ = 0;
    pending_.fill(0);
    return Result::kAccepted;
}

MouseEmulator::Result MouseEmulator::OnWriteUSB(const uint8_t* data, int length) {
    if (halvesReceived_ < 0) return Reject("data report without a block command");
    if (data == nullptr || length != static_cast<int>(kReportHalfSize)) {
        halvesReceived_ = -1;
        return Reject("data report of " + std::to_string(length) + " bytes");
    }
    std::memcpy(pending_.data() + kReportHalfSize * static_cast<size_t>(halvesReceived_), data, kReportHalfSize);
    if (++halvesReceived_ == 2) {
        ApplyBlock();
        halvesReceived_ = -1;
    }
    return Result::kAccepted;
}

void MouseEmulator::ApplyBlock() {
    switch (blockCommand_[0]) {
    case kCmdAttributeBlock: slot_.attributes = pending_; break;
    case kCmdButtonTable: slot_.buttonTable = pending_; break;
    case kCmdMacroBlock: slot_.macros[static_cast<size_t>(blockCommand_[1] - 1)] = pending_; break;
    default: break;
    }
}
