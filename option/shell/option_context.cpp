#include "option_context.h"

#include "app_messages.h"
#include "text_library.h"

namespace {
HWND g_settingsTarget = nullptr;  // not owned
}  // namespace

CTextLibrary& OptionTexts() {
    static CTextLibrary texts;
    return texts;
}

std::wstring OptionText(UINT id) { return OptionTexts().Text(id); }

void RegisterSettingsTarget(HWND page) { g_settingsTarget = page; }
HWND SettingsTarget() { return g_settingsTarget; }

bool PostSettingsChanged() {
    return g_settingsTarget && PostMessageW(g_settingsTarget, WM_SETTINGS_CHANGED, 0, 0);
}
