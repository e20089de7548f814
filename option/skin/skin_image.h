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

// Loads a .bmp file as a section the caller owns; empty (and a debug line
// naming `what`) when it cannot be read.
BitmapHandle LoadBitmapFile(const std::wstring& path, const wchar_t* what);

// A copy of the piece `rect` of `picture`, compatible with the screen of
// `window` (or the screen itself for none). Empty for an empty piece or no picture.
BitmapHandle CropPicture(HWND window, HBITMAP picture, const RECT& rect);

// Cuts pieces out of pictures as CropPicture does, with one set of device
// contexts for all of them (a control cuts its four state pictures at once).
class PictureCutter {
public:
    explicit PictureCutter(HWND window);
    PictureCutter(const PictureCutter&) = delete;
    PictureCutter& operator=(const PictureCutter&) = delete;
    BitmapHandle Cut(HBITMAP picture, const RECT& rect);

private:
    ClientDC screen_;
    MemoryDC from_;
    MemoryDC to_;
};

// Copies the top-left `width` x `height` pixels of `picture` to `dc` at (x, y).
// False, and nothing drawn, for no picture.
bool DrawPicture(HDC dc, HBITMAP picture, int x, int y, int width, int height);
// The whole of `picture` at (0, 0).
bool DrawPicture(HDC dc, HBITMAP picture);
