// ACCELERATORS statements compiled to the device's accelerator table: one 8-byte entry per line
// (flags, key, command id, padding), the last entry's flags carrying 0x80.
#include "ResourceScripts.h"
#include "platform/winuser.h"

namespace rc {
namespace {

constexpr uint16_t kLastEntry = 0x80;

struct Entry {
    uint16_t flags = 0;
    uint16_t key = 0;
    uint16_t id = 0;
};

struct KeyText {
    uint16_t key = 0;
    bool control = false;  // written "^X"
    bool quoted = false;
};

KeyText readKey(TokenStream& tokens) {
    KeyText key;
    if (!tokens.nextIs(TokenKind::Text)) {
        key.key = static_cast<uint16_t>(tokens.value("a key", 0, 0xFFFF));
        return key;
    }
    std::u16string text = tokens.text("a key");
    key.quoted = true;
    if (text.size() == 2 && text[0] == u'^') {
        char16_t letter = text[1] >= u'a' && text[1] <= u'z' ? static_cast<char16_t>(text[1] - 32) : text[1];
        if (letter < u'A' || letter > u'Z') tokens.fail("\"^X\" needs a letter A to Z");
        key.key = static_cast<uint16_t>(letter - u'A' + 1);
        key.control = true;
    } else if (text.size() == 1) {
        key.key = text[0];
    } else {
        tokens.fail("a quoted key is one character or \"^\" and a letter");
    }
    return key;
}

uint16_t readEntryFlags(TokenStream& tokens, bool& ascii) {
    static const std::pair<const char*, uint16_t> kFlags[] = {
        {"VIRTKEY", FVIRTKEY}, {"ASCII", 0},          {"NOINVERT", FNOINVERT},
        {"SHIFT", FSHIFT},     {"CONTROL", FCONTROL}, {"ALT", FALT},
    };
    uint16_t flags = 0;
    while (tokens.accept(TokenKind::Comma)) {
        bool found = false;
        for (const auto& [word, flag] : kFlags) {
            if (!found && tokens.acceptWord(word)) {
                flags |= flag;
                ascii = ascii || std::string(word) == "ASCII";
                found = true;
            }
        }
        if (!found) tokens.fail("expected VIRTKEY, ASCII, NOINVERT, SHIFT, CONTROL or ALT");
    }
    return flags;
}

Entry readEntry(TokenStream& tokens) {
    int line = tokens.line();
    KeyText key = readKey(tokens);
    tokens.expect(TokenKind::Comma, "\",\"");
    Entry entry{0, key.key, tokens.id("a command id")};
    bool ascii = false;
    entry.flags = readEntryFlags(tokens, ascii);
    bool virtualKey = entry.flags & FVIRTKEY;
    auto fail = [line](const std::string& reason) { throw ScriptError{line, reason}; };
    if (virtualKey && ascii) fail("an entry is either VIRTKEY or ASCII");
    if (!virtualKey && (entry.flags & (FSHIFT | FCONTROL | FALT)))
        fail("SHIFT, CONTROL and ALT need VIRTKEY");
    if (virtualKey && key.control) fail("\"^X\" is a character; it cannot be VIRTKEY");
    if (virtualKey && key.quoted &&
        !((key.key >= u'A' && key.key <= u'Z') || (key.key >= u'0' && key.key <= u'9')))
        fail("a quoted VIRTKEY is an upper-case letter or a digit");
    if (virtualKey && key.key > 0xFF) fail("a virtual key is 0 to 255");
    return entry;
}

}  // namespace

std::vector<uint8_t> compileAccelerators(TokenStream& tokens) {
    tokens.expect(TokenKind::Open, "BEGIN");
    int line = tokens.line();
    std::vector<Entry> entries;
    while (!tokens.accept(TokenKind::Close))
        entries.push_back(readEntry(tokens));
    if (entries.empty()) throw ScriptError{line, "an accelerator table needs at least one entry"};
    ByteWriter out;
    for (size_t i = 0; i < entries.size(); ++i) {
        out.word(static_cast<uint16_t>(entries[i].flags | (i + 1 == entries.size() ? kLastEntry : 0)));
        out.word(entries[i].key);
        out.word(entries[i].id);
        out.word(0);
    }
    return std::move(out.bytes());
}

}  // namespace rc
