// Reading of text resources and of resource keys from file names.
#include "TextResources.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <utility>

#include "Utf8.h"

namespace rc {

std::optional<ResourceKey> parseResourceKey(const std::string& text) {
    if (text.empty()) return std::nullopt;
    bool digits = text.find_first_not_of("0123456789") == std::string::npos;
    if (digits) {
        if (text.size() > 5 || std::stoul(text) > 0xFFFF) return std::nullopt;
        return ResourceKey{static_cast<uint16_t>(std::stoul(text)), {}};
    }
    ResourceKey key;
    for (char c : text) {
        bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!letter && !(c >= '0' && c <= '9') && c != '_') return std::nullopt;
        key.name.push_back(static_cast<char16_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
    }
    return key;
}

std::optional<std::vector<uint8_t>> readTextResource(const std::string& path, const std::string& fileName,
                                                     Diagnostics& diagnostics) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        diagnostics.error(fileName, 0, "cannot be read");
        return std::nullopt;
    }
    std::string utf8((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return textResourceBytes(std::move(utf8), fileName, diagnostics);
}

std::optional<std::vector<uint8_t>> textResourceBytes(std::string utf8, const std::string& fileName,
                                                      Diagnostics& diagnostics) {
    if (utf8.rfind("\xEF\xBB\xBF", 0) == 0) utf8.erase(0, 3);
    if (!utf8.empty() && utf8.back() == '\n') {
        utf8.pop_back();
        if (!utf8.empty() && utf8.back() == '\r') utf8.pop_back();
    }
    std::u16string text = u"\uFEFF";
    size_t badOffset = 0;
    if (!appendUtf8(utf8, &text, &badOffset)) {
        int line =
            1 + static_cast<int>(std::count(utf8.begin(), utf8.begin() + static_cast<long>(badOffset), '\n'));
        diagnostics.error(fileName, line, "malformed UTF-8");
        return std::nullopt;
    }
    std::vector<uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return bytes;
}

}  // namespace rc
