#pragma once
// Per-monitor DPI for programs that must run on systems older than the calls
// that give it: every call is looked up at run time, and each falls back to
// what the older system offers (the system DPI, or none at all).
#include <windows.h>

// Makes the process per-monitor DPI-aware (v2, else v1, else system-aware)
// unless its manifest already decided. Call before the first window exists.
void EnsurePerMonitorDpiAwareness();

// True when this thread's windows get the DPI of their own monitor (the
// process's awareness, unless the thread changed its own).
bool PerMonitorDpiAware();

// The DPI of the monitor `window` is on; the system DPI where the system has
// no per-monitor DPI, and 96 when nothing answers.
UINT WindowDpi(HWND window);

// The DPI of the monitor that holds `point` (screen pixels); as WindowDpi
// where the system has no per-monitor DPI.
UINT MonitorDpiAt(POINT point);

// GetSystemMetrics as it would be at `dpi`. Without GetSystemMetricsForDpi the
// process is at most system-aware, so the plain metric is already the right one.
int SystemMetricForDpi(int index, UINT dpi);
