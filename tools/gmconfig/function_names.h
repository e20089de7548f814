#pragma once
// Readable names of button functions for the command line's output.
#include <cstdint>
#include <string>

#include "button_assignment.h"

class IKeyboardLayout;

// e.g. "default: left click", "key A", "macro \"Rush\" (3 steps, repeat mode 0)".
std::string DescribeAssignment(const ButtonAssignment& record, const IKeyboardLayout& layout);
// Name of a function code, or "" when the code has none.
std::string FunctionCodeName(uint8_t code);
std::string FunctionClassName(uint8_t functionClass);
