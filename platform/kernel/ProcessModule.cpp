// GetModuleFileNameW: the file of the running program or of a loaded library, as a device path when
// it lies in the device root.
#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "platform/device.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/winerror.h"

namespace platform {
namespace {

std::string canonical(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

std::string moduleHostPath(HMODULE module) {
    if (module == nullptr) {
        char buffer[PATH_MAX];
        const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
    }
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(module), &info) == 0 || info.dli_fname == nullptr) return {};
    return canonical(info.dli_fname);
}

// "\windows\dashel.exe" for a file in the root, else the host path unchanged.
std::u16string devicePathOf(const std::string& path) {
    const std::string root = canonical(deviceRoot());
    if (path.size() > root.size() && path.compare(0, root.size(), root) == 0 && path[root.size()] == '/') {
        std::u16string device = fromUtf8(path.substr(root.size()));
        for (char16_t& c : device) {
            if (c == u'/') c = u'\\';
        }
        return device;
    }
    return fromUtf8(path);
}

}  // namespace
}  // namespace platform

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
    using namespace platform;
    const std::string path = moduleHostPath(module);
    if (path.empty()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (fileName == nullptr || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const std::u16string device = devicePathOf(path);
    const size_t copied = std::min<size_t>(device.size(), size - 1);
    device.copy(fileName, copied);
    fileName[copied] = 0;
    if (copied < device.size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(copied);
}
