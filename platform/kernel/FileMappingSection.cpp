// Creation, joining and teardown of file-mapping sections: memfd for unnamed ones, POSIX shared
// memory named per device root for named ones, with creation and teardown serialised by a gate.
#include "FileMappingSection.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>

#include "NamedObjects.h"
#include "platform/device.h"
#include "platform/winerror.h"

namespace platform {
namespace {

using Registry = NamedObjects<MappingSection>;
Registry& registry() {
    return namedObjects<MappingSection>();
}

std::string gateName(const std::string& key) {
    return "map-" + key + ".gate";
}
std::string holdName(const std::string& key) {
    return "map-" + key + ".hold";
}
std::string shmNameFor(const std::string& key) {
    return "/varkel-" + hashText(deviceRoot()) + "-" + key;
}

DWORD errorOfErrno(int error) {
    switch (error) {
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case ENOSPC:
        case EFBIG:
            return ERROR_DISK_FULL;
        case EMFILE:
        case ENFILE:
            return ERROR_TOO_MANY_OPEN_FILES;
        default:
            return ERROR_ACCESS_DENIED;
    }
}

// Sizes a new, empty memory object; closes it and reports the error on failure.
bool sizeNew(int& fd, uint64_t size, DWORD& error) {
    if (size > static_cast<uint64_t>(INT64_MAX) || ::ftruncate(fd, static_cast<off_t>(size)) != 0) {
        error = size > static_cast<uint64_t>(INT64_MAX) ? ERROR_NOT_ENOUGH_MEMORY : errorOfErrno(errno);
        ::close(fd);
        fd = -1;
        return false;
    }
    return true;
}

// Opens the shared memory of a named section under its gate; a fresh object when nobody holds it.
int openShared(const std::string& shmName, bool nobodyHolds, uint64_t& size, DWORD& error, bool& existed) {
    if (!nobodyHolds) {
        int fd = shm_open(shmName.c_str(), O_RDWR, 0600);
        struct stat info {};
        if (fd >= 0 && fstat(fd, &info) == 0 && info.st_size > 0) {
            size = static_cast<uint64_t>(info.st_size);
            existed = true;
            return fd;
        }
        if (fd >= 0) ::close(fd);
    }
    shm_unlink(shmName.c_str());  // a leftover of a process that ended without cleaning up
    int fd = shm_open(shmName.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
        error = errorOfErrno(errno);
        return -1;
    }
    if (!sizeNew(fd, size, error)) shm_unlink(shmName.c_str());
    return fd;
}

}  // namespace

MappingSection::MappingSection(int fd, uint64_t size, std::string key, std::string folder,
                               std::string shmName, std::unique_ptr<RunLockFile> hold)
    : m_fd(fd),
      m_size(size),
      m_key(std::move(key)),
      m_folder(std::move(folder)),
      m_shmName(std::move(shmName)),
      m_hold(std::move(hold)) {}

MappingSection::~MappingSection() {
    ::close(m_fd);
    if (m_key.empty()) return;
    RunGate gate(m_folder, gateName(m_key));
    m_hold.reset();
    RunLockFile probe(m_folder, holdName(m_key), RunLockFile::Mode::existingOnly);
    if (probe.tryLockExclusive()) shm_unlink(m_shmName.c_str());
}

SectionOpen createUnnamedSection(uint64_t size) {
    SectionOpen result;
    int fd = memfd_create("varkel-mapping", MFD_CLOEXEC);
    if (fd < 0) {
        result.error = errorOfErrno(errno);
        return result;
    }
    if (sizeNew(fd, size, result.error)) {
        result.section =
            std::make_shared<MappingSection>(fd, size, std::string(), std::string(), std::string(), nullptr);
    }
    return result;
}

SectionOpen joinNamedSection(const std::string& key, uint64_t size) {
    SectionOpen result;
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    const std::string folder = runFolder();
    std::weak_ptr<MappingSection>& entry = r.byKey[folder + "/" + key];
    if ((result.section = entry.lock())) {
        result.existed = true;
        return result;
    }
    RunGate gate(folder, gateName(key));
    auto hold = std::make_unique<RunLockFile>(folder, holdName(key));
    if (!gate.locked() || !hold->valid()) {
        result.error = ERROR_ACCESS_DENIED;
        return result;
    }
    const bool nobodyHolds = hold->tryLockExclusive();
    const std::string shmName = shmNameFor(key);
    const int fd = openShared(shmName, nobodyHolds, size, result.error, result.existed);
    if (fd < 0) return result;
    if (!hold->lockShared()) {
        ::close(fd);
        result.existed = false;
        result.error = ERROR_ACCESS_DENIED;
        return result;
    }
    result.section = std::make_shared<MappingSection>(fd, size, key, folder, shmName, std::move(hold));
    entry = result.section;
    return result;
}

}  // namespace platform
