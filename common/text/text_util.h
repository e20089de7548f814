#pragma once
// Small text helpers shared by the portable code: hex digits, ASCII case and
// trimming, for any character type. No locale is asked: the files and
// arguments these read mean the same on every machine.
#include <string>
#include <string_view>

// 0-15 for a hex digit of either case, -1 for anything else.
template <typename Char>
constexpr int HexDigitValue(Char c) {
    if (c >= Char('0') && c <= Char('9')) return static_cast<int>(c - Char('0'));
    if (c >= Char('A') && c <= Char('F')) return static_cast<int>(c - Char('A')) + 10;
    if (c >= Char('a') && c <= Char('f')) return static_cast<int>(c - Char('a')) + 10;
    return -1;
}

// Only A-Z and a-z change case; every other character stays as it is.
template <typename Char>
constexpr Char AsciiLower(Char c) {
    return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

template <typename Char>
constexpr Char AsciiUpper(Char c) {
    return c >= Char('a') && c <= Char('z') ? static_cast<Char>(c - Char('a') + Char('A')) : c;
}

template <typename Char>
std::basic_string<Char> ToAsciiLower(std::basic_string_view<Char> text) {
    std::basic_string<Char> out(text);
    for (Char& c : out) c = AsciiLower(c);
    return out;
}

template <typename Char>
constexpr bool EqualsIgnoringAsciiCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

// Space, tab, line feed, carriage return, vertical tab and form feed.
template <typename Char>
constexpr bool IsAsciiBlank(Char c) {
    return c == Char(' ') || c == Char('\t') || c == Char('\r') || c == Char('\n') || c == Char('\v') ||
           c == Char('\f');
}

// `text` without the characters at either end for which `isSpace` holds.
template <typename Char, typename IsSpace>
constexpr std::basic_string_view<Char> TrimView(std::basic_string_view<Char> text, IsSpace isSpace) {
    size_t begin = 0, end = text.size();
    while (begin < end && isSpace(text[begin])) ++begin;
    while (end > begin && isSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}
