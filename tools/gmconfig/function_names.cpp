#include "function_names.h"

#include "key_codes.h"
#include "text_codec.h"

std::string FunctionCodeName(uint8_t code) {
    switch (code) {
        case 0: return "nothing";
        case 1: return "left click";
        case 2: return "right click";
        case 3: return "middle click";
        case 4: return "forward";
        case 5: return "back";
        case 6: return "double click";
        case 7: return "scroll up";
        case 8: return "scroll down";
        case 9: return "tilt right";
        case 10: return "tilt left";
        case 11: return "fire";
        case 12: return "keyboard key";
        case 13: return "DPI cycle";
        case 14: return "DPI up";
        case 15: return "DPI down";
        case 16: return "macro";
        case 17: return "launch program";
        case 26: return "previous track";
        case 27: return "next track";
        case 28: return "play/pause";
        case 29: return "stop";
        case 30: return "mute";
        case 31: return "volume up";
        case 32: return "volume down";
        case 65: return "run command";
        case 112: return "task manager";
        case 113: return "ease of access";
        case 114: return "show desktop";
        case 115: return "task view";
        case 116: return "switch window";
        case 117: return "close window";
        case 118: return "cut";
        case 119: return "copy";
        case 120: return "paste";
        default: return "";
    }
}

std::string FunctionClassName(uint8_t functionClass) {
    switch (functionClass) {
        case kClassDefault: return "default";
        case kClassKeyboardKey: return "key";
        case kClassMouseFunction: return "mouse";
        case kClassDpiFunction: return "dpi";
        case kClassMacro: return "macro";
        case kClassLaunch: return "launch";
        case kClassMedia: return "media";
        case kClassShortcut: return "shortcut";
        case kClassDisabled: return "disabled";
        default: return "class " + std::to_string(functionClass);
    }
}

std::string DescribeAssignment(const ButtonAssignment& r, const IKeyboardLayout& layout) {
    std::string text = FunctionClassName(r.FunctionClass) + ": ";
    switch (r.FunctionCode) {
        case kCodeKeyboardKey: {
            const std::u16string name(DeviceKeyName(layout, r.keyCode()));
            text += "key " + (name.empty() ? "#" + std::to_string(r.keyCode()) : U16ToUtf8(name));
            if (r.keyModifierByte() != 0) text += " (modifier byte " + std::to_string(r.keyModifierByte()) + ")";
            return text;
        }
        case kCodeMacro:
            return text + "macro \"" + U16ToUtf8(FieldText(r.macroName)) + "\" (" + std::to_string(r.eventCount) +
                   " steps, repeat mode " + std::to_string(r.repeatMode) + ", count " +
                   std::to_string(r.repeatCount) + ")";
        case kCodeLaunchProgram:
            return text + "launch \"" + U16ToUtf8(FieldText(r.program)) + "\"";
        case kCodeLaunchCommand:
            return text + "run \"" + U16ToUtf8(FieldText(r.program)) + "\"";
        default: {
            const std::string name = FunctionCodeName(r.FunctionCode);
            return text + (name.empty() ? "unknown function " + std::to_string(r.FunctionCode) : name) + " (code " +
                   std::to_string(r.FunctionCode) + ")";
        }
    }
}
