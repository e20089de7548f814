#pragma once
// What the nine exports of the HID library do, over the platform services of
// hid_backend.h.
//
// The Monitor opens and closes the channels on its main thread while its download
// worker sends on them, with no lock of its own: a removal can close a channel in
// the middle of a download. Each channel is therefore shared: a send holds its
// own reference for the length of the call, and closing only drops the session's
// reference and cancels what is in flight. A send never touches a closed (or
// reused) handle; it fails instead.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "hid_backend.h"
#include "hid_mutex.h"

namespace hidio {

class HidSession {
public:
    // How long one block half may take before it is given up.
    static constexpr unsigned kWriteTimeoutMs = 1000;

    HidSession(IHidBackend& backend, IDeviceEventSink& sink);
    ~HidSession();
    HidSession(const HidSession&) = delete;
    HidSession& operator=(const HidSession&) = delete;

    // Debug lines about failures (no device, wrong length ...). May be empty.
    void SetDebugLog(std::function<void(std::string_view)> log);

    // Until set, the ids are those of the 7741 mouse. False (ids unchanged) when
    // a value does not fit in 16 bits.
    bool SetVidPid(int vendorId, int productId);
    uint16_t VendorId() const { return vendorId_.load(); }
    uint16_t ProductId() const { return productId_.load(); }

    // Open the channel of the mouse with the current ids; an open channel is
    // closed first, so a reopen after a re-plug reaches the new device.
    bool OpenFeature();
    bool OpenReport();
    // True when a channel was open. Harmless when none is.
    bool CloseFeature();
    bool CloseReport();

    // One command of exactly 8 bytes as one feature report.
    bool SetFeature(const uint8_t* bytes, int length);
    // One block half of exactly 64 bytes as one output report.
    bool WriteUsb(const uint8_t* bytes, int length);

    // No channel open: nothing of the session's runs or holds a handle.
    bool IsIdle() const;

private:
    void Log(std::string_view text) const;
    std::vector<HidInterface> FindChannels(ChannelKind kind);

    IHidBackend& backend_;
    IDeviceEventSink& sink_;
    std::function<void(std::string_view)> log_;
    std::atomic<uint16_t> vendorId_;
    std::atomic<uint16_t> productId_;

    mutable HidMutex mutex_;  // guards the two pointers, not the sends
    std::shared_ptr<IFeatureChannel> feature_;
    std::shared_ptr<IReportChannel> report_;
};

}  // namespace hidio
