#pragma once
// Text numbers of uistr.dll that the code names, and which of them each
// program shows. Plain macros so the resource compiler can read them too.
#define kTextOpenOption 1002   // icon menu: open or activate Option
#define kTextExitMonitor 1003  // icon menu: end the Monitor
#define kTextTrayTip 1004      // tip of the notification-area icon
#define kTextGameProfiles 1001  // icon menu: automatic game profiles (checked while on)
#define kTextTrayNoMouse 1110   // tip of the icon while the mouse is away
#define kTextUnpluggedTitle 1111    // balloon on unplug: its title
#define kTextUnpluggedBalloon 1112  // balloon on unplug: why Option closed

#ifndef RC_INVOKED
#include <array>

#include "option_text_ids.h"

// Captions are drawn on skinned buttons about 16 characters wide.
inline constexpr int kFunctionNameBudget = 16;
inline constexpr int kTrayTipUnits = 128;  // the tip field, terminator included

// Everything Option shows by number, besides the function names that the
// function-code table names.
#define GM_OPTION_TEXT_NUMBER(name, number) number,
inline constexpr std::array kOptionTextIds{GM_OPTION_TEXTS(GM_OPTION_TEXT_NUMBER, GM_OPTION_TEXT_NUMBER)};

// Short captions that share a button with others: menu entries and choices.
#define GM_OPTION_TEXT_SKIP(name, number)
inline constexpr std::array kMenuTextIds{GM_OPTION_TEXTS(GM_OPTION_TEXT_SKIP, GM_OPTION_TEXT_NUMBER)};
#undef GM_OPTION_TEXT_SKIP
#undef GM_OPTION_TEXT_NUMBER

inline constexpr std::array kMonitorTextIds{kTextOpenOption,  kTextExitMonitor,    kTextTrayTip,         kTextGameProfiles,
                                            kTextTrayNoMouse, kTextUnpluggedTitle, kTextUnpluggedBalloon};
#endif
