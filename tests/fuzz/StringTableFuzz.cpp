// String tables and text resources of rc: any text is read or reported line by line, and every string
// read comes back unchanged through LoadStringW from the string blocks rc packs.
#include <sstream>

#include "FuzzSupport.h"
#include "StringBlocks.h"
#include "StringTableFile.h"
#include "TextResources.h"
#include "platform/resources.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::silenceErrorReports();
    return 0;
}

namespace {

// Loads every string of the table from its packed blocks and compares.
void checkLoadedStrings(const rc::StringTable& table) {
    std::vector<rc::CompiledResource> blocks = rc::buildStringBlocks(table);
    std::vector<platform::ResourceEntry> entries;
    for (const rc::CompiledResource& block : blocks)
        entries.push_back({{rc::kStringType, nullptr},
                           {block.name.id, nullptr},
                           block.bytes.data(),
                           static_cast<DWORD>(block.bytes.size())});
    auto module = reinterpret_cast<HINSTANCE>(uintptr_t{0x51000});
    fuzz::check(platform::registerModuleResources(module, {entries.data(), entries.size()}),
                "the packed blocks form a valid resource table");
    static std::vector<WCHAR> buffer(0x10001);
    for (const auto& [id, definition] : table) {
        int length = LoadStringW(module, id, buffer.data(), static_cast<int>(buffer.size()));
        fuzz::check(std::u16string(buffer.data(), static_cast<size_t>(length)) == definition.text,
                    "LoadStringW gives each string as it was read");
    }
    platform::unregisterModuleResources(module);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text = fuzz::textOf(data, size);
    rc::Diagnostics diagnostics;
    rc::StringTable table;
    std::istringstream in(text);
    rc::readStringTable(in, "strings.txt", &table, diagnostics);
    checkLoadedStrings(table);
    auto bytes = rc::textResourceBytes(text, "text.txt", diagnostics);
    fuzz::check(!bytes || (bytes->size() >= 2 && bytes->size() % 2 == 0),
                "a text resource is UTF-16 with its mark");
    return 0;
}
