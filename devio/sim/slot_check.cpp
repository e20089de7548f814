#include "slot_check.h"

#include "download_job.h"
#include "download_sequence.h"
#include "button_table.h"
#include "download_report.h"

namespace {

// Plays a download into a copy of the held slot, as the mouse itself would take it.
class EmulatorChannel final : public IDeviceChannel, public ISleeper {
public:
    explicit EmulatorChannel(const MouseSlot& held) : mouse(held) {}
    int SetFeature(std::span<const uint8_t, kFeatureCommandSize> command) override {
        mouse.OnSetFeature(command.data(), static_cast<int>(command.size()));
        return 1;
    }
    int WriteUSB(std::span<const uint8_t, kReportHalfSize> half) override {
        mouse.OnWriteUSB(half.data(), static_cast<int>(half.size()));
        return 1;
    }
    void SleepMs(int) override {}

    MouseEmulator mouse;
};

std::string ByteDifference(const char* what, const DeviceBlock& held, const DeviceBlock& wanted) {
    for (size_t i = 0; i < held.size(); ++i) {
        if (held[i] != wanted[i])
            return std::string(what) + ": byte " + std::to_string(i) + " mouse " +
                   HexBytes(std::span<const uint8_t>(&held[i], 1)) + ", profile " +
                   HexBytes(std::span<const uint8_t>(&wanted[i], 1));
    }
    return {};
}

}  // namespace

std::vector<std::string> SlotDifferences(const MouseSlot& held, const ProfileStore& store) {
    const auto job = MakeDownloadJob(store, DownloadKind::kEverything);
    if (!job) return {"no download: the store gives the mouse nothing"};
    EmulatorChannel channel(held);
    auto scratch = std::make_unique<ButtonTable>();
    RunDownload(channel, channel, job->profile, PartFlags::All(), *scratch);

    std::vector<std::string> diff;
    if (channel.mouse.ProtocolErrors() != 0)
        diff.push_back("download: the mouse refuses it (" + channel.mouse.LastError() + ")");
    const MouseSlot& wanted = channel.mouse.Slot();
    if (held.pollingRate != wanted.pollingRate)
        diff.push_back("polling rate: mouse " + std::to_string(held.pollingRate) + ", profile " +
                       std::to_string(wanted.pollingRate));
    if (held.activeLevel != wanted.activeLevel)
        diff.push_back("active level: mouse " + std::to_string(held.activeLevel) + ", profile " +
                       std::to_string(wanted.activeLevel));
    if (auto d = ByteDifference("attributes", held.attributes, wanted.attributes); !d.empty()) diff.push_back(d);
    if (auto d = ByteDifference("buttons", held.buttonTable, wanted.buttonTable); !d.empty()) diff.push_back(d);
    for (size_t i = 0; i < held.macros.size(); ++i) {
        const std::string what = "macro " + std::to_string(i + 1);
        if (auto d = ByteDifference(what.c_str(), held.macros[i], wanted.macros[i]); !d.empty()) diff.push_back(d);
    }
    return diff;
}
