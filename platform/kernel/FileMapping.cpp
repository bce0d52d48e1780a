// The file-mapping API: CreateFileMappingW, mapping handles, and views at any byte offset, each view
// keeping its section alive until it is unmapped.
#include <sys/mman.h>
#include <unistd.h>

#include <map>
#include <mutex>

#include "FileLocks.h"
#include "FileMappingSection.h"
#include "platform/handles.h"
#include "platform/sync.h"
#include "platform/winerror.h"

namespace platform {
namespace {

constexpr size_t kMaxNameLength = MAX_PATH;

class MappingHandle : public KernelObject {
  public:
    MappingHandle(std::shared_ptr<MappingSection> section, bool writable)
        : m_section(std::move(section)), m_writable(writable) {}
    const std::shared_ptr<MappingSection>& section() const { return m_section; }
    bool writable() const { return m_writable; }

  private:
    std::shared_ptr<MappingSection> m_section;
    bool m_writable;
};

struct View {
    void* base;
    size_t length;
    std::shared_ptr<MappingSection> section;
};

struct ViewTable {
    std::mutex lock;
    std::map<const void*, View> byAddress;  // keyed by the address handed to the caller
};

ViewTable& views() {
    static ViewTable* instance = new ViewTable;  // never destroyed: views may be unmapped during exit
    return *instance;
}

size_t nameLength(LPCWSTR name) {
    size_t length = 0;
    while (name != nullptr && name[length] != 0)
        ++length;
    return length;
}

LPVOID fail(DWORD error) {
    SetLastError(error);
    return nullptr;
}

}  // namespace
}  // namespace platform

HANDLE CreateFileMappingW(HANDLE file, LPSECURITY_ATTRIBUTES, DWORD protect, DWORD sizeHigh, DWORD sizeLow,
                          LPCWSTR name) {
    using namespace platform;
    const uint64_t size = (uint64_t{sizeHigh} << 32) | sizeLow;
    const size_t length = nameLength(name);
    if (file != INVALID_HANDLE_VALUE) return fail(ERROR_NOT_SUPPORTED);
    if ((protect != PAGE_READWRITE && protect != PAGE_READONLY) || size == 0)
        return fail(ERROR_INVALID_PARAMETER);
    if (length > kMaxNameLength) return fail(ERROR_INVALID_NAME);
    SectionOpen opened =
        length == 0 ? createUnnamedSection(size) : joinNamedSection(objectNameKey(name), size);
    if (!opened.section) return fail(opened.error);
    HANDLE handle = makeHandle(new MappingHandle(std::move(opened.section), protect == PAGE_READWRITE));
    SetLastError(opened.existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

LPVOID MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow, DWORD bytes) {
    using namespace platform;
    auto* handle = handleAs<MappingHandle>(mapping);
    if (handle == nullptr) return fail(ERROR_INVALID_HANDLE);
    const bool copy = desiredAccess == FILE_MAP_COPY;
    const bool write = (desiredAccess & FILE_MAP_WRITE) != 0;
    if (write && !handle->writable()) return fail(ERROR_ACCESS_DENIED);
    const uint64_t size = handle->section()->size();
    const uint64_t offset = (uint64_t{offsetHigh} << 32) | offsetLow;
    const uint64_t length = bytes == 0 && offset < size ? size - offset : bytes;
    if (length == 0 || offset > size || length > size - offset) return fail(ERROR_INVALID_PARAMETER);

    static const uint64_t kPage = static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
    const uint64_t lead = offset % kPage;  // the view starts inside its first page
    const int protection = PROT_READ | (write || copy ? PROT_WRITE : 0);
    void* base = mmap(nullptr, lead + length, protection, copy ? MAP_PRIVATE : MAP_SHARED,
                      handle->section()->fd(), static_cast<off_t>(offset - lead));
    if (base == MAP_FAILED) return fail(ERROR_NOT_ENOUGH_MEMORY);
    void* address = static_cast<char*>(base) + lead;
    ViewTable& table = views();
    std::lock_guard guard(table.lock);
    table.byAddress.emplace(address, View{base, static_cast<size_t>(lead + length), handle->section()});
    return address;
}

BOOL UnmapViewOfFile(LPCVOID address) {
    using namespace platform;
    View view{};
    {
        ViewTable& table = views();
        std::lock_guard guard(table.lock);
        auto it = table.byAddress.find(address);
        if (it == table.byAddress.end()) {
            SetLastError(ERROR_INVALID_ADDRESS);
            return FALSE;
        }
        view = std::move(it->second);
        table.byAddress.erase(it);
    }
    munmap(view.base, view.length);
    return TRUE;  // the section is released outside the table's lock: it may tear down shared memory
}
