#pragma once
// Every text number of uistr.dll that Option shows, named once: X(name, number),
// or M(name, number) for a short caption that shares a button with others (a
// menu entry or a choice), which must fit as a function name does.
// Option's windows and their portable rules take the names (option_text::kCopy);
// the tests take the lists (kOptionTextIds and kMenuTextIds in text_ids.h). The
// function names are not here: the function-code table names them itself.
#define GM_OPTION_TEXTS(X, M)                                                                               \
    /* main window: the page tabs */                                                                      \
    X(kSettingsTab, 1) X(kMacrosTab, 2)                                                                   \
    /* configuration page */                                                                              \
    X(kButtonsTab, 4) X(kPerformanceTab, 5) X(kLightingTab, 6)                                            \
    X(kProfileCaption, 8) X(kRenameCaption, 9) X(kResetProfile, 341)                                      \
    X(kDeleteProfileQuestion, 110) X(kDeleteProfileTitle, 345)                                            \
    X(kNoGame, 370) X(kProgramFilter, 371)                                                                \
    /* main window: the badge while the mouse is not connected, and its tip */                            \
    X(kMouseAbsent, 372) X(kMouseAbsentTip, 373)                                                          \
    /* the more-menus of the profile and the macro bar */                                                 \
    M(kCopy, 118) M(kImport, 119) M(kExport, 120)                                                         \
    /* importing a profile whose buttons start programs */                                                \
    X(kLaunchImportQuestion, 346) X(kLaunchImportProgram, 347) X(kLaunchImportCommand, 348)               \
    X(kImportAsIs, 349) X(kImportResetLaunch, 350) X(kImportNothing, 351)                                 \
    /* performance page and its polling-rate menu */                                                      \
    X(kDpiCaption, 12) X(kActiveLevelCaption, 13) X(kActiveLevelDpi, 15) X(kEditLevels, 16)               \
    X(kPollingRateCaption, 17) X(kPointerSpeedCaption, 20) X(kPointerSlow, 21) X(kPointerFast, 22)        \
    M(kPolling125, 121) M(kPolling250, 122) M(kPolling500, 123) M(kPolling1000, 124)                      \
    /* DPI levels dialog; OK and Cancel of the assignment dialog too */                                   \
    X(kLevelsInUse, 42) X(kDpiOfEachLevel, 43) X(kLevelRow, 50) X(kOk, 51) X(kCancel, 52)                 \
    /* lighting page: labels, menus of mode, direction and level, the swatches */                         \
    X(kLightModeLabel, 23) X(kSpeedBrightnessLabel, 24) X(kLevelColoursLabel, 25)                         \
    X(kLightOff, 126) X(kLightSteady, 127) X(kLightBreathing, 128) X(kLightColourWave, 129)               \
    X(kLeftToRight, 132) X(kRightToLeft, 133) X(kFrontToBack, 134) X(kBackToFront, 135)                   \
    M(kLightDim, 136) M(kLightMediumBrightness, 137) M(kLightBright, 138)                                 \
    M(kLightSlow, 139) M(kLightMediumSpeed, 140) M(kLightFast, 141)                                       \
    X(kStoredOnly, 360) X(kLevelColourTip, 361) X(kSpareColourTip, 362)                                   \
    /* button page */                                                                                     \
    X(kTopView, 26) X(kSideView, 27)                                                                      \
    /* macro page, its recorder and its insert panel */                                                   \
    X(kMacroLabel, 28) X(kStepsLabel, 29) X(kRecordingDelayLabel, 32) X(kRecord, 34) X(kStop, 35)         \
    X(kRecordTip, 374)                                                                                    \
    X(kInsert, 38) X(kInsertCancel, 39) X(kDelayLabel, 40) X(kMilliseconds, 41) X(kInsertDelay, 53)       \
    X(kDelayBeforeStep, 101) X(kDelayAfterStep, 102) X(kRecordBeforeStep, 103) X(kRecordAfterStep, 104)   \
    M(kDelayAsTyped, 363) M(kDelayFixed, 364) M(kNoDelay, 365)                                            \
    /* assignment dialog: the categories and the unknown function */                                      \
    M(kCategoryDefault, 56) M(kCategoryKey, 57) M(kCategoryMouse, 58) M(kCategoryDpi, 59)                 \
    M(kCategoryMacro, 60) M(kCategoryLaunch, 62) M(kCategoryMedia, 63) M(kCategoryShortcut, 64)           \
    M(kCategoryDisabled, 65) X(kNoFunction, 67)                                                           \
    /* assignment pages: their labels, the repeat modes, the launch choices */                            \
    X(kPressKeyLabel, 71) X(kMouseFunctionLabel, 72) X(kDpiFunctionLabel, 73) X(kMacroChoiceLabel, 74)    \
    X(kProgramOrCommandLabel, 76) X(kMediaFunctionLabel, 77) X(kShortcutLabel, 78)                        \
    X(kPressKeyTip, 375)                                                                                  \
    X(kRepeatLabel, 95) X(kTimesLabel, 100)                                                               \
    M(kPlayOnce, 96) M(kRepeatCount, 97) M(kWhileHeld, 98) M(kToggle, 99)                                 \
    X(kLaunchProgram, 366) X(kLaunchCommand, 367) X(kChooseProgram, 368)

namespace option_text {
enum Id : unsigned {
#define GM_OPTION_TEXT_NAME(name, number) name = number,
    GM_OPTION_TEXTS(GM_OPTION_TEXT_NAME, GM_OPTION_TEXT_NAME)
#undef GM_OPTION_TEXT_NAME
};
}  // namespace option_text
