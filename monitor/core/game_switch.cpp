#include "game_switch.h"

#include "ordinal_case.h"
#include "text_util.h"

std::u16string GameFileName(std::u16string_view path) {
    const size_t slash = path.find_last_of(u"\\/");
    const std::u16string_view name = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
    return std::u16string(TrimView(name, IsAsciiBlank<char16_t>));
}

std::wstring FoldProgramName(std::wstring_view name) { return OrdinalUpperText(name); }

bool IsOwnProgram(std::wstring_view foreground) {
    return EqualsIgnoringCase(foreground, std::wstring_view(L"option.exe")) ||
           EqualsIgnoringCase(foreground, std::wstring_view(L"monitor.exe"));
}

int32_t ProfileForProgram(std::span<const std::wstring> gameNames, std::wstring_view foreground) {
    if (foreground.empty()) return -1;
    for (size_t i = 0; i < gameNames.size(); ++i)
        if (!gameNames[i].empty() && gameNames[i] == foreground) return static_cast<int32_t>(i);
    return -1;
}

GameSwitchStep DecideGameSwitch(const GameSwitchInput& in) {
    GameSwitchStep step;
    step.home = in.home;
    if (!in.enabled || in.foreground.empty() || IsOwnProgram(in.foreground)) return step;
    if (!in.declined.empty() && in.foreground == in.declined) return step;
    const int32_t count = static_cast<int32_t>(in.gameNames.size());
    const int32_t game = ProfileForProgram(in.gameNames, in.foreground);
    if (game >= 0) {
        if (game == in.current) return step;
        step.kind = GameSwitchStep::Kind::kSwitchToGame;
        step.profile = game;
        // From game to game the way back stays where the first game found it.
        if (in.home < 0 || in.home >= count) step.home = in.current >= 0 && in.current < count ? in.current : -1;
        return step;
    }
    // No game in front: whatever profile the user had before the games comes back.
    step.home = -1;
    if (in.home >= 0 && in.home < count && in.home != in.current) {
        step.kind = GameSwitchStep::Kind::kReturnHome;
        step.profile = in.home;
    }
    return step;
}
