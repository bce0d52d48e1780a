// Registering the item with the home screen and its guarded initialisation.
#include "Registration.h"

#include <string>

#include "Options.h"
#include "TodayLibrary.h"
#include "TodayNames.h"
#include "platform/windows.h"

namespace today {

namespace {

struct NumberValue {
    const WCHAR* name;
    DWORD value;
};

constexpr NumberValue kNumberValues[] = {
    {u"Type", kItemTypeCustom},
    {u"Enabled", 1},
    {u"Options", 0},
    {u"Selectability", kSelectabilityOwn},
};

bool writeValues(HKEY key) {
    const std::u16string path = kLibraryDevicePath;
    const auto pathBytes = static_cast<DWORD>((path.size() + 1) * sizeof(WCHAR));
    if (RegSetValueExW(key, u"DLL", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()), pathBytes) !=
        ERROR_SUCCESS)
        return false;
    for (const NumberValue& number : kNumberValues) {
        const DWORD value = number.value;
        if (RegSetValueExW(key, number.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                           sizeof value) != ERROR_SUCCESS)
            return false;
    }
    return true;
}

}  // namespace

BOOL registerTodayItem() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRegistrationKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return FALSE;
    const bool written = writeValues(key);
    RegCloseKey(key);
    if (!written) return FALSE;
    RegFlushKey(HKEY_CURRENT_USER);
    return TRUE;
}

BOOL unregisterTodayItem() {
    return RegDeleteKeyW(HKEY_LOCAL_MACHINE, kRegistrationKey) == ERROR_SUCCESS ? TRUE : FALSE;
}

HWND initializeItem(TODAYLISTITEM* /*record*/, HWND parent) {
    if (dove::readOptionNumber(dove::kOptionTodayFailed).value_or(0) == 1) {
        dove::writeOptionNumber(dove::kOptionTodayFailed, 0);
        unregisterTodayItem();
        return nullptr;
    }
    dove::writeOptionNumber(dove::kOptionTodayFailed, 1);
    HWND window = libraryItem().create(parent);
    dove::writeOptionNumber(dove::kOptionTodayFailed, 0);
    return window;
}

}  // namespace today
