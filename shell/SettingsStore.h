// The program's own values in the current user's registry, under
// "Software\Varkel\Brimwell Dashel\Settings": reading and writing numbers with defaults.
#pragma once

#include "platform/wintypes.h"

namespace shell {

inline constexpr const WCHAR* kSettingsKey = u"Software\\Varkel\\Brimwell Dashel\\Settings";
inline constexpr const WCHAR* kSettingButtonAlign = u"BtnAlign";
inline constexpr const WCHAR* kSettingVibration = u"BtnVibro";
inline constexpr const WCHAR* kSettingAccount = u"AcctID";

// The number value; defaultValue when the key or value is missing or is not a 32-bit number.
DWORD readSettingNumber(const WCHAR* name, DWORD defaultValue);
// Creates or opens the key and sets the number. False when the registry refuses.
bool writeSettingNumber(const WCHAR* name, DWORD value);

// "BtnAlign": 0 left-handed, 1 right-handed (the default; any other value counts as 1).
bool leftHandedAlignment();

}  // namespace shell
