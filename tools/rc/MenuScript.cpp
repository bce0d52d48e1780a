// MENU statements compiled to the device's menu template: a MENUITEMTEMPLATEHEADER (version 0,
// offset 0), then the items in order. A command item is its option word, its id and its text; a
// pop-up item is its option word (with MF_POPUP) and its text, followed by its own items. The last
// item of each level carries MF_END. A separator is an item with no options, id 0 and no text.
#include "ResourceScripts.h"
#include "platform/winuser.h"

namespace rc {
namespace {

constexpr uint16_t kEndFlag = 0x0080;
constexpr int kMaxDepth = 16;

struct MenuEntry {
    uint16_t options = 0;
    uint16_t id = 0;
    std::u16string text;
    bool popup = false;
    std::vector<MenuEntry> children;
};

const std::pair<const char*, uint16_t> kOptions[] = {
    {"CHECKED", MF_CHECKED},  {"GRAYED", MF_GRAYED}, {"INACTIVE", MF_DISABLED},
    {"MENUBARBREAK", 0x0020}, {"MENUBREAK", 0x0040}, {"HELP", 0x4000},
};

// Options after an item, each optionally preceded by a comma.
uint16_t readOptions(TokenStream& tokens) {
    uint16_t options = 0;
    for (;;) {
        bool comma = tokens.accept(TokenKind::Comma);
        bool found = false;
        for (const auto& [word, flag] : kOptions) {
            if (tokens.acceptWord(word)) {
                options |= flag;
                found = true;
            }
        }
        if (found) continue;
        if (comma) tokens.fail("expected CHECKED, GRAYED, INACTIVE, MENUBARBREAK, MENUBREAK or HELP");
        return options;
    }
}

std::vector<MenuEntry> readItems(TokenStream& tokens, int depth);

MenuEntry readItem(TokenStream& tokens, int depth) {
    MenuEntry entry;
    const Token& keyword = tokens.take("MENUITEM, POPUP or END");
    bool isWord = keyword.kind == TokenKind::Word;
    if (isWord && keyword.word == "MENUITEM") {
        if (tokens.acceptWord("SEPARATOR")) return entry;
        entry.text = tokens.text("the item's text");
        tokens.expect(TokenKind::Comma, "\",\"");
        entry.id = tokens.id("a command id");
        entry.options = readOptions(tokens);
        return entry;
    }
    if (isWord && keyword.word == "POPUP") {
        if (depth >= kMaxDepth) tokens.fail("pop-up menus nested too deeply");
        entry.popup = true;
        entry.text = tokens.text("the pop-up's text");
        entry.options = readOptions(tokens) | MF_POPUP;
        tokens.expect(TokenKind::Open, "BEGIN");
        entry.children = readItems(tokens, depth + 1);
        return entry;
    }
    throw ScriptError{keyword.line, "expected MENUITEM, POPUP or END, found " +
                                        (keyword.kind == TokenKind::Text ? std::string("a text")
                                                                         : "\"" + keyword.word + "\"")};
}

// Items up to and including the closing END; a menu or pop-up needs at least one.
std::vector<MenuEntry> readItems(TokenStream& tokens, int depth) {
    int line = tokens.line();
    std::vector<MenuEntry> items;
    while (!tokens.accept(TokenKind::Close))
        items.push_back(readItem(tokens, depth));
    if (items.empty()) throw ScriptError{line, "a menu or pop-up needs at least one item"};
    return items;
}

void writeItems(ByteWriter& out, const std::vector<MenuEntry>& items) {
    for (size_t i = 0; i < items.size(); ++i) {
        const MenuEntry& entry = items[i];
        out.word(static_cast<uint16_t>(entry.options | (i + 1 == items.size() ? kEndFlag : 0)));
        if (!entry.popup) out.word(entry.id);
        out.text(entry.text);
        if (entry.popup) writeItems(out, entry.children);
    }
}

}  // namespace

std::vector<uint8_t> compileMenu(TokenStream& tokens) {
    tokens.expect(TokenKind::Open, "BEGIN");
    std::vector<MenuEntry> items = readItems(tokens, 0);
    ByteWriter out;
    out.word(0);  // version
    out.word(0);  // offset of the items after the header
    writeItems(out, items);
    return std::move(out.bytes());
}

}  // namespace rc
