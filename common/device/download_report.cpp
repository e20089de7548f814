#include "download_report.h"

#include "button_table.h"
#include "download_sequence.h"

namespace {

// Records what a download does instead of doing it.
class ListingChannel final : public IDeviceChannel, public ISleeper {
public:
    explicit ListingChannel(std::vector<std::string>& lines) : lines_(lines) {}
    int SetFeature(std::span<const uint8_t, kFeatureCommandSize> command) override {
        lines_.push_back(SetFeatureLine(command));
        return 1;
    }
    int WriteUSB(std::span<const uint8_t, kReportHalfSize> half) override {
        lines_.push_back(WriteUsbLine(half));
        return 1;
    }
    void SleepMs(int milliseconds) override { lines_.push_back(SleepLine(milliseconds)); }

private:
    std::vector<std::string>& lines_;
};

}  // namespace

std::string HexBytes(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i != 0) text += ' ';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::string SetFeatureLine(std::span<const uint8_t> command) { return "SetFeature " + HexBytes(command); }
std::string WriteUsbLine(std::span<const uint8_t> half) { return "WriteUSB " + HexBytes(half); }
std::string SleepLine(int milliseconds) { return "Sleep " + std::to_string(milliseconds); }

std::vector<std::string> DownloadJobLines(const DownloadJob& job) {
    std::vector<std::string> lines;
    ListingChannel listing(lines);
    auto scratch = std::make_unique<ButtonTable>();
    RunDownload(listing, listing, job.profile, job.parts, *scratch);
    return lines;
}

std::vector<std::string> DownloadReportLines(const ProfileStore& store, bool full) {
    const auto job = MakeDownloadJob(store, full ? DownloadKind::kEverything : DownloadKind::kChangedParts);
    if (!job) return {};
    return DownloadJobLines(*job);
}

std::string FormatDownloadReport(const ProfileStore& store, bool full) {
    std::string text;
    for (const std::string& line : DownloadReportLines(store, full)) {
        text += line;
        text += '\n';
    }
    return text;
}
