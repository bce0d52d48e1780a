// Starting programs by device path (CreateProcessW), process and thread handles, exit codes and
// termination.
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "ProcessCore.h"
#include "Waitable.h"
#include "platform/device.h"
#include "platform/files.h"
#include "platform/winerror.h"

extern char** environ;

namespace platform {
namespace {

// The process handle and the handle standing for its main thread: both wait for the process.
class ProcessHandle : public Waitable {
  public:
    explicit ProcessHandle(std::shared_ptr<ProcessCore> core) : m_core(std::move(core)) {}
    DWORD wait(DWORD milliseconds) override { return m_core->wait(milliseconds); }
    ProcessCore& core() { return *m_core; }

  private:
    std::shared_ptr<ProcessCore> m_core;
};

class ThreadHandle : public Waitable {
  public:
    explicit ThreadHandle(std::shared_ptr<ProcessCore> core) : m_core(std::move(core)) {}
    DWORD wait(DWORD milliseconds) override { return m_core->wait(milliseconds); }

  private:
    std::shared_ptr<ProcessCore> m_core;
};

bool isRunnable(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

bool endsWithExe(const std::u16string& name) {
    if (name.size() < 4) return false;
    std::u16string end = name.substr(name.size() - 4);
    for (char16_t& c : end)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    return end == u".exe";
}

// Host path of the program: the device path in the root; a bare name also in "\windows". A device
// name "X.exe" also finds the Linux program "X", which carries no extension.
std::string resolveProgram(LPCWSTR applicationPath) {
    std::u16string name(applicationPath);
    std::vector<std::u16string> names{name};
    if (name.find_first_of(u"\\/") == std::u16string::npos) names.push_back(u"\\windows\\" + name);
    std::vector<std::u16string> candidates;
    for (const std::u16string& each : names) {
        candidates.push_back(each);
        if (endsWithExe(each)) candidates.push_back(each.substr(0, each.size() - 4));
    }
    for (const std::u16string& candidate : candidates) {
        std::string path = hostPath(candidate.c_str());
        if (isRunnable(path)) return path;
    }
    return {};
}

// The started program's environment: this one's, except that an input script belongs to the program
// it was given to. The new program gets VARKEL_SCRIPT only from VARKEL_SCRIPT_<NAME>, NAME being its
// file name without extension in capitals (VARKEL_SCRIPT_DASHEL for "\windows\dashel.exe").
std::vector<std::string> childEnvironment(const std::string& program) {
    std::string name = program.substr(program.rfind('/') + 1);
    name = name.substr(0, name.find('.'));
    for (char& c : name)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    const std::string own = "VARKEL_SCRIPT_" + name + "=";
    std::vector<std::string> variables;
    for (char** each = environ; *each != nullptr; ++each) {
        std::string variable(*each);
        if (variable.rfind("VARKEL_SCRIPT=", 0) == 0) continue;
        if (variable.rfind(own, 0) == 0) variables.push_back("VARKEL_SCRIPT=" + variable.substr(own.size()));
        variables.push_back(std::move(variable));
    }
    return variables;
}

BOOL failWith(DWORD error) {
    SetLastError(error);
    return FALSE;
}

}  // namespace
}  // namespace platform

BOOL CreateProcessW(LPCWSTR applicationPath, LPWSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                    BOOL, DWORD, LPVOID environment, LPCWSTR currentFolder, LPSTARTUPINFOW,
                    LPPROCESS_INFORMATION info) {
    using namespace platform;
    if (applicationPath == nullptr || *applicationPath == 0 || environment != nullptr ||
        currentFolder != nullptr) {
        return failWith(ERROR_INVALID_PARAMETER);
    }
    std::string program = resolveProgram(applicationPath);
    if (program.empty()) return failWith(ERROR_FILE_NOT_FOUND);
    std::string argument = commandLine != nullptr ? toUtf8(commandLine) : std::string();
    std::vector<char*> argv{program.data()};
    if (!argument.empty()) argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string> variables = childEnvironment(program);
    std::vector<char*> envp;
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data());
    if (error != 0) return failWith(error == ENOEXEC ? ERROR_BAD_FORMAT : ERROR_FILE_NOT_FOUND);
    auto core = std::make_shared<ProcessCore>(pid);
    HANDLE process = makeHandle(new ProcessHandle(core));
    HANDLE thread = makeHandle(new ThreadHandle(core));
    if (info != nullptr) {
        *info = PROCESS_INFORMATION{process, thread, static_cast<DWORD>(pid), static_cast<DWORD>(pid)};
    } else {
        CloseHandle(process);
        CloseHandle(thread);
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
    auto* handle = platform::handleAs<platform::ProcessHandle>(process);
    if (handle == nullptr) return platform::failWith(ERROR_INVALID_HANDLE);
    if (exitCode == nullptr) return platform::failWith(ERROR_INVALID_PARAMETER);
    *exitCode = handle->core().exitCode();
    return TRUE;
}

BOOL TerminateProcess(HANDLE process, UINT exitCode) {
    auto* handle = platform::handleAs<platform::ProcessHandle>(process);
    if (handle == nullptr) return platform::failWith(ERROR_INVALID_HANDLE);
    return handle->core().terminate(exitCode) ? TRUE : platform::failWith(ERROR_ACCESS_DENIED);
}

DWORD GetCurrentProcessId() {
    return static_cast<DWORD>(::getpid());
}
