// Writing a module's compiled resources as C++: a source defining the table as constant data and the
// accessor, and a header declaring the accessor.
#pragma once

#include <string>
#include <vector>

#include "CompiledResource.h"

namespace rc {

struct TableNames {
    std::string module;    // the module's name, as in "resources/<module>"
    std::string accessor;  // the accessor function, for example "dashelResourceTable"
};

// The generated source text (deterministic: the same inputs give the same bytes).
std::string tableSource(const std::vector<CompiledResource>& resources, const TableNames& names);
std::string tableHeader(const TableNames& names);

// Writes text to path through a temporary file and a rename, so that a failed run leaves the previous
// output whole. Returns false (with errno set) on failure.
bool writeFileAtomically(const std::string& path, const std::string& text);

}  // namespace rc
