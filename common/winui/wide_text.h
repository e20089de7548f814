#pragma once
// The portable code keeps its texts as UTF-16 (std::u16string); the Win32
// calls take wchar_t, which is UTF-16 on this platform. The two convert unit
// for unit, without any decoding.
#include <windows.h>

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t holds UTF-16 units");

inline std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
inline std::u16string Narrow16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }
