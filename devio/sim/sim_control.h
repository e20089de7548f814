#pragma once
// How mousesim.exe talks to the virtual mouse inside a running program: one
// text command per WM_COPYDATA to the DLL's message-only control window, and
// one text reply sent back the same way to the window named in wParam.
//
// Commands: "plug", "unplug", "event CODE VALUE" (decimal), "state".
// Replies start with "ok" or "error", then lines of detail.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr wchar_t kSimControlClass[] = L"GM7741DevioSimControl";
inline constexpr uintptr_t kSimCommandMagic = 0x474D5331;  // COPYDATASTRUCT::dwData of a command
inline constexpr uintptr_t kSimReplyMagic = 0x474D5332;    // ... of a reply

struct SimCommand {
    enum class Kind { kPlug, kUnplug, kEvent, kState };
    Kind kind = Kind::kState;
    uint16_t code = 0;
    uint16_t value = 0;
    friend bool operator==(const SimCommand&, const SimCommand&) = default;
};

// mousesim's arguments (without the program name): plug, unplug,
// dpi-button LEVEL, rate-button VALUE, launch-button N, config-button,
// event CODE VALUE, state. Numbers are decimal or 0x-hex, 0-65535.
std::optional<SimCommand> ParseMousesimArgs(const std::vector<std::string>& args, std::string& error);
std::string MousesimUsage();

std::string EncodeSimCommand(const SimCommand& command);
std::optional<SimCommand> DecodeSimCommand(std::string_view text);

// 0-65535, decimal or 0x-hex, nothing else.
std::optional<uint16_t> ParseWord(std::string_view text);
