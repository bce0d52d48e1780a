// The personal-information store's file in the device root: its items (object id, type, subject,
// notes) and the next object id, read whole and replaced atomically under a lock file.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/wintypes.h"

namespace platform::pim {

struct ItemData {
    LONG oid = 0;
    LONG type = 0;  // OlItemType
    std::u16string subject;
    std::u16string body;
};

struct StoreData {
    LONG nextOid = 1;  // object ids are never handed out twice, also after a delete
    std::vector<ItemData> items;
    const ItemData* find(LONG oid) const;
};

// The host path of the store file.
std::string storeFilePath();

// Reads the items (none when the file does not exist). False when the file cannot be read or is not a
// store file; it is then left untouched.
bool readStore(StoreData& data);

// Reads the items under the store's lock, runs change on them, and writes them (temporary file, fsync,
// rename) when change returns true. False when the store cannot be read, change refuses, or the write
// fails (the file then stays as it was).
bool modifyStore(const std::function<bool(StoreData&)>& change);

}  // namespace platform::pim
