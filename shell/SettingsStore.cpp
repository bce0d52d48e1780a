// Reading and writing the program's values under its registry key.
#include "SettingsStore.h"

#include <cstring>

#include "platform/winerror.h"
#include "platform/winreg.h"

namespace shell {
namespace {

std::u16string keyPath(const WCHAR* subKey) {
    std::u16string path = kProgramKey;
    if (subKey != nullptr && *subKey != 0) path += u"\\" + std::u16string(subKey);
    return path;
}

// An open key, closed with the object.
class Key {
  public:
    Key(const WCHAR* subKey, bool create) {
        std::u16string path = keyPath(subKey);
        DWORD disposition = 0;
        LONG result = create ? RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE,
                                               nullptr, &m_key, &disposition)
                             : RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &m_key);
        if (result != ERROR_SUCCESS) m_key = nullptr;
    }
    ~Key() {
        if (m_key != nullptr) RegCloseKey(m_key);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY get() const { return m_key; }

  private:
    HKEY m_key = nullptr;
};

// The value's type and bytes; false when the key or value is missing.
bool queryValue(const WCHAR* subKey, const WCHAR* name, DWORD& type, std::vector<BYTE>& bytes) {
    Key key(subKey, false);
    if (key.get() == nullptr) return false;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    bytes.resize(size);
    if (size > 0 && RegQueryValueExW(key.get(), name, nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS)
        return false;
    bytes.resize(size);
    return true;
}

bool setValue(const WCHAR* subKey, const WCHAR* name, DWORD type, const BYTE* data, DWORD size) {
    Key key(subKey, true);
    return key.get() != nullptr && RegSetValueExW(key.get(), name, 0, type, data, size) == ERROR_SUCCESS;
}

// Deletes every sub-key of path, deepest first.
void deleteSubKeys(const std::u16string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    std::vector<std::u16string> children;
    for (DWORD i = 0;; ++i) {
        WCHAR name[256] = {};
        DWORD length = 256;
        if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.emplace_back(name, length);
    }
    RegCloseKey(key);
    for (const std::u16string& child : children) {
        std::u16string childPath = path + u"\\" + child;
        deleteSubKeys(childPath);
        RegDeleteKeyW(HKEY_CURRENT_USER, childPath.c_str());
    }
}

}  // namespace

DWORD readNumber(const WCHAR* subKey, const WCHAR* name, DWORD defaultValue) {
    DWORD type = 0;
    std::vector<BYTE> bytes;
    if (!queryValue(subKey, name, type, bytes) || type != REG_DWORD || bytes.size() != sizeof(DWORD))
        return defaultValue;
    DWORD value = 0;
    std::memcpy(&value, bytes.data(), sizeof(value));
    return value;
}

std::u16string readText(const WCHAR* subKey, const WCHAR* name, const std::u16string& defaultValue) {
    DWORD type = 0;
    std::vector<BYTE> bytes;
    if (!queryValue(subKey, name, type, bytes) || type != REG_SZ) return defaultValue;
    std::u16string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    size_t end = text.find(u'\0');
    if (end != std::u16string::npos) text.resize(end);
    return text;
}

std::optional<std::vector<BYTE>> readBytes(const WCHAR* subKey, const WCHAR* name) {
    DWORD type = 0;
    std::vector<BYTE> bytes;
    if (!queryValue(subKey, name, type, bytes) || type != REG_BINARY) return std::nullopt;
    return bytes;
}

bool writeNumber(const WCHAR* subKey, const WCHAR* name, DWORD value) {
    return setValue(subKey, name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

bool writeText(const WCHAR* subKey, const WCHAR* name, const std::u16string& value) {
    return setValue(subKey, name, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                    static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
}

bool writeBytes(const WCHAR* subKey, const WCHAR* name, const std::vector<BYTE>& value) {
    return setValue(subKey, name, REG_BINARY, value.data(), static_cast<DWORD>(value.size()));
}

bool deleteValue(const WCHAR* subKey, const WCHAR* name) {
    HKEY key = nullptr;
    std::u16string path = keyPath(subKey);
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS) return false;
    bool deleted = RegDeleteValueW(key, name) == ERROR_SUCCESS;
    RegCloseKey(key);
    return deleted;
}

bool deleteKey(const WCHAR* subKey) {
    std::u16string path = keyPath(subKey);
    deleteSubKeys(path);
    return RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str()) == ERROR_SUCCESS;
}

DWORD readSettingNumber(const WCHAR* name, DWORD defaultValue) {
    return readNumber(kSettingsSubKey, name, defaultValue);
}

bool writeSettingNumber(const WCHAR* name, DWORD value) {
    return writeNumber(kSettingsSubKey, name, value);
}

bool leftHandedAlignment() {
    return readSettingNumber(kSettingButtonAlign, 1) == 0;
}

}  // namespace shell
