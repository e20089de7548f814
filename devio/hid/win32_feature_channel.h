#pragma once
// The feature channel over an open HID interface: one command per HidD_SetFeature.
#include "hid_backend.h"
#include "kernel_handle.h"

namespace hidio {

class Win32FeatureChannel final : public IFeatureChannel {
public:
    // Takes the handle of the interface, opened for reading and writing without
    // FILE_FLAG_OVERLAPPED (HidD_SetFeature completes its request before it returns).
    explicit Win32FeatureChannel(KernelHandle device) : device_(std::move(device)) {}

    bool SendFeatureReport(std::span<const uint8_t> report) override;

private:
    KernelHandle device_;
};

}  // namespace hidio
