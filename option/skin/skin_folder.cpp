#include "skin_folder.h"

#include <windows.h>

#include <string>

#include "program_folder.h"
#include "scale_set.h"
#include "skin_description.h"
#include "skin_scale.h"

namespace {

std::wstring& Folder() {
    static std::wstring folder;
    return folder;
}

}  // namespace

void SetSkinsFolder(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    Folder() = std::move(folder);
}

const std::wstring& SkinsRootFolder() {
    if (Folder().empty()) {
        const std::u16string skins = SkinsFolderOf(GetProgramFolder().u16string());
        Folder().assign(skins.begin(), skins.end());
    }
    return Folder();
}

std::wstring SkinSetFolder(const std::wstring& root, int percent) {
    if (percent == 100) return root;
    return root + std::to_wstring(percent) + L"\\";
}

std::wstring SkinsFolder() { return SkinSetFolder(SkinsRootFolder(), SkinScale().percent); }

int ChooseSkinSet(int dpi) {
    const std::wstring& root = SkinsRootFolder();
    // A set is there when its main window's skin is: without it Option could not open.
    const ScaleSetChoice choice = ChooseScaleSet(dpi, [&root](int percent) {
        const std::wstring file = SkinSetFolder(root, percent) + reinterpret_cast<const wchar_t*>(skin_files::kMain);
        return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
    });
    if (choice.fallback) {
        const std::wstring line = L"Option: no skin set for " + std::to_wstring(dpi) + L" DPI, using the " +
                                  std::to_wstring(choice.percent) + L" % set\n";
        OutputDebugStringW(line.c_str());
    }
    return choice.percent;
}
