// File handles: CreateFileW with the device's creation dispositions, reading, writing, positioning,
// size, flushing and truncation.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "FileErrors.h"
#include "platform/device.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/winerror.h"

namespace platform {
namespace {

class FileHandle : public KernelObject {
  public:
    FileHandle(int fd, bool canRead, bool canWrite) : m_fd(fd), m_canRead(canRead), m_canWrite(canWrite) {}
    ~FileHandle() override { ::close(m_fd); }
    int fd() const { return m_fd; }
    bool canRead() const { return m_canRead; }
    bool canWrite() const { return m_canWrite; }

  private:
    int m_fd;
    bool m_canRead;
    bool m_canWrite;
};

int openRetrying(const std::string& path, int flags, mode_t mode) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Opens per the disposition; existed tells whether the file was there before. -1 with errno set.
int openWithDisposition(const std::string& path, int accessFlags, DWORD disposition, mode_t mode,
                        bool& existed) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        const bool create = disposition != OPEN_EXISTING && disposition != TRUNCATE_EXISTING;
        if (create) {
            int fd = openRetrying(path, accessFlags | O_CREAT | O_EXCL, mode);
            if (fd >= 0 || errno != EEXIST || disposition == CREATE_NEW) return existed = false, fd;
        }
        const int truncate = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING ? O_TRUNC : 0;
        int fd = openRetrying(path, accessFlags | truncate, mode);
        if (fd >= 0 || errno != ENOENT || !create) return existed = true, fd;
        // Deleted between the two opens by someone else: try again.
    }
    errno = EAGAIN;
    return -1;
}

FileHandle* fileOf(HANDLE handle) {
    auto* file = handleAs<FileHandle>(handle);
    if (file == nullptr) SetLastError(ERROR_INVALID_HANDLE);
    return file;
}

BOOL failWith(DWORD error) {
    SetLastError(error);
    return FALSE;
}

}  // namespace
}  // namespace platform

HANDLE CreateFileW(LPCWSTR devicePath, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD disposition,
                   DWORD flagsAndAttributes, HANDLE) {
    using namespace platform;
    const bool canRead = (access & GENERIC_READ) != 0;
    const bool canWrite = (access & GENERIC_WRITE) != 0;
    if (devicePath == nullptr || *devicePath == 0 || disposition < CREATE_NEW ||
        disposition > TRUNCATE_EXISTING || (disposition == TRUNCATE_EXISTING && !canWrite)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string path = hostPath(devicePath);
    const int accessFlags = canWrite ? (canRead ? O_RDWR : O_WRONLY) : O_RDONLY;
    const mode_t mode = (flagsAndAttributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444 : 0666;
    bool existed = false;
    const int fd = openWithDisposition(path, accessFlags, disposition, mode, existed);
    if (fd < 0) {
        SetLastError(fileErrorOf(errno, path));
        return INVALID_HANDLE_VALUE;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = makeHandle(new FileHandle(fd, canRead, canWrite));
    const bool reportExisting = existed && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS);
    SetLastError(reportExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped) {
    using namespace platform;
    if (read != nullptr) *read = 0;
    FileHandle* file = fileOf(handle);
    if (file == nullptr) return FALSE;
    if (overlapped != nullptr || (buffer == nullptr && toRead > 0)) return failWith(ERROR_INVALID_PARAMETER);
    if (!file->canRead()) return failWith(ERROR_ACCESS_DENIED);
    DWORD done = 0;
    while (done < toRead) {
        const ssize_t n = ::read(file->fd(), static_cast<char*>(buffer) + done, toRead - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return failWith(ERROR_READ_FAULT);
        if (n == 0) break;
        done += static_cast<DWORD>(n);
        if (read != nullptr) *read = done;
    }
    return TRUE;
}

BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED overlapped) {
    using namespace platform;
    if (written != nullptr) *written = 0;
    FileHandle* file = fileOf(handle);
    if (file == nullptr) return FALSE;
    if (overlapped != nullptr || (buffer == nullptr && toWrite > 0)) return failWith(ERROR_INVALID_PARAMETER);
    if (!file->canWrite()) return failWith(ERROR_ACCESS_DENIED);
    DWORD done = 0;
    while (done < toWrite) {
        const ssize_t n = ::write(file->fd(), static_cast<const char*>(buffer) + done, toWrite - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            return failWith(n < 0 && (errno == ENOSPC || errno == EDQUOT) ? ERROR_DISK_FULL
                                                                          : ERROR_WRITE_FAULT);
        done += static_cast<DWORD>(n);
        if (written != nullptr) *written = done;
    }
    return TRUE;
}

DWORD SetFilePointer(HANDLE handle, LONG distanceLow, PLONG distanceHigh, DWORD moveMethod) {
    using namespace platform;
    static constexpr int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    FileHandle* file = fileOf(handle);
    if (file == nullptr) return INVALID_SET_FILE_POINTER;
    if (moveMethod > FILE_END) return failWith(ERROR_INVALID_PARAMETER), INVALID_SET_FILE_POINTER;
    const int64_t distance =
        distanceHigh != nullptr
            ? static_cast<int64_t>((uint64_t(uint32_t(*distanceHigh)) << 32) | uint32_t(distanceLow))
            : distanceLow;
    const off_t origin = moveMethod == FILE_BEGIN ? 0 : ::lseek(file->fd(), 0, kWhence[moveMethod]);
    if (origin < 0) return failWith(ERROR_INVALID_PARAMETER), INVALID_SET_FILE_POINTER;
    if (distance < 0 && origin < -distance) return failWith(ERROR_NEGATIVE_SEEK), INVALID_SET_FILE_POINTER;
    const int64_t target = origin + distance;
    if (distanceHigh == nullptr && target > 0xFFFFFFFEll) {
        return failWith(ERROR_INVALID_PARAMETER), INVALID_SET_FILE_POINTER;
    }
    if (::lseek(file->fd(), static_cast<off_t>(target), SEEK_SET) < 0) {
        return failWith(ERROR_INVALID_PARAMETER), INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh != nullptr) *distanceHigh = static_cast<LONG>(target >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(target);
}

DWORD GetFileSize(HANDLE handle, LPDWORD sizeHigh) {
    using namespace platform;
    FileHandle* file = fileOf(handle);
    struct stat info {};
    if (file == nullptr) return INVALID_FILE_SIZE;
    if (fstat(file->fd(), &info) != 0) return failWith(ERROR_INVALID_HANDLE), INVALID_FILE_SIZE;
    const auto size = static_cast<uint64_t>(info.st_size);
    if (sizeHigh != nullptr) *sizeHigh = static_cast<DWORD>(size >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(size);
}

BOOL FlushFileBuffers(HANDLE handle) {
    using namespace platform;
    FileHandle* file = fileOf(handle);
    if (file == nullptr) return FALSE;
    if (!file->canWrite()) return failWith(ERROR_ACCESS_DENIED);
    return ::fsync(file->fd()) == 0 ? TRUE : failWith(ERROR_WRITE_FAULT);
}

BOOL SetEndOfFile(HANDLE handle) {
    using namespace platform;
    FileHandle* file = fileOf(handle);
    if (file == nullptr) return FALSE;
    if (!file->canWrite()) return failWith(ERROR_ACCESS_DENIED);
    const off_t position = ::lseek(file->fd(), 0, SEEK_CUR);
    if (position < 0 || ::ftruncate(file->fd(), position) != 0) {
        return failWith(errno == ENOSPC || errno == EFBIG ? ERROR_DISK_FULL : ERROR_ACCESS_DENIED);
    }
    return TRUE;
}
