#pragma once
// The programs' one way of writing diagnostics: the platform's debug output.
// There is no log file.
#include <windows.h>

#include <cstdarg>
#include <cstdio>

inline void DebugOut(const wchar_t* text) { OutputDebugStringW(text); }

inline void DebugOutF(const wchar_t* format, ...) {
    wchar_t buffer[1024];
    va_list args;
    va_start(args, format);
    _vsnwprintf(buffer, sizeof buffer / sizeof buffer[0] - 1, format, args);
    va_end(args);
    buffer[sizeof buffer / sizeof buffer[0] - 1] = L'\0';
    OutputDebugStringW(buffer);
}
