// errno -> platform error codes for the file API.
#include "FileErrors.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/files.h"
#include "platform/winerror.h"

namespace platform {

bool parentFolderExists(const std::string& hostPath) {
    const auto slash = hostPath.find_last_of('/');
    if (slash == std::string::npos || slash == 0) return true;
    struct stat info {};
    return ::stat(hostPath.substr(0, slash).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

DWORD fileErrorOf(int error, const std::string& hostPath) {
    switch (error) {
        case ENOENT:
            return parentFolderExists(hostPath) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EEXIST:
            return ERROR_FILE_EXISTS;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
        case ETXTBSY:
            return ERROR_ACCESS_DENIED;
        case ENAMETOOLONG:
            return ERROR_INVALID_NAME;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return ERROR_DISK_FULL;
        case EMFILE:
        case ENFILE:
            return ERROR_TOO_MANY_OPEN_FILES;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case ENOTEMPTY:
            return ERROR_DIR_NOT_EMPTY;
        case EINVAL:
            return ERROR_INVALID_PARAMETER;
        default:
            return ERROR_ACCESS_DENIED;
    }
}

}  // namespace platform
