#include "text_library.h"

bool CTextLibrary::Load(const std::filesystem::path& programFolder) {
    Unload();
    const std::wstring path = (programFolder / L"uistr.dll").wstring();
    // Data only: nothing of the library runs, and no other folder is searched.
    module_ = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module_) module_ = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module_) OutputDebugStringW(L"uistr.dll not found: texts stay empty\n");
    return module_ != nullptr;
}

void CTextLibrary::Unload() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
}

std::wstring CTextLibrary::Text(UINT id, int maxUnits) const {
    if (!module_ || maxUnits <= 1) return {};
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW hands out a pointer into the resource.
    const int length = LoadStringW(module_, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text) return {};
    return std::wstring(text, static_cast<size_t>(std::min(length, maxUnits - 1)));
}
