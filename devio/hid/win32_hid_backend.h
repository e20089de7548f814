#pragma once
// Finds and opens HID interfaces through setupapi and hid.dll.
#include <windows.h>

#include "hid_backend.h"

namespace hidio {

class Win32HidBackend final : public IHidBackend {
public:
    std::vector<HidInterface> EnumerateInterfaces() override;
    std::unique_ptr<IFeatureChannel> OpenFeatureChannel(const HidInterface& iface) override;
    std::unique_ptr<IReportChannel> OpenReportChannel(const HidInterface& iface) override;
};

// The device interface class of every HID collection (HidD_GetHidGuid).
GUID HidInterfaceClass();

}  // namespace hidio
