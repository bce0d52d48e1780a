// Reading and writing the program's number values under its settings key.
#include "SettingsStore.h"

#include "platform/winerror.h"
#include "platform/winreg.h"

namespace shell {

DWORD readSettingNumber(const WCHAR* name, DWORD defaultValue) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return defaultValue;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    LONG result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return defaultValue;
    return value;
}

bool writeSettingNumber(const WCHAR* name, DWORD value) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
        return false;
    LONG result =
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool leftHandedAlignment() {
    return readSettingNumber(kSettingButtonAlign, 1) == 0;
}

}  // namespace shell
