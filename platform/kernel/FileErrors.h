// Translation of Linux errno values from file and folder operations into the platform's error codes.
#pragma once

#include <string>

#include "platform/wintypes.h"

namespace platform {

// The platform error for errno after an operation on hostPath. A missing entry is
// ERROR_PATH_NOT_FOUND when a folder on the way is missing, else ERROR_FILE_NOT_FOUND.
DWORD fileErrorOf(int error, const std::string& hostPath);

// True when the folder that would hold hostPath exists.
bool parentFolderExists(const std::string& hostPath);

}  // namespace platform
