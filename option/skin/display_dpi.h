#pragma once
// The DPI of the display a window shows on, and the per-monitor awareness
// that lets Option draw it at that DPI itself. The functions of newer systems
// are looked up at run time; older ones fall back to the system DPI.
#include <windows.h>

// Per-monitor v2 where the system has it, else per-monitor, else system aware.
// The manifest asks for the same; this covers a start without it.
void BecomeDpiAware();
// The DPI of the monitor that holds `point` (screen pixels).
int DpiOfMonitorAt(POINT point);
// The DPI of the monitor `window` lies on.
int DpiOfWindow(HWND window);
