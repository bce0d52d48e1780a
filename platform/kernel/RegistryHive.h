// One hive file shared between processes: the cached tree, re-read when another process replaced the
// file, and changes written through atomically under the hive's file lock.
#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>

#include "RegistryTree.h"

namespace platform::registry {

class RegistryHive {
  public:
    // fileName is the hive's name in the root's registry folder, such as "HKCU".
    explicit RegistryHive(std::string fileName) : m_fileName(std::move(fileName)) {}

    // The tree as the file holds it now (re-read when the file changed or the device root moved).
    RegistryKey& current();
    // Runs change on the newest tree under the file lock and writes the result when change returns
    // ERROR_SUCCESS. Returns change's result, ERROR_OUTOFMEMORY when the changed hive would be beyond
    // the hive's limits, or ERROR_CANTWRITE when the file could not be written; after either failure
    // the cached tree is read again from the file, so the failed change is not kept.
    LONG modify(const std::function<LONG(RegistryKey& root)>& change);
    // Forgets the cached tree.
    void reset();

  private:
    struct FileIdentity {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        long long modifiedNs = 0;
        long long changedNs = 0;
        bool operator==(const FileIdentity&) const = default;
    };

    std::string folder() const;
    std::string filePath() const;
    void refresh(bool lockHeld);
    void load(bool lockHeld);
    void setAside(const FileIdentity& damaged, const std::string& error, bool lockHeld);
    // Writes the tree through a temporary file; call with the lock held. ERROR_SUCCESS,
    // ERROR_OUTOFMEMORY for a tree beyond the limits, or ERROR_CANTWRITE.
    LONG write(const RegistryKey& root);
    void removeStaleTemporaries() const;
    static FileIdentity identityOf(const std::string& path);

    std::string m_fileName;
    std::string m_loadedPath;  // file the cache belongs to; empty: nothing cached
    FileIdentity m_identity;
    std::unique_ptr<RegistryKey> m_root = std::make_unique<RegistryKey>();
};

}  // namespace platform::registry
