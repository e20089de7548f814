#pragma once
// Writes generated files into a folder, leaving files whose bytes did not change
// untouched so that nothing downstream rebuilds for nothing.
#include <filesystem>
#include <string>
#include <vector>

#include "skin/skin_builder.h"

namespace skin {

// Returns false with a reason in `error` when a folder or file cannot be written.
bool WriteFiles(const std::filesystem::path& folder, const std::vector<GeneratedFile>& files, std::string* error);

}  // namespace skin
