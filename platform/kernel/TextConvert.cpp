// Conversion between UTF-16 and multibyte code pages: UTF-8 and ISO-8859-1 directly, any other code set
// through iconv; unrepresentable characters become the default character.
#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "TextLocale.h"
#include "platform/device.h"
#include "platform/handles.h"
#include "platform/text.h"
#include "platform/winerror.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

enum class CodeSetKind { kUtf8, kLatin1, kIconv };

struct CodeSet {
    CodeSetKind kind;
    std::string name;
};

bool isUtf8Name(const std::string& name) {
    return name == "UTF-8" || name == "utf8" || name == "UTF8";
}

bool isLatin1Name(const std::string& name) {
    return name == "ISO-8859-1" || name == "ISO8859-1";
}

// The code set behind a code page number; false for numbers we cannot serve.
bool codeSetOf(UINT codePage, CodeSet& codeSet) {
    std::string name;
    switch (codePage) {
        case CP_ACP:
        case CP_OEMCP:
        case CP_MACCP:
        case CP_THREAD_ACP:
            name = platform::text::ansiCodeSet();
            break;
        case CP_UTF8:
            name = "UTF-8";
            break;
        case CP_UTF7:
            name = "UTF-7";
            break;
        case 28591:
            name = "ISO-8859-1";
            break;
        case 20127:
            name = "ANSI_X3.4-1968";
            break;
        default:
            name = "CP" + std::to_string(codePage);
            break;
    }
    if (isUtf8Name(name))
        codeSet = {CodeSetKind::kUtf8, name};
    else if (isLatin1Name(name))
        codeSet = {CodeSetKind::kLatin1, name};
    else
        codeSet = {CodeSetKind::kIconv, name};
    if (codeSet.kind != CodeSetKind::kIconv) return true;
    iconv_t probe = iconv_open(name.c_str(), "UTF-32LE");
    if (probe == reinterpret_cast<iconv_t>(-1)) return false;
    iconv_close(probe);
    return true;
}

// Encodes one code point with iconv; false when the code set cannot hold it.
bool encodeWithIconv(iconv_t converter, char32_t c, std::string& out) {
    unsigned char input[4] = {static_cast<unsigned char>(c), static_cast<unsigned char>(c >> 8),
                              static_cast<unsigned char>(c >> 16), static_cast<unsigned char>(c >> 24)};
    char output[16];
    char* in = reinterpret_cast<char*>(input);
    char* outPtr = output;
    size_t inLeft = sizeof(input), outLeft = sizeof(output);
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) return false;
    out.append(output, static_cast<size_t>(outPtr - output));
    return true;
}

struct Encoder {
    CodeSet codeSet;
    iconv_t converter = reinterpret_cast<iconv_t>(-1);
    bool explicitUtf8 = false;  // CP_UTF8 asked for by number: unpaired surrogates become U+FFFD

    ~Encoder() {
        if (converter != reinterpret_cast<iconv_t>(-1)) iconv_close(converter);
    }
    // Appends c; false when the code set cannot hold it.
    bool encode(char32_t c, bool unpairedSurrogate, std::string& out) {
        if (codeSet.kind == CodeSetKind::kUtf8) {
            if (unpairedSurrogate && !explicitUtf8) return false;
            platform::appendUtf8(out, unpairedSurrogate ? kReplacement : c);
            return true;
        }
        if (unpairedSurrogate) return false;
        if (codeSet.kind == CodeSetKind::kLatin1) {
            if (c > 0xFF) return false;
            out += static_cast<char>(c);
            return true;
        }
        if (converter == reinterpret_cast<iconv_t>(-1))
            converter = iconv_open(codeSet.name.c_str(), "UTF-32LE");
        return converter != reinterpret_cast<iconv_t>(-1) && encodeWithIconv(converter, c, out);
    }
};

int fail(DWORD error) {
    SetLastError(error);
    return 0;
}

}  // namespace

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wideText, int wideLength, LPSTR buffer,
                        int bufferSize, LPCSTR defaultChar, LPBOOL usedDefaultChar) {
    if (wideText == nullptr || wideLength == 0 || wideLength < -1 || bufferSize < 0 ||
        (buffer == nullptr && bufferSize > 0)) {
        return fail(ERROR_INVALID_PARAMETER);
    }
    if (codePage == CP_UTF8 && (defaultChar != nullptr || usedDefaultChar != nullptr)) {
        return fail(ERROR_INVALID_PARAMETER);
    }
    if ((flags & ~static_cast<DWORD>(WC_NO_BEST_FIT_CHARS | WC_ERR_INVALID_CHARS)) != 0) {
        return fail(ERROR_INVALID_FLAGS);
    }
    Encoder encoder;
    if (!codeSetOf(codePage, encoder.codeSet)) return fail(ERROR_INVALID_PARAMETER);
    encoder.explicitUtf8 = codePage == CP_UTF8;
    size_t length = wideLength == -1 ? wcslen(wideText) + 1 : static_cast<size_t>(wideLength);
    char substitute = defaultChar != nullptr && *defaultChar != 0 ? *defaultChar : '?';
    std::string out;
    bool usedDefault = false;
    for (size_t i = 0; i < length; ++i) {
        char32_t c = wideText[i];
        bool unpaired = false;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && wideText[i + 1] >= 0xDC00 &&
            wideText[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (wideText[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            unpaired = true;
            if (flags & WC_ERR_INVALID_CHARS) return fail(ERROR_NO_UNICODE_TRANSLATION);
        }
        if (!encoder.encode(c, unpaired, out)) {
            out += substitute;
            usedDefault = true;
        }
    }
    if (usedDefaultChar != nullptr) *usedDefaultChar = usedDefault ? TRUE : FALSE;
    if (bufferSize == 0) return static_cast<int>(out.size());
    if (out.size() > static_cast<size_t>(bufferSize)) return fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(buffer, out.data(), out.size());
    return static_cast<int>(out.size());
}

namespace {

void appendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when it is invalid.
size_t decodeUtf8(const unsigned char* text, size_t length, size_t i, char32_t& c) {
    unsigned char b = text[i];
    size_t extra;
    char32_t minimum;
    if (b < 0x80) return c = b, 1;
    if ((b & 0xE0) == 0xC0)
        c = b & 0x1F, extra = 1, minimum = 0x80;
    else if ((b & 0xF0) == 0xE0)
        c = b & 0x0F, extra = 2, minimum = 0x800;
    else if ((b & 0xF8) == 0xF0)
        c = b & 0x07, extra = 3, minimum = 0x10000;
    else
        return 0;
    if (i + extra >= length) return 0;
    for (size_t k = 1; k <= extra; ++k) {
        if ((text[i + k] & 0xC0) != 0x80) return 0;
        c = (c << 6) | (text[i + k] & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return extra + 1;
}

// Decodes bytes of an iconv code set into UTF-16; false on the first invalid byte when strict.
bool decodeWithIconv(const std::string& codeSet, const char* text, size_t length, bool strict,
                     std::u16string& out) {
    iconv_t converter = iconv_open("UTF-32LE", codeSet.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    char* in = const_cast<char*>(text);
    size_t inLeft = length;
    bool ok = true;
    while (inLeft > 0 && ok) {
        unsigned char output[4];
        char* outPtr = reinterpret_cast<char*>(output);
        size_t outLeft = sizeof(output);
        size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        if (outLeft == 0) {
            appendUtf16(
                out, static_cast<char32_t>(output[0] | output[1] << 8 | output[2] << 16 | output[3] << 24));
        } else if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            if (strict) ok = false;
            appendUtf16(out, kReplacement);
            ++in, --inLeft;
        }
    }
    iconv_close(converter);
    return ok;
}

bool decode(const CodeSet& codeSet, const char* text, size_t length, bool strict, std::u16string& out) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    if (codeSet.kind == CodeSetKind::kLatin1) {
        for (size_t i = 0; i < length; ++i)
            out += static_cast<char16_t>(bytes[i]);
        return true;
    }
    if (codeSet.kind == CodeSetKind::kIconv) return decodeWithIconv(codeSet.name, text, length, strict, out);
    for (size_t i = 0; i < length;) {
        char32_t c = 0;
        size_t used = decodeUtf8(bytes, length, i, c);
        if (used == 0) {
            if (strict) return false;
            c = kReplacement, used = 1;
        }
        appendUtf16(out, c);
        i += used;
    }
    return true;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int byteLength, LPWSTR buffer,
                        int wideSize) {
    if (text == nullptr || byteLength == 0 || byteLength < -1 || wideSize < 0 ||
        (buffer == nullptr && wideSize > 0)) {
        return fail(ERROR_INVALID_PARAMETER);
    }
    if ((flags & ~static_cast<DWORD>(MB_PRECOMPOSED | MB_ERR_INVALID_CHARS)) != 0)
        return fail(ERROR_INVALID_FLAGS);
    CodeSet codeSet;
    if (!codeSetOf(codePage, codeSet)) return fail(ERROR_INVALID_PARAMETER);
    size_t length = byteLength == -1 ? std::strlen(text) + 1 : static_cast<size_t>(byteLength);
    std::u16string out;
    if (!decode(codeSet, text, length, (flags & MB_ERR_INVALID_CHARS) != 0, out)) {
        return fail(ERROR_NO_UNICODE_TRANSLATION);
    }
    if (wideSize == 0) return static_cast<int>(out.size());
    if (out.size() > static_cast<size_t>(wideSize)) return fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(buffer, out.data(), out.size() * sizeof(char16_t));
    return static_cast<int>(out.size());
}
