#include "command_line.h"

bool HasStartOption(std::wstring_view commandLine) { return !commandLine.empty() && commandLine.front() == L'1'; }
