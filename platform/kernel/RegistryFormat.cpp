// The text form of a hive file (UTF-8): one "[path\to\key]" line per key, then its values as
// "name"=sz:"text", =dword:0000002a, =hex:01,02 or =hex(type):..; "@" names the default value.
#include <cstdio>
#include <functional>
#include <sstream>

#include "RegistryTree.h"
#include "platform/device.h"
#include "platform/winreg.h"

namespace platform::registry {
namespace {

constexpr char kHeader[] = "; Varkel registry hive, format 1";

// Key path parts: '%' and control characters become %HH of their byte.
std::string escapeKeyName(const std::u16string& name) {
    std::string out;
    for (unsigned char byte : toUtf8(name)) {
        if (byte < 0x20 || byte == '%' || byte == 0x7F) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            out += hex;
        } else {
            out += static_cast<char>(byte);
        }
    }
    return out;
}

std::string quote(const std::u16string& text) {
    std::string out = "\"";
    for (unsigned char byte : toUtf8(text)) {
        if (byte == '"' || byte == '\\') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (byte < 0x20 || byte == 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        } else {
            out += static_cast<char>(byte);
        }
    }
    return out + "\"";
}

// A REG_SZ whose bytes are exactly one NUL-terminated UTF-16 text without unpaired surrogates can be
// written as readable text and read back to the same bytes.
bool isPlainText(const RegistryValue& value, std::u16string& text) {
    if (value.type != REG_SZ || value.data.size() < 2 || value.data.size() % 2 != 0) return false;
    size_t count = value.data.size() / 2 - 1;
    text.resize(count);
    for (size_t i = 0; i <= count; ++i) {
        char16_t ch = static_cast<char16_t>(value.data[2 * i] | (value.data[2 * i + 1] << 8));
        if ((i == count) != (ch == 0)) return false;
        if (i < count) text[i] = ch;
    }
    return fromUtf8(toUtf8(text)) == text;
}

std::string valueData(const RegistryValue& value) {
    std::u16string text;
    if (isPlainText(value, text)) return "sz:" + quote(text);
    char buffer[16];
    if (value.type == REG_DWORD && value.data.size() == 4) {
        unsigned number = value.data[0] | value.data[1] << 8 | value.data[2] << 16 |
                          static_cast<unsigned>(value.data[3]) << 24;
        std::snprintf(buffer, sizeof buffer, "%08x", number);
        return std::string("dword:") + buffer;
    }
    std::string out = value.type == REG_BINARY ? "hex:" : "hex(" + std::to_string(value.type) + "):";
    for (size_t i = 0; i < value.data.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, i == 0 ? "%02x" : ",%02x", value.data[i]);
        out += buffer;
    }
    return out;
}

void serializeKey(const RegistryKey& key, const std::string& path, std::string& out) {
    out += "\n[" + path + "]\n";
    for (const auto& [folded, value] : key.values()) {
        out += (value.name.empty() ? std::string("@") : quote(value.name)) + "=" + valueData(value) + "\n";
    }
    for (const auto& [folded, child] : key.children()) {
        std::string childPath =
            path.empty() ? escapeKeyName(child->name()) : path + "\\" + escapeKeyName(child->name());
        serializeKey(*child, childPath, out);
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool parseKeyName(const std::string& text, std::u16string& name) {
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            bytes += text[i];
            continue;
        }
        if (i + 2 >= text.size() || hexDigit(text[i + 1]) < 0 || hexDigit(text[i + 2]) < 0) return false;
        bytes += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
        i += 2;
    }
    name = fromUtf8(bytes);
    return !name.empty();
}

// Reads a quoted string at line[pos]; pos ends after the closing quote.
bool parseQuoted(const std::string& line, size_t& pos, std::u16string& text) {
    if (pos >= line.size() || line[pos] != '"') return false;
    std::string bytes;
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"') {
            ++pos;
            text = fromUtf8(bytes);
            return true;
        }
        if (c != '\\') {
            bytes += c;
        } else if (pos + 1 < line.size() && (line[pos + 1] == '"' || line[pos + 1] == '\\')) {
            bytes += line[++pos];
        } else if (pos + 3 < line.size() && line[pos + 1] == 'x' && hexDigit(line[pos + 2]) >= 0 &&
                   hexDigit(line[pos + 3]) >= 0) {
            bytes += static_cast<char>(hexDigit(line[pos + 2]) * 16 + hexDigit(line[pos + 3]));
            pos += 3;
        } else {
            return false;
        }
    }
    return false;
}

bool parseHexBytes(const std::string& text, std::vector<BYTE>& data) {
    for (size_t i = 0; i < text.size();) {
        if (i + 1 >= text.size() || hexDigit(text[i]) < 0 || hexDigit(text[i + 1]) < 0) return false;
        data.push_back(static_cast<BYTE>(hexDigit(text[i]) * 16 + hexDigit(text[i + 1])));
        i += 2;
        if (i < text.size() && text[i++] != ',') return false;
        if (i == text.size() && text.back() == ',') return false;
    }
    return true;
}

bool parseData(const std::string& text, RegistryValue& value) {
    if (text.rfind("sz:", 0) == 0) {
        size_t pos = 3;
        std::u16string string;
        if (!parseQuoted(text, pos, string) || pos != text.size()) return false;
        value.type = REG_SZ;
        for (char16_t ch : string + u'\0')
            value.data.push_back(static_cast<BYTE>(ch)), value.data.push_back(static_cast<BYTE>(ch >> 8));
        return true;
    }
    if (text.rfind("dword:", 0) == 0) {
        if (text.size() != 14) return false;
        std::vector<BYTE> bigEndian;
        if (!parseHexBytes(text.substr(6, 2) + "," + text.substr(8, 2) + "," + text.substr(10, 2) + "," +
                               text.substr(12, 2),
                           bigEndian))
            return false;
        value.type = REG_DWORD;
        value.data.assign(bigEndian.rbegin(), bigEndian.rend());
        return true;
    }
    size_t colon = text.find(':');
    if (colon == std::string::npos) return false;
    std::string kind = text.substr(0, colon);
    if (kind == "hex") {
        value.type = REG_BINARY;
    } else if (kind.rfind("hex(", 0) == 0 && kind.back() == ')' && kind.size() > 5 &&
               kind.find_first_not_of("0123456789", 4) == kind.size() - 1 && kind.size() < 15) {
        value.type = static_cast<DWORD>(std::stoul(kind.substr(4, kind.size() - 5)));
    } else {
        return false;
    }
    return parseHexBytes(text.substr(colon + 1), value.data);
}

bool parseValueLine(const std::string& line, RegistryKey& key) {
    size_t pos = 0;
    std::u16string name;
    if (line[0] == '@') {
        pos = 1;
    } else if (!parseQuoted(line, pos, name)) {
        return false;
    }
    if (pos >= line.size() || line[pos] != '=') return false;
    RegistryValue value;
    if (!parseData(line.substr(pos + 1), value)) return false;
    if (key.value(name) != nullptr) return false;
    key.setValue(name, value.type, std::move(value.data));
    return true;
}

RegistryKey* parseKeyLine(const std::string& line, RegistryKey& root) {
    std::string path = line.substr(1, line.size() - 2);
    std::vector<std::u16string> parts;
    size_t start = 0;
    while (!path.empty() && start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        std::u16string part;
        if (!parseKeyName(path.substr(start, end - start), part)) return nullptr;
        parts.push_back(part);
        start = end + 1;
    }
    bool created = false;
    return &root.create(parts, created);
}

}  // namespace

std::string serializeHive(const RegistryKey& root) {
    std::string out = kHeader;
    out += '\n';
    serializeKey(root, "", out);
    return out;
}

bool parseHive(const std::string& text, RegistryKey& root, std::string& error) {
    std::istringstream input(text);
    std::string line;
    RegistryKey* current = nullptr;
    for (int number = 1; std::getline(input, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        bool ok;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            current = parseKeyLine(line, root);
            ok = current != nullptr;
        } else {
            ok = current != nullptr && parseValueLine(line, *current);
        }
        if (!ok) {
            error = "line " + std::to_string(number) + " is not a key or value: " + line.substr(0, 60);
            return false;
        }
    }
    return true;
}

}  // namespace platform::registry
