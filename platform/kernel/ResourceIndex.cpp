// Validation and lookup of a module's resource table.
#include "ResourceIndex.h"

#include <algorithm>

namespace platform {
namespace {

char16_t upperAscii(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
}

int compareNames(const WCHAR* a, const WCHAR* b) {
    for (;; ++a, ++b) {
        char16_t x = upperAscii(*a);
        char16_t y = upperAscii(*b);
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
}

bool validId(const ResourceId& id) {
    return id.name == nullptr || id.name[0] != 0;
}

// "#123": the integer id 123; anything else is not a number.
std::optional<WORD> numberName(const WCHAR* text) {
    if (text[0] != u'#' || text[1] == 0) return std::nullopt;
    unsigned value = 0;
    for (const WCHAR* p = text + 1; *p != 0; ++p) {
        if (*p < u'0' || *p > u'9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(*p - u'0');
        if (value > 0xFFFF) return std::nullopt;
    }
    return static_cast<WORD>(value);
}

}  // namespace

int compareResourceIds(const ResourceId& a, const ResourceId& b) {
    if (a.name == nullptr && b.name == nullptr) return a.id == b.id ? 0 : (a.id < b.id ? -1 : 1);
    if (a.name == nullptr) return -1;
    if (b.name == nullptr) return 1;
    return compareNames(a.name, b.name);
}

ResourceId resourceIdOf(LPCWSTR typeOrName) {
    if (IS_INTRESOURCE(typeOrName))
        return {static_cast<WORD>(reinterpret_cast<uintptr_t>(typeOrName)), nullptr};
    if (auto number = numberName(typeOrName)) return {*number, nullptr};
    return {0, typeOrName};
}

std::optional<ResourceIndex> ResourceIndex::build(const ResourceTable& table) {
    if (table.count > 0 && table.entries == nullptr) return std::nullopt;
    ResourceIndex index(table);
    index.m_sorted.reserve(table.count);
    for (size_t i = 0; i < table.count; ++i) {
        const ResourceEntry& e = table.entries[i];
        if (e.data == nullptr || !validId(e.type) || !validId(e.name)) return std::nullopt;
        index.m_sorted.push_back(&e);
    }
    auto less = [](const ResourceEntry* a, const ResourceEntry* b) {
        int byType = compareResourceIds(a->type, b->type);
        return byType != 0 ? byType < 0 : compareResourceIds(a->name, b->name) < 0;
    };
    std::sort(index.m_sorted.begin(), index.m_sorted.end(), less);
    auto same = [](const ResourceEntry* a, const ResourceEntry* b) {
        return compareResourceIds(a->type, b->type) == 0 && compareResourceIds(a->name, b->name) == 0;
    };
    if (std::adjacent_find(index.m_sorted.begin(), index.m_sorted.end(), same) != index.m_sorted.end()) {
        return std::nullopt;
    }
    return index;
}

const ResourceEntry* ResourceIndex::find(const ResourceId& type, const ResourceId& name, Miss* miss) const {
    auto byType = [](const ResourceEntry* e, const ResourceId& t) {
        return compareResourceIds(e->type, t) < 0;
    };
    auto first = std::lower_bound(m_sorted.begin(), m_sorted.end(), type, byType);
    if (first == m_sorted.end() || compareResourceIds((*first)->type, type) != 0) {
        *miss = Miss::Type;
        return nullptr;
    }
    auto byName = [&type](const ResourceEntry* e, const ResourceId& n) {
        return compareResourceIds(e->type, type) == 0 && compareResourceIds(e->name, n) < 0;
    };
    auto it = std::lower_bound(first, m_sorted.end(), name, byName);
    if (it == m_sorted.end() || compareResourceIds((*it)->type, type) != 0 ||
        compareResourceIds((*it)->name, name) != 0) {
        *miss = Miss::Name;
        return nullptr;
    }
    *miss = Miss::None;
    return *it;
}

bool ResourceIndex::owns(const void* entry) const {
    if (m_table.entries == nullptr) return false;
    auto address = reinterpret_cast<uintptr_t>(entry);
    auto first = reinterpret_cast<uintptr_t>(m_table.entries);
    auto end = reinterpret_cast<uintptr_t>(m_table.entries + m_table.count);
    return address >= first && address < end && (address - first) % sizeof(ResourceEntry) == 0;
}

}  // namespace platform
