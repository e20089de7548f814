#pragma once
// The registry key of the pointer settings, held open by the main window from
// its creation to its destruction.
#include <windows.h>

#include <memory>

#include "pointer_settings.h"

class CRegistryKey final : public IPointerRegistry {
public:
    // Opens the key with full access, creating it when it cannot be opened.
    // Null when neither works; the pointer settings then read 0 and write nothing.
    static std::unique_ptr<CRegistryKey> OpenOrCreate(const wchar_t* path);
    ~CRegistryKey() override;
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    std::optional<std::wstring> ReadString(const wchar_t* name) override;
    void WriteString(const wchar_t* name, std::wstring_view value) override;

private:
    explicit CRegistryKey(HKEY key) : key_(key) {}
    HKEY key_;  // owned
};
