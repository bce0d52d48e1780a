// The device registry: hives of keys and typed values, kept as text files in the device root
// (registry/HKCU.hive, registry/HKLM.hive ...), written through on every change and shared between
// processes.
#pragma once

#include "platform/wintypes.h"

typedef DWORD REGSAM;
typedef HKEY* PHKEY;

#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000000u)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000001u)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000002u)))
#define HKEY_USERS (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000003u)))

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_DWORD_LITTLE_ENDIAN 4
#define REG_DWORD_BIG_ENDIAN 5
#define REG_LINK 6
#define REG_MULTI_SZ 7
#define REG_QWORD 11

#define REG_OPTION_RESERVED 0x0
#define REG_OPTION_NON_VOLATILE 0x0
#define REG_OPTION_VOLATILE 0x1
#define REG_CREATED_NEW_KEY 0x1
#define REG_OPENED_EXISTING_KEY 0x2

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_CREATE_LINK 0x0020
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_EXECUTE 0x20019
#define KEY_ALL_ACCESS 0xF003F

// Key and value names are compared without regard to case (Latin, Greek and Cyrillic letters), and
// kept with the case they were first given. Key paths are separated by backslashes; empty parts
// ("Software\Varkel\") are skipped. A key name is at most 255 characters, a value name 16383, a
// value's data 1 MiB, and keys nest at most 512 levels; a hive holds at most 100,000 keys and values
// in a file of at most 16 MiB (a hive file beyond these limits is set aside like a damaged one).
// Access masks are accepted and not enforced, as on the device. Every function returns ERROR_SUCCESS
// or an error code: ERROR_INVALID_HANDLE for a handle that is not open, ERROR_KEY_DELETED when the key
// behind an open handle was deleted, ERROR_INVALID_PARAMETER for missing or malformed arguments (a name,
// a value or a depth beyond its limit), ERROR_OUTOFMEMORY when the change would take the hive beyond
// its limits, ERROR_CANTWRITE when the hive file cannot be written (the change is then not made).

// Opens the existing key subKey under key (null or empty: key itself) into *result.
// ERROR_FILE_NOT_FOUND when it does not exist.
LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
// Opens subKey, creating it and any missing parent keys. *disposition (when not null) tells
// REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY.
LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options, REGSAM access,
                     LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition);
// Closes a handle from RegOpenKeyExW/RegCreateKeyExW; predefined keys close successfully.
LONG RegCloseKey(HKEY key);
// Changes are already on disk when each call returns; succeeds for any open key.
LONG RegFlushKey(HKEY key);
// Reads a value (null or empty name: the key's default value). type and data may be null. With data
// null and size not null, *size receives the bytes needed. When *size is too small: ERROR_MORE_DATA,
// *size the bytes needed, data untouched. A missing value: ERROR_FILE_NOT_FOUND. REG_SZ sizes count
// bytes, the terminating NUL included as it was stored. data without size: ERROR_INVALID_PARAMETER.
LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);
// Stores size bytes of data as the value's contents, exactly as given.
LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
// ERROR_FILE_NOT_FOUND when the value does not exist.
LONG RegDeleteValueW(HKEY key, LPCWSTR valueName);
// Deletes subKey with all its values and, as the device does, all its subkeys. subKey must name a
// key (null or empty: ERROR_INVALID_PARAMETER); ERROR_FILE_NOT_FOUND when it does not exist.
LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey);
// Enumerates values in name order: name (characters, *nameLength in/out without the NUL), type, data
// and size as RegQueryValueExW. ERROR_NO_MORE_ITEMS past the last; ERROR_MORE_DATA when the name or
// data buffer is too small.
LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved, LPDWORD type,
                   LPBYTE data, LPDWORD size);
// Enumerates subkeys in name order; class and time outputs, when given, are empty / zero.
LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved, LPWSTR keyClass,
                   LPDWORD classLength, PFILETIME lastWriteTime);

namespace platform {
// Drops every cached hive so the next call reads the files again (tests that replace hive files).
void registryReset();
}  // namespace platform
