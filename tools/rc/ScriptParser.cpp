// The token cursor of resource scripts, their symbolic constants and the little-endian writer.
#include "ScriptParser.h"

#include <algorithm>
#include <map>

#include "platform/winuser.h"

namespace rc {

namespace {

#define SYMBOL(name) \
    { #name, static_cast < int64_t>(name) }

const std::map<std::string, int64_t>& symbols() {
    static const std::map<std::string, int64_t> kSymbols = {
        SYMBOL(WS_OVERLAPPED),
        SYMBOL(WS_POPUP),
        SYMBOL(WS_CHILD),
        SYMBOL(WS_VISIBLE),
        SYMBOL(WS_DISABLED),
        SYMBOL(WS_CLIPSIBLINGS),
        SYMBOL(WS_CLIPCHILDREN),
        SYMBOL(WS_CAPTION),
        SYMBOL(WS_BORDER),
        SYMBOL(WS_DLGFRAME),
        SYMBOL(WS_VSCROLL),
        SYMBOL(WS_HSCROLL),
        SYMBOL(WS_SYSMENU),
        SYMBOL(WS_THICKFRAME),
        SYMBOL(WS_GROUP),
        SYMBOL(WS_TABSTOP),
        SYMBOL(WS_EX_DLGMODALFRAME),
        SYMBOL(WS_EX_TOPMOST),
        SYMBOL(WS_EX_TOOLWINDOW),
        SYMBOL(WS_EX_WINDOWEDGE),
        SYMBOL(WS_EX_CLIENTEDGE),
        SYMBOL(WS_EX_STATICEDGE),
        SYMBOL(WS_EX_CAPTIONOKBTN),
        SYMBOL(WS_EX_NODRAG),
        SYMBOL(DS_ABSALIGN),
        SYMBOL(DS_SETFONT),
        SYMBOL(DS_MODALFRAME),
        SYMBOL(DS_SETFOREGROUND),
        SYMBOL(DS_CENTER),
        SYMBOL(SS_LEFT),
        SYMBOL(SS_CENTER),
        SYMBOL(SS_RIGHT),
        SYMBOL(SS_ICON),
        SYMBOL(SS_BITMAP),
        SYMBOL(SS_LEFTNOWORDWRAP),
        SYMBOL(SS_NOPREFIX),
        SYMBOL(SS_NOTIFY),
        SYMBOL(SS_CENTERIMAGE),
        SYMBOL(ES_LEFT),
        SYMBOL(ES_CENTER),
        SYMBOL(ES_RIGHT),
        SYMBOL(ES_MULTILINE),
        SYMBOL(ES_UPPERCASE),
        SYMBOL(ES_LOWERCASE),
        SYMBOL(ES_PASSWORD),
        SYMBOL(ES_AUTOVSCROLL),
        SYMBOL(ES_AUTOHSCROLL),
        SYMBOL(ES_NOHIDESEL),
        SYMBOL(ES_READONLY),
        SYMBOL(ES_WANTRETURN),
        SYMBOL(ES_NUMBER),
        SYMBOL(BS_PUSHBUTTON),
        SYMBOL(BS_DEFPUSHBUTTON),
        SYMBOL(BS_CHECKBOX),
        SYMBOL(BS_AUTOCHECKBOX),
        SYMBOL(BS_RADIOBUTTON),
        SYMBOL(BS_3STATE),
        SYMBOL(BS_AUTO3STATE),
        SYMBOL(BS_GROUPBOX),
        SYMBOL(BS_AUTORADIOBUTTON),
        SYMBOL(BS_OWNERDRAW),
        SYMBOL(BS_LEFTTEXT),
        SYMBOL(BS_LEFT),
        SYMBOL(BS_RIGHT),
        SYMBOL(BS_CENTER),
        SYMBOL(BS_TOP),
        SYMBOL(BS_BOTTOM),
        SYMBOL(BS_VCENTER),
        SYMBOL(BS_PUSHLIKE),
        SYMBOL(BS_MULTILINE),
        SYMBOL(BS_NOTIFY),
        SYMBOL(IDOK),
        SYMBOL(IDCANCEL),
        SYMBOL(IDABORT),
        SYMBOL(IDRETRY),
        SYMBOL(IDIGNORE),
        SYMBOL(IDYES),
        SYMBOL(IDNO),
        {"IDC_STATIC", -1},
        SYMBOL(VK_BACK),
        SYMBOL(VK_TAB),
        SYMBOL(VK_RETURN),
        SYMBOL(VK_SHIFT),
        SYMBOL(VK_CONTROL),
        SYMBOL(VK_MENU),
        SYMBOL(VK_ESCAPE),
        SYMBOL(VK_SPACE),
        SYMBOL(VK_PRIOR),
        SYMBOL(VK_NEXT),
        SYMBOL(VK_END),
        SYMBOL(VK_HOME),
        SYMBOL(VK_LEFT),
        SYMBOL(VK_UP),
        SYMBOL(VK_RIGHT),
        SYMBOL(VK_DOWN),
        SYMBOL(VK_INSERT),
        SYMBOL(VK_DELETE),
        SYMBOL(VK_F1),
        {"VK_F2", VK_F1 + 1},
        {"VK_F3", VK_F1 + 2},
        {"VK_F4", VK_F1 + 3},
        SYMBOL(VK_ADD),
        SYMBOL(VK_SUBTRACT),
        SYMBOL(VK_MULTIPLY),
        SYMBOL(VK_DIVIDE),
        SYMBOL(VK_DECIMAL),
        SYMBOL(VK_NUMPAD0),
    };
    return kSymbols;
}

#undef SYMBOL

std::string describe(const Token& token) {
    switch (token.kind) {
        case TokenKind::Text:
            return "a text";
        case TokenKind::Open:
            return "BEGIN";
        case TokenKind::Close:
            return "END";
        default:
            return "\"" + token.word + "\"";
    }
}

}  // namespace

bool symbolValue(const std::string& name, int64_t* value) {
    auto it = symbols().find(name);
    if (it == symbols().end()) return false;
    *value = it->second;
    return true;
}

int TokenStream::line() const {
    if (m_tokens.empty()) return 1;
    return m_tokens[atEnd() ? m_tokens.size() - 1 : m_next].line;
}

const Token& TokenStream::peek() const {
    if (atEnd()) fail("unexpected end of file");
    return m_tokens[m_next];
}

const Token& TokenStream::take(const std::string& what) {
    if (atEnd()) fail("unexpected end of file: expected " + what);
    return m_tokens[m_next++];
}

bool TokenStream::accept(TokenKind kind) {
    if (!nextIs(kind)) return false;
    ++m_next;
    return true;
}

bool TokenStream::acceptWord(const char* word) {
    if (!nextIsWord(word)) return false;
    ++m_next;
    return true;
}

void TokenStream::expect(TokenKind kind, const std::string& what) {
    if (atEnd()) fail("unexpected end of file: expected " + what);
    if (!accept(kind)) fail("expected " + what + ", found " + describe(m_tokens[m_next]));
}

std::u16string TokenStream::text(const std::string& what) {
    if (!nextIs(TokenKind::Text)) {
        if (atEnd()) fail("unexpected end of file: expected " + what);
        fail("expected " + what + " (a quoted text), found " + describe(m_tokens[m_next]));
    }
    return m_tokens[m_next++].text;
}

int64_t TokenStream::value(const std::string& what, int64_t minimum, int64_t maximum) {
    const Token& token = take(what);
    int64_t result = 0;
    if (token.kind == TokenKind::Number) {
        result = token.number;
    } else if (token.kind != TokenKind::Word || !symbolValue(token.word, &result)) {
        --m_next;
        fail("expected " + what + ", found " + describe(token) +
             (token.kind == TokenKind::Word ? " (not a known name)" : ""));
    }
    if (result < minimum || result > maximum) {
        --m_next;
        fail(what + " " + token.word + " is out of range (" + std::to_string(minimum) + " to " +
             std::to_string(maximum) + ")");
    }
    return result;
}

uint32_t TokenStream::flags(const std::string& what, uint32_t base) {
    uint32_t result = base;
    do {
        bool clear = acceptWord("NOT");
        auto term = static_cast<uint32_t>(value(what, -0x80000000LL, 0xFFFFFFFFLL));
        result = clear ? (result & ~term) : (result | term);
    } while (accept(TokenKind::Bar));
    return result;
}

uint16_t TokenStream::id(const std::string& what) {
    return static_cast<uint16_t>(value(what, -1, 0xFFFF));
}

ResourceKey TokenStream::resourceName(const std::string& what) {
    const Token& token = take(what);
    if (token.kind == TokenKind::Number && token.number >= 0 && token.number <= 0xFFFF)
        return ResourceKey{static_cast<uint16_t>(token.number), {}};
    if (token.kind == TokenKind::Word)
        return ResourceKey{0, std::u16string(token.word.begin(), token.word.end())};
    --m_next;
    fail("expected " + what + " (a number 0 to 65535 or a name), found " + describe(token));
}

void TokenStream::fail(const std::string& reason) const {
    throw ScriptError{line(), reason};
}

void TokenStream::skipToHeader(const std::vector<std::string>& kinds, size_t start) {
    m_next = std::max(m_next, start + 1);
    for (; m_next + 1 < m_tokens.size(); ++m_next) {
        const Token& kind = m_tokens[m_next + 1];
        bool nameLike =
            m_tokens[m_next].kind == TokenKind::Number || m_tokens[m_next].kind == TokenKind::Word;
        if (!nameLike || kind.kind != TokenKind::Word) continue;
        for (const std::string& k : kinds)
            if (kind.word == k) return;
    }
    m_next = m_tokens.size();
}

void ByteWriter::word(uint16_t value) {
    m_bytes.push_back(static_cast<uint8_t>(value & 0xFF));
    m_bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void ByteWriter::dword(uint32_t value) {
    word(static_cast<uint16_t>(value & 0xFFFF));
    word(static_cast<uint16_t>(value >> 16));
}

void ByteWriter::text(const std::u16string& value) {
    for (char16_t c : value)
        word(static_cast<uint16_t>(c));
    word(0);
}

void ByteWriter::align(size_t alignment) {
    while (m_bytes.size() % alignment != 0)
        m_bytes.push_back(0);
}

}  // namespace rc
