#include "skin_image.h"

#include <ocidl.h>
#include <olectl.h>
#include <objidl.h>

#include "debug_output.h"
#include "kernel_handle.h"

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
HGLOBAL ReadWholeFile(const std::wstring& path, DWORD& bytes) {
    const KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return nullptr;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kMaxImageBytes) return nullptr;
    bytes = static_cast<DWORD>(size.QuadPart);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return nullptr;
    void* data = GlobalLock(block);
    DWORD read = 0;
    const BOOL ok = data && ReadFile(file.get(), data, bytes, &read, nullptr) && read == bytes;
    if (data) GlobalUnlock(block);
    if (!ok) {
        GlobalFree(block);
        return nullptr;
    }
    return block;
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

    DWORD bytes = 0;
    HGLOBAL block = ReadWholeFile(path, bytes);
    if (!block) {
        DebugOutF(L"skin image not readable: %ls\n", path.c_str());
        return false;
    }
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, stream.Out()))) {  // the stream frees the block
        GlobalFree(block);
        return false;
    }
    ComPtr<IPicture> picture;
    const HRESULT hr = OleLoadPicture(stream.get(), static_cast<LONG>(bytes), FALSE, IID_IPicture,
                                      reinterpret_cast<void**>(picture.Out()));
    short type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (FAILED(hr) || !picture.get() || FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP ||
        FAILED(picture->get_Handle(&handle)) || !handle) {
        DebugOutF(L"skin image not decodable: %ls\n", path.c_str());
        return false;
    }
    // Our own copy, so the picture object can go now and the handle stays ours.
    HBITMAP source = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    bitmap.Reset(static_cast<HBITMAP>(CopyImage(source, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!bitmap) return false;
    size = BitmapSize(bitmap.get());
    return true;
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
    ClientDC windowDc(window);
    MemoryDC from(windowDc.get());
    MemoryDC to(windowDc.get());
    if (!from || !to) return {};
    BitmapHandle piece(CreateCompatibleBitmap(windowDc.get(), width, height));
    if (!piece) return {};
    SelectGuard source(from.get(), picture);
    SelectGuard target(to.get(), piece.get());
    StretchBlt(to.get(), 0, 0, width, height, from.get(), rect.left, rect.top, width, height, SRCCOPY);
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
