#include "skin_image.h"

#include <ocidl.h>
#include <olectl.h>
#include <objidl.h>

#include <cstdint>
#include <cstdlib>

#include "debug_output.h"
#include "kernel_handle.h"
#include "mask_runs.h"

namespace {

// Skins are small; anything this large is not a picture of ours.
constexpr DWORD kMaxImageBytes = 64u * 1024u * 1024u;

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    T* get() const { return p_; }

private:
    T* p_ = nullptr;
};

// The file's bytes in a movable global block, as the stream wants them.
HGLOBAL ReadWholeFile(HANDLE file, DWORD bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return nullptr;
    void* data = GlobalLock(block);
    DWORD read = 0;
    LARGE_INTEGER start{};
    const BOOL ok = data && SetFilePointerEx(file, start, nullptr, FILE_BEGIN) &&
                    ReadFile(file, data, bytes, &read, nullptr) && read == bytes;
    if (data) GlobalUnlock(block);
    if (!ok) {
        GlobalFree(block);
        return nullptr;
    }
    return block;
}

uint32_t ReadU32(const uint8_t* at) { return at[0] | at[1] << 8 | at[2] << 16 | static_cast<uint32_t>(at[3]) << 24; }
uint16_t ReadU16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }

constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeader = 40;
constexpr size_t kLargestInfoHeader = 124;

// Where the pixels of a plain bitmap file lie, and their shape.
struct PlainBitmap {
    BITMAPINFO header{};
    size_t offset = 0;
    size_t pixelBytes = 0;
};

// The skins' own pictures are plain Windows bitmaps (uncompressed, 24 or 32
// bits): the file's first `headerBytes` bytes (of `fileBytes`) say so, and
// where the pixels are. Anything else is not one of them.
bool ParsePlainBitmap(const uint8_t* data, size_t headerBytes, size_t fileBytes, PlainBitmap& plain) {
    if (headerBytes < kFileHeader + kInfoHeader || data[0] != 'B' || data[1] != 'M') return false;
    const uint8_t* info = data + kFileHeader;
    const uint32_t infoSize = ReadU32(info);
    const int32_t width = static_cast<int32_t>(ReadU32(info + 4));
    const int32_t height = static_cast<int32_t>(ReadU32(info + 8));
    const uint16_t bits = ReadU16(info + 14);
    // Only headers that say no more than these fields (a colour mask or
    // profile of a newer header would change the meaning of the pixels).
    if ((infoSize != kInfoHeader && infoSize != 108 && infoSize != kLargestInfoHeader) || ReadU16(info + 12) != 1 ||
        ReadU32(info + 16) != BI_RGB || (bits != 24 && bits != 32))
        return false;
    constexpr int32_t kMaxSide = 1 << 15;
    if (width <= 0 || width > kMaxSide || height == 0 || height < -kMaxSide || height > kMaxSide) return false;
    const size_t rows = static_cast<size_t>(height < 0 ? -static_cast<int64_t>(height) : height);
    const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    const size_t offset = ReadU32(data + 10);
    if (offset < kFileHeader + infoSize || offset > fileBytes || fileBytes - offset < stride * rows) return false;
    plain.header.bmiHeader.biSize = sizeof plain.header.bmiHeader;
    plain.header.bmiHeader.biWidth = width;
    plain.header.bmiHeader.biHeight = height;
    plain.header.bmiHeader.biPlanes = 1;
    plain.header.bmiHeader.biBitCount = bits;
    plain.header.bmiHeader.biCompression = BI_RGB;
    plain.offset = offset;
    plain.pixelBytes = stride * rows;
    return true;
}

// A plain bitmap file's pixels read straight into a section: no picture
// object, no conversion to the screen's format and no copy in between, which
// was most of the time a window took to open. Empty for any other file.
BitmapHandle ReadPlainBitmap(HANDLE file, DWORD fileBytes) {
    uint8_t head[kFileHeader + kLargestInfoHeader] = {};
    DWORD read = 0;
    if (!ReadFile(file, head, sizeof head < fileBytes ? sizeof head : fileBytes, &read, nullptr)) return {};
    PlainBitmap plain;
    if (!ParsePlainBitmap(head, read, fileBytes, plain)) return {};
    void* pixels = nullptr;
    BitmapHandle bitmap(CreateDIBSection(nullptr, &plain.header, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!bitmap || !pixels) return {};
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(plain.offset);
    if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) ||
        !ReadFile(file, pixels, static_cast<DWORD>(plain.pixelBytes), &read, nullptr) || read != plain.pixelBytes)
        return {};
    return bitmap;
}

// The picture in `block` (`bytes` long) through the OLE loader, as our own
// section; empty when it cannot be decoded.
BitmapHandle DecodeWithOle(HGLOBAL block, DWORD bytes) {
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(block, FALSE, stream.Out()))) return {};
    ComPtr<IPicture> picture;
    const HRESULT hr = OleLoadPicture(stream.get(), static_cast<LONG>(bytes), FALSE, IID_IPicture,
                                      reinterpret_cast<void**>(picture.Out()));
    short type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (FAILED(hr) || !picture.get() || FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP ||
        FAILED(picture->get_Handle(&handle)) || !handle)
        return {};
    // Our own copy, so the picture object can go now and the handle stays ours.
    HBITMAP source = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    return BitmapHandle(static_cast<HBITMAP>(CopyImage(source, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

}  // namespace

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap, sizeof info, &info) != sizeof info) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

bool LoadSkinImage(const std::wstring& path, BitmapHandle& bitmap, SIZE& size) {
    bitmap.Reset();
    size = SIZE{0, 0};
    if (path.empty()) return false;

    const KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER fileSize{};
    if (!file || !GetFileSizeEx(file.get(), &fileSize) || fileSize.QuadPart <= 0 ||
        fileSize.QuadPart > kMaxImageBytes) {
        DebugOutF(L"skin image not readable: %ls\n", path.c_str());
        return false;
    }
    const DWORD bytes = static_cast<DWORD>(fileSize.QuadPart);
    bitmap = ReadPlainBitmap(file.get(), bytes);
    if (!bitmap) {
        if (HGLOBAL block = ReadWholeFile(file.get(), bytes)) {
            bitmap = DecodeWithOle(block, bytes);
            GlobalFree(block);
        }
    }
    if (!bitmap) {
        DebugOutF(L"skin image not decodable: %ls\n", path.c_str());
        return false;
    }
    size = BitmapSize(bitmap.get());
    return true;
}

bool PictureFile::Open(const std::wstring& path) {
    Close();
    if (path.empty()) return false;
    file_.Reset(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER fileSize{};
    if (!file_ || !GetFileSizeEx(file_.get(), &fileSize) || fileSize.QuadPart <= 0 ||
        fileSize.QuadPart > kMaxImageBytes) {
        DebugOutF(L"skin image not readable: %ls\n", path.c_str());
        Close();
        return false;
    }
    const DWORD bytes = static_cast<DWORD>(fileSize.QuadPart);
    mapping_.Reset(CreateFileMappingW(file_.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (mapping_) view_.Reset(MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, 0));
    PlainBitmap plain;
    const auto* data = static_cast<const uint8_t*>(view_.get());
    if (data && ParsePlainBitmap(data, bytes, bytes, plain)) {
        header_ = plain.header;
        pixels_ = data + plain.offset;
        stride_ = plain.pixelBytes / static_cast<size_t>(std::abs(header_.bmiHeader.biHeight));
        size_ = SIZE{header_.bmiHeader.biWidth, std::abs(header_.bmiHeader.biHeight)};
        return true;
    }
    view_.Reset();
    mapping_.Reset();
    file_.Reset();
    // Not ours: the whole picture, decoded as any other skin picture.
    if (!LoadSkinImage(path, decoded_, size_)) {
        Close();
        return false;
    }
    return true;
}

void PictureFile::Close() {
    pixels_ = nullptr;
    view_.Reset();
    mapping_.Reset();
    file_.Reset();
    decoded_.Reset();
    size_ = SIZE{0, 0};
    stride_ = 0;
}

bool PictureFile::Pixels(MaskPixels& pixels) const {
    if (!pixels_) return false;
    pixels = MaskPixels{pixels_, size_.cx, size_.cy, stride_, header_.bmiHeader.biHeight > 0,
                        header_.bmiHeader.biBitCount / 8};
    return true;
}

bool PictureFile::DrawPiece(HDC dc, const RECT& rect) const {
    RECT piece{};
    const RECT whole{0, 0, size_.cx, size_.cy};
    if (!pixels_ || !IntersectRect(&piece, &rect, &whole)) return false;
    const int rows = piece.bottom - piece.top;
    // The rows of the piece alone, as a picture of their own: nothing else of
    // the file is touched, and the source's origin means the same whichever
    // way its rows are stored.
    BITMAPINFO band = header_;
    const bool bottomUp = header_.bmiHeader.biHeight > 0;
    const size_t first = static_cast<size_t>(bottomUp ? size_.cy - piece.bottom : piece.top);
    band.bmiHeader.biHeight = bottomUp ? rows : -rows;
    return SetDIBitsToDevice(dc, piece.left - rect.left, piece.top - rect.top, piece.right - piece.left, rows,
                             piece.left, 0, 0, rows, pixels_ + first * stride_, &band, DIB_RGB_COLORS) != 0;
}

BitmapHandle LoadBitmapFile(const std::wstring& path, const wchar_t* what) {
    BitmapHandle bitmap(static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (!bitmap) DebugOutF(L"%ls not loadable: %ls\n", what, path.c_str());
    return bitmap;
}

BitmapHandle CropPicture(HWND window, HBITMAP picture, const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (!picture || width <= 0 || height <= 0) return {};
    return PictureCutter(window).Cut(picture, rect);
}

PictureCutter::PictureCutter(HWND window) : screen_(window), from_(screen_.get()), to_(screen_.get()) {}

BitmapHandle PictureCutter::Cut(HBITMAP picture, const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (!picture || width <= 0 || height <= 0 || !from_ || !to_) return {};
    BitmapHandle piece(CreateCompatibleBitmap(screen_.get(), width, height));
    if (!piece) return {};
    SelectGuard source(from_.get(), picture);
    SelectGuard target(to_.get(), piece.get());
    BitBlt(to_.get(), 0, 0, width, height, from_.get(), rect.left, rect.top, SRCCOPY);
    return piece;
}

BitmapHandle PictureCutter::Cut(const PictureSource& picture, const RECT& rect) {
    if (!picture.File()) return Cut(picture.Bitmap(), rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (!picture || width <= 0 || height <= 0 || !to_) return {};
    BitmapHandle piece(CreateCompatibleBitmap(screen_.get(), width, height));
    if (!piece) return {};
    SelectGuard target(to_.get(), piece.get());
    picture.File()->DrawPiece(to_.get(), rect);
    return piece;
}

bool DrawPicture(HDC dc, HBITMAP picture, int x, int y, int width, int height) {
    if (!picture) return false;
    MemoryDC source(dc);
    if (!source) return false;
    SelectGuard select(source.get(), picture);
    BitBlt(dc, x, y, width, height, source.get(), 0, 0, SRCCOPY);
    return true;
}

bool DrawPicture(HDC dc, HBITMAP picture) {
    const SIZE size = BitmapSize(picture);
    return DrawPicture(dc, picture, 0, 0, size.cx, size.cy);
}
