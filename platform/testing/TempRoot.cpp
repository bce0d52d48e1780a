// Temporary device roots and child processes for tests.
#include "TempRoot.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/device.h"

namespace platform::testing {

TempRoot::TempRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "varkel-test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    m_path = made != nullptr ? std::string(made) : std::string();
    setDeviceRoot(m_path);
    setenv("VARKEL_ROOT", m_path.c_str(), 1);
}

TempRoot::~TempRoot() {
    setDeviceRoot("");
    unsetenv("VARKEL_ROOT");
    std::error_code ignored;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
}

int runInChild(const std::function<int()>& body) {
    pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        int code = 99;
        try {
            code = body();
        } catch (...) {
        }
        _exit(code);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string builtProgram(const std::string& name) {
    const char* dir = std::getenv("VARKEL_BINARY_DIR");
    if (dir != nullptr && *dir != '\0') return std::string(dir) + "/bin/" + name;
    std::error_code error;
    return (std::filesystem::read_symlink("/proc/self/exe", error).parent_path() / name).string();
}

}  // namespace platform::testing
