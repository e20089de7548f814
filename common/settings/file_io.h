#pragma once
// Whole-file reads and atomic whole-file writes: the only way the settings code
// touches the disk.
#include <filesystem>
#include <string>
#include <string_view>

// Files larger than this are refused as damaged rather than read into memory.
inline constexpr std::uintmax_t kMaxSettingsFileBytes = 256u * 1024 * 1024;

// False when the file is missing, unreadable or too large; `bytes` is then empty.
bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

// Writes a temporary file beside the target and puts it in the target's place
// in one step. On failure the target is untouched and `error` says why.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string& error);

