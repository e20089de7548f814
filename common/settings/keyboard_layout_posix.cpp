#include "keyboard_layout.h"

const IKeyboardLayout& SystemKeyboardLayout() {
    static const UsKeyboardLayout layout;
    return layout;
}
