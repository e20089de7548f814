#pragma once
// The gallery's command line:
//   skingallery.exe [--skin FILE.ini] [--log FILE] [--x X --y Y]
#include <optional>
#include <string>
#include <vector>

struct GalleryOptions {
    std::wstring skin = L"skin_gallery.ini";  // a name in the skins folder, or a path
    std::wstring log;                         // empty: no log
    std::optional<int> x;
    std::optional<int> y;
    std::wstring error;                       // what was wrong with the command line
};

GalleryOptions ParseGalleryOptions(const std::vector<std::wstring>& args);

// Splits a skin argument into its folder (with a trailing separator; empty for
// the program's skins folder) and its file name.
void SplitSkinArgument(const std::wstring& skin, std::wstring& folder, std::wstring& file);
