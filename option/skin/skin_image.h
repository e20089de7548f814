#pragma once
// Skin pictures from files: Windows bitmap, JPEG or GIF, through the
// platform's OLE picture loader.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "gdi.h"
#include "handle_owner.h"
#include "kernel_handle.h"

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

struct MaskPixels;

// A picture of which a window needs only pieces: the over, down and disabled
// states its controls cut out, and the mask it takes its shape from. A plain
// bitmap file (as the skins' own pictures are) is mapped and read only where
// the pieces lie, where decoding it whole cost most of a window's opening at
// 200 %; any other picture is decoded whole.
class PictureFile {
public:
    PictureFile() = default;
    PictureFile(const PictureFile&) = delete;
    PictureFile& operator=(const PictureFile&) = delete;

    // Opens the picture at `path`, closing the one before. False (nothing
    // open, a debug line) when it is missing or cannot be decoded.
    bool Open(const std::wstring& path);
    void Close();
    bool IsOpen() const { return pixels_ != nullptr || decoded_; }
    SIZE Size() const { return size_; }
    // The mapped file's pixels, as the mask scan reads them; false for a
    // picture that was decoded instead (Decoded() then has it).
    bool Pixels(MaskPixels& pixels) const;
    // The whole picture when it was not a plain bitmap file, else null.
    HBITMAP Decoded() const { return decoded_.get(); }
    // The piece `rect` (clipped to nothing outside) drawn at (0, 0) of `dc`;
    // false when nothing was drawn.
    bool DrawPiece(HDC dc, const RECT& rect) const;

private:
    KernelHandle file_;
    KernelHandle mapping_;
    HandleOwner<const void*, UnmapViewOfFile> view_;
    const uint8_t* pixels_ = nullptr;  // in the view
    BITMAPINFO header_{};
    size_t stride_ = 0;
    BitmapHandle decoded_;
    SIZE size_{0, 0};
};

// What a control's state picture is cut from: a bitmap, or a picture file
// read where the piece lies. Empty: the control has no such picture.
class PictureSource {
public:
    PictureSource() = default;
    PictureSource(HBITMAP bitmap) : bitmap_(bitmap) {}  // NOLINT: a bitmap is a source as it is
    explicit PictureSource(const PictureFile& file) : bitmap_(file.Decoded()), file_(file.Decoded() ? nullptr : &file) {}
    explicit operator bool() const { return bitmap_ || (file_ && file_->IsOpen()); }
    HBITMAP Bitmap() const { return bitmap_; }
    const PictureFile* File() const { return file_; }

private:
    HBITMAP bitmap_ = nullptr;          // not owned
    const PictureFile* file_ = nullptr;  // not owned
};

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
    BitmapHandle Cut(const PictureSource& picture, const RECT& rect);

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
