#pragma once
// The platform's open-file and save-file dialogs, as the pages that export and
// import files use them.
#include <windows.h>

#include <string>

enum class FileDialog { kOpen, kSave };

// What the export and import dialogs of one kind of file offer. The filters
// hold pairs of display text and pattern, each ending in NUL; the extension is
// added to a name typed without one.
struct FileOffer {
    const wchar_t* saveFilter;
    const wchar_t* openFilter;
    std::wstring defaultFile;
    const wchar_t* extension;
};

// Shows the save dialog (which asks before replacing a file) or the open dialog
// (which takes only a file that exists) over the offer's default file. Returns
// the chosen path, or empty when the user cancels.
std::wstring ChooseFile(HWND owner, FileDialog kind, const FileOffer& offer);
