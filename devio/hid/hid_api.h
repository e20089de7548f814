#pragma once
// hid.dll's user-mode API. Its headers in mingw-w64 carry no C linkage of their own.
#include <windows.h>

extern "C" {
#include <hidsdi.h>
}
