// Synchronisation and sharing between processes: named mutexes, waits on kernel objects, and named
// file mappings backed by shared memory. Names are per device root: programs using different roots
// never meet.
#pragma once

#include "platform/wintypes.h"

#define WAIT_OBJECT_0 0x00000000u
#define WAIT_ABANDONED 0x00000080u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu

#define PAGE_READONLY 0x02u
#define PAGE_READWRITE 0x04u

#define FILE_MAP_COPY 0x0001u
#define FILE_MAP_WRITE 0x0002u
#define FILE_MAP_READ 0x0004u
#define FILE_MAP_ALL_ACCESS 0x000F001Fu

// Creates or opens a mutex. A named mutex is visible to every process of the device root; when it
// already existed the handle refers to it and the last error is ERROR_ALREADY_EXISTS (else 0), and
// initialOwner is ignored. A new mutex is owned by the calling thread when initialOwner is set.
// NULL on failure (ERROR_INVALID_NAME for an over-long name, ERROR_ACCESS_DENIED when the run
// folder cannot be used).
HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name);
// Gives up one level of the calling thread's ownership; FALSE with ERROR_NOT_OWNER when the thread
// does not own the mutex.
BOOL ReleaseMutex(HANDLE mutex);
// Waits until the object is signalled or the timeout (milliseconds, INFINITE for none) passes.
// Mutex: WAIT_OBJECT_0 when the calling thread now owns it (recursively), WAIT_ABANDONED when it
// took it over from a process that ended while owning it. Process: WAIT_OBJECT_0 once it ended.
// WAIT_TIMEOUT when the time passed; WAIT_FAILED with ERROR_INVALID_HANDLE for a handle that
// cannot be waited on. Waits are real waits, also on the virtual clock.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);

// Creates or opens a mapping. Only memory backed by no file is supported: file must be
// INVALID_HANDLE_VALUE (else NULL with ERROR_NOT_SUPPORTED), protect PAGE_READWRITE or
// PAGE_READONLY, size nonzero. New memory is zero. A named mapping is shared with every process of
// the device root that holds a handle or view of it; when it already existed, the handle refers to
// it (with its original size) and the last error is ERROR_ALREADY_EXISTS (else 0). It ends when
// the last holder in any process closes its handle and views or ends.
HANDLE CreateFileMappingW(HANDLE file, LPSECURITY_ATTRIBUTES attributes, DWORD protect, DWORD sizeHigh,
                          DWORD sizeLow, LPCWSTR name);
// Maps bytes (0: to the end) at any byte offset of the mapping and returns their address, which
// UnmapViewOfFile takes back. NULL with ERROR_INVALID_PARAMETER when the range is empty or passes
// the end, ERROR_ACCESS_DENIED for write access to a read-only mapping, ERROR_INVALID_HANDLE for a
// handle that is not a mapping. The view keeps the mapping alive after its handle closes.
LPVOID MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow, DWORD bytes);
// Unmaps a view by the address MapViewOfFile returned; FALSE with ERROR_INVALID_ADDRESS otherwise.
BOOL UnmapViewOfFile(LPCVOID address);

namespace platform {

// True while any process of the device root holds a handle to the named mutex.
bool namedMutexExists(LPCWSTR name);

}  // namespace platform
