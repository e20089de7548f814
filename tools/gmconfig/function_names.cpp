#include "function_names.h"

#include "key_codes.h"
#include "text_codec.h"

// Both come from the function table that also gives Option its names.
std::string FunctionCodeName(uint8_t code) {
    const FunctionCodeInfo* info = FindFunctionCode(code);
    return info ? info->commandName : "";
}

std::string FunctionClassName(uint8_t functionClass) {
    const FunctionClassInfo* info = FindFunctionClass(functionClass);
    return info ? info->commandName : "class " + std::to_string(functionClass);
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
