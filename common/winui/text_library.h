#pragma once
// The texts of uistr.dll. Both programs load the library by full path from the
// program folder; without it every text is empty and nothing else breaks.
#include <windows.h>

#include <filesystem>
#include <string>

class CTextLibrary {
public:
    CTextLibrary() = default;
    ~CTextLibrary() { Unload(); }
    CTextLibrary(const CTextLibrary&) = delete;
    CTextLibrary& operator=(const CTextLibrary&) = delete;

    // Loads <folder>\uistr.dll as a resource-only module. False when it is missing.
    bool Load(const std::filesystem::path& programFolder);
    void Unload();
    bool loaded() const { return module_ != nullptr; }
    HMODULE module() const { return module_; }

    // The text of `id`, cut to `maxUnits` - 1 characters as the callers' buffers
    // are; empty when the library or the id is missing.
    std::wstring Text(UINT id, int maxUnits = 520) const;

private:
    HMODULE module_ = nullptr;  // owned
};
