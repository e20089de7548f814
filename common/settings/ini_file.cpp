#include "ini_file.h"

#include <array>

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "file_io.h"
#include "text_codec.h"
#include "text_util.h"

namespace {

constexpr size_t kReadStringLimit = 4095;  // the platform's 4096-unit buffer
constexpr size_t kReadIntLimit = 29;       // the platform reads numbers through a 30-unit buffer

// The platform's blanks include the end-of-file mark of old text files.
bool IsProfileSpace(char16_t c) { return IsAsciiBlank(c) || c == 0x1A; }

std::u16string_view Trim(std::u16string_view s) { return TrimView(s, IsProfileSpace); }

// Section and key names compare without regard to (ASCII) case. A name asked
// for is trimmed; a name read from a file is taken as it stands there.
std::u16string FoldStored(std::u16string_view s) { return ToAsciiLower(s); }

std::u16string Fold(std::u16string_view s) { return FoldStored(Trim(s)); }

// One pair of matching outer quotes is removed, as the platform does on reading.
std::u16string_view StripQuotes(std::u16string_view v) {
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

}  // namespace

// The platform trims values on writing and strips quotes on reading. A value
// whose own edges are blanks or a matching pair of quotes would come back
// changed, so it is written inside one more pair of quotes.
std::u16string EncodeIniValue(std::u16string_view value) {
    std::u16string clean(value);
    // A line break inside a value would split the file's lines.
    for (char16_t& c : clean)
        if (c == u'\r' || c == u'\n') c = u' ';
    const bool edgeSpace = !clean.empty() && (IsProfileSpace(clean.front()) || IsProfileSpace(clean.back()));
    const bool quoted = StripQuotes(clean).size() != clean.size();
    if (edgeSpace || quoted) return u"\"" + clean + u"\"";
    return clean;
}

namespace {

std::u16string CleanName(std::u16string_view name) {
    std::u16string clean(Trim(name));
    for (char16_t& c : clean)
        if (c == u'\r' || c == u'\n') c = u' ';
    return clean;
}

// The platform's number reading: leading blanks, a sign, an optional 0x/0o/0b
// prefix, digits up to the first other character; the low 32 bits are kept.
int32_t ParseProfileInt(std::u16string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] <= u' ') ++i;
    bool minus = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        minus = s[i] == u'-';
        ++i;
    }
    uint32_t base = 10;
    if (s.size() - i >= 2 && s[i] == u'0') {
        if (s[i + 1] == u'b') base = 2;
        else if (s[i + 1] == u'o') base = 8;
        else if (s[i + 1] == u'x') base = 16;
        if (base != 10) i += 2;
    }
    uint32_t total = 0;
    for (; i < s.size(); ++i) {
        const char16_t c = s[i];
        const int digit = HexDigitValue(c);
        if (digit < 0 || static_cast<uint32_t>(digit) >= base) break;
        total = total * base + static_cast<uint32_t>(digit);
    }
    return static_cast<int32_t>(minus ? 0u - total : total);
}

enum class TextMark { kNone, kUtf16Le, kUtf16Be, kUtf8 };

// The byte order mark or UTF-8 mark a file starts with; without one it is 8-bit text.
TextMark MarkOf(std::string_view b) {
    const auto at = [&](size_t i) { return static_cast<uint8_t>(b[i]); };
    if (b.size() >= 2 && at(0) == 0xFF && at(1) == 0xFE) return TextMark::kUtf16Le;
    if (b.size() >= 2 && at(0) == 0xFE && at(1) == 0xFF) return TextMark::kUtf16Be;
    if (b.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) return TextMark::kUtf8;
    return TextMark::kNone;
}

std::u16string DecodeFile(std::string_view bytes) {
    auto utf16 = [](std::string_view b, bool bigEndian) {
        std::u16string out;
        out.reserve(b.size() / 2);
        for (size_t i = 0; i + 1 < b.size(); i += 2) {
            const auto lo = static_cast<uint8_t>(b[i + (bigEndian ? 1 : 0)]);
            const auto hi = static_cast<uint8_t>(b[i + (bigEndian ? 0 : 1)]);
            out.push_back(static_cast<char16_t>(lo | (hi << 8)));
        }
        return out;
    };
    switch (MarkOf(bytes)) {
        case TextMark::kUtf16Le: return utf16(bytes.substr(2), false);
        case TextMark::kUtf16Be: return utf16(bytes.substr(2), true);
        case TextMark::kUtf8: return Utf8ToU16(bytes.substr(3));
        case TextMark::kNone: break;
    }
    return DecodeAnsi(bytes);
}

}  // namespace

std::u16string IntToText(int32_t value) {
    const std::string s = std::to_string(value);
    return std::u16string(s.begin(), s.end());
}

std::u16string AsciiToU16(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

CIniFile::CIniFile(std::filesystem::path path) : path_(std::move(path)) {}
CIniFile::~CIniFile() = default;

void CIniFile::EnsureLoaded() const {
    if (loaded_) return;
    std::string bytes;
    ReadWholeFile(path_, bytes);
    const_cast<CIniFile*>(this)->Parse(bytes);
}

void CIniFile::Parse(std::string_view bytes) { ParseOnly(bytes, KeepEntry()); }

void CIniFile::LoadOnly(const KeepEntry& keep) {
    std::string bytes;
    ReadWholeFile(path_, bytes);
    ParseOnly(bytes, keep);
}

namespace {

// 8-bit text into `out`, whose buffer is reused from line to line. Plain ASCII,
// nearly all of a store, is widened directly.
void WidenAnsi(std::string_view in, std::u16string& out) {
    out.resize(in.size());
    const char* from = in.data();
    char16_t* to = out.data();
    size_t i = 0;
    bool ascii = true;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= in.size(); i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        if (_mm_movemask_epi8(v) != 0) {
            ascii = false;
            break;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i + 8), _mm_unpackhi_epi8(v, zero));
    }
#endif
    for (; ascii && i < in.size(); ++i) {
        const auto c = static_cast<uint8_t>(from[i]);
        ascii = c < 0x80;
        to[i] = c;
    }
    if (!ascii) out = DecodeAnsi(in);
}

// The first CR or LF from `p` on, or `end`. Eight bytes at a time: a store's
// lines run to some 2,600 bytes, and the platform's memchr goes byte by byte.
const char* FindLineBreak(const char* p, const char* end) {
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kHigh = 0x8080808080808080ull;
    while (end - p >= 8) {
        uint64_t word;
        std::memcpy(&word, p, sizeof word);
        const uint64_t cr = word ^ (kOnes * '\r');
        const uint64_t lf = word ^ (kOnes * '\n');
        // Some byte of `x` is zero exactly when (x - ones) & ~x has a high bit set.
        if ((((cr - kOnes) & ~cr) | ((lf - kOnes) & ~lf)) & kHigh) break;
        p += 8;
    }
    while (p < end && *p != '\r' && *p != '\n') ++p;
    return p;
}

bool IsProfileSpaceByte(char c) { return IsProfileSpace(static_cast<uint8_t>(c)); }

}  // namespace

void CIniFile::ParseOnly(std::string_view bytes, const KeepEntry& keep) {
    sections_.clear();
    sectionIndex_.clear();
    loaded_ = true;
    ParseState state{keep ? &keep : nullptr};
    if (MarkOf(bytes) != TextMark::kNone) {
        const std::u16string text = DecodeFile(bytes);
        size_t pos = 0;
        while (pos < text.size()) {
            size_t end = pos;
            while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
            const std::u16string_view line = Trim(std::u16string_view(text).substr(pos, end - pos));
            // A line ends in CR, LF or CR LF.
            pos = end;
            if (pos < text.size() && text[pos] == u'\r') ++pos;
            if (pos < text.size() && text[pos] == u'\n') ++pos;
            if (line.empty() || line.front() == u';') continue;
            if (line.front() == u'[') {
                AddSection(state, line);
                continue;
            }
            const size_t eq = line.find(u'=');
            const std::u16string_view key = eq == std::u16string_view::npos ? line : Trim(line.substr(0, eq));
            if (!Keeps(state, key)) continue;
            if (eq == std::u16string_view::npos) AddEntry(state, key, {}, false);
            else AddEntry(state, key, Trim(line.substr(eq + 1)), true);
        }
        return;
    }
    // 8-bit text is split into lines and at '=' before it is decoded: the
    // bytes of line breaks, blanks and '=' never occur inside a character of
    // the platform's code pages, and only what is kept needs decoding at all.
    std::u16string keyText, valueText;
    const char* const base = bytes.data();
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t end = static_cast<size_t>(FindLineBreak(base + pos, base + bytes.size()) - base);
        const std::string_view line = TrimView(bytes.substr(pos, end - pos), IsProfileSpaceByte);
        pos = end;
        if (pos < bytes.size() && bytes[pos] == '\r') ++pos;
        if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            WidenAnsi(line, keyText);
            AddSection(state, keyText);
            continue;
        }
        const size_t eq = line.find('=');
        WidenAnsi(eq == std::string_view::npos ? line : line.substr(0, eq), keyText);
        const std::u16string_view key = Trim(keyText);
        if (!Keeps(state, key)) continue;
        if (eq == std::string_view::npos) {
            AddEntry(state, key, {}, false);
            continue;
        }
        WidenAnsi(line.substr(eq + 1), valueText);
        AddEntry(state, key, Trim(valueText), true);
    }
}

void CIniFile::AddSection(ParseState& state, std::u16string_view line) {
    const size_t close = line.find(u']');
    if (close == std::u16string_view::npos) return;  // not a section header
    Section section;
    section.name = std::u16string(Trim(line.substr(1, close - 1)));
    sections_.push_back(std::move(section));
    state.current = sections_.size() - 1;
    // The first of duplicate sections wins; a later one is kept only as text.
    sectionIndex_.emplace(FoldStored(sections_.back().name), sections_.size() - 1);
}

bool CIniFile::Keeps(const ParseState& state, std::u16string_view key) const {
    // A filter sees every line of a key alike, so what it keeps reads as in the whole file.
    if (!state.keep) return true;
    const std::u16string_view section =
        state.current == ParseState::kNone ? std::u16string_view() : std::u16string_view(sections_[state.current].name);
    return (*state.keep)(section, key);
}

void CIniFile::AddEntry(ParseState& state, std::u16string_view key, std::u16string_view value, bool hasValue) {
    if (state.current == ParseState::kNone) {
        // Keys before the first header form a section without a name.
        sections_.push_back(Section{});
        sections_.back().implicit = true;
        state.current = sections_.size() - 1;
        sectionIndex_.emplace(std::u16string(), sections_.size() - 1);
    }
    Section& section = sections_[state.current];
    // A line without '=' still takes its key's place, so a later line of the
    // same key stays hidden, as with the platform.
    section.index.emplace(FoldStored(key), section.entries.size());
    section.entries.push_back(Entry{std::u16string(key), std::u16string(value), hasValue});
}

const CIniFile::Entry* CIniFile::Find(std::u16string_view section, std::u16string_view key) const {
    EnsureLoaded();
    const auto s = sectionIndex_.find(Fold(section));
    if (s == sectionIndex_.end()) return nullptr;
    const Section& sec = sections_[s->second];
    const auto k = sec.index.find(Fold(key));
    if (k == sec.index.end() || !sec.entries[k->second].hasValue) return nullptr;
    return &sec.entries[k->second];
}

bool CIniFile::HasSection(std::u16string_view section) const {
    EnsureLoaded();
    return sectionIndex_.count(Fold(section)) != 0;
}

bool CIniFile::HasKey(std::u16string_view section, std::u16string_view key) const {
    return Find(section, key) != nullptr;
}

std::vector<std::u16string> CIniFile::SectionNames() const {
    EnsureLoaded();
    std::vector<std::u16string> names;
    for (const auto& s : sections_) names.push_back(s.name);
    return names;
}

std::vector<std::u16string> CIniFile::KeyNames(std::u16string_view section) const {
    EnsureLoaded();
    std::vector<std::u16string> names;
    const auto s = sectionIndex_.find(Fold(section));
    if (s == sectionIndex_.end()) return names;
    const Section& sec = sections_[s->second];
    // A key written twice reads as its first entry: only that one names it.
    for (size_t i = 0; i < sec.entries.size(); ++i) {
        const Entry& e = sec.entries[i];
        const auto k = sec.index.find(Fold(e.key));
        if (e.hasValue && k != sec.index.end() && k->second == i) names.push_back(e.key);
    }
    return names;
}

std::u16string CIniFile::ReadString(std::u16string_view section, std::u16string_view key,
                                    std::u16string_view defaultValue) const {
    const Entry* e = Find(section, key);
    std::u16string_view value = defaultValue;
    if (e) {
        value = StripQuotes(e->value);
    } else {
        // The platform drops trailing blanks of the default.
        while (!value.empty() && value.back() == u' ') value.remove_suffix(1);
    }
    return std::u16string(value.substr(0, std::min(value.size(), kReadStringLimit)));
}

int32_t CIniFile::ReadInt(std::u16string_view section, std::u16string_view key, int32_t defaultValue) const {
    const std::u16string text = ReadString(section, key, u"");
    if (text.empty()) return defaultValue;
    return ParseProfileInt(std::u16string_view(text).substr(0, std::min(text.size(), kReadIntLimit)));
}

namespace {

// Hex digit values by character, 0xFF for anything else: a store of twenty
// profiles holds some 800,000 digits, decoded on every load.
constexpr std::array<uint8_t, 128> kHexValues = [] {
    std::array<uint8_t, 128> table{};
    table.fill(0xFF);
    for (int c = 0; c < 128; ++c) {
        const int v = HexDigitValue(static_cast<char16_t>(c));
        if (v >= 0) table[static_cast<size_t>(c)] = static_cast<uint8_t>(v);
    }
    return table;
}();

// The byte written as two hex digits, or -1.
inline int HexByte(char16_t hi, char16_t lo) {
    if (hi >= 128 || lo >= 128) return -1;
    const uint8_t h = kHexValues[hi];
    const uint8_t l = kHexValues[lo];
    if ((h | l) == 0xFF) return -1;
    return (h << 4) | l;
}

}  // namespace

bool CIniFile::ReadStruct(std::u16string_view section, std::u16string_view key, void* buffer, size_t size) const {
    const Entry* e = Find(section, key);
    if (!e || buffer == nullptr) return false;
    const std::u16string& v = e->value;
    if (v.size() != 2 * size + 2) return false;
    // Checked whole before the buffer is touched: a damaged value leaves it as it was.
    uint8_t sum = 0;
    for (size_t i = 0; i < size; ++i) {
        const int b = HexByte(v[2 * i], v[2 * i + 1]);
        if (b < 0) return false;
        sum = static_cast<uint8_t>(sum + b);
    }
    if (HexByte(v[2 * size], v[2 * size + 1]) != sum) return false;
    auto* out = static_cast<uint8_t*>(buffer);
    for (size_t i = 0; i < size; ++i) out[i] = static_cast<uint8_t>(HexByte(v[2 * i], v[2 * i + 1]));
    return true;
}

CIniFile::Section& CIniFile::SectionForWrite(std::u16string_view name) {
    EnsureLoaded();
    const std::u16string folded = Fold(name);
    const auto it = sectionIndex_.find(folded);
    if (it != sectionIndex_.end()) return sections_[it->second];
    Section section;
    section.name = CleanName(name);
    sections_.push_back(std::move(section));
    sectionIndex_.emplace(folded, sections_.size() - 1);
    return sections_.back();
}

bool CIniFile::WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    Section& sec = SectionForWrite(section);
    const std::u16string folded = Fold(key);
    std::u16string encoded = EncodeIniValue(value);
    const auto it = sec.index.find(folded);
    if (it != sec.index.end()) {
        sec.entries[it->second].value = std::move(encoded);
        sec.entries[it->second].hasValue = true;
        return true;
    }
    sec.index.emplace(folded, sec.entries.size());
    sec.entries.push_back(Entry{CleanName(key), std::move(encoded)});
    return true;
}

bool CIniFile::WriteInt(std::u16string_view section, std::u16string_view key, int32_t value) {
    return WriteString(section, key, IntToText(value));
}

namespace {

// The hex digits of `size` bytes and of their byte sum, 2 * size + 2 units.
template <typename Char>
void EncodeHex(const uint8_t* __restrict in, size_t size, Char* __restrict out) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    uint8_t sum = 0;
    size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a store of twenty profiles is 400 KB of records.
    const __m128i zero = _mm_setzero_si128();
    const __m128i low4 = _mm_set1_epi8(0x0F);
    const auto digits = [&](__m128i nibbles) {
        // '0'-'9', then 'A'-'F' seven code points further on.
        const __m128i letters = _mm_and_si128(_mm_cmpgt_epi8(nibbles, _mm_set1_epi8(9)), _mm_set1_epi8(7));
        return _mm_add_epi8(_mm_add_epi8(nibbles, _mm_set1_epi8('0')), letters);
    };
    __m128i sums = zero;
    for (; i + 16 <= size; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        sums = _mm_add_epi64(sums, _mm_sad_epu8(v, zero));
        const __m128i hi = digits(_mm_and_si128(_mm_srli_epi16(v, 4), low4));
        const __m128i lo = digits(_mm_and_si128(v, low4));
        const __m128i first = _mm_unpacklo_epi8(hi, lo);  // the digits of bytes 0-7, in order
        const __m128i second = _mm_unpackhi_epi8(hi, lo);
        auto* to = reinterpret_cast<__m128i*>(out + 2 * i);
        if constexpr (sizeof(Char) == 1) {
            _mm_storeu_si128(to, first);
            _mm_storeu_si128(to + 1, second);
        } else {
            _mm_storeu_si128(to, _mm_unpacklo_epi8(first, zero));
            _mm_storeu_si128(to + 1, _mm_unpackhi_epi8(first, zero));
            _mm_storeu_si128(to + 2, _mm_unpacklo_epi8(second, zero));
            _mm_storeu_si128(to + 3, _mm_unpackhi_epi8(second, zero));
        }
    }
    uint64_t halves[2];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(halves), sums);
    sum = static_cast<uint8_t>(halves[0] + halves[1]);
#endif
    for (; i < size; ++i) {
        out[2 * i] = static_cast<Char>(kHex[in[i] >> 4]);
        out[2 * i + 1] = static_cast<Char>(kHex[in[i] & 0xF]);
        sum = static_cast<uint8_t>(sum + in[i]);
    }
    out[2 * size] = static_cast<Char>(kHex[sum >> 4]);
    out[2 * size + 1] = static_cast<Char>(kHex[sum & 0xF]);
}

}  // namespace

void AppendIniStruct(std::string& out, const void* buffer, size_t size) {
    const size_t at = out.size();
    out.resize(at + 2 * size + 2);
    EncodeHex(static_cast<const uint8_t*>(buffer), size, out.data() + at);
}

bool CIniFile::WriteStruct(std::u16string_view section, std::u16string_view key, const void* buffer, size_t size) {
    if (buffer == nullptr && size != 0) return false;
    // Hex digits need no quoting or cleaning: they go straight into the
    // entry's value, which for a store of twenty profiles saves some 300
    // copies of 2.5 KB on every save.
    Section& sec = SectionForWrite(section);
    const std::u16string folded = Fold(key);
    const auto it = sec.index.find(folded);
    Entry* entry;
    if (it != sec.index.end()) {
        entry = &sec.entries[it->second];
        entry->hasValue = true;
    } else {
        sec.index.emplace(folded, sec.entries.size());
        sec.entries.push_back(Entry{CleanName(key), std::u16string()});
        entry = &sec.entries.back();
    }
    std::u16string& text = entry->value;
    text.resize(2 * size + 2);
    EncodeHex(static_cast<const uint8_t*>(buffer), size, text.data());
    return true;
}

void CIniFile::Clear() {
    sections_.clear();
    sectionIndex_.clear();
    loaded_ = true;
}

std::u16string CIniFile::SerializeText() const {
    EnsureLoaded();
    size_t units = 0;
    for (const auto& s : sections_) {
        units += s.name.size() + 4;
        for (const auto& e : s.entries) units += e.key.size() + e.value.size() + 3;
    }
    std::u16string text;
    text.reserve(units);
    for (const auto& s : sections_) {
        if (!s.implicit) {
            text += u'[';
            text += s.name;
            text += u"]\r\n";
        }
        for (const auto& e : s.entries) {
            text += e.key;
            if (e.hasValue) {
                text += u'=';
                text += e.value;
            }
            text += u"\r\n";
        }
    }
    return text;
}

namespace {

// Copies the low bytes of `n` units to `out`; returns all the units or'ed
// together, which tells whether any of them was not ASCII (then the bytes are
// not used). Sixteen units at a time where the processor allows: this is most
// of the time a save takes.
char16_t NarrowInto(const char16_t* in, size_t n, char* out) {
    size_t i = 0;
    char16_t seen = 0;
#if defined(__SSE2__)
    __m128i all = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 8));
        all = _mm_or_si128(all, _mm_or_si128(a, b));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(a, b));
    }
    uint16_t lanes[8];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), all);
    for (uint16_t lane : lanes) seen |= lane;
#endif
    for (; i < n; ++i) {
        seen |= in[i];
        out[i] = static_cast<char>(in[i]);
    }
    return seen;
}

}  // namespace

std::string CIniFile::Serialize() const {
    EnsureLoaded();
    // Plain text is written as the platform writes it, byte for byte; built
    // straight into bytes, as nearly every store is plain. The store runs to
    // some 800 KB, written on every apply: the copy loops stay simple enough
    // for the compiler to vectorize, and whether the text is plain is seen
    // from all its units at once.
    size_t units = 0;
    for (const auto& sec : sections_) {
        units += sec.name.size() + 4;
        for (const auto& e : sec.entries) units += e.key.size() + e.value.size() + 3;
    }
    std::string bytes(units, '\0');
    char* out = bytes.data();
    char16_t seen = 0;
    const auto append = [&](const std::u16string& text) {
        seen |= NarrowInto(text.data(), text.size(), out);
        out += text.size();
    };
    const auto put = [&](char c) { *out++ = c; };
    for (const auto& sec : sections_) {
        if (!sec.implicit) {
            put('[');
            append(sec.name);
            put(']');
            put('\r');
            put('\n');
        }
        for (const auto& e : sec.entries) {
            append(e.key);
            if (e.hasValue) {
                put('=');
                append(e.value);
            }
            put('\r');
            put('\n');
        }
    }
    bytes.resize(static_cast<size_t>(out - bytes.data()));
    if (seen < 0x80) return bytes;
    // Anything else would turn into "?" in an 8-bit code page: UTF-16LE with its mark.
    const std::u16string text = SerializeText();
    bytes.assign(2 + 2 * text.size(), '\0');
    bytes[0] = static_cast<char>(0xFF);
    bytes[1] = static_cast<char>(0xFE);
    for (size_t i = 0; i < text.size(); ++i) {
        bytes[2 + 2 * i] = static_cast<char>(text[i] & 0xFF);
        bytes[3 + 2 * i] = static_cast<char>(text[i] >> 8);
    }
    return bytes;
}

bool CIniFile::Commit() {
    lastError_.clear();
    return WriteFileAtomically(path_, Serialize(), lastError_);
}
