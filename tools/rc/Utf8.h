// Strict UTF-8 to UTF-16 conversion for rc's inputs: malformed text is an error, never replaced.
#pragma once

#include <string>
#include <string_view>

namespace rc {

// Appends the UTF-16 form of text to out. Returns false, with the byte offset of the first malformed
// sequence (bad lead or continuation byte, truncation, overlong form, surrogate or value beyond
// U+10FFFF) in badOffset, when text is not valid UTF-8.
bool appendUtf8(std::string_view text, std::u16string* out, size_t* badOffset);

// Appends code point cp as UTF-16 (one unit, or a surrogate pair above U+FFFF).
void appendCodePoint(char32_t cp, std::u16string* out);

}  // namespace rc
