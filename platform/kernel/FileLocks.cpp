// Run-folder lock files and the keys that turn object names into file names.
#include "FileLocks.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace platform {
namespace {

constexpr size_t kMaxUnitsSpelledOut = 32;

int flockRetrying(int fd, int operation) {
    int result;
    do {
        result = flock(fd, operation);
    } while (result != 0 && errno == EINTR);
    return result;
}

}  // namespace

std::string hashText(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char out[17];
    std::snprintf(out, sizeof out, "%016llx", static_cast<unsigned long long>(hash));
    return out;
}

std::string objectNameKey(LPCWSTR name) {
    std::string hex;
    size_t length = 0;
    while (name != nullptr && name[length] != 0)
        ++length;
    for (size_t i = 0; i < length && i < kMaxUnitsSpelledOut; ++i) {
        char unit[5];
        std::snprintf(unit, sizeof unit, "%04x", static_cast<unsigned>(name[i]));
        hex += unit;
    }
    if (length <= kMaxUnitsSpelledOut) return hex;
    return hex + "-" + hashText(std::string(reinterpret_cast<const char*>(name), length * sizeof(WCHAR)));
}

RunLockFile::RunLockFile(const std::string& folder, const std::string& fileName, Mode mode) {
    const std::string path = folder + "/" + fileName;
    const int flags = O_RDWR | O_CLOEXEC | (mode == Mode::create ? O_CREAT : 0);
    do {
        m_fd = ::open(path.c_str(), flags, 0666);
    } while (m_fd < 0 && errno == EINTR);
}

RunLockFile::~RunLockFile() {
    if (m_fd >= 0) ::close(m_fd);
}

bool RunLockFile::lockShared() {
    return m_fd >= 0 && flockRetrying(m_fd, LOCK_SH) == 0;
}

bool RunLockFile::lockExclusive() {
    return m_fd >= 0 && flockRetrying(m_fd, LOCK_EX) == 0;
}

bool RunLockFile::tryLockExclusive() {
    return m_fd >= 0 && flockRetrying(m_fd, LOCK_EX | LOCK_NB) == 0;
}

void RunLockFile::unlock() {
    if (m_fd >= 0) flockRetrying(m_fd, LOCK_UN);
}

}  // namespace platform
