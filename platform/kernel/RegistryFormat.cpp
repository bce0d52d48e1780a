// The text form of a hive file (UTF-8): one "[path\to\key]" line per key, then its values as
// "name"=sz:"text", =dword:0000002a, =hex:01,02 or =hex(type):..; "@" names the default value.
#include <algorithm>
#include <cstdio>
#include <functional>

#include "RegistryTree.h"
#include "platform/device.h"
#include "platform/winreg.h"

namespace platform::registry {
namespace {

constexpr char kHeader[] = "; Varkel registry hive, format 1";

// The UTF-8 form of a name or text that reads back to the same UTF-16 units: an unpaired surrogate is
// written as the three bytes of its own value (which the reader's decoding gives back) instead of
// U+FFFD, so that no two names, and no text, change on their way through the file.
std::string unitsAsUtf8(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        appendUtf8(out, unit);
    }
    return out;
}

// Key path parts: '%', '\' (the path separator) and control characters become %HH of their byte.
std::string escapeKeyName(const std::u16string& name) {
    std::string out;
    for (unsigned char byte : unitsAsUtf8(name)) {
        if (byte < 0x20 || byte == '%' || byte == '\\' || byte == 0x7F) {
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
    for (unsigned char byte : unitsAsUtf8(text)) {
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

// A REG_SZ whose bytes are exactly one NUL-terminated UTF-16 text can be written as readable text and
// read back to the same bytes.
bool isPlainText(const RegistryValue& value, std::u16string& text) {
    if (value.type != REG_SZ || value.data.size() < 2 || value.data.size() % 2 != 0) return false;
    size_t count = value.data.size() / 2 - 1;
    text.resize(count);
    for (size_t i = 0; i <= count; ++i) {
        char16_t ch = static_cast<char16_t>(value.data[2 * i] | (value.data[2 * i + 1] << 8));
        if ((i == count) != (ch == 0)) return false;
        if (i < count) text[i] = ch;
    }
    return fromUtf8(unitsAsUtf8(text)) == text;
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
    // Written digit by digit: a value may hold a megabyte.
    static constexpr char kDigits[] = "0123456789abcdef";
    out.reserve(out.size() + value.data.size() * 3);
    for (size_t i = 0; i < value.data.size(); ++i) {
        if (i > 0) out += ',';
        out += kDigits[value.data[i] >> 4];
        out += kDigits[value.data[i] & 0xF];
    }
    return out;
}

// Appends the key and everything below it; entries counts the keys below the root and the values, as
// the reader does. False as soon as the hive has more entries, or a longer text, than a hive may.
bool serializeKey(const RegistryKey& key, const std::string& path, std::string& out, size_t& entries) {
    entries += key.values().size() + key.children().size();
    if (entries > kMaxHiveEntries || out.size() > kMaxHiveFileBytes) return false;
    out += "\n[" + path + "]\n";
    for (const auto& [folded, value] : key.values()) {
        out += (value.name.empty() ? std::string("@") : quote(value.name)) + "=" + valueData(value) + "\n";
    }
    for (const auto& [folded, child] : key.children()) {
        std::string childPath =
            path.empty() ? escapeKeyName(child->name()) : path + "\\" + escapeKeyName(child->name());
        if (!serializeKey(*child, childPath, out, entries)) return false;
    }
    return true;
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

// What is wrong with a line, as the rest of "line N ..."; empty when nothing is.
using Fault = std::string;
const Fault kMalformed = "is not a key or value";

// Reading the lines of one hive: the key the values go to and the entries made so far.
class HiveReader {
  public:
    explicit HiveReader(RegistryKey& root) : m_root(root) {}

    Fault readLine(const std::string& line) {
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') return readKey(line);
        return m_current != nullptr ? readValue(line) : kMalformed;
    }

  private:
    Fault countEntry() {
        if (++m_entries <= kMaxHiveEntries) return {};
        return "makes the hive hold more than " + std::to_string(kMaxHiveEntries) + " keys and values";
    }

    // The depth is checked before any part is read, so a path of a million parts costs nothing.
    Fault readKey(const std::string& line) {
        std::string path = line.substr(1, line.size() - 2);
        size_t parts = path.empty() ? 0 : 1 + static_cast<size_t>(std::count(path.begin(), path.end(), '\\'));
        if (parts > kMaxKeyDepth)
            return "names a key nested deeper than " + std::to_string(kMaxKeyDepth) + " levels";
        RegistryKey* key = &m_root;
        for (size_t start = 0; parts > 0 && start <= path.size();) {
            size_t end = std::min(path.find('\\', start), path.size());
            std::u16string name;
            if (!parseKeyName(path.substr(start, end - start), name)) return kMalformed;
            if (name.size() > kMaxKeyNameLength)
                return "names a key longer than " + std::to_string(kMaxKeyNameLength) + " characters";
            RegistryKey* next = key->child(name);
            if (next == nullptr) {
                if (Fault fault = countEntry(); !fault.empty()) return fault;
                next = &key->addChild(name);
            }
            key = next;
            start = end + 1;
        }
        m_current = key;
        return {};
    }

    Fault readValue(const std::string& line) {
        size_t pos = 0;
        std::u16string name;
        if (line[0] == '@') {
            pos = 1;
        } else if (!parseQuoted(line, pos, name)) {
            return kMalformed;
        }
        if (name.size() > kMaxValueNameLength)
            return "names a value longer than " + std::to_string(kMaxValueNameLength) + " characters";
        if (pos >= line.size() || line[pos] != '=') return kMalformed;
        RegistryValue value;
        if (!parseData(line.substr(pos + 1), value) || m_current->value(name) != nullptr) return kMalformed;
        if (value.data.size() > kMaxValueBytes)
            return "holds a value larger than " + std::to_string(kMaxValueBytes) + " bytes";
        if (Fault fault = countEntry(); !fault.empty()) return fault;
        m_current->setValue(name, value.type, std::move(value.data));
        return {};
    }

    RegistryKey& m_root;
    RegistryKey* m_current = nullptr;
    size_t m_entries = 0;
};

}  // namespace

std::optional<std::string> serializeHive(const RegistryKey& root) {
    std::string out = kHeader;
    out += '\n';
    size_t entries = 0;
    if (!serializeKey(root, "", out, entries) || out.size() > kMaxHiveFileBytes) return std::nullopt;
    return out;
}

bool parseHive(const std::string& text, RegistryKey& root, std::string& error) {
    if (text.size() > kMaxHiveFileBytes) {
        error = "the file is larger than " + std::to_string(kMaxHiveFileBytes) + " bytes";
        return false;
    }
    HiveReader reader(root);
    size_t start = 0;
    for (int number = 1; start < text.size(); ++number) {
        size_t end = std::min(text.find('\n', start), text.size());
        if (end - start > kMaxHiveLineBytes) {
            error = "line " + std::to_string(number) + " is longer than " +
                    std::to_string(kMaxHiveLineBytes) + " bytes";
            return false;
        }
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (Fault fault = reader.readLine(line); !fault.empty()) {
            error = "line " + std::to_string(number) + " " + fault;
            if (fault == kMalformed) error += ": " + line.substr(0, 60);
            return false;
        }
    }
    return true;
}

}  // namespace platform::registry
