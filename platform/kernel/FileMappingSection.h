// The memory of one file mapping inside this process, shared by the process's handles and views of
// it. A named section is POSIX shared memory of the device root; a holder lock file tells whether
// any process still holds it, and the last holder to leave removes it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "FileLocks.h"

namespace platform {

class MappingSection {
  public:
    // A named section has a key, the run folder of its device root and its shared-memory name;
    // an unnamed one has none of them and no hold.
    MappingSection(int fd, uint64_t size, std::string key, std::string folder, std::string shmName,
                   std::unique_ptr<RunLockFile> hold);
    ~MappingSection();
    MappingSection(const MappingSection&) = delete;
    MappingSection& operator=(const MappingSection&) = delete;

    int fd() const { return m_fd; }
    uint64_t size() const { return m_size; }

  private:
    int m_fd;
    uint64_t m_size;
    std::string m_key;
    std::string m_folder;
    std::string m_shmName;
    std::unique_ptr<RunLockFile> m_hold;
};

// Result of opening a section: the section (null on failure, with error set to the platform's error
// code) and whether a named one already existed.
struct SectionOpen {
    std::shared_ptr<MappingSection> section;
    bool existed = false;
    DWORD error = 0;
};

// Creates an unnamed section of size zero bytes.
SectionOpen createUnnamedSection(uint64_t size);
// Joins the named section for key when any process holds it, else creates it zeroed with size.
SectionOpen joinNamedSection(const std::string& key, uint64_t size);

}  // namespace platform
