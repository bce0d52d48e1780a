// Lock files in the run folder through which processes of one device root see each other's named
// objects: a holder keeps a shared lock while it holds the object, and the locks vanish with a
// process that dies, so no stale state survives it.
#pragma once

#include <string>

#include "platform/wintypes.h"

namespace platform {

// A file-name-safe key for an object name: the hex of its UTF-16 units, shortened with a hash for
// long names. Distinct names give distinct keys (up to the 64-bit hash for long ones).
std::string objectNameKey(LPCWSTR name);
// 64-bit FNV-1a hash of text, as 16 hex digits.
std::string hashText(const std::string& text);

// One open lock file; the lock (flock) belongs to this open file, so two RunLockFiles exclude each
// other even inside one process. Closed on destruction and not inherited by started programs.
class RunLockFile {
  public:
    enum class Mode { create, existingOnly };
    // Opens folder/fileName; folder is the run folder of the object's device root.
    RunLockFile(const std::string& folder, const std::string& fileName, Mode mode = Mode::create);
    ~RunLockFile();
    RunLockFile(const RunLockFile&) = delete;
    RunLockFile& operator=(const RunLockFile&) = delete;

    bool valid() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    // Blocking locks; false on error.
    bool lockShared();
    bool lockExclusive();
    // True when the exclusive lock was taken at once; false when another open file holds a lock.
    bool tryLockExclusive();
    void unlock();

  private:
    int m_fd = -1;
};

// Holds an exclusive lock on a run-folder file for the life of the object; serialises the creation
// and teardown of one named object across processes.
class RunGate {
  public:
    RunGate(const std::string& folder, const std::string& fileName) : m_file(folder, fileName) {
        m_locked = m_file.lockExclusive();
    }
    bool locked() const { return m_locked; }

  private:
    RunLockFile m_file;
    bool m_locked = false;
};

}  // namespace platform
