#pragma once
// Skin pictures from files: Windows bitmap, JPEG or GIF, through the
// platform's OLE picture loader.
#include <windows.h>

#include <string>

#include "gdi.h"

// Loads the picture at `path` into `bitmap` and its size into `size`. The
// bitmap is a copy that the caller owns outright (the loader's picture object
// is released at once). A missing, empty or undecodable file leaves `bitmap`
// empty and `size` 0 x 0 and returns false; the old bitmap is deleted either way.
bool LoadSkinImage(const std::wstring& path, BitmapHandle& bitmap, SIZE& size);

// Width and height of a bitmap; 0 x 0 for none.
SIZE BitmapSize(HBITMAP bitmap);
