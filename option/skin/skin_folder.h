#pragma once
// The program's skins folder: the program folder followed by "skins\". Set
// once when the main window is created and kept for the life of the process.
#include <string>

void SetSkinsFolder(std::wstring folder);
// The folder set last; until then the running program's own "skins\" folder.
const std::wstring& SkinsFolder();
