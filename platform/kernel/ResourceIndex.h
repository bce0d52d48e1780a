// The sorted index of one module's resource table: validates the table once and finds a resource by
// type and name in logarithmic time.
#pragma once

#include <optional>
#include <vector>

#include "platform/resources.h"

namespace platform {

// Orders resource ids as the index does: integer ids first (by value), then text names compared
// ordinally after ASCII upper-casing. Returns <0, 0 or >0.
int compareResourceIds(const ResourceId& a, const ResourceId& b);

// The resource id that a type or name argument of FindResourceW stands for: an integer resource,
// "#123" (the integer id 123) or a text name. The result's text points into the argument.
ResourceId resourceIdOf(LPCWSTR typeOrName);

class ResourceIndex {
  public:
    enum class Miss { None, Type, Name };

    // The index of the table, or nothing when the table is malformed (see registerModuleResources).
    static std::optional<ResourceIndex> build(const ResourceTable& table);

    // The entry with that type and name, or nullptr with miss telling whether the type or only the
    // name was missing.
    const ResourceEntry* find(const ResourceId& type, const ResourceId& name, Miss* miss) const;

    // True when the entry is one of this table's entries.
    bool owns(const void* entry) const;

  private:
    explicit ResourceIndex(const ResourceTable& table) : m_table(table) {}

    ResourceTable m_table;
    std::vector<const ResourceEntry*> m_sorted;
};

}  // namespace platform
