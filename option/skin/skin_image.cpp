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
