// Starting Dashel and Brimwell as new processes, or bringing their running windows forward.
#include "Launcher.h"

#include <string>

#include "TodayNames.h"
#include "platform/windows.h"

namespace today {

namespace {

constexpr DWORD kPathBufferBytes = 520;

// Starts the program with the command line (none when empty); the handles are not kept.
bool startProgram(const std::u16string& path, const std::u16string& commandLine) {
    std::u16string line = commandLine;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(path.c_str(), line.empty() ? nullptr : line.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, nullptr, &info))
        return false;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return true;
}

// Bit 0 of the handle asks SetForegroundWindow for the window's last active pop-up.
HWND withLastActivePopup(HWND window) {
    return reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(window) | 1);
}

}  // namespace

std::optional<std::u16string> installPath(const WCHAR* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return std::nullopt;
    WCHAR buffer[kPathBufferBytes / sizeof(WCHAR)] = {};
    DWORD type = 0, size = kPathBufferBytes - sizeof(WCHAR);
    LONG result = RegQueryValueExW(opened, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(opened);
    if (result != ERROR_SUCCESS || type != REG_SZ || buffer[0] == 0) return std::nullopt;
    return std::u16string(buffer);
}

DashelLaunch startDashel() {
    if (HWND running = FindWindowW(kDashelClass, kDashelTitle)) {
        SetForegroundWindow(running);
        return DashelLaunch::BroughtForward;
    }
    std::optional<std::u16string> path = installPath(kInstallPathDashel);
    if (!path) return DashelLaunch::NotInstalled;
    return startProgram(*path, {}) ? DashelLaunch::Started : DashelLaunch::StartFailed;
}

bool startBrimwell(bool todaySetup) {
    if (HWND running = FindWindowW(kBrimwellClass, nullptr)) {
        SetForegroundWindow(withLastActivePopup(running));
        if (todaySetup) SendMessageW(running, kMsgShowTodaySetup, 0, 0);
        return true;
    }
    std::optional<std::u16string> starter = installPath(kInstallPathStarter);
    if (!starter) return false;
    return startProgram(*starter, todaySetup ? kTodaySetupCommand : u"");
}

std::u16string showCommand(ShowKind kind, int64_t identifier) {
    static constexpr const char16_t* kPrefixes[] = {u"/show_account_", u"/show_accountgroup_",
                                                    u"/show_budget_", u"/show_future_"};
    const std::string digits = std::to_string(identifier);
    return kPrefixes[static_cast<int>(kind)] + std::u16string(digits.begin(), digits.end());
}

bool showInBrimwell(ShowKind kind, int64_t identifier) {
    std::optional<std::u16string> starter = installPath(kInstallPathStarter);
    if (!starter) return false;
    return startProgram(*starter, showCommand(kind, identifier));
}

}  // namespace today
