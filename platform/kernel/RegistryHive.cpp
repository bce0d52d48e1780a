// Hive files on disk: reading with a cheap change check (file identity and times), atomic writes
// (temporary file, fsync, rename, fsync of the folder) under an flock on "<hive>.lock", and damaged
// files, or files beyond the hive's limits, renamed aside so the program carries on with an empty hive.
#include "RegistryHive.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/device.h"
#include "platform/winerror.h"

namespace platform::registry {
namespace {

// Holds an exclusive flock on the hive's lock file for its lifetime (nothing when not asked to).
class HiveLock {
  public:
    HiveLock(const std::string& path, bool take) {
        if (!take) return;
        m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd < 0) return;
        while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~HiveLock() {
        if (m_fd >= 0) ::close(m_fd);  // closing releases the lock
    }
    HiveLock(const HiveLock&) = delete;
    HiveLock& operator=(const HiveLock&) = delete;

  private:
    int m_fd = -1;
};

// Reads the file up to limit bytes and one more, so that a file beyond the limit is told without
// reading it all; false when it cannot be read.
bool readUpTo(int fd, size_t limit, std::string& text) {
    char buffer[65536];
    while (text.size() <= limit) {
        size_t wanted = std::min(sizeof buffer, limit + 1 - text.size());
        ssize_t got = ::read(fd, buffer, wanted);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        text.append(buffer, static_cast<size_t>(got));
    }
    return true;
}

bool writeWhole(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

}  // namespace

std::string RegistryHive::folder() const {
    return deviceRoot() + "/registry";
}

std::string RegistryHive::filePath() const {
    return folder() + "/" + m_fileName + ".hive";
}

RegistryHive::FileIdentity RegistryHive::identityOf(const std::string& path) {
    struct stat info {};
    FileIdentity identity;
    if (::stat(path.c_str(), &info) != 0) return identity;
    identity.exists = true;
    identity.device = info.st_dev;
    identity.inode = info.st_ino;
    identity.size = info.st_size;
    identity.modifiedNs = info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
    identity.changedNs = info.st_ctim.tv_sec * 1000000000LL + info.st_ctim.tv_nsec;
    return identity;
}

void RegistryHive::reset() {
    m_loadedPath.clear();
    m_identity = {};
    m_root = std::make_unique<RegistryKey>();
}

RegistryKey& RegistryHive::current() {
    refresh(false);
    return *m_root;
}

void RegistryHive::refresh(bool lockHeld) {
    std::string path = filePath();
    if (path != m_loadedPath) reset();
    if (!m_loadedPath.empty() && identityOf(path) == m_identity) return;
    load(lockHeld);
}

void RegistryHive::load(bool lockHeld) {
    std::string path = filePath();
    m_loadedPath = path;
    m_root = std::make_unique<RegistryKey>();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        m_identity = identityOf(path);  // missing (or unreadable): an empty hive
        return;
    }
    // The identity comes from the file actually read, so a replacement racing with this read is
    // noticed at the next call.
    FileIdentity identity = identityOf(path);
    struct stat info {};
    if (::fstat(fd, &info) == 0 && (info.st_ino != identity.inode || info.st_dev != identity.device)) {
        identity = {};
    }
    std::string text;
    bool readOk = readUpTo(fd, kMaxHiveFileBytes, text);
    ::close(fd);
    std::string error;
    auto parsed = std::make_unique<RegistryKey>();
    if (readOk && parseHive(text, *parsed, error)) {
        m_root = std::move(parsed);
        m_identity = identity;
        return;
    }
    setAside(identity, readOk ? error : "the file could not be read", lockHeld);
}

void RegistryHive::setAside(const FileIdentity& damaged, const std::string& error, bool lockHeld) {
    std::string path = filePath();
    {
        HiveLock lock(path + ".lock", !lockHeld);
        // Another process may have set it aside or replaced it meanwhile; only the damaged file moves.
        if (identityOf(path) == damaged && damaged.exists) {
            std::error_code ignored;
            std::string aside;
            for (int n = 1;; ++n) {
                aside = path + ".damaged-" + std::to_string(n);
                if (!std::filesystem::exists(aside, ignored)) break;
            }
            if (::rename(path.c_str(), aside.c_str()) == 0) {
                std::fprintf(stderr,
                             "registry: the hive file %s is damaged or beyond the registry's limits (%s); it "
                             "was moved to %s and the registry starts empty, so programs use their "
                             "defaults\n",
                             path.c_str(), error.c_str(), aside.c_str());
            }
        }
    }
    m_root = std::make_unique<RegistryKey>();
    m_identity = identityOf(path);
}

void RegistryHive::removeStaleTemporaries() const {
    // Called under the lock: no writer is busy, so any temporary left is from a writer that died.
    std::string prefix = m_fileName + ".hive.tmp-";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder(), error)) {
        if (entry.path().filename().string().rfind(prefix, 0) == 0)
            std::filesystem::remove(entry.path(), error);
    }
}

LONG RegistryHive::write(const RegistryKey& root) {
    std::optional<std::string> text = serializeHive(root);
    if (!text) return ERROR_OUTOFMEMORY;
    std::string path = filePath();
    removeStaleTemporaries();
    std::string temporary = path + ".tmp-" + std::to_string(::getpid());
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return ERROR_CANTWRITE;
    bool ok = writeWhole(fd, *text) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return ERROR_CANTWRITE;
    }
    int folderFd = ::open(folder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    m_identity = identityOf(path);
    return ERROR_SUCCESS;
}

LONG RegistryHive::modify(const std::function<LONG(RegistryKey& root)>& change) {
    std::error_code ignored;
    std::filesystem::create_directories(folder(), ignored);
    HiveLock lock(filePath() + ".lock", true);
    refresh(true);
    LONG result = change(*m_root);
    if (result != ERROR_SUCCESS) return result;
    result = write(*m_root);
    if (result != ERROR_SUCCESS) load(true);
    return result;
}

}  // namespace platform::registry
