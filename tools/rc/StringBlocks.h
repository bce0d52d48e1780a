// Packing of a string table into the device's string blocks: block (id / 16) + 1 holds ids
// 16 x (block - 1) to 16 x block - 1, each slot a 16-bit length and the UTF-16 characters.
#pragma once

#include <vector>

#include "CompiledResource.h"
#include "StringTableFile.h"

namespace rc {

// One RT_STRING resource per block that holds at least one string, in block order.
std::vector<CompiledResource> buildStringBlocks(const StringTable& table);

}  // namespace rc
