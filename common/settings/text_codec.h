#pragma once
// Conversions between the suite's UTF-16 text and bytes.
#include <string>
#include <string_view>

// UTF-8 <-> UTF-16. Malformed input becomes U+FFFD rather than failing.
std::u16string Utf8ToU16(std::string_view utf8);
std::string U16ToUtf8(std::u16string_view text);

// 8-bit text of a file without a byte order mark: the ANSI code page on
// Windows, Windows-1252 elsewhere.
std::u16string DecodeAnsi(std::string_view bytes);
