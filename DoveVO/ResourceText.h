// String resources of the module the data code is built into (the program or the Today item).
#pragma once

#include <string>

#include "platform/wintypes.h"

namespace dove {

// The module whose string table the data code reads; by default the module holding this code.
HINSTANCE resourceModule();
void setResourceModule(HINSTANCE module);

// The string resource id of that module; empty when it has none.
std::u16string resourceString(unsigned id);

}  // namespace dove
