#pragma once
#include <filesystem>

// The folder of the running program file. Every file of the suite is found
// from it: config\, skins\, uistr.dll, devio.dll. Empty when it cannot be found.
std::filesystem::path GetProgramFolder();
