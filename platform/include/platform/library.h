// Loading libraries at run time: LoadLibraryW, GetProcAddress and FreeLibrary. "coredll.dll", the
// device's system library, is the platform itself; other names are shared libraries on Linux.
#pragma once

#include "platform/wintypes.h"

#ifndef ERROR_MOD_NOT_FOUND
#define ERROR_MOD_NOT_FOUND 126L
#endif
#ifndef ERROR_PROC_NOT_FOUND
#define ERROR_PROC_NOT_FOUND 127L
#endif

// An export's address, to be cast to its real type. void (*)() is the generic function pointer the
// compiler lets callers cast without a cast-function-type warning.
typedef void (*FARPROC)();

// Loads a library and returns its module handle (the same handle GetModuleHandleW and the resource
// loaders use), counting loads. "coredll.dll" (any folder, any case) gives the platform's own
// module. A device path ("\windows\X.dll") maps into the device root, a bare name looks in the device
// root's windows/ folder, and a path starting with '/' is a host path. For "X.dll" the files "X.dll",
// "libX.so" and "X.so" are tried in that folder, names compared without regard to case. NULL with
// ERROR_MOD_NOT_FOUND when no file is found, ERROR_BAD_FORMAT when the file is not a loadable
// library (the loader's reason is written to stderr), ERROR_INVALID_PARAMETER for NULL.
HMODULE LoadLibraryW(LPCWSTR fileName);

// The address of a C export of a loaded module (a LoadLibraryW result, or any handle
// GetModuleHandleW gives). An ordinal n, passed as MAKEINTRESOURCEW(n), finds the export named
// "Ordinal<n>" (for example "Ordinal240"), as Linux libraries carry no ordinals. NULL with
// ERROR_PROC_NOT_FOUND when there is no such export, ERROR_INVALID_HANDLE for an unknown module.
FARPROC GetProcAddressW(HMODULE module, LPCWSTR procName);
FARPROC GetProcAddressA(HMODULE module, LPCSTR procName);
inline FARPROC GetProcAddress(HMODULE module, LPCWSTR procName) {
    return GetProcAddressW(module, procName);
}
inline FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    return GetProcAddressA(module, procName);
}

// Drops one load of a LoadLibraryW module; the library is unloaded after its last one. FALSE with
// ERROR_INVALID_HANDLE for a handle that LoadLibraryW did not give or that is already freed. The
// platform's own module is never unloaded (TRUE).
BOOL FreeLibrary(HMODULE module);

#define LoadLibrary LoadLibraryW
