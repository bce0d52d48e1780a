// The library's own module and its static state: the resource table registered under the module
// while the library is loaded, and the one item, created by the first initialisation and released,
// with every window class the library registered, when the library is unloaded.
#pragma once

#include "TodayItem.h"

namespace today {

// The module this code is built into (found from the code's address, never the host's): strings,
// bitmaps and dialogs load from it and the library's window classes belong to it.
HINSTANCE libraryModule();

// The item, created on first use.
TodayItem& libraryItem();
// Releases the item as the unload does (its window, class, block, images and data). Used between
// tests of a program that carries this code itself.
void releaseLibraryItem();

}  // namespace today
