#include "sim_control.h"

#include "device_event.h"
#include "text_util.h"

std::optional<uint16_t> ParseWord(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 6) return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0 || digit >= base) return std::nullopt;
        value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
        if (value > 0xFFFF) return std::nullopt;
    }
    return static_cast<uint16_t>(value);
}

std::string MousesimUsage() {
    return "usage: mousesim plug | unplug | dpi-button LEVEL | rate-button VALUE | launch-button N |\n"
           "                config-button | event CODE VALUE | state\n";
}

std::optional<SimCommand> ParseMousesimArgs(const std::vector<std::string>& args, std::string& error) {
    using Kind = SimCommand::Kind;
    if (args.empty()) {
        error = "no command";
        return std::nullopt;
    }
    const std::string& verb = args[0];
    struct Shape {
        const char* verb;
        size_t numbers;
    };
    static constexpr Shape kShapes[] = {{"plug", 0},          {"unplug", 0},       {"state", 0},
                                        {"config-button", 0}, {"dpi-button", 1},   {"rate-button", 1},
                                        {"launch-button", 1}, {"event", 2}};
    const Shape* shape = nullptr;
    for (const Shape& s : kShapes)
        if (verb == s.verb) shape = &s;
    if (shape == nullptr) {
        error = "unknown command '" + verb + "'";
        return std::nullopt;
    }
    if (args.size() != shape->numbers + 1) {
        error = verb + " takes " + std::to_string(shape->numbers) + " number(s)";
        return std::nullopt;
    }
    uint16_t n[2] = {0, 0};
    for (size_t i = 0; i < shape->numbers; ++i) {
        const auto word = ParseWord(args[i + 1]);
        if (!word) {
            error = "'" + args[i + 1] + "' is not a number from 0 to 65535";
            return std::nullopt;
        }
        n[i] = *word;
    }
    if (verb == "plug") return SimCommand{Kind::kPlug};
    if (verb == "unplug") return SimCommand{Kind::kUnplug};
    if (verb == "state") return SimCommand{Kind::kState};
    if (verb == "config-button") return SimCommand{Kind::kEvent, kEventOpenOption, 0};
    if (verb == "dpi-button") return SimCommand{Kind::kEvent, kEventDpiGroup, n[0]};
    if (verb == "rate-button") return SimCommand{Kind::kEvent, kEventRateGroup, n[0]};
    if (verb == "launch-button") return SimCommand{Kind::kEvent, kEventLaunch, n[0]};
    return SimCommand{Kind::kEvent, n[0], n[1]};
}

std::string EncodeSimCommand(const SimCommand& command) {
    switch (command.kind) {
    case SimCommand::Kind::kPlug: return "plug";
    case SimCommand::Kind::kUnplug: return "unplug";
    case SimCommand::Kind::kState: return "state";
    case SimCommand::Kind::kEvent:
        return "event " + std::to_string(command.code) + " " + std::to_string(command.value);
    }
    return "state";
}

std::optional<SimCommand> DecodeSimCommand(std::string_view text) {
    std::vector<std::string> words;
    size_t pos = 0;
    while (pos < text.size() && words.size() <= 3) {
        const size_t space = text.find(' ', pos);
        const size_t end = space == std::string_view::npos ? text.size() : space;
        if (end > pos) words.emplace_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    if (words.empty() || words.size() > 3) return std::nullopt;
    if (words[0] != "plug" && words[0] != "unplug" && words[0] != "state" && words[0] != "event") return std::nullopt;
    std::string ignored;
    return ParseMousesimArgs(words, ignored);
}
