// 8-bit text in the ANSI code page, as the platform's own profile functions read it.
#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "text_codec.h"

std::u16string DecodeAnsi(std::string_view bytes) {
    if (bytes.empty()) return {};
    // Every code page Windows offers as the ANSI one keeps 0x00-0x7F as ASCII,
    // and the suite's files are plain ASCII but for names: widen them directly.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<uint8_t>(c) < 0x80; }))
        return std::u16string(bytes.begin(), bytes.end());
    const int size = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (units <= 0) return {};
    std::u16string out(static_cast<size_t>(units), u'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(out.data()), units);
    return out;
}
