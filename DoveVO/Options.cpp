// Reading the option key and the application profile.
#include "Options.h"

#include "platform/windows.h"

namespace dove {
namespace {

std::optional<ApplicationProfile> g_profile;

HKEY openOptionKey(bool create, REGSAM access) {
    HKEY key = nullptr;
    LONG result =
        create ? RegCreateKeyExW(HKEY_CURRENT_USER, kOptionKey, 0, nullptr, 0, access, nullptr, &key, nullptr)
               : RegOpenKeyExW(HKEY_CURRENT_USER, kOptionKey, 0, access, &key);
    return result == ERROR_SUCCESS ? key : nullptr;
}

}  // namespace

std::optional<std::u16string> readOptionString(const char16_t* name, bool createKey) {
    HKEY key = openOptionKey(createKey, KEY_READ);
    if (key == nullptr) return std::nullopt;
    WCHAR buffer[260] = {};
    DWORD type = 0, size = sizeof buffer - sizeof(WCHAR);
    LONG result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    return std::u16string(buffer);
}

std::optional<uint32_t> readOptionNumber(const char16_t* name) {
    HKEY key = openOptionKey(false, KEY_READ);
    if (key == nullptr) return std::nullopt;
    DWORD value = 0, type = 0, size = sizeof value;
    LONG result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_DWORD) return std::nullopt;
    return value;
}

bool writeOptionNumber(const char16_t* name, uint32_t value) {
    HKEY key = openOptionKey(true, KEY_WRITE);
    if (key == nullptr) return false;
    DWORD v = value;
    LONG result = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

void setApplicationProfileForTesting(const std::optional<ApplicationProfile>& profile) {
    g_profile = profile;
}

bool isSyncPartnerSet() {
    if (!g_profile) return false;
    return !g_profile->parent1.empty() || !g_profile->parent2.empty();
}

}  // namespace dove
