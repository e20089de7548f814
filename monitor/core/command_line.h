#pragma once
// The Monitor's command line, without the program name.
#include <string_view>

// "1" as the first character asks for the configuration program: opened once
// the mouse is found at start-up, or by the Monitor that is already running.
// Anything else, or nothing, starts silently.
bool HasStartOption(std::wstring_view commandLine);
