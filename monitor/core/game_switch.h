#pragma once
// Automatic game profiles without windows: which profile the program in the
// foreground asks for, and whether the Monitor switches to it, goes back to the
// profile it left, or does nothing. MonitorLogic feeds it and carries it out.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The file name of a program path after the last '\' or '/', blanks trimmed.
std::u16string GameFileName(std::u16string_view path);

// An executable's file name as the file system compares it, and as profile and
// macro names compare: each UTF-16 unit upper-cased on its own. The foreground
// program and each profile's game go through it before they are compared.
std::wstring FoldProgramName(std::wstring_view name);

// Programs of the suite itself: Option in front (its window opened to tune the
// game's profile, or the icon's menu) is no reason to leave the game's profile.
bool IsOwnProgram(std::wstring_view foreground);

struct GameSwitchInput {
    std::wstring_view foreground;             // executable file name, folded; empty: unknown
    std::span<const std::wstring> gameNames;  // per profile, its GameFile's file name folded; empty: none
    int32_t current = -1;                     // the current profile
    int32_t home = -1;                        // the profile to go back to; -1: none
    bool enabled = true;
    // A game in front of which the user chose another profile: that choice
    // stands until another program comes to the front.
    std::wstring_view declined;
};

struct GameSwitchStep {
    enum class Kind { kNothing, kSwitchToGame, kReturnHome };
    Kind kind = Kind::kNothing;
    int32_t profile = -1;  // the profile to make current (switch and return)
    int32_t home = -1;     // the home from now on
};

// The first profile, in list order, linked to `foreground`; -1 when none is.
int32_t ProfileForProgram(std::span<const std::wstring> gameNames, std::wstring_view foreground);

// A game whose profile is not current switches to it and keeps the profile it
// left as home (a game after a game keeps the first home). Any other program
// goes back home. Unknown or own programs, the declined game, or switching
// turned off change nothing.
GameSwitchStep DecideGameSwitch(const GameSwitchInput& input);
