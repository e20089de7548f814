#include "win32_feature_channel.h"

#include <vector>

#include "hid_api.h"

namespace hidio {

bool Win32FeatureChannel::SendFeatureReport(std::span<const uint8_t> report) {
    if (!device_ || report.empty()) return false;
    // HidD_SetFeature takes a writable buffer.
    std::vector<uint8_t> buffer(report.begin(), report.end());
    return HidD_SetFeature(device_.get(), buffer.data(), static_cast<ULONG>(buffer.size())) != FALSE;
}

}  // namespace hidio
