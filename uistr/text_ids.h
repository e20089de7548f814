#pragma once
// Text numbers of uistr.dll that the code names, and which of them each
// program shows. Plain macros so the resource compiler can read them too.
#define kTextOpenOption 1002   // icon menu: open or activate Option
#define kTextExitMonitor 1003  // icon menu: end the Monitor
#define kTextTrayTip 1004      // tip of the notification-area icon
#define kTextGameProfiles 1001  // icon menu: automatic game profiles (checked while on)

#ifndef RC_INVOKED
#include <array>

// Captions are drawn on skinned buttons about 16 characters wide.
inline constexpr int kFunctionNameBudget = 16;
inline constexpr int kTrayTipUnits = 128;  // the tip field, terminator included

// Everything Option shows by number, besides the function names that the
// function-code table names.
inline constexpr std::array kOptionTextIds{
    1,   2,   4,   5,   6,   8,   9,   12,  13,  15,  16,  17,  20,  21,  22,  23,  24,  25,  26,
    27,  28,  29,  32,  34,  35,  38,  39,  40,  41,  42,  43,  50,  51,  52,  53,  56,  57,  58,
    59,  60,  62,  63,  64,  65,  67,  71,  72,  73,  74,  76,  77,  78,  95,  96,  97,  98,  99,
    100, 101, 102, 103, 104, 110, 118, 119, 120, 121, 122, 123, 124, 126, 127, 128, 129, 132, 133,
    134, 135, 136, 137, 138, 139, 140, 141, 341, 345, 346, 347, 348, 349, 350, 351,
    // Lighting page: the swatches' captions and tips.
    360, 361, 362,
    // Macro page: the recorder's delay modes.
    363, 364, 365,
    // Assignment dialog: the launch page's two choices and its empty path.
    366, 367, 368,
    // Configuration page: the game field without a game and the program filter
    // of its file dialog.
    370, 371};

inline constexpr std::array kMonitorTextIds{kTextOpenOption, kTextExitMonitor, kTextTrayTip, kTextGameProfiles};

// Short captions that share a button with others: menu entries and choices.
inline constexpr std::array kMenuTextIds{56, 57, 58, 59, 60, 62, 63, 64, 65, 96, 97, 98, 99, 118, 119, 120,
                                         121, 122, 123, 124, 136, 137, 138, 139, 140, 141, 363, 364, 365};
#endif
