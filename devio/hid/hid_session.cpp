#include "hid_session.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "app_messages.h"

namespace hidio {

HidSession::HidSession(IHidBackend& backend, IDeviceEventSink& sink)
    : backend_(backend), sink_(sink), vendorId_(kVendorId), productId_(kProductId) {}

HidSession::~HidSession() {
    CloseReport();
    CloseFeature();
}

void HidSession::SetDebugLog(std::function<void(std::string_view)> log) { log_ = std::move(log); }

void HidSession::Log(std::string_view text) const {
    if (log_) log_(text);
}

bool HidSession::SetVidPid(int vendorId, int productId) {
    if (vendorId < 0 || vendorId > 0xFFFF || productId < 0 || productId > 0xFFFF) {
        Log("Set_VIDPID: ids out of range, kept the previous ones");
        return false;
    }
    vendorId_ = static_cast<uint16_t>(vendorId);
    productId_ = static_cast<uint16_t>(productId);
    return true;
}

std::vector<HidInterface> HidSession::FindChannels(ChannelKind kind) {
    const uint16_t vid = vendorId_;
    const uint16_t pid = productId_;
    std::vector<HidInterface> found;
    for (HidInterface& iface : backend_.EnumerateInterfaces()) {
        if (ClassifyCollection(iface.info, vid, pid) == kind) found.push_back(std::move(iface));
    }
    if (found.empty()) {
        char line[96];
        std::snprintf(line, sizeof line, "no %s collection of %04X:%04X present",
                      kind == ChannelKind::kFeature ? "feature" : "report", vid, pid);
        Log(line);
    }
    return found;
}

bool HidSession::OpenFeature() {
    CloseFeature();
    for (const HidInterface& iface : FindChannels(ChannelKind::kFeature)) {
        std::unique_ptr<IFeatureChannel> channel = backend_.OpenFeatureChannel(iface);
        if (!channel) {
            Log("Open_FeatureDevice: the feature collection cannot be opened");
            continue;
        }
        std::lock_guard<HidMutex> lock(mutex_);
        feature_ = std::move(channel);
        return true;
    }
    return false;
}

bool HidSession::OpenReport() {
    CloseReport();
    for (const HidInterface& iface : FindChannels(ChannelKind::kReport)) {
        std::unique_ptr<IReportChannel> channel = backend_.OpenReportChannel(iface);
        if (!channel) {
            Log("Open_ReportDevice: the report collection cannot be opened");
            continue;
        }
        IDeviceEventSink* sink = &sink_;
        const bool reading = channel->StartReading(iface.info.inputReportLength,
                                                   [sink](std::span<const uint8_t> report) {
                                                       if (auto event = ParseInputReport(report)) {
                                                           sink->OnDeviceEvent(*event);
                                                       }
                                                   });
        if (!reading) {
            // Without its reader the mouse's own buttons would go unheard.
            Log("Open_ReportDevice: cannot start reading device events");
            channel->Shutdown();
            continue;
        }
        std::lock_guard<HidMutex> lock(mutex_);
        report_ = std::move(channel);
        return true;
    }
    return false;
}

bool HidSession::CloseFeature() {
    std::shared_ptr<IFeatureChannel> old;
    {
        std::lock_guard<HidMutex> lock(mutex_);
        old.swap(feature_);
    }
    // A send in flight keeps its own reference; the handle goes when it returns.
    return old != nullptr;
}

bool HidSession::CloseReport() {
    std::shared_ptr<IReportChannel> old;
    {
        std::lock_guard<HidMutex> lock(mutex_);
        old.swap(report_);
    }
    if (!old) return false;
    // Outside the lock: Shutdown waits for the reader, and a write in flight is
    // cancelled rather than waited for.
    old->Shutdown();
    return true;
}

bool HidSession::SetFeature(const uint8_t* bytes, int length) {
    if (bytes == nullptr || length != static_cast<int>(kCommandLength)) {
        Log("SetFeature: a command is exactly 8 bytes");
        return false;
    }
    std::shared_ptr<IFeatureChannel> channel;
    {
        std::lock_guard<HidMutex> lock(mutex_);
        channel = feature_;
    }
    if (!channel) {
        Log("SetFeature: the feature channel is not open");
        return false;
    }
    const std::vector<uint8_t> report = BuildFeatureReport({bytes, kCommandLength});
    if (!channel->SendFeatureReport(report)) {
        Log("SetFeature: the mouse did not take the command");
        return false;
    }
    return true;
}

bool HidSession::WriteUsb(const uint8_t* bytes, int length) {
    if (bytes == nullptr || length != static_cast<int>(kBlockHalfLength)) {
        Log("WriteUSB: a block half is exactly 64 bytes");
        return false;
    }
    std::shared_ptr<IReportChannel> channel;
    {
        std::lock_guard<HidMutex> lock(mutex_);
        channel = report_;
    }
    if (!channel) {
        Log("WriteUSB: the report channel is not open");
        return false;
    }
    const std::vector<uint8_t> report = BuildOutputReport({bytes, kBlockHalfLength});
    if (!channel->WriteReport(report, kWriteTimeoutMs)) {
        Log("WriteUSB: the block half was not written");
        return false;
    }
    return true;
}

bool HidSession::IsIdle() const {
    std::lock_guard<HidMutex> lock(mutex_);
    return !feature_ && !report_;
}

}  // namespace hidio
