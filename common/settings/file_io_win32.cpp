#include <windows.h>

#include <string>

#include "file_io.h"
#include "kernel_handle.h"

namespace {

std::string Describe(const char* what, const std::filesystem::path& path, DWORD code) {
    return std::string(what) + " " + path.string() + " (error " + std::to_string(code) + ")";
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string& error) {
    const std::wstring target = path.wstring();
    std::wstring temp;
    KernelHandle file;
    // A unique name in the same folder, so the final move is a rename on one volume.
    for (unsigned attempt = 0; attempt < 100 && !file; ++attempt) {
        temp = target + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"_" +
               std::to_wstring(GetTickCount() + attempt);
        file.Reset(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (!file) {
        error = Describe("cannot create a temporary file beside", path, GetLastError());
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            error = Describe("cannot write", path, GetLastError());
            file.Reset();  // closed before the delete, which an open file would refuse
            DeleteFileW(temp.c_str());
            return false;
        }
        done += written;
    }
    FlushFileBuffers(file.get());
    file.Reset();
    if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = Describe("cannot replace", path, GetLastError());
        DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}
