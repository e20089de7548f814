#pragma once
// The program's skins folder: the program folder followed by "skins\". Set
// once when the main window is created and kept for the life of the process.
// The 100 % set lies in it; the sets of the other scales in its subfolders
// "125\", "150\" and "200\", with the same file names.
#include <string>

void SetSkinsFolder(std::wstring folder);
// The folder set last; until then the running program's own "skins\" folder.
const std::wstring& SkinsRootFolder();
// The folder of the set at the skin scale in use (SkinScale()): every skin
// file and picture is read from it.
std::wstring SkinsFolder();
// The set folder of `percent` below `root`.
std::wstring SkinSetFolder(const std::wstring& root, int percent);
// The installed set for a display of `dpi`, as the sets in the skins folder
// allow; writes one debug line when the display's own set is not there.
int ChooseSkinSet(int dpi);
