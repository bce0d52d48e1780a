// Test helpers for stores that are not sound: every way the file at the store's path can fail to be a
// store of ours, a checksum to prove a file was left as it was, and a process that may not override
// file permissions (so that a read-only file is read-only even to root).
#pragma once

#include <cstdint>
#include <string>

namespace platform::testing {

enum class StoreDamage {
    EmptyFile,              // 0 bytes
    ForeignDatabase,        // another program's SQLite database
    DatabaseWithoutTables,  // a SQLite file that holds no table at all
    RandomMiddle,           // 8 KiB of random bytes written over the middle of the store
    HeaderOverwritten,      // the first 100 bytes (SQLite's header) overwritten
    HalfCut,                // the second half of the file cut off
};

inline constexpr StoreDamage kEveryStoreDamage[] = {
    StoreDamage::EmptyFile,    StoreDamage::ForeignDatabase,   StoreDamage::DatabaseWithoutTables,
    StoreDamage::RandomMiddle, StoreDamage::HeaderOverwritten, StoreDamage::HalfCut,
};

const char* storeDamageName(StoreDamage damage);

// Damages the store file at path (closed by every process, its log emptied into it) in that way; the
// kinds that replace the file write a new one there. The write-ahead log and its index are removed.
// False when it could not be done.
bool damageStore(const std::string& path, StoreDamage damage);

// A checksum of the file's bytes (64-bit FNV-1a); 0 when it cannot be read.
uint64_t fileChecksum(const std::string& path);

// Makes this process, and the programs it starts, subject to file permissions even when it runs as
// root (the capabilities that override them are given up for good). Meant for a child process. False
// when they could not be given up.
bool giveUpPermissionOverride();

}  // namespace platform::testing
