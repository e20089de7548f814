#include "hid_framing.h"

#include "text_util.h"

namespace hidio {

namespace {

std::vector<uint8_t> WithReportId(uint8_t id, std::span<const uint8_t> payload) {
    std::vector<uint8_t> report;
    report.reserve(1 + payload.size());
    report.push_back(id);
    report.insert(report.end(), payload.begin(), payload.end());
    return report;
}

bool IsAlnum(wchar_t c) {
    return HexDigitValue(c) >= 0 || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    return EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

// Reads the run of hex digits at the start of `text`; its length goes to *digits.
uint32_t ReadHexRun(std::wstring_view text, size_t* digits) {
    uint32_t value = 0;
    size_t n = 0;
    while (n < text.size() && n < 9) {
        const int h = HexDigitValue(text[n]);
        if (h < 0) break;
        value = (value << 4) | static_cast<uint32_t>(h);
        ++n;
    }
    *digits = n;
    return value;
}

// Finds `tag` ("VID" or "PID") followed by '_' and exactly four hex digits, or by
// '&' and four hex digits, or (allowSource) six or eight whose last four are the
// id: Bluetooth paths put the id source in front of the vendor id.
bool HasIdTag(std::wstring_view path, std::wstring_view tag, uint16_t id, bool allowSource) {
    for (size_t at = 0; at + tag.size() + 1 < path.size(); ++at) {
        if (!StartsWithNoCase(path.substr(at), tag)) continue;
        // The tag must start a token of the path ("#VID_", "&PID_", "_VID&"), so that
        // the letters inside some other word are no match.
        if (at > 0 && IsAlnum(path[at - 1])) continue;
        const wchar_t separator = path[at + tag.size()];
        size_t digits = 0;
        const uint32_t value = ReadHexRun(path.substr(at + tag.size() + 1), &digits);
        if (separator == L'_' && digits == 4 && value == id) return true;
        if (separator == L'&' && (digits == 4 || (allowSource && (digits == 6 || digits == 8))) &&
            (value & 0xFFFF) == id) {
            return true;
        }
    }
    return false;
}

}  // namespace

ChannelKind ClassifyCollection(const HidCollectionInfo& info, uint16_t vendorId, uint16_t productId) {
    if (info.vendorId != vendorId || info.productId != productId) return ChannelKind::kNone;
    if (info.usagePage != kVendorUsagePage) return ChannelKind::kNone;
    if (info.usage == kFeatureCollectionUsage && info.featureReportLength == kFeatureReportLength) {
        return ChannelKind::kFeature;
    }
    if (info.usage == kReportCollectionUsage && info.outputReportLength == kOutputReportLength &&
        info.inputReportLength >= kInputReportLength) {
        return ChannelKind::kReport;
    }
    return ChannelKind::kNone;
}

std::vector<uint8_t> BuildFeatureReport(std::span<const uint8_t> command) {
    if (command.size() != kCommandLength) return {};
    return WithReportId(kFeatureReportId, command);
}

std::vector<uint8_t> BuildOutputReport(std::span<const uint8_t> half) {
    if (half.size() != kBlockHalfLength) return {};
    return WithReportId(kOutputReportId, half);
}

std::optional<HidDeviceEvent> ParseInputReport(std::span<const uint8_t> report) {
    if (report.size() < kInputReportLength || report[0] != kInputReportId) return std::nullopt;
    HidDeviceEvent event;
    event.code = static_cast<uint16_t>(report[1] | (report[2] << 8));
    event.value = static_cast<uint16_t>(report[3] | (report[4] << 8));
    return event;
}

std::vector<uint8_t> BuildInputReport(HidDeviceEvent event) {
    return {kInputReportId, static_cast<uint8_t>(event.code), static_cast<uint8_t>(event.code >> 8),
            static_cast<uint8_t>(event.value), static_cast<uint8_t>(event.value >> 8)};
}

bool PathMatchesVidPid(std::wstring_view path, uint16_t vendorId, uint16_t productId) {
    return HasIdTag(path, L"VID", vendorId, true) && HasIdTag(path, L"PID", productId, false);
}

}  // namespace hidio
