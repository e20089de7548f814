#include "device_link.h"

#include "app_messages.h"

std::vector<LinkAction> PlanPlug(DeviceState state, uintptr_t wParam) {
    if (wParam == kPlugArrived && state != DeviceState::kConnected) {
        return {LinkAction::kWaitArrivalDelay, LinkAction::kSetConnected,    LinkAction::kOpenFeatureDevice,
                LinkAction::kOpenReportDevice, LinkAction::kPostFullDownload, LinkAction::kShowConnected};
    }
    if (wParam == kPlugRemoved && state != DeviceState::kRemoved) {
        return {LinkAction::kSetRemoved, LinkAction::kCloseFeatureDevice, LinkAction::kCloseReportDevice,
                LinkAction::kShowUnplugged, LinkAction::kCloseOptionWindow};
    }
    return {};
}

DeviceState DeviceLink::Connect(void* window) {
    if (!library_.IsComplete()) {
        host_.DebugText("devio.dll cannot be used: " + library_.Problem() + "\n");
        Set(DeviceState::kNotPresent);
        return State();
    }
    library_.SetVidPid(kVendorId, kProductId);
    library_.OpenDevMonitor(window, static_cast<int>(WM_DEVICE_EVENT), static_cast<int>(WM_DEVICE_PLUG));
    library_.OpenFeatureDevice();
    const int present = library_.OpenReportDevice();
    Set(present != 0 ? DeviceState::kConnected : DeviceState::kNotPresent);
    return State();
}

void DeviceLink::OnDevicePlug(uintptr_t wParam) {
    if (!library_.IsComplete()) {
        host_.DebugText("device plug notification ignored: devio.dll cannot be used\n");
        return;
    }
    for (const LinkAction action : PlanPlug(State(), wParam)) Run(action);
}

void DeviceLink::Run(LinkAction action) {
    switch (action) {
    case LinkAction::kWaitArrivalDelay: host_.WaitMs(kArrivalDelayMs); break;
    case LinkAction::kSetConnected: Set(DeviceState::kConnected); break;
    case LinkAction::kOpenFeatureDevice: library_.OpenFeatureDevice(); break;
    case LinkAction::kOpenReportDevice: library_.OpenReportDevice(); break;
    case LinkAction::kPostFullDownload: host_.PostFullDownload(); break;
    case LinkAction::kShowConnected: host_.ShowConnected(); break;
    case LinkAction::kSetRemoved: Set(DeviceState::kRemoved); break;
    case LinkAction::kCloseFeatureDevice: library_.CloseFeatureDevice(); break;
    case LinkAction::kCloseReportDevice: library_.CloseReportDevice(); break;
    case LinkAction::kShowUnplugged: host_.ShowUnplugged(); break;
    case LinkAction::kCloseOptionWindow: host_.CloseOptionWindow(); break;
    }
}

void DeviceLink::Shutdown() {
    if (!library_.IsComplete()) return;
    library_.CloseFeatureDevice();
    library_.CloseReportDevice();
    library_.CloseDevMonitor();
}
