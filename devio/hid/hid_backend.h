#pragma once
// The platform services under the HID library: finding the mouse's interfaces,
// opening them, and the two kinds of channel. Windows implements them over
// setupapi and hid.dll; the tests use doubles.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "hid_framing.h"

namespace hidio {

struct HidInterface {
    std::wstring path;  // device interface path, as CreateFileW takes it
    HidCollectionInfo info;
};

class IFeatureChannel {
public:
    virtual ~IFeatureChannel() = default;
    // Sends one whole feature report (report id first). True when the device took it.
    virtual bool SendFeatureReport(std::span<const uint8_t> report) = 0;
};

class IReportChannel {
public:
    using ReportHandler = std::function<void(std::span<const uint8_t> report)>;

    virtual ~IReportChannel() = default;
    // Writes one output report (report id first). False when the write failed or
    // did not finish within timeoutMs; a write that timed out is cancelled, so
    // a stuck device never holds the caller longer than that.
    virtual bool WriteReport(std::span<const uint8_t> report, unsigned timeoutMs) = 0;
    // Starts a reader of the channel's own that hands every input report of
    // reportLength bytes to onReport, on the reader's thread, until Shutdown or
    // until the device goes away.
    virtual bool StartReading(size_t reportLength, ReportHandler onReport) = 0;
    // Ends the reader (waiting for it) and cancels writes in flight; later writes
    // fail. Safe to call more than once.
    virtual void Shutdown() = 0;
};

class IHidBackend {
public:
    virtual ~IHidBackend() = default;
    // Every HID interface present now, whatever its vendor.
    virtual std::vector<HidInterface> EnumerateInterfaces() = 0;
    // Null when the interface cannot be opened (gone, or held by someone else).
    virtual std::unique_ptr<IFeatureChannel> OpenFeatureChannel(const HidInterface& iface) = 0;
    virtual std::unique_ptr<IReportChannel> OpenReportChannel(const HidInterface& iface) = 0;
};

// Where decoded device events go (the Monitor's window, in the library).
class IDeviceEventSink {
public:
    virtual ~IDeviceEventSink() = default;
    // Called on the reader's thread.
    virtual void OnDeviceEvent(HidDeviceEvent event) = 0;
};

}  // namespace hidio
