// 8-bit text in the ANSI code page, as the platform's own profile functions read it.
#include <windows.h>

#include "text_codec.h"

std::u16string DecodeAnsi(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (units <= 0) return {};
    std::u16string out(static_cast<size_t>(units), u'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(out.data()), units);
    return out;
}
