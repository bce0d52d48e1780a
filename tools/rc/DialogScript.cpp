// DIALOG statements compiled to the device's dialog template: a DLGTEMPLATE header (style, extended
// style, item count, position and size in dialog units), menu, class, title and, with DS_SETFONT,
// the font; then per item, on a 4-byte boundary, a DLGITEMTEMPLATE with its class (the atom ordinal
// of a predefined class or a name), its text and an empty creation-data block.
#include <cctype>

#include "ResourceScripts.h"
#include "platform/winuser.h"

namespace rc {
namespace {

constexpr uint32_t kDefaultDialogStyle = WS_POPUP | WS_BORDER | WS_SYSMENU;
constexpr uint32_t kControlBase = WS_CHILD | WS_VISIBLE;
constexpr uint16_t kOrdinal = 0xFFFF;

struct Coordinates {
    int16_t x = 0, y = 0, cx = 0, cy = 0;
};

struct Item {
    uint32_t style = 0;
    uint32_t exStyle = 0;
    Coordinates at;
    uint16_t id = 0;
    std::u16string className;  // empty when atom is used
    uint16_t atom = 0;
    std::u16string text;
    int textOrdinal = -1;  // a resource id instead of a text
};

struct Dialog {
    uint32_t style = kDefaultDialogStyle;
    uint32_t exStyle = 0;
    Coordinates at;
    std::u16string caption;
    bool hasFont = false;
    uint16_t pointSize = 0;
    std::u16string face;
    ResourceKey menu;
    bool hasMenu = false;
    std::vector<Item> items;
};

// A control statement with a fixed class: keyword, whether it starts with a text, class atom, style.
struct ControlKind {
    const char* keyword;
    bool hasText;
    uint16_t atom;
    uint32_t style;
};

constexpr uint16_t kButtonAtom = 0x0080;
constexpr uint16_t kEditAtom = 0x0081;
constexpr uint16_t kStaticAtom = 0x0082;

const ControlKind kControlKinds[] = {
    {"LTEXT", true, kStaticAtom, SS_LEFT | WS_GROUP},
    {"RTEXT", true, kStaticAtom, SS_RIGHT | WS_GROUP},
    {"CTEXT", true, kStaticAtom, SS_CENTER | WS_GROUP},
    {"EDITTEXT", false, kEditAtom, ES_LEFT | WS_BORDER | WS_TABSTOP},
    {"PUSHBUTTON", true, kButtonAtom, BS_PUSHBUTTON | WS_TABSTOP},
    {"DEFPUSHBUTTON", true, kButtonAtom, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"CHECKBOX", true, kButtonAtom, BS_CHECKBOX | WS_TABSTOP},
    {"AUTOCHECKBOX", true, kButtonAtom, BS_AUTOCHECKBOX | WS_TABSTOP},
    {"RADIOBUTTON", true, kButtonAtom, BS_RADIOBUTTON},
    {"AUTORADIOBUTTON", true, kButtonAtom, BS_AUTORADIOBUTTON},
    {"GROUPBOX", true, kButtonAtom, BS_GROUPBOX},
};

// The predefined classes a CONTROL statement may name by their atom ordinal.
const std::pair<const char*, uint16_t> kClassAtoms[] = {
    {"BUTTON", kButtonAtom}, {"EDIT", kEditAtom},   {"STATIC", kStaticAtom},
    {"LISTBOX", 0x0083},     {"SCROLLBAR", 0x0084}, {"COMBOBOX", 0x0085},
};

int16_t coordinate(TokenStream& tokens, const std::string& what) {
    return static_cast<int16_t>(tokens.value(what, -32768, 32767));
}

Coordinates coordinates(TokenStream& tokens) {
    Coordinates at;
    at.x = coordinate(tokens, "x");
    tokens.expect(TokenKind::Comma, "\",\"");
    at.y = coordinate(tokens, "y");
    tokens.expect(TokenKind::Comma, "\",\"");
    at.cx = coordinate(tokens, "width");
    tokens.expect(TokenKind::Comma, "\",\"");
    at.cy = coordinate(tokens, "height");
    return at;
}

void readItemText(TokenStream& tokens, Item& item) {
    if (tokens.nextIs(TokenKind::Number))
        item.textOrdinal = static_cast<int>(tokens.value("a resource id", 0, 0xFFFF));
    else
        item.text = tokens.text("the control's text");
    tokens.expect(TokenKind::Comma, "\",\"");
}

void readClass(TokenStream& tokens, Item& item) {
    std::u16string name;
    if (tokens.nextIs(TokenKind::Word)) {
        const std::string& word = tokens.take("a class").word;
        name.assign(word.begin(), word.end());
    } else {
        name = tokens.text("a class name");
    }
    if (name.empty()) tokens.fail("the class name is empty");
    std::string upper;
    for (char16_t c : name)
        upper.push_back(c < 0x80 ? static_cast<char>(std::toupper(static_cast<int>(c))) : '?');
    for (const auto& [known, atom] : kClassAtoms)
        if (upper == known) item.atom = atom;
    if (!item.atom) item.className = name;
}

// The optional ", style [, extended style]" at the end of a fixed-class control.
void readTrailingStyles(TokenStream& tokens, Item& item) {
    if (!tokens.accept(TokenKind::Comma)) return;
    item.style = tokens.flags("a style", item.style);
    if (tokens.accept(TokenKind::Comma)) item.exStyle = tokens.flags("an extended style", 0);
}

// CONTROL text, id, class, style, x, y, width, height [, extended style]
Item readGenericControl(TokenStream& tokens) {
    Item item;
    readItemText(tokens, item);
    item.id = tokens.id("a control id");
    tokens.expect(TokenKind::Comma, "\",\"");
    readClass(tokens, item);
    tokens.expect(TokenKind::Comma, "\",\"");
    item.style = tokens.flags("a style", kControlBase);
    tokens.expect(TokenKind::Comma, "\",\"");
    item.at = coordinates(tokens);
    if (tokens.accept(TokenKind::Comma)) item.exStyle = tokens.flags("an extended style", 0);
    return item;
}

// KEYWORD [text,] id, x, y, width, height [, style [, extended style]]
Item readFixedControl(TokenStream& tokens, const ControlKind& kind) {
    Item item;
    item.atom = kind.atom;
    item.style = kControlBase | kind.style;
    if (kind.hasText) readItemText(tokens, item);
    item.id = tokens.id("a control id");
    tokens.expect(TokenKind::Comma, "\",\"");
    item.at = coordinates(tokens);
    readTrailingStyles(tokens, item);
    return item;
}

Item readControl(TokenStream& tokens) {
    const Token& keyword = tokens.take("a control statement or END");
    if (keyword.kind == TokenKind::Word && keyword.word == "CONTROL") return readGenericControl(tokens);
    for (const ControlKind& kind : kControlKinds)
        if (keyword.kind == TokenKind::Word && keyword.word == kind.keyword)
            return readFixedControl(tokens, kind);
    throw ScriptError{keyword.line, "unknown control statement \"" + keyword.word + "\""};
}

// STYLE, EXSTYLE, CAPTION, FONT and MENU between the header and BEGIN; false at BEGIN.
bool readOption(TokenStream& tokens, Dialog& dialog) {
    if (tokens.accept(TokenKind::Open)) return false;
    const Token& keyword = tokens.take("BEGIN");
    if (keyword.kind == TokenKind::Word && keyword.word == "STYLE") {
        dialog.style = tokens.flags("a style", 0);
    } else if (keyword.kind == TokenKind::Word && keyword.word == "EXSTYLE") {
        dialog.exStyle = tokens.flags("an extended style", 0);
    } else if (keyword.kind == TokenKind::Word && keyword.word == "CAPTION") {
        dialog.caption = tokens.text("the caption");
    } else if (keyword.kind == TokenKind::Word && keyword.word == "FONT") {
        dialog.pointSize = static_cast<uint16_t>(tokens.value("a point size", 1, 0x7FFF));
        tokens.expect(TokenKind::Comma, "\",\"");
        dialog.face = tokens.text("the font's face name");
        dialog.hasFont = true;
    } else if (keyword.kind == TokenKind::Word && keyword.word == "MENU") {
        dialog.menu = tokens.resourceName("a menu name");
        dialog.hasMenu = true;
    } else {
        throw ScriptError{keyword.line,
                          "expected STYLE, EXSTYLE, CAPTION, FONT, MENU or BEGIN, found \"" +
                              (keyword.kind == TokenKind::Text ? std::string("a text") : keyword.word) +
                              "\""};
    }
    return true;
}

void writeNameOrOrdinal(ByteWriter& out, const ResourceKey& key) {
    if (key.isName()) {
        out.text(key.name);
    } else {
        out.word(kOrdinal);
        out.word(key.id);
    }
}

void writeItem(ByteWriter& out, const Item& item) {
    out.align(4);
    out.dword(item.style);
    out.dword(item.exStyle);
    for (int16_t v : {item.at.x, item.at.y, item.at.cx, item.at.cy})
        out.word(static_cast<uint16_t>(v));
    out.word(item.id);
    if (item.atom)
        writeNameOrOrdinal(out, ResourceKey{item.atom, {}});
    else
        out.text(item.className);
    if (item.textOrdinal >= 0)
        writeNameOrOrdinal(out, ResourceKey{static_cast<uint16_t>(item.textOrdinal), {}});
    else
        out.text(item.text);
    out.word(0);  // no creation data
}

std::vector<uint8_t> writeDialog(const Dialog& dialog) {
    ByteWriter out;
    uint32_t style =
        dialog.style | (dialog.hasFont ? DS_SETFONT : 0) | (dialog.caption.empty() ? 0 : WS_CAPTION);
    out.dword(style);
    out.dword(dialog.exStyle);
    out.word(static_cast<uint16_t>(dialog.items.size()));
    for (int16_t v : {dialog.at.x, dialog.at.y, dialog.at.cx, dialog.at.cy})
        out.word(static_cast<uint16_t>(v));
    if (dialog.hasMenu)
        writeNameOrOrdinal(out, dialog.menu);
    else
        out.word(0);
    out.word(0);  // the predefined dialog class
    out.text(dialog.caption);
    if (style & DS_SETFONT) {
        out.word(dialog.pointSize);
        out.text(dialog.face);
    }
    for (const Item& item : dialog.items)
        writeItem(out, item);
    return std::move(out.bytes());
}

}  // namespace

std::vector<uint8_t> compileDialog(TokenStream& tokens) {
    Dialog dialog;
    dialog.at = coordinates(tokens);
    while (readOption(tokens, dialog)) {
    }
    if ((dialog.style & DS_SETFONT) && !dialog.hasFont) tokens.fail("DS_SETFONT needs a FONT statement");
    while (!tokens.accept(TokenKind::Close)) {
        dialog.items.push_back(readControl(tokens));
        if (dialog.items.size() > 0xFFFF) tokens.fail("too many controls in one dialog");
    }
    return writeDialog(dialog);
}

}  // namespace rc
