// The nine exports of devio.dll, answered by the virtual mouse. Nothing here
// runs in DllMain: the device and its control thread start on first use.
#include <windows.h>

#include <type_traits>

#include "devio_api.h"
#include "sim_device_win32.h"

#define DEVIO_EXPORT extern "C" __declspec(dllexport)

namespace {

// No exception may leave the library.
template <typename Fn>
int Guarded(Fn&& fn) {
    try {
        return fn();
    } catch (...) {
        OutputDebugStringA("devio sim: call failed\n");
        return 0;
    }
}

}  // namespace

DEVIO_EXPORT int Set_VIDPID(int vendorId, int productId) {
    return Guarded([&] { return SimDevice::Instance().SetVidPid(vendorId, productId); });
}
DEVIO_EXPORT int Open_DevMonitor(void* window, int eventMessage, int plugMessage) {
    return Guarded([&] {
        return SimDevice::Instance().OpenDevMonitor(static_cast<HWND>(window), eventMessage, plugMessage);
    });
}
DEVIO_EXPORT int Close_DevMonitor() { return Guarded([] { return SimDevice::Instance().CloseDevMonitor(); }); }
DEVIO_EXPORT int Open_FeatureDevice() { return Guarded([] { return SimDevice::Instance().OpenFeatureDevice(); }); }
DEVIO_EXPORT int Close_FeatureDevice() { return Guarded([] { return SimDevice::Instance().CloseFeatureDevice(); }); }
DEVIO_EXPORT int Open_ReportDevice() { return Guarded([] { return SimDevice::Instance().OpenReportDevice(); }); }
DEVIO_EXPORT int Close_ReportDevice() { return Guarded([] { return SimDevice::Instance().CloseReportDevice(); }); }
DEVIO_EXPORT int SetFeature(unsigned char* bytes, int length) {
    return Guarded([&] { return SimDevice::Instance().SetFeature(bytes, length); });
}
DEVIO_EXPORT int WriteUSB(unsigned char* bytes, int length) {
    return Guarded([&] { return SimDevice::Instance().WriteUSB(bytes, length); });
}

#include "devio_export_check.h"
