// The object-store file as a file: what lies at its path before SQLite is let near it, how it may be
// opened (read and write, read only, or as an unchanging file), and creating a new store atomically.
#pragma once

#include <string>

#include "platform/wintypes.h"

struct sqlite3;

namespace platform::cedb {

// Why the store cannot be used: the platform error the calls fail with and the cause in a few words.
struct StoreProblem {
    DWORD error = 0;
    std::string cause;
};

// What lies at the store's path.
enum class StoreFileKind {
    Missing,
    Unreadable,    // this process may not look at it
    NotAFile,      // a folder or a device
    Empty,         // 0 bytes: never a store of ours, which is created whole under another name
    NotADatabase,  // no SQLite header
    Database,
};
StoreFileKind inspectStoreFile(const std::string& path);

// How the file is opened.
struct StoreAccess {
    bool readOnly = false;
    // Read only in a folder this process cannot write to, with no write-ahead log beside the file: no
    // writer can be at work (one needs that log), so SQLite may read the file without its lock files,
    // which it could not create there.
    bool immutable = false;
};
// The access for an existing store file: read only when asked for, or when the file or its folder
// cannot be written by this process.
StoreAccess storeAccess(const std::string& path, bool readOnlyAsked);

// Opens the store file with that access (SQLite's flags, and a URI for an unchanging file). False with
// the problem set; *db is then null.
bool openStoreFile(const std::string& path, const StoreAccess& access, sqlite3** db, StoreProblem& problem);

// The tables of an empty store and its format number, created in the open transaction of db.
bool createStoreTables(sqlite3* db, int format, uint64_t firstOid);

// Creates a new, empty store at path: built under a temporary name in the same folder, written to
// disk and renamed into place only while nothing is there, so that a file at the store's path without
// the store's tables was never one of ours, even after a crash during creation. True also when another
// process created the store meanwhile (the caller then opens that one); false with the problem set.
bool createStoreFile(const std::string& path, int format, uint64_t firstOid, StoreProblem& problem);

}  // namespace platform::cedb
