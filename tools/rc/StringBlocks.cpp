// Building the string blocks of a module.
#include "StringBlocks.h"

namespace rc {
namespace {

constexpr unsigned kStringsPerBlock = 16;

void appendWord(uint16_t word, std::vector<uint8_t>* bytes) {
    bytes->push_back(static_cast<uint8_t>(word & 0xFF));
    bytes->push_back(static_cast<uint8_t>(word >> 8));
}

CompiledResource packBlock(unsigned block, const StringTable& table) {
    CompiledResource resource;
    resource.type.id = kStringType;
    resource.name.id = static_cast<uint16_t>(block + 1);
    unsigned first = block * kStringsPerBlock;
    resource.origin = "strings " + std::to_string(first) + "-" + std::to_string(first + kStringsPerBlock - 1);
    for (unsigned id = first; id < first + kStringsPerBlock; ++id) {
        auto it = table.find(static_cast<uint16_t>(id));
        const std::u16string empty;
        const std::u16string& text = it == table.end() ? empty : it->second.text;
        appendWord(static_cast<uint16_t>(text.size()), &resource.bytes);
        for (char16_t c : text)
            appendWord(c, &resource.bytes);
    }
    return resource;
}

}  // namespace

std::vector<CompiledResource> buildStringBlocks(const StringTable& table) {
    std::vector<CompiledResource> blocks;
    for (auto it = table.begin(); it != table.end();) {
        unsigned block = it->first / kStringsPerBlock;
        blocks.push_back(packBlock(block, table));
        unsigned next = (block + 1) * kStringsPerBlock;
        it = next > 0xFFFF ? table.end() : table.lower_bound(static_cast<uint16_t>(next));
    }
    return blocks;
}

}  // namespace rc
