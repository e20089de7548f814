// devio-probe: shows what the real-mouse devio.dll would find on this machine.
//
//   devio-probe [--vid HEX --pid HEX] [--events SECONDS] [--ping]
//
// Lists every HID interface with its ids, usage and report lengths and marks the
// ones taken for the feature and the report channel. --ping sends an empty
// download (start and end commands) on the feature channel; --events opens the
// report channel and prints the device events that arrive for that long.
// Exit status: 0 when both channels were found (and the ping went through),
// 1 when not, 2 on a bad command line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "hid_framing.h"
#include "hid_session.h"
#include "win32_hid_backend.h"

using namespace hidio;

namespace {

std::string Narrow(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    return out;
}

class PrintingSink final : public IDeviceEventSink {
public:
    void OnDeviceEvent(HidDeviceEvent event) override {
        std::printf("event code 0x%04X value %u\n", event.code, event.value);
        std::fflush(stdout);
    }
};

bool ParseHex16(const char* text, uint16_t* value) {
    char* end = nullptr;
    const unsigned long v = std::strtoul(text, &end, 16);
    if (end == text || *end != '\0' || v > 0xFFFF) return false;
    *value = static_cast<uint16_t>(v);
    return true;
}

int Usage() {
    std::fprintf(stderr, "usage: devio-probe [--vid HEX --pid HEX] [--events SECONDS] [--ping]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    uint16_t vid = 0x5A21, pid = 0x7C03;
    int eventSeconds = 0;
    bool ping = false;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--vid") == 0 && hasValue) {
            if (!ParseHex16(argv[++i], &vid)) return Usage();
        } else if (std::strcmp(argv[i], "--pid") == 0 && hasValue) {
            if (!ParseHex16(argv[++i], &pid)) return Usage();
        } else if (std::strcmp(argv[i], "--events") == 0 && hasValue) {
            eventSeconds = std::atoi(argv[++i]);
            if (eventSeconds <= 0 || eventSeconds > 3600) return Usage();
        } else if (std::strcmp(argv[i], "--ping") == 0) {
            ping = true;
        } else {
            return Usage();
        }
    }

    Win32HidBackend backend;
    bool feature = false, report = false;
    const auto interfaces = backend.EnumerateInterfaces();
    std::printf("%zu HID interface(s)\n", interfaces.size());
    for (const HidInterface& iface : interfaces) {
        const HidCollectionInfo& i = iface.info;
        const ChannelKind kind = ClassifyCollection(i, vid, pid);
        feature = feature || kind == ChannelKind::kFeature;
        report = report || kind == ChannelKind::kReport;
        std::printf("%04X:%04X page %04X usage %04X in %u out %u feature %u%s\n  %s\n", i.vendorId, i.productId,
                    i.usagePage, i.usage, i.inputReportLength, i.outputReportLength, i.featureReportLength,
                    kind == ChannelKind::kFeature  ? "  <- feature channel"
                    : kind == ChannelKind::kReport ? "  <- report channel"
                                                   : "",
                    Narrow(iface.path).c_str());
    }
    std::printf("feature channel of %04X:%04X: %s\n", vid, pid, feature ? "found" : "not found");
    std::printf("report channel of %04X:%04X: %s\n", vid, pid, report ? "found" : "not found");
    if (!feature || !report) return 1;

    PrintingSink sink;
    HidSession session(backend, sink);
    session.SetDebugLog([](std::string_view line) {
        std::printf("%.*s\n", static_cast<int>(line.size()), line.data());
    });
    session.SetVidPid(vid, pid);
    int status = 0;
    if (ping) {
        unsigned char start[8] = {0x01, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF6};
        unsigned char end[8] = {0x02, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFC};
        const bool ok = session.OpenFeature() && session.SetFeature(start, 8) && (Sleep(20), true) &&
                        session.SetFeature(end, 8);
        std::printf("ping (empty download): %s\n", ok ? "taken" : "failed");
        if (!ok) status = 1;
        session.CloseFeature();
    }
    if (eventSeconds > 0) {
        if (!session.OpenReport()) {
            std::printf("cannot open the report channel\n");
            return 1;
        }
        std::printf("listening for device events for %d s (press the mouse's DPI button)\n", eventSeconds);
        std::fflush(stdout);
        Sleep(static_cast<DWORD>(eventSeconds) * 1000);
        session.CloseReport();
    }
    return status;
}
