#include "button_pos.h"

#include <algorithm>
#include <limits>

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f'; }

// Reads one "%d" the way the C library does: blanks skipped, optional sign,
// decimal digits. Values beyond 32 bits saturate instead of wrapping, so a
// hostile skin cannot turn a huge width into a negative one.
bool ScanInt(std::u16string_view text, size_t& pos, int32_t& out) {
    size_t p = pos;
    while (p < text.size() && IsBlank(text[p])) ++p;
    bool negative = false;
    if (p < text.size() && (text[p] == u'+' || text[p] == u'-')) {
        negative = text[p] == u'-';
        ++p;
    }
    if (p >= text.size() || text[p] < u'0' || text[p] > u'9') return false;
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    while (p < text.size() && text[p] >= u'0' && text[p] <= u'9') {
        value = std::min<int64_t>(value * 10 + (text[p] - u'0'), kLimit);
        ++p;
    }
    if (negative) value = -value;
    out = static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    pos = p;
    return true;
}

int32_t SaturatingAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{a} + b, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

template <size_t N>
void CopyCut(char16_t (&field)[N], std::u16string_view text) {
    const size_t n = std::min(text.size(), N - 1);
    std::copy_n(text.data(), n, field);
    field[n] = u'\0';
}

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

ButtonPos ParseButtonPos(std::u16string_view value) {
    ButtonPos pos;
    const size_t firstComma = value.find(u',');
    if (firstComma != std::u16string_view::npos && firstComma > 0) CopyCut(pos.name, value.substr(0, firstComma));
    const std::u16string_view rest =
        firstComma == std::u16string_view::npos ? value : value.substr(firstComma + 1);

    // "%d,%d,%d,%d": each number may follow blanks, each comma must follow its
    // number directly; the first mismatch ends the scan.
    int32_t numbers[4] = {0, 0, 0, 0};
    size_t p = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (p >= rest.size() || rest[p] != u',') break;
            ++p;
        }
        if (!ScanInt(rest, p, numbers[i])) break;
    }
    pos.rect = SkinRect{numbers[0], numbers[1], SaturatingAdd(numbers[0], numbers[2]),
                        SaturatingAdd(numbers[1], numbers[3])};

    const size_t lastComma = rest.rfind(u',');
    CopyCut(pos.text, Trim(lastComma == std::u16string_view::npos ? rest : rest.substr(lastComma + 1)));
    return pos;
}
