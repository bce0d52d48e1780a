// Splitting a resource script into tokens.
#include "ScriptLexer.h"

#include <cctype>

#include "Utf8.h"

namespace rc {
namespace {

struct Cursor {
    const std::string& source;
    size_t at = 0;
    int line = 1;

    bool done() const { return at >= source.size(); }
    char peek(size_t ahead = 0) const { return at + ahead < source.size() ? source[at + ahead] : '\0'; }
};

bool isWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Text being read: UTF-8 bytes waiting for decoding, and the UTF-16 text decoded so far.
struct TextBuilder {
    std::string pending;
    std::u16string text;

    bool flush() {
        size_t bad = 0;
        bool ok = appendUtf8(pending, &text, &bad);
        pending.clear();
        return ok;
    }
};

// Reads the escape after a backslash into the text; false for a bad escape or malformed UTF-8
// before it.
bool readEscape(Cursor& c, TextBuilder& out) {
    char kind = c.peek();
    ++c.at;
    static const std::string kSimple = "tnr\\\"";
    static const std::string kMeaning = "\t\n\r\\\"";
    if (size_t i = kSimple.find(kind); i != std::string::npos && kind != '\0') {
        out.pending.push_back(kMeaning[i]);
        return true;
    }
    if (kind != 'u') return false;
    unsigned value = 0;
    for (int k = 0; k < 4; ++k) {
        int digit = hexValue(c.peek());
        if (digit < 0) return false;
        value = value * 16 + static_cast<unsigned>(digit);
        ++c.at;
    }
    if (!out.flush() || value == 0) return false;
    out.text.push_back(static_cast<char16_t>(value));
    return true;
}

// The decoded text of a "..." token; the cursor stands on the opening quote.
std::optional<std::u16string> readText(Cursor& c, std::string& problem) {
    ++c.at;
    TextBuilder out;
    for (;;) {
        if (c.done() || c.peek() == '\n') return problem = "unterminated text", std::nullopt;
        char ch = c.peek();
        ++c.at;
        if (ch == '"' && c.peek() == '"') {
            out.pending.push_back('"');
            ++c.at;
        } else if (ch == '"') {
            break;
        } else if (ch == '\\') {
            if (!readEscape(c, out)) return problem = "bad escape or malformed UTF-8 in text", std::nullopt;
        } else if (ch == '\0') {
            return problem = "a text cannot hold NUL", std::nullopt;
        } else {
            out.pending.push_back(ch);
        }
    }
    if (!out.flush()) return problem = "malformed UTF-8 in text", std::nullopt;
    return out.text;
}

std::optional<Token> readNumber(Cursor& c, std::string& problem) {
    Token token{TokenKind::Number, c.line, 0, {}, {}};
    bool negative = c.peek() == '-';
    if (negative) ++c.at;
    size_t start = c.at;
    int base = (c.peek() == '0' && (c.peek(1) == 'x' || c.peek(1) == 'X')) ? 16 : 10;
    if (base == 16) c.at += 2;
    int64_t value = 0;
    size_t digits = 0;
    while (isWordChar(c.peek())) {
        int digit = hexValue(c.peek());
        if (digit < 0 || digit >= base || value > 0xFFFFFFFFLL) return problem = "bad number", std::nullopt;
        value = value * base + digit;
        ++digits;
        ++c.at;
    }
    if (digits == 0 || value > 0xFFFFFFFFLL) return problem = "bad number", std::nullopt;
    token.number = negative ? -value : value;
    token.word = (negative ? "-" : "") + c.source.substr(start, c.at - start);
    return token;
}

Token readWord(Cursor& c) {
    Token token{TokenKind::Word, c.line, 0, {}, {}};
    while (isWordChar(c.peek()))
        token.word.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c.source[c.at++]))));
    if (token.word == "BEGIN") token.kind = TokenKind::Open;
    if (token.word == "END") token.kind = TokenKind::Close;
    return token;
}

// Skips blanks and comments; counts lines.
void skipSpace(Cursor& c) {
    while (!c.done()) {
        char ch = c.peek();
        if (ch == '\n') {
            ++c.line;
            ++c.at;
        } else if (ch == ' ' || ch == '\t' || ch == '\r') {
            ++c.at;
        } else if (ch == '/' && c.peek(1) == '/') {
            while (!c.done() && c.peek() != '\n')
                ++c.at;
        } else {
            return;
        }
    }
}

std::optional<Token> readToken(Cursor& c, std::string& problem) {
    char ch = c.peek();
    static const std::string kPunctuation = ",|{}";
    static const TokenKind kKinds[] = {TokenKind::Comma, TokenKind::Bar, TokenKind::Open, TokenKind::Close};
    if (size_t i = kPunctuation.find(ch); i != std::string::npos) {
        ++c.at;
        return Token{kKinds[i], c.line, 0, {}, std::string(1, ch)};
    }
    if (ch == '"') {
        Token token{TokenKind::Text, c.line, 0, {}, {}};
        auto text = readText(c, problem);
        if (!text) return std::nullopt;
        token.text = std::move(*text);
        return token;
    }
    if (std::isdigit(static_cast<unsigned char>(ch)) ||
        (ch == '-' && std::isdigit(static_cast<unsigned char>(c.peek(1)))))
        return readNumber(c, problem);
    if (isWordChar(ch)) return readWord(c);
    ++c.at;
    problem = std::string("unexpected character '") + ch + "'";
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<Token>> tokenizeScript(const std::string& source, const std::string& fileName,
                                                 Diagnostics& diagnostics) {
    Cursor c{source};
    std::vector<Token> tokens;
    bool failed = false;
    for (skipSpace(c); !c.done(); skipSpace(c)) {
        std::string problem;
        int line = c.line;
        auto token = readToken(c, problem);
        if (token) {
            tokens.push_back(std::move(*token));
            continue;
        }
        diagnostics.error(fileName, line, problem);
        failed = true;
        while (!c.done() && c.peek() != '\n')
            ++c.at;
    }
    if (failed) return std::nullopt;
    return tokens;
}

}  // namespace rc
