// The device's resource loaders over the registered tables: FindResourceW, LoadResource,
// SizeofResource, LockResource, FreeResource and LoadStringW.
#include <algorithm>
#include <cstring>

#include "ResourceModules.h"
#include "platform/handles.h"
#include "platform/winerror.h"

namespace platform {
namespace {

constexpr unsigned kStringsPerBlock = 16;
constexpr WORD kStringType = 6;  // RT_STRING as a number

struct StringSlot {
    const WCHAR* text;
    size_t length;
};

const ResourceEntry* findEntry(HMODULE module, const ResourceId& type, const ResourceId& name) {
    auto index = resourceIndexOf(module);
    if (!index) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    ResourceIndex::Miss miss = ResourceIndex::Miss::None;
    const ResourceEntry* entry = index->find(type, name, &miss);
    if (entry == nullptr) {
        SetLastError(miss == ResourceIndex::Miss::Type ? ERROR_RESOURCE_TYPE_NOT_FOUND
                                                       : ERROR_RESOURCE_NAME_NOT_FOUND);
    }
    return entry;
}

// The entry behind a resource handle when it belongs to the module's table.
const ResourceEntry* ownedEntry(HMODULE module, HRSRC resource) {
    auto index = resourceIndexOf(module);
    if (!index || resource == nullptr || !index->owns(resource)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return static_cast<const ResourceEntry*>(resource);
}

WORD readWord(const BYTE* at) {
    return static_cast<WORD>(at[0] | (at[1] << 8));
}

// Walks a string block to the slot; an empty slot, or a block too short for its own lengths, holds no
// string.
bool stringInBlock(const ResourceEntry& block, unsigned slot, StringSlot* out) {
    size_t offset = 0;
    for (unsigned i = 0;; ++i) {
        if (offset + 2 > block.size) return false;
        size_t length = readWord(block.data + offset);
        offset += 2;
        if (offset + length * 2 > block.size) return false;
        if (i == slot) {
            *out = {reinterpret_cast<const WCHAR*>(block.data + offset), length};
            return length > 0;
        }
        offset += length * 2;
    }
}

bool findString(HINSTANCE module, UINT id, StringSlot* out) {
    if (id > 0xFFFF) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return false;
    }
    ResourceId name{static_cast<WORD>(id / kStringsPerBlock + 1), nullptr};
    const ResourceEntry* block = findEntry(module, {kStringType, nullptr}, name);
    if (block == nullptr) return false;
    if (!stringInBlock(*block, id % kStringsPerBlock, out)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return false;
    }
    return true;
}

}  // namespace
}  // namespace platform

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
    using namespace platform;
    if (type == nullptr || name == nullptr) {
        SetLastError(type == nullptr ? ERROR_RESOURCE_TYPE_NOT_FOUND : ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const ResourceEntry* entry = findEntry(module, resourceIdOf(type), resourceIdOf(name));
    return const_cast<ResourceEntry*>(entry);
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
    const platform::ResourceEntry* entry = platform::ownedEntry(module, resource);
    return entry == nullptr ? nullptr : const_cast<BYTE*>(entry->data);
}

DWORD SizeofResource(HMODULE module, HRSRC resource) {
    const platform::ResourceEntry* entry = platform::ownedEntry(module, resource);
    return entry == nullptr ? 0 : entry->size;
}

LPVOID LockResource(HGLOBAL data) {
    return data;
}

BOOL FreeResource(HGLOBAL) {
    return FALSE;
}

int LoadStringW(HINSTANCE module, UINT id, LPWSTR buffer, int bufferMax) {
    using namespace platform;
    if (buffer == nullptr || bufferMax < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    StringSlot found{};
    if (!findString(module, id, &found)) {
        if (bufferMax > 0) buffer[0] = 0;
        return 0;
    }
    if (bufferMax == 0) {
        const WCHAR* text = found.text;
        std::memcpy(buffer, &text, sizeof text);  // the caller's buffer holds a pointer, as documented
        return static_cast<int>(found.length);
    }
    size_t copied = std::min(found.length, static_cast<size_t>(bufferMax - 1));
    std::memcpy(buffer, found.text, copied * sizeof(WCHAR));  // the table's bytes, copied as bytes
    buffer[copied] = 0;
    return static_cast<int>(copied);
}
