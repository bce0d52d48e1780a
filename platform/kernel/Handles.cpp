// The process's handle table and the per-thread last error.
#include "platform/handles.h"

#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/winerror.h"

namespace platform {
namespace {

struct HandleTable {
    std::mutex lock;
    std::unordered_map<HANDLE, std::unique_ptr<KernelObject>> objects;
};

HandleTable& table() {
    static HandleTable* instance = new HandleTable;  // never destroyed: handles may close during exit
    return *instance;
}

thread_local DWORD t_lastError = ERROR_SUCCESS;

}  // namespace

HANDLE makeHandle(KernelObject* object) {
    if (object == nullptr) return nullptr;
    HandleTable& t = table();
    std::lock_guard guard(t.lock);
    HANDLE h = static_cast<HANDLE>(object);
    t.objects.emplace(h, std::unique_ptr<KernelObject>(object));
    return h;
}

KernelObject* objectOf(HANDLE handle) {
    HandleTable& t = table();
    std::lock_guard guard(t.lock);
    auto it = t.objects.find(handle);
    if (it == t.objects.end()) {
        t_lastError = ERROR_INVALID_HANDLE;
        return nullptr;
    }
    return it->second.get();
}

}  // namespace platform

BOOL CloseHandle(HANDLE handle) {
    using namespace platform;
    std::unique_ptr<KernelObject> object;
    {
        HandleTable& t = table();
        std::lock_guard guard(t.lock);
        auto it = t.objects.find(handle);
        if (it == t.objects.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        object = std::move(it->second);
        t.objects.erase(it);
    }
    // Closed outside the lock: closing may release other handles.
    return object->close() ? TRUE : FALSE;
}

DWORD GetLastError() { return platform::t_lastError; }
void SetLastError(DWORD error) { platform::t_lastError = error; }
