#include "text_library.h"

#include <algorithm>

#include "string_table.h"

bool CTextLibrary::Load(const std::filesystem::path& programFolder, uint16_t language) {
    Unload();
    language_ = language;
    const std::wstring path = (programFolder / L"uistr.dll").wstring();
    // Data only: nothing of the library runs, and no other folder is searched.
    module_.Reset(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module_) module_.Reset(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module_) OutputDebugStringW(L"uistr.dll not found: texts stay empty\n");
    return static_cast<bool>(module_);
}

void CTextLibrary::Unload() { module_.Reset(); }

std::wstring CTextLibrary::TextIn(uint16_t language, UINT id) const {
    if (!module_) return {};
    // LoadString would pick the table by the thread's language; the block is
    // looked up by the chosen language instead, so the override works too.
    HRSRC found = FindResourceExW(module_.get(), MAKEINTRESOURCEW(6) /* RT_STRING */,
                                  MAKEINTRESOURCEW(StringBlockId(id)), language);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module_.get(), found);  // not owned: part of the module
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    const auto text = StringBlockText(static_cast<const uint8_t*>(data), SizeofResource(module_.get(), found),
                                      StringBlockIndex(id));
    return text ? std::wstring(text->begin(), text->end()) : std::wstring();
}

std::wstring CTextLibrary::Text(UINT id, int maxUnits) const {
    if (!module_ || maxUnits <= 1) return {};
    std::wstring text = TextIn(language_, id);
    if (text.empty() && language_ != kLanguageEnglish) text = TextIn(kLanguageEnglish, id);
    if (text.size() > static_cast<size_t>(maxUnits - 1)) text.resize(static_cast<size_t>(maxUnits - 1));
    return text;
}
