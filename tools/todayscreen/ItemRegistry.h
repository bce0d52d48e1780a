// The home screen's list of Today items: the subkeys of "Software\Microsoft\Today\Items" in the
// machine hive, each with the values that say what the item is and whether it is shown.
#pragma once

#include <string>
#include <vector>

#include "platform/wintypes.h"

namespace todayscreen {

// One registered item as its key describes it. Missing values take the defaults given here.
struct RegisteredItem {
    std::u16string name;      // the key's name, such as "\"Brimwell\""
    std::u16string library;   // "DLL": the device path of the item's library (empty when missing)
    DWORD type = 0;           // "Type": 4 for an item library
    bool enabled = false;     // "Enabled"
    bool options = false;     // "Options"
    DWORD selectability = 0;  // "Selectability"
    DWORD order = 0;          // "Order": place in the list
};

// The registered items in list order ("Order", then the key's name); an empty list when the items
// key is missing.
std::vector<RegisteredItem> readRegisteredItems();

// An item the home screen loads: a custom item (type 4), enabled, with a library path.
bool isLoadable(const RegisteredItem& item);

}  // namespace todayscreen
