// Folder-level file operations on device paths: delete, create and remove folders, attributes,
// move and copy.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "FileErrors.h"
#include "platform/device.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/winerror.h"

namespace platform {
namespace {

BOOL failWith(DWORD error) {
    SetLastError(error);
    return FALSE;
}

BOOL failWithErrno(const std::string& path) {
    return failWith(fileErrorOf(errno, path));
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// Copies every byte of source into target; false with errno set on failure.
bool copyBytes(int source, int target) {
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(source, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(target, buffer + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w < 0) return false;
            done += w;
        }
    }
}

// Writes a complete copy of source next to target under a temporary name; returns that name, or an
// empty string with errno set.
std::string writeTemporaryCopy(int source, const std::string& target) {
    std::string temporary = target + ".copy-XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return {};
    struct stat info {};
    const bool ok = fstat(source, &info) == 0 && copyBytes(source, fd) && ::fsync(fd) == 0 &&
                    ::fchmod(fd, info.st_mode & 07777) == 0;
    const int error = errno;
    ::close(fd);
    if (ok) return temporary;
    ::unlink(temporary.c_str());
    errno = error;
    return {};
}

}  // namespace
}  // namespace platform

BOOL DeleteFileW(LPCWSTR devicePath) {
    using namespace platform;
    const std::string path = hostPath(devicePath);
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return failWith(ERROR_ACCESS_DENIED);
    return ::unlink(path.c_str()) == 0 ? TRUE : failWithErrno(path);
}

BOOL CreateDirectoryW(LPCWSTR devicePath, LPSECURITY_ATTRIBUTES) {
    using namespace platform;
    const std::string path = hostPath(devicePath);
    if (::mkdir(path.c_str(), 0777) == 0) return TRUE;
    return errno == EEXIST ? failWith(ERROR_ALREADY_EXISTS) : failWithErrno(path);
}

BOOL RemoveDirectoryW(LPCWSTR devicePath) {
    using namespace platform;
    const std::string path = hostPath(devicePath);
    return ::rmdir(path.c_str()) == 0 ? TRUE : failWithErrno(path);
}

DWORD GetFileAttributesW(LPCWSTR devicePath) {
    using namespace platform;
    const std::string path = hostPath(devicePath);
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        SetLastError(fileErrorOf(errno, path));
        return INVALID_FILE_ATTRIBUTES;
    }
    if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
    return (info.st_mode & S_IWUSR) == 0 ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL;
}

BOOL MoveFileW(LPCWSTR existingPath, LPCWSTR newPath) {
    using namespace platform;
    const std::string from = hostPath(existingPath);
    const std::string to = hostPath(newPath);
    if (!exists(from)) return failWith(fileErrorOf(ENOENT, from));
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return TRUE;
    return errno == EEXIST ? failWith(ERROR_ALREADY_EXISTS) : failWithErrno(to);
}

BOOL CopyFileW(LPCWSTR existingPath, LPCWSTR newPath, BOOL failIfExists) {
    using namespace platform;
    const std::string from = hostPath(existingPath);
    const std::string to = hostPath(newPath);
    const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0) return failWithErrno(from);
    if (failIfExists && exists(to)) {
        ::close(source);
        return failWith(ERROR_FILE_EXISTS);
    }
    const std::string temporary = writeTemporaryCopy(source, to);
    const int copyError = errno;
    ::close(source);
    if (temporary.empty()) return failWith(fileErrorOf(copyError, to));
    // link refuses an existing target atomically; rename replaces it atomically.
    const bool placed = failIfExists ? ::link(temporary.c_str(), to.c_str()) == 0
                                     : ::rename(temporary.c_str(), to.c_str()) == 0;
    const int placeError = errno;
    if (failIfExists || !placed) ::unlink(temporary.c_str());
    if (placed) return TRUE;
    return placeError == EEXIST ? failWith(ERROR_FILE_EXISTS) : failWith(fileErrorOf(placeError, to));
}
