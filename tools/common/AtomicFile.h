// Writing a build tool's output file whole or not at all, so that a failed or interrupted run never
// leaves a half-written file for the next build step to read.
#pragma once

#include <string>
#include <string_view>

namespace tools {

// Writes bytes to a temporary file beside path, then renames it over path. Returns false, with path
// untouched and no temporary left behind, when the file cannot be written.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace tools
