#include "skin_folder.h"

#include "program_folder.h"
#include "skin_description.h"

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

const std::wstring& SkinsFolder() {
    if (Folder().empty()) {
        const std::u16string skins = SkinsFolderOf(GetProgramFolder().u16string());
        Folder().assign(skins.begin(), skins.end());
    }
    return Folder();
}
