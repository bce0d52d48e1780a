// Reading the registered Today items from the machine hive.
#include "ItemRegistry.h"

#include <algorithm>

#include "platform/todaycmn.h"
#include "platform/windows.h"

namespace todayscreen {

namespace {

constexpr DWORD kItemLibraryType = tlitCustom;
constexpr DWORD kNameCharacters = 256;

DWORD readNumber(HKEY key, const WCHAR* name, DWORD fallback) {
    DWORD value = 0, type = 0, size = sizeof value;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return fallback;
    return value;
}

std::u16string readString(HKEY key, const WCHAR* name) {
    WCHAR buffer[MAX_PATH] = {};
    DWORD type = 0, size = sizeof buffer - sizeof(WCHAR);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return buffer;
}

RegisteredItem readItem(HKEY items, const std::u16string& name) {
    RegisteredItem item;
    item.name = name;
    HKEY key = nullptr;
    if (RegOpenKeyExW(items, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return item;
    item.library = readString(key, u"DLL");
    item.type = readNumber(key, u"Type", 0);
    item.enabled = readNumber(key, u"Enabled", 0) != 0;
    item.options = readNumber(key, u"Options", 0) != 0;
    item.selectability = readNumber(key, u"Selectability", 0);
    item.order = readNumber(key, u"Order", 0);
    RegCloseKey(key);
    return item;
}

}  // namespace

std::vector<RegisteredItem> readRegisteredItems() {
    std::vector<RegisteredItem> found;
    HKEY items = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, TODAY_ITEMS_KEY, 0, KEY_READ, &items) != ERROR_SUCCESS)
        return found;
    for (DWORD index = 0;; ++index) {
        WCHAR name[kNameCharacters] = {};
        DWORD length = kNameCharacters;
        if (RegEnumKeyExW(items, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        found.push_back(readItem(items, name));
    }
    RegCloseKey(items);
    std::stable_sort(found.begin(), found.end(), [](const RegisteredItem& a, const RegisteredItem& b) {
        return a.order != b.order ? a.order < b.order : a.name < b.name;
    });
    return found;
}

bool isLoadable(const RegisteredItem& item) {
    return item.type == kItemLibraryType && item.enabled && !item.library.empty();
}

}  // namespace todayscreen
