// Tokens of rc's resource scripts (dialogs, menus, accelerator tables): numbers, quoted texts, words
// and the punctuation "," "|" and the block brackets (BEGIN/END or braces), each with its line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Diagnostics.h"

namespace rc {

enum class TokenKind { Number, Text, Word, Comma, Bar, Open, Close };

struct Token {
    TokenKind kind;
    int line = 0;
    int64_t number = 0;   // Number
    std::u16string text;  // Text: the decoded UTF-16 text
    std::string word;     // Word: upper-cased; also the spelling of a Number or punctuation
};

// The tokens of a script file. Comments run from "//" to the end of the line. Numbers are decimal or
// 0x-hexadecimal, optionally negative. Texts are "..." in UTF-8 with the escapes \t \n \r \\ \" and
// \uXXXX, or "" for a quote; a text holds no NUL (the resource's texts end at one), as a byte or as
// \u0000. BEGIN and END are block brackets like { and }. Every problem (malformed UTF-8, an
// unterminated text, a bad escape, a NUL, a character that starts no token) is reported; the result is
// nothing then.
std::optional<std::vector<Token>> tokenizeScript(const std::string& source, const std::string& fileName,
                                                 Diagnostics& diagnostics);

}  // namespace rc
