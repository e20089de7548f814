#pragma once
// The tests' temporary folder: fresh under the system's temporary folder and
// removed, with everything in it, when the object goes. Portable, so that the
// native, the Wine and the end-to-end helpers' tests share it.
#include <atomic>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

class TempFolder {
public:
    TempFolder() {
        // A random part as well as a count: test programs run side by side and
        // a folder left by a crashed run must not be taken for a fresh one.
        static std::atomic<int> counter{0};
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("gm-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }
    // The folder with a separator at its end, as the skin code takes folder names.
    std::wstring Slash() const {
        return path_.wstring() + static_cast<wchar_t>(std::filesystem::path::preferred_separator);
    }

private:
    std::filesystem::path path_;
};
