// The registry API: predefined and opened key handles, key paths, and the value and key operations
// on the hives of the device root.
#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <set>
#include <vector>

#include "RegistryHive.h"
#include "platform/text.h"
#include "platform/winerror.h"
#include "platform/winreg.h"

namespace platform::registry {
namespace {

// An open key: its hive and the names of the keys from the hive's root down to it.
struct OpenKey {
    size_t hive;
    std::vector<std::u16string> path;
};

struct RegistryState {
    std::mutex lock;
    std::array<RegistryHive, 4> hives{RegistryHive("HKCR"), RegistryHive("HKCU"), RegistryHive("HKLM"),
                                      RegistryHive("HKU")};
    std::set<OpenKey*> open;
};

RegistryState& state() {
    static RegistryState* instance = new RegistryState();  // lives to the end; handles may outlive statics
    return *instance;
}

// Resolves a handle (predefined or opened) to where it points; false for unknown handles.
bool resolve(HKEY key, OpenKey& where) {
    auto value = reinterpret_cast<uintptr_t>(key);
    if (value >= 0x80000000u && value <= 0x80000003u) {
        where = {value - 0x80000000u, {}};
        return true;
    }
    auto* opened = reinterpret_cast<OpenKey*>(key);
    if (state().open.count(opened) == 0) return false;
    where = *opened;
    return true;
}

// Splits "A\B\C" into its parts, skipping empty ones; false when a part is too long.
bool splitPath(LPCWSTR subKey, std::vector<std::u16string>& parts) {
    if (subKey == nullptr) return true;
    std::u16string part;
    for (const char16_t* p = subKey;; ++p) {
        if (*p == u'\\' || *p == 0) {
            if (part.size() > kMaxKeyNameLength) return false;
            if (!part.empty()) parts.push_back(part);
            part.clear();
            if (*p == 0) return true;
        } else {
            part += *p;
        }
    }
}

std::u16string valueNameOf(LPCWSTR name) {
    return name != nullptr ? std::u16string(name) : std::u16string();
}

// Finds the key of a handle in the current tree of its hive.
LONG findKey(HKEY key, RegistryKey*& found, OpenKey* where = nullptr) {
    OpenKey target;
    if (!resolve(key, target)) return ERROR_INVALID_HANDLE;
    found = state().hives[target.hive].current().find(target.path);
    if (where != nullptr) *where = target;
    return found != nullptr ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

// Runs change on the key of a handle inside a write of its hive.
LONG modifyKey(HKEY key, const std::function<LONG(RegistryKey&)>& change) {
    OpenKey target;
    if (!resolve(key, target)) return ERROR_INVALID_HANDLE;
    return state().hives[target.hive].modify([&](RegistryKey& root) {
        RegistryKey* found = root.find(target.path);
        return found != nullptr ? change(*found) : ERROR_KEY_DELETED;
    });
}

HKEY openHandle(OpenKey where) {
    auto* opened = new OpenKey(std::move(where));
    state().open.insert(opened);
    return reinterpret_cast<HKEY>(opened);
}

// Copies data into the caller's buffer as RegQueryValueExW does.
LONG copyData(const RegistryValue& value, LPDWORD type, LPBYTE data, LPDWORD size) {
    if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
    if (type != nullptr) *type = value.type;
    if (size == nullptr) return ERROR_SUCCESS;
    auto needed = static_cast<DWORD>(value.data.size());
    if (data != nullptr && *size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr && needed > 0) std::memcpy(data, value.data.data(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

// Writes name into a buffer of *length characters; *length becomes the characters without the NUL.
LONG copyName(const std::u16string& name, LPWSTR buffer, LPDWORD length) {
    if (buffer == nullptr || length == nullptr) return ERROR_INVALID_PARAMETER;
    if (*length <= name.size()) return ERROR_MORE_DATA;
    std::copy(name.begin(), name.end(), buffer);
    buffer[name.size()] = 0;
    *length = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

}  // namespace
}  // namespace platform::registry

using namespace platform::registry;

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD /*options*/, REGSAM /*access*/, PHKEY result) {
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    std::lock_guard guard(state().lock);
    std::vector<std::u16string> parts;
    if (!splitPath(subKey, parts)) return ERROR_INVALID_PARAMETER;
    RegistryKey* base = nullptr;
    OpenKey where;
    if (LONG error = findKey(key, base, &where); error != ERROR_SUCCESS) return error;
    RegistryKey* found = base->find(parts);
    if (found == nullptr) return ERROR_FILE_NOT_FOUND;
    where.path.insert(where.path.end(), parts.begin(), parts.end());
    *result = openHandle(std::move(where));
    return ERROR_SUCCESS;
}

LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD /*reserved*/, LPWSTR /*keyClass*/, DWORD /*options*/,
                     REGSAM /*access*/, LPSECURITY_ATTRIBUTES /*security*/, PHKEY result,
                     LPDWORD disposition) {
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    std::lock_guard guard(state().lock);
    std::vector<std::u16string> parts;
    if (!splitPath(subKey, parts)) return ERROR_INVALID_PARAMETER;
    OpenKey where;
    if (!resolve(key, where)) return ERROR_INVALID_HANDLE;
    if (where.path.size() + parts.size() > kMaxKeyDepth) return ERROR_INVALID_PARAMETER;
    RegistryKey* existing = nullptr;
    if (LONG error = findKey(key, existing); error != ERROR_SUCCESS) return error;
    bool created = false;
    if (existing->find(parts) == nullptr) {
        LONG error = modifyKey(key, [&](RegistryKey& base) {
            base.create(parts, created);
            return ERROR_SUCCESS;
        });
        if (error != ERROR_SUCCESS) return error;
    }
    if (disposition != nullptr) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    where.path.insert(where.path.end(), parts.begin(), parts.end());
    *result = openHandle(std::move(where));
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    std::lock_guard guard(state().lock);
    OpenKey where;
    if (!resolve(key, where)) return ERROR_INVALID_HANDLE;
    auto* opened = reinterpret_cast<OpenKey*>(key);
    if (state().open.erase(opened) > 0) delete opened;
    return ERROR_SUCCESS;
}

LONG RegFlushKey(HKEY key) {
    std::lock_guard guard(state().lock);
    OpenKey where;
    return resolve(key, where) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD /*reserved*/, LPDWORD type, LPBYTE data,
                      LPDWORD size) {
    if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
    std::lock_guard guard(state().lock);
    RegistryKey* found = nullptr;
    if (LONG error = findKey(key, found); error != ERROR_SUCCESS) return error;
    const RegistryValue* value = found->value(valueNameOf(valueName));
    if (value == nullptr) return ERROR_FILE_NOT_FOUND;
    return copyData(*value, type, data, size);
}

LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD /*reserved*/, DWORD type, const BYTE* data,
                    DWORD size) {
    if (data == nullptr && size > 0) return ERROR_INVALID_PARAMETER;
    std::u16string name = valueNameOf(valueName);
    if (name.size() > kMaxValueNameLength || size > kMaxValueBytes) return ERROR_INVALID_PARAMETER;
    std::vector<BYTE> bytes(data, data + (data != nullptr ? size : 0));
    std::lock_guard guard(state().lock);
    return modifyKey(key, [&](RegistryKey& found) {
        found.setValue(name, type, bytes);
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteValueW(HKEY key, LPCWSTR valueName) {
    std::u16string name = valueNameOf(valueName);
    std::lock_guard guard(state().lock);
    return modifyKey(key, [&](RegistryKey& found) {
        return found.removeValue(name) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey) {
    std::vector<std::u16string> parts;
    if (subKey == nullptr || !splitPath(subKey, parts) || parts.empty()) return ERROR_INVALID_PARAMETER;
    std::u16string last = parts.back();
    parts.pop_back();
    std::lock_guard guard(state().lock);
    return modifyKey(key, [&](RegistryKey& base) {
        RegistryKey* parent = base.find(parts);
        return parent != nullptr && parent->removeChild(last) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD /*reserved*/, LPDWORD type,
                   LPBYTE data, LPDWORD size) {
    std::lock_guard guard(state().lock);
    RegistryKey* found = nullptr;
    if (LONG error = findKey(key, found); error != ERROR_SUCCESS) return error;
    if (index >= found->values().size()) return ERROR_NO_MORE_ITEMS;
    const RegistryValue& value = std::next(found->values().begin(), index)->second;
    if (LONG error = copyName(value.name, name, nameLength); error != ERROR_SUCCESS) return error;
    return copyData(value, type, data, size);
}

LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD /*reserved*/,
                   LPWSTR keyClass, LPDWORD classLength, PFILETIME lastWriteTime) {
    std::lock_guard guard(state().lock);
    RegistryKey* found = nullptr;
    if (LONG error = findKey(key, found); error != ERROR_SUCCESS) return error;
    if (index >= found->children().size()) return ERROR_NO_MORE_ITEMS;
    const RegistryKey& child = *std::next(found->children().begin(), index)->second;
    if (LONG error = copyName(child.name(), name, nameLength); error != ERROR_SUCCESS) return error;
    if (keyClass != nullptr && classLength != nullptr && *classLength > 0) keyClass[0] = 0;
    if (classLength != nullptr) *classLength = 0;
    if (lastWriteTime != nullptr) *lastWriteTime = {};
    return ERROR_SUCCESS;
}

namespace platform {

void registryReset() {
    std::lock_guard guard(registry::state().lock);
    for (registry::RegistryHive& hive : registry::state().hives)
        hive.reset();
}

}  // namespace platform
