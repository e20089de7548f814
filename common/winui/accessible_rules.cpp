#include "accessible_rules.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// Roles that can show a check; a push button that stays pressed as a look
// (a lit hot spot) is not checked for a listener.
bool Checkable(AccessibleRole role) {
    return role == AccessibleRole::kCheckButton || role == AccessibleRole::kPageTab ||
           role == AccessibleRole::kListItem;
}

bool TakesFocus(AccessibleRole role) {
    return role != AccessibleRole::kStaticText && role != AccessibleRole::kDialog &&
           role != AccessibleRole::kClient && role != AccessibleRole::kNone;
}

}  // namespace

std::wstring SpokenText(const std::wstring& text, bool mnemonics) {
    std::wstring out;
    bool pendingBlank = false;
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'&' && mnemonics) {
            if (i + 1 < text.size() && text[i + 1] == L'&') {
                ++i;
            } else {
                continue;
            }
        }
        if (IsBlank(c)) {
            pendingBlank = !out.empty();
            continue;
        }
        if (pendingBlank) out += L' ';
        pendingBlank = false;
        out += c;
    }
    return out;
}

std::wstring NumberedButtonName(int number, const std::wstring& function) {
    std::wstring name = L"G" + std::to_wstring(number);
    const std::wstring spoken = SpokenText(function);
    if (!spoken.empty()) name += L": " + spoken;
    return name;
}

AccessibleAnswer DescribeAccessible(const AccessibleFacts& facts) {
    AccessibleAnswer answer;
    answer.role = facts.role;
    if (facts.role == AccessibleRole::kNone) return answer;
    answer.name = SpokenText(facts.name, !facts.nameAsTyped);
    if (answer.name.empty()) answer.name = SpokenText(facts.caption);
    if (answer.name.empty()) answer.name = SpokenText(facts.tooltip);
    answer.value = facts.value;
    using namespace accessible_state;
    if (facts.checked && Checkable(facts.role)) answer.state |= kChecked;
    if (facts.role == AccessibleRole::kListItem) answer.state |= kSelectable | (facts.selected ? kSelected : 0u);
    if (!facts.enabled) answer.state |= kUnavailable;
    if (!facts.visible) answer.state |= kInvisible;
    // Only what the keyboard can reach now is focusable.
    if (facts.focusable && TakesFocus(facts.role) && facts.enabled && facts.visible) {
        answer.state |= kFocusable;
        if (facts.focused) answer.state |= kFocused;
    }
    return answer;
}
