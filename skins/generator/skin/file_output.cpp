#include "skin/file_output.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace skin {
namespace {

bool SameContent(const std::filesystem::path& path, const std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::string old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return old == bytes;
}

}  // namespace

bool WriteFiles(const std::filesystem::path& folder, const std::vector<GeneratedFile>& files, std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        if (error) *error = "cannot create " + folder.string() + ": " + ec.message();
        return false;
    }
    for (const GeneratedFile& f : files) {
        const std::filesystem::path path = folder / f.name;
        if (SameContent(path, f.bytes)) continue;
        const std::filesystem::path temp = path.string() + ".tmp";
        {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            out.write(f.bytes.data(), std::streamsize(f.bytes.size()));
            if (!out) {
                if (error) *error = "cannot write " + temp.string();
                return false;
            }
        }
        std::filesystem::rename(temp, path, ec);
        if (ec) {
            std::filesystem::remove(temp, ec);
            if (error) *error = "cannot replace " + path.string();
            return false;
        }
    }
    return true;
}

}  // namespace skin
