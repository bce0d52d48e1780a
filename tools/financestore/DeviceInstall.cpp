// The "install" command: placing the programs and the Today item on the device root.
#include "DeviceInstall.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

#include "CommandLine.h"
#include "StoreSession.h"
#include "platform/windows.h"

namespace financestore {

namespace {

namespace fs = std::filesystem;

constexpr const WCHAR* kInstallPathDashel = u"Software\\Varkel\\InstallPathDashel";
constexpr const WCHAR* kInstallPathStarter = u"Software\\Varkel\\InstallPathBrimwellStarter";
constexpr const WCHAR* kDashelDevicePath = u"\\windows\\dashel.exe";
constexpr const WCHAR* kStarterDevicePath = u"\\windows\\BrimwellStarter.exe";
constexpr const WCHAR* kItemDevicePath = u"\\windows\\BrimwellTodayItem.dll";

int failed(const std::string& message) {
    std::fprintf(stderr, "financestore install: %s\n", message.c_str());
    return 1;
}

// The build folder of the running program: the parent of its own folder (build/bin/financestore).
std::string buildFolderOfProgram() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.parent_path().parent_path().string();
}

// Copies source over target through a file beside it, so that a running program keeps the old file.
bool replaceWith(const fs::path& source, const fs::path& target) {
    std::error_code error;
    const fs::path fresh = target.string() + ".new";
    fs::copy_file(source, fresh, fs::copy_options::overwrite_existing, error);
    if (!error) fs::rename(fresh, target, error);
    if (error) fs::remove(fresh, error);
    return !error && fs::exists(target);
}

// The starter stand-in: a script handing its command line to "financestore starter".
bool writeStarter(const fs::path& target, const std::string& tool, const std::string& root) {
    const fs::path fresh = target.string() + ".new";
    {
        std::ofstream out(fresh, std::ios::trunc);
        out << "#!/bin/sh\n"
            << "# The finance manager's starter stand-in: logs its command line to starter.log.\n"
            << "exec '" << tool << "' --root '" << root << "' starter --log '" << root
            << "/starter.log' \"$@\"\n";
        if (!out) return false;
    }
    std::error_code error;
    fs::permissions(fresh,
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                        fs::perms::others_read | fs::perms::others_exec,
                    error);
    if (!error) fs::rename(fresh, target, error);
    return !error;
}

bool writeInstallPath(const WCHAR* key, const WCHAR* devicePath) {
    HKEY opened = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const std::u16string path = devicePath;
    const LONG result =
        RegSetValueExW(opened, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>((path.size() + 1) * sizeof(WCHAR)));
    RegCloseKey(opened);
    return result == ERROR_SUCCESS;
}

// Loads the installed library and calls its own registration.
bool registerItem() {
    HMODULE library = LoadLibraryW(kItemDevicePath);
    if (library == nullptr) return false;
    using RegisterFunction = BOOL (*)();
    auto registerItem = reinterpret_cast<RegisterFunction>(GetProcAddressA(library, "RegisterTodayItem"));
    const bool registered = registerItem != nullptr && registerItem() == TRUE;
    FreeLibrary(library);
    return registered;
}

}  // namespace

int installDevice(const std::string& buildFolder, const std::string& root) {
    const fs::path build(buildFolder);
    const fs::path dashel = build / "bin" / "dashel";
    const fs::path tool = build / "bin" / "financestore";
    const fs::path library = build / "lib" / "libBrimwellTodayItem.so";
    for (const fs::path& needed : {dashel, tool, library})
        if (!fs::is_regular_file(needed)) return failed(needed.string() + " is missing (build it first)");
    const std::string device = fs::absolute(root).string();
    platform::setDeviceRoot(device);
    const fs::path windows = fs::path(device) / "windows";
    std::error_code error;
    fs::create_directories(windows, error);
    if (error) return failed("cannot create " + windows.string());
    if (!replaceWith(dashel, windows / "dashel"))
        return failed("cannot copy dashel into " + windows.string());
    if (!writeStarter(windows / "BrimwellStarter", fs::absolute(tool).string(), device))
        return failed("cannot write the starter into " + windows.string());
    if (!replaceWith(library, windows / "BrimwellTodayItem.dll"))
        return failed("cannot copy the Today item into " + windows.string());
    if (!writeInstallPath(kInstallPathDashel, kDashelDevicePath) ||
        !writeInstallPath(kInstallPathStarter, kStarterDevicePath))
        return failed("cannot write the program locations into the registry");
    if (!registerItem()) return failed("the Today item's RegisterTodayItem failed");
    std::printf("installed dashel, BrimwellStarter and BrimwellTodayItem.dll into %s\n", windows.c_str());
    return 0;
}

bool runDeviceInstall(int argc, char** argv, int* exitCode) {
    int at = 1;
    std::string root;
    if (argc > 2 && std::strcmp(argv[1], "--root") == 0) {
        root = argv[2];
        at = 3;
    }
    if (at >= argc || std::strcmp(argv[at], "install") != 0) return false;
    if (at + 1 < argc) {
        std::fprintf(stderr, "financestore: install takes no argument %s\n", argv[at + 1]);
        *exitCode = kExitUsage;
        return true;
    }
    const std::string build = buildFolderOfProgram();
    *exitCode = build.empty() ? failed("cannot find the build folder of this program")
                              : installDevice(build, chooseRoot(root));
    return true;
}

}  // namespace financestore
