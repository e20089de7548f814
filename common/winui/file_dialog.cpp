#include "file_dialog.h"

#include <commdlg.h>

std::wstring ChooseFile(HWND owner, FileDialog kind, const FileOffer& offer) {
    const bool save = kind == FileDialog::kSave;
    // A default longer than the buffer is cut rather than refused: the user
    // still gets the dialog and can pick another file.
    wchar_t path[MAX_PATH] = {};
    lstrcpynW(path, offer.defaultFile.c_str(), MAX_PATH);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = save ? offer.saveFilter : offer.openFilter;
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = offer.extension;
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | (save ? 0 : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    return chosen ? std::wstring(path) : std::wstring();
}
