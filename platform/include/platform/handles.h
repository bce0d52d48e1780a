// Kernel handles: every object that CloseHandle closes (mutexes, file mappings, files, processes,
// databases) derives from KernelObject; the calling thread's last error.
#pragma once

#include "platform/wintypes.h"

namespace platform {

// Base of every object behind a HANDLE. The handle is the object's address; CloseHandle destroys it.
class KernelObject {
public:
    virtual ~KernelObject() = default;
    // Called by CloseHandle before the object is destroyed; false makes CloseHandle fail.
    virtual bool close() { return true; }
};

// Registers the object and returns its handle. Ownership passes to the handle table.
HANDLE makeHandle(KernelObject* object);

// The object behind the handle when it is a live handle of type T, else nullptr (last error set to
// ERROR_INVALID_HANDLE).
KernelObject* objectOf(HANDLE handle);
template <class T>
T* handleAs(HANDLE handle) {
    return dynamic_cast<T*>(objectOf(handle));
}

}  // namespace platform

// Closes a handle made by makeHandle. FALSE with ERROR_INVALID_HANDLE for an unknown handle.
BOOL CloseHandle(HANDLE handle);
DWORD GetLastError();
void SetLastError(DWORD error);
