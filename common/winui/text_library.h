#pragma once
// The texts of uistr.dll. Both programs load the library by full path from the
// program folder; without it every text is empty and nothing else breaks.
// The library holds one string table per language; the program says which
// one to show, and English stands in where that table has no text.
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "module_handle.h"

class CTextLibrary {
public:
    CTextLibrary() = default;
    ~CTextLibrary() { Unload(); }
    CTextLibrary(const CTextLibrary&) = delete;
    CTextLibrary& operator=(const CTextLibrary&) = delete;

    // Loads <folder>\uistr.dll as a resource-only module and shows the table
    // of `language`. False when the library is missing.
    bool Load(const std::filesystem::path& programFolder, uint16_t language);
    void Unload();
    bool loaded() const { return static_cast<bool>(module_); }
    HMODULE module() const { return module_.get(); }

    uint16_t language() const { return language_; }
    void SetLanguage(uint16_t language) { language_ = language; }

    // The text of `id`, cut to `maxUnits` - 1 characters as the callers' buffers
    // are; empty when the library or the id is missing.
    std::wstring Text(UINT id, int maxUnits = 520) const;
    // The text of `id` in `language` alone, without the English fallback.
    std::wstring TextIn(uint16_t language, UINT id) const;

private:
    ModuleHandle module_;
    uint16_t language_ = 0x0409;
};
