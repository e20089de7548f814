#pragma once
// The nine exports of devio.dll, the device-access library of the mouse. The
// virtual mouse and the real HID library both export exactly these; the
// Monitor resolves them by name. All use the platform's default x64 calling
// convention and return a 32-bit int.
#ifdef __cplusplus
extern "C" {
#endif

typedef int (*PFN_Set_VIDPID)(int vendorId, int productId);
// window: the HWND that receives eventMessage (device events) and plugMessage
// (wParam 1 arrival, 0 removal).
typedef int (*PFN_Open_DevMonitor)(void* window, int eventMessage, int plugMessage);
typedef int (*PFN_Close_DevMonitor)(void);
typedef int (*PFN_Open_FeatureDevice)(void);
typedef int (*PFN_Close_FeatureDevice)(void);
// Nonzero when the mouse is present and its report channel is open.
typedef int (*PFN_Open_ReportDevice)(void);
typedef int (*PFN_Close_ReportDevice)(void);
// Eight bytes: one feature command.
typedef int (*PFN_SetFeature)(unsigned char* bytes, int length);
// Sixty-four bytes: one half of a 128-byte block.
typedef int (*PFN_WriteUSB)(unsigned char* bytes, int length);

#ifdef __cplusplus
}
#endif

#define DEVIO_EXPORT_NAMES                                                                    \
    "Set_VIDPID", "Open_DevMonitor", "Close_DevMonitor", "Open_FeatureDevice",               \
        "Close_FeatureDevice", "Open_ReportDevice", "Close_ReportDevice", "SetFeature", "WriteUSB"
