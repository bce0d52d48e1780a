// Text resources: a UTF-8 file in the tree becomes a UTF-16LE resource that starts with the
// byte-order mark U+FEFF (the form the device's text layouts, such as the "ABC" ones, take).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CompiledResource.h"
#include "Diagnostics.h"

namespace rc {

// A folder or file stem as a resource type or name: decimal digits give an integer id (0 to 65535),
// letters, digits and "_" give an upper-case text name; anything else is nothing.
std::optional<ResourceKey> parseResourceKey(const std::string& text);

// The resource bytes of a UTF-8 text file: BOM U+FEFF, then the text as UTF-16LE. A UTF-8 BOM at the
// start is dropped, and so is one line end at the very end (files end in a newline; the text does
// not). Malformed UTF-8 or an unreadable file is reported and gives nothing.
std::optional<std::vector<uint8_t>> readTextResource(const std::string& path, const std::string& fileName,
                                                     Diagnostics& diagnostics);
// The same for the file's bytes.
std::optional<std::vector<uint8_t>> textResourceBytes(std::string utf8, const std::string& fileName,
                                                      Diagnostics& diagnostics);

}  // namespace rc
