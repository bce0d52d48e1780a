// Module resources: each program or shared library carries one constant resource table (compiled by
// tools/rc), registered under its module handle; the device's loaders (LoadStringW, FindResourceW, ...)
// read the table of the module they are given.
#pragma once

#include "platform/wintypes.h"

// Standard resource types, as integer resource ids.
#define RT_CURSOR MAKEINTRESOURCEW(1)
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_MENU MAKEINTRESOURCEW(4)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_ACCELERATOR MAKEINTRESOURCEW(9)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCEW(12)
#define RT_GROUP_ICON MAKEINTRESOURCEW(14)

#ifndef ERROR_MOD_NOT_FOUND
#define ERROR_MOD_NOT_FOUND 126L
#endif

namespace platform {

// A resource's type or name: an integer id (name == nullptr) or a text name. Text names are matched
// without regard to ASCII case, as the device does.
struct ResourceId {
    WORD id;
    const WCHAR* name;
};

// One resource: its type, its name and its bytes. String tables are stored as the device stores
// them: type RT_STRING, name (string id / 16) + 1, a block of 16 slots, each a 16-bit length followed
// by that many UTF-16 characters without terminator (an empty slot is a zero length).
struct ResourceEntry {
    ResourceId type;
    ResourceId name;
    const BYTE* data;
    DWORD size;
};

// A module's resources: constant data that lives as long as the module is loaded.
struct ResourceTable {
    const ResourceEntry* entries;
    size_t count;
};

// Makes the table the resources of the module (replacing any table registered before under that
// handle). The table is not copied and must outlive the registration. Returns false, and registers
// nothing, when the module is NULL or the table is malformed (two entries with the same type and
// name, an entry without data, a text name of a type or a resource that is empty).
bool registerModuleResources(HINSTANCE module, const ResourceTable& table);

// Forgets the module's table; its resources can no longer be found. Nothing happens for an unknown
// module.
void unregisterModuleResources(HINSTANCE module);

// The handle of the program or shared library that holds the address (its load address), or NULL
// when the address belongs to no loaded module.
HINSTANCE moduleOf(const void* addressInModule);

}  // namespace platform

// The handle of a loaded module: NULL gives the main program. A name is matched against the file
// names of the loaded modules without regard to case and folder; a device name "X.dll" or "X.exe"
// also finds the Linux module "libX.so" or "X". NULL with ERROR_MOD_NOT_FOUND when none matches.
HMODULE GetModuleHandleW(LPCWSTR moduleName);

// Finds a resource by name and type (integer ids made with MAKEINTRESOURCEW, text names, or "#123"
// for the integer id 123). A NULL module means the main program. Returns NULL with
// ERROR_RESOURCE_DATA_NOT_FOUND when the module has no resource table, ERROR_RESOURCE_TYPE_NOT_FOUND
// when no resource has that type, ERROR_RESOURCE_NAME_NOT_FOUND when the type has no such name.
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);

// The data handle of a resource found in the module; NULL with ERROR_INVALID_HANDLE when the
// resource handle does not belong to the module's table.
HGLOBAL LoadResource(HMODULE module, HRSRC resource);

// Size in bytes of a resource found in the module; 0 with ERROR_INVALID_HANDLE for a foreign handle.
DWORD SizeofResource(HMODULE module, HRSRC resource);

// Address of the resource's bytes (read-only; valid while the module is loaded); NULL for NULL.
LPVOID LockResource(HGLOBAL data);

// Resources need no freeing; kept for the device's API. Always returns FALSE (success).
BOOL FreeResource(HGLOBAL data);

// Loads string id of the module (NULL: the main program).
// bufferMax > 0: copies at most bufferMax - 1 characters, always terminates, and returns the number of
// characters copied without the terminator (a longer string is cut).
// bufferMax == 0: buffer receives a read-only pointer to the string inside the resource table (it is
// NOT NUL-terminated); the result is the string's length. The device's other form, a NULL buffer
// whose result is the pointer itself, cannot carry a 64-bit pointer in an int and is refused.
// Returns 0 when the string does not exist (ERROR_RESOURCE_NAME_NOT_FOUND, or
// ERROR_RESOURCE_DATA_NOT_FOUND for a module without table; buffer[0] is then set to 0 when
// bufferMax > 0), and 0 with ERROR_INVALID_PARAMETER for a NULL buffer or a negative bufferMax.
int LoadStringW(HINSTANCE module, UINT id, LPWSTR buffer, int bufferMax);

#define GetModuleHandle GetModuleHandleW
#define FindResource FindResourceW
#define LoadString LoadStringW
