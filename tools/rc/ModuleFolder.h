// A module's resource folders and what rc makes of them (each folder may hold any of these):
//   strings.txt, strings-*.txt   the string table (see StringTableFile.h)
//   text/<TYPE>/<NAME>.txt       text resources of that type and name (see TextResources.h)
//   dialogs/, menus/, accelerators/  resource scripts (see ResourceScripts.h)
//   bitmaps/<NAME>.bmp           bitmap resources (see Bitmaps.h)
// Other files and folders (for example the skin recipes read by other tools) are left alone.
#pragma once

#include <filesystem>
#include <vector>

#include "CompiledResource.h"
#include "Diagnostics.h"

namespace rc {

// All resources of the folders together, sorted by type and name; a string id or a type and name may
// be defined only once across all of them. Problems are reported to diagnostics; the result is only
// meaningful when none was reported.
std::vector<CompiledResource> compileModuleFolders(const std::vector<std::filesystem::path>& folders,
                                                   Diagnostics& diagnostics);

}  // namespace rc
