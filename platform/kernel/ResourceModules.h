// The process's registered resource tables, by module handle (internal to the platform).
#pragma once

#include <memory>

#include "ResourceIndex.h"

namespace platform {

// The index of the module's table (NULL: the main program), or nullptr when none is registered.
std::shared_ptr<const ResourceIndex> resourceIndexOf(HINSTANCE module);

}  // namespace platform
