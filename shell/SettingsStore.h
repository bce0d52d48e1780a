// The program's own values in the current user's registry, under "Software\Varkel\Brimwell Dashel\"
// and a sub-key (all of them under "Settings"): numbers, texts and raw bytes with defaults, and
// deleting values and keys.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/wintypes.h"

namespace shell {

inline constexpr const WCHAR* kProgramKey = u"Software\\Varkel\\Brimwell Dashel";
inline constexpr const WCHAR* kSettingsSubKey = u"Settings";
inline constexpr const WCHAR* kSettingsKey = u"Software\\Varkel\\Brimwell Dashel\\Settings";

// The values under "Settings" and what a missing one counts as.
inline constexpr const WCHAR* kSettingAbcType = u"AbcType";       // number, -1: from the locale
inline constexpr const WCHAR* kSettingAbcCustom = u"AbcCustom";   // raw UTF-16 text, no terminator
inline constexpr const WCHAR* kSettingVibration = u"BtnVibro";    // number, 0
inline constexpr const WCHAR* kSettingButtonAlign = u"BtnAlign";  // number, 1 (right-handed)
inline constexpr const WCHAR* kSettingAccount = u"AcctID";        // number, 0

// Reads under the program's key and subKey. A number is defaultValue when the key or value is missing
// or is not a 32-bit number; a text is defaultValue unless the value is a string; raw bytes are empty
// (nullopt) unless the value is a raw byte value.
DWORD readNumber(const WCHAR* subKey, const WCHAR* name, DWORD defaultValue);
std::u16string readText(const WCHAR* subKey, const WCHAR* name, const std::u16string& defaultValue);
std::optional<std::vector<BYTE>> readBytes(const WCHAR* subKey, const WCHAR* name);
// Create or open the key and set the value. False when the registry refuses.
bool writeNumber(const WCHAR* subKey, const WCHAR* name, DWORD value);
bool writeText(const WCHAR* subKey, const WCHAR* name, const std::u16string& value);
bool writeBytes(const WCHAR* subKey, const WCHAR* name, const std::vector<BYTE>& value);
// Deletes one value; false when it (or its key) does not exist.
bool deleteValue(const WCHAR* subKey, const WCHAR* name);
// Deletes subKey with all its sub-keys, deepest first; false when it does not exist.
bool deleteKey(const WCHAR* subKey);

// The same under "Settings".
DWORD readSettingNumber(const WCHAR* name, DWORD defaultValue);
bool writeSettingNumber(const WCHAR* name, DWORD value);

// "BtnAlign": 0 left-handed, 1 right-handed (the default; any other value counts as 1).
bool leftHandedAlignment();

}  // namespace shell
