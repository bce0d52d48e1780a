// Parsing of "ID<TAB>text" string-table lines with their escapes.
#include "StringTableFile.h"

#include <fstream>
#include <optional>

#include "Utf8.h"

namespace rc {
namespace {

constexpr size_t kMaxStringLength = 0xFFFF;  // the length word of a string-table slot

struct LineContext {
    const std::string& file;
    int line;
    Diagnostics& diagnostics;

    void error(const std::string& reason) const { diagnostics.error(file, line, reason); }
};

std::optional<uint16_t> parseId(const std::string& text) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    unsigned value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > 0xFFFF) return std::nullopt;
    return static_cast<uint16_t>(value);
}

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// Decodes the escape that starts at raw[i] (a backslash); returns the character it stands for and
// moves i past it, or nothing for a bad escape.
std::optional<char16_t> decodeEscape(const std::u16string& raw, size_t* i) {
    if (*i + 1 >= raw.size()) return std::nullopt;
    char16_t kind = raw[*i + 1];
    *i += 2;
    switch (kind) {
        case u't':
            return u'\t';
        case u'n':
            return u'\n';
        case u'r':
            return u'\r';
        case u'\\':
            return u'\\';
        case u'"':
            return u'"';
        case u'u':
            break;
        default:
            return std::nullopt;
    }
    if (*i + 4 > raw.size()) return std::nullopt;
    unsigned value = 0;
    for (size_t k = 0; k < 4; ++k) {
        int digit = hexDigit(raw[*i + k]);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    *i += 4;
    return static_cast<char16_t>(value);
}

std::optional<std::u16string> decodeText(const std::string& utf8, const LineContext& at) {
    std::u16string raw;
    size_t badOffset = 0;
    if (!appendUtf8(utf8, &raw, &badOffset)) {
        at.error("malformed UTF-8 at byte " + std::to_string(badOffset + 1) + " of the text");
        return std::nullopt;
    }
    std::u16string text;
    for (size_t i = 0; i < raw.size();) {
        if (raw[i] != u'\\') {
            text.push_back(raw[i++]);
            continue;
        }
        size_t start = i;
        auto decoded = decodeEscape(raw, &i);
        if (!decoded || *decoded == 0) {
            at.error("bad escape at character " + std::to_string(start + 1) +
                     " of the text (use \\t \\n \\r \\\\ \\\" or \\uXXXX, not NUL)");
            return std::nullopt;
        }
        text.push_back(*decoded);
    }
    return text;
}

void readLine(const std::string& line, const LineContext& at, StringTable* table) {
    size_t tab = line.find('\t');
    if (tab == std::string::npos) {
        at.error("expected a string id, a tab and the text");
        return;
    }
    auto id = parseId(line.substr(0, tab));
    if (!id) {
        at.error("bad string id \"" + line.substr(0, tab) + "\": expected a number from 0 to 65535");
        return;
    }
    auto text = decodeText(line.substr(tab + 1), at);
    if (!text) return;
    if (text->empty()) return at.error("string " + std::to_string(*id) + " has an empty text");
    if (text->size() > kMaxStringLength) return at.error("string " + std::to_string(*id) + " is too long");
    auto [it, added] = table->emplace(*id, StringDefinition{*text, at.file, at.line});
    if (!added) {
        at.error("duplicate string id " + std::to_string(*id) + " (first defined at " + it->second.file +
                 ":" + std::to_string(it->second.line) + ")");
    }
}

}  // namespace

void readStringTableFile(const std::string& path, const std::string& fileName, StringTable* table,
                         Diagnostics& diagnostics) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        diagnostics.error(fileName, 0, "cannot be read");
        return;
    }
    readStringTable(in, fileName, table, diagnostics);
}

void readStringTable(std::istream& in, const std::string& fileName, StringTable* table,
                     Diagnostics& diagnostics) {
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
        readLine(line, LineContext{fileName, number, diagnostics}, table);
    }
}

}  // namespace rc
