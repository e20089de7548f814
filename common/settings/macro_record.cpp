#include "macro_record.h"

#include <algorithm>

void CopyToField(char16_t* field, size_t units, std::u16string_view text) {
    if (units == 0) return;
    // A field holds text up to its terminator; whatever follows a NUL in the
    // source would hide behind it and not survive the next save.
    const size_t end = std::min(text.find(u'\0'), text.size());
    const size_t n = std::min(end, units - 1);
    std::copy_n(text.data(), n, field);
    std::fill(field + n, field + units, u'\0');
}

std::u16string FieldText(const char16_t* field, size_t units) {
    size_t n = 0;
    while (n < units && field[n] != u'\0') ++n;
    return std::u16string(field, n);
}
