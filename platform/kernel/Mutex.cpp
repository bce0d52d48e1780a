// The mutex API: CreateMutexW, ReleaseMutex, mutex handles and the existence test of named mutexes.
#include <memory>

#include "FileLocks.h"
#include "MutexCore.h"
#include "Waitable.h"
#include "platform/device.h"
#include "platform/sync.h"
#include "platform/winerror.h"

namespace platform {
namespace {

// Longest mutex name accepted, in UTF-16 units (the device's MAX_PATH).
constexpr size_t kMaxNameLength = MAX_PATH;

class MutexHandle : public Waitable {
  public:
    explicit MutexHandle(std::shared_ptr<MutexCore> core) : m_core(std::move(core)) {}
    DWORD wait(DWORD milliseconds) override { return m_core->acquire(milliseconds); }
    bool release() { return m_core->release(); }

  private:
    std::shared_ptr<MutexCore> m_core;
};

size_t nameLength(LPCWSTR name) {
    size_t length = 0;
    while (name != nullptr && name[length] != 0)
        ++length;
    return length;
}

}  // namespace

bool namedMutexExists(LPCWSTR name) {
    if (nameLength(name) == 0 || nameLength(name) > kMaxNameLength) return false;
    const std::string key = objectNameKey(name);
    const std::string folder = runFolder();
    RunGate gate(folder, "mutex-" + key + ".gate");
    RunLockFile probe(folder, "mutex-" + key + ".hold", RunLockFile::Mode::existingOnly);
    if (!probe.valid()) return false;
    return !probe.tryLockExclusive();
}

}  // namespace platform

HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCWSTR name) {
    using namespace platform;
    const size_t length = nameLength(name);
    if (length > kMaxNameLength) {
        SetLastError(ERROR_INVALID_NAME);
        return nullptr;
    }
    bool existed = false;
    std::shared_ptr<MutexCore> core =
        length == 0 ? std::make_shared<MutexCore>() : joinNamedMutex(objectNameKey(name), existed);
    if (!core) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    if (initialOwner && !existed) core->acquire(INFINITE);
    HANDLE handle = makeHandle(new MutexHandle(std::move(core)));
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL ReleaseMutex(HANDLE mutex) {
    auto* handle = platform::handleAs<platform::MutexHandle>(mutex);
    if (handle == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!handle->release()) {
        SetLastError(ERROR_NOT_OWNER);
        return FALSE;
    }
    return TRUE;
}
