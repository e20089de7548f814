// Any profile bytes a damaged store could hold go through the download into
// the emulated mouse: nothing may crash, and the mouse must never see a badly
// framed report, whatever the values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "button_table.h"
#include "download_sequence.h"
#include "mouse_emulator.h"
#include "profile_record.h"
#include "slot_decoder.h"

namespace {

class EmulatorChannel final : public IDeviceChannel, public ISleeper {
public:
    int SetFeature(std::span<const uint8_t, kFeatureCommandSize> c) override {
        mouse.OnSetFeature(c.data(), static_cast<int>(c.size()));
        return 1;
    }
    int WriteUSB(std::span<const uint8_t, kReportHalfSize> h) override {
        mouse.OnWriteUSB(h.data(), static_cast<int>(h.size()));
        return 1;
    }
    void SleepMs(int) override {}
    MouseEmulator mouse;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t flags = data[0];
    auto profile = std::make_unique<ProfileRecord>();
    std::memset(profile.get(), 0, sizeof *profile);
    std::memcpy(profile.get(), data + 1, std::min(size - 1, sizeof *profile));
    const PartFlags parts{(flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0, (flags & 8) != 0};
    EmulatorChannel channel;
    auto scratch = std::make_unique<ButtonTable>();
    RunDownload(channel, channel, *profile, parts, *scratch);
    if (channel.mouse.ProtocolErrors() != 0 || channel.mouse.DownloadsCompleted() != 1) std::abort();
    const DecodedSlot decoded = DecodeSlot(channel.mouse.Slot());
    if (parts.attributes && !decoded.fixedBytesIntact) std::abort();
    (void)SlotSummary(decoded);
    return 0;
}
