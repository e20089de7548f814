// A devio.dll that lacks WriteUSB: the binding must refuse to use it.
#define DEVIO_EXPORT extern "C" __declspec(dllexport)

DEVIO_EXPORT int Set_VIDPID(int, int) { return 1; }
DEVIO_EXPORT int Open_DevMonitor(void*, int, int) { return 1; }
DEVIO_EXPORT int Close_DevMonitor() { return 1; }
DEVIO_EXPORT int Open_FeatureDevice() { return 1; }
DEVIO_EXPORT int Close_FeatureDevice() { return 1; }
DEVIO_EXPORT int Open_ReportDevice() { return 1; }
DEVIO_EXPORT int Close_ReportDevice() { return 1; }
DEVIO_EXPORT int SetFeature(unsigned char*, int) { return 1; }
