// Reading resource scripts token by token: the shared grammar of rc's dialog, menu and accelerator
// statements (numbers, texts, style expressions with symbolic names, ids) and the bytes they become.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CompiledResource.h"
#include "ScriptLexer.h"

namespace rc {

// A problem at a line of the script; ends the resource being read.
struct ScriptError {
    int line;
    std::string reason;
};

class TokenStream {
  public:
    explicit TokenStream(const std::vector<Token>& tokens) : m_tokens(tokens) {}

    bool atEnd() const { return m_next >= m_tokens.size(); }
    // The line of the next token (of the last one at the end).
    int line() const;
    bool nextIs(TokenKind kind) const { return !atEnd() && m_tokens[m_next].kind == kind; }
    bool nextIsWord(const char* word) const {
        return nextIs(TokenKind::Word) && m_tokens[m_next].word == word;
    }
    const Token& peek() const;
    // Takes the next token; throws ScriptError("unexpected end of file ...") at the end.
    const Token& take(const std::string& what);
    // Takes the next token when it is of that kind.
    bool accept(TokenKind kind);
    bool acceptWord(const char* word);
    void expect(TokenKind kind, const std::string& what);
    std::u16string text(const std::string& what);
    // A number or a symbolic constant, checked against [minimum, maximum].
    int64_t value(const std::string& what, int64_t minimum, int64_t maximum);
    // Terms joined by "|", each a number, a symbolic name or "NOT term" (which clears those bits),
    // applied in order to base.
    uint32_t flags(const std::string& what, uint32_t base);
    // A control or command id: 0 to 65535, or -1 (IDC_STATIC) stored as 0xFFFF.
    uint16_t id(const std::string& what);
    // A resource name: a number 0..65535 or a word.
    ResourceKey resourceName(const std::string& what);
    [[noreturn]] void fail(const std::string& reason) const;
    // Where the next token is, to come back to it in skipToHeader.
    size_t position() const { return m_next; }
    // After an error in the statement that started at start: moves to the next "<name> <KIND>"
    // header after start whose kind is one of kinds.
    void skipToHeader(const std::vector<std::string>& kinds, size_t start);

  private:
    const std::vector<Token>& m_tokens;
    size_t m_next = 0;
};

// The value of a symbolic constant (WS_, DS_, SS_, ES_, BS_ styles, IDOK..IDNO, IDC_STATIC, VK_ keys).
bool symbolValue(const std::string& name, int64_t* value);

// Little-endian resource bytes.
class ByteWriter {
  public:
    void word(uint16_t value);
    void dword(uint32_t value);
    // The text's UTF-16 units and a terminating 0.
    void text(const std::u16string& value);
    // Pads with zero bytes to a multiple of alignment.
    void align(size_t alignment);
    std::vector<uint8_t>& bytes() { return m_bytes; }

  private:
    std::vector<uint8_t> m_bytes;
};

}  // namespace rc
