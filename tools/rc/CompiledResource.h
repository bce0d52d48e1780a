// What rc compiles a module's inputs into: resources with a type, a name and their bytes, in the
// layout the platform's loaders read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rc {

// An integer id (name empty) or a text name (stored upper-case, as lookups ignore ASCII case).
struct ResourceKey {
    uint16_t id = 0;
    std::u16string name;

    bool isName() const { return !name.empty(); }
    // Integer ids first (by value), then names ordinally: the order the platform's index uses.
    bool operator<(const ResourceKey& other) const {
        if (isName() != other.isName()) return !isName();
        return isName() ? name < other.name : id < other.id;
    }
    bool operator==(const ResourceKey& other) const { return id == other.id && name == other.name; }
};

struct CompiledResource {
    ResourceKey type;
    ResourceKey name;
    std::vector<uint8_t> bytes;
    std::string origin;  // what the resource was made from, for the generated source's comments
};

// The standard numeric resource types rc produces.
constexpr uint16_t kStringType = 6;

}  // namespace rc
