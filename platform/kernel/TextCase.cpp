// Character classes and case mapping of UTF-16 characters, independent of the process locale:
// Latin, Latin-1, Latin Extended-A, Greek and Cyrillic letters map case; the user-interface forms
// CharUpperW/CharLowerW and their buffer variants.
#include <cstdint>

#include "platform/text.h"

namespace {

// How a range of characters maps between cases.
enum class CaseRule {
    kOffset,     // lower = upper + offset for every upper-case character in [first, last]
    kEvenUpper,  // pairs: even code is upper, the next odd code its lower case
    kOddUpper,   // pairs: odd code is upper, the next even code its lower case
};

struct CaseRange {
    char16_t first;  // first upper-case character of the range
    char16_t last;   // last upper-case character (kOffset) or last character of the range (pairs)
    CaseRule rule;
    int offset;
};

// Upper-case characters and how to reach their lower case. Ranges do not overlap.
constexpr CaseRange kCaseRanges[] = {
    {u'A', u'Z', CaseRule::kOffset, 32},       {0x00C0, 0x00D6, CaseRule::kOffset, 32},
    {0x00D8, 0x00DE, CaseRule::kOffset, 32},   {0x0100, 0x012F, CaseRule::kEvenUpper, 0},
    {0x0132, 0x0137, CaseRule::kEvenUpper, 0}, {0x0139, 0x0148, CaseRule::kOddUpper, 0},
    {0x014A, 0x0177, CaseRule::kEvenUpper, 0}, {0x0179, 0x017E, CaseRule::kOddUpper, 0},
    {0x0386, 0x0386, CaseRule::kOffset, 38},   {0x0388, 0x038A, CaseRule::kOffset, 37},
    {0x038C, 0x038C, CaseRule::kOffset, 64},   {0x038E, 0x038F, CaseRule::kOffset, 63},
    {0x0391, 0x03A1, CaseRule::kOffset, 32},   {0x03A3, 0x03AB, CaseRule::kOffset, 32},
    {0x0400, 0x040F, CaseRule::kOffset, 80},   {0x0410, 0x042F, CaseRule::kOffset, 32},
    {0x0460, 0x0481, CaseRule::kEvenUpper, 0}, {0x048A, 0x04BF, CaseRule::kEvenUpper, 0},
    {0x04C0, 0x04C0, CaseRule::kOffset, 15},   {0x04C1, 0x04CE, CaseRule::kOddUpper, 0},
    {0x04D0, 0x052F, CaseRule::kEvenUpper, 0},
};

// Single characters outside the ranges: {upper, lower}. Only one direction is listed where the
// mapping is not reversible (dotless i, final sigma, long s).
struct CasePair {
    char16_t upper;
    char16_t lower;
};
constexpr CasePair kToUpperOnly[] = {{0x0178, 0x00FF}, {u'I', 0x0131}, {0x03A3, 0x03C2}, {u'S', 0x017F}};
constexpr CasePair kToLowerOnly[] = {{0x0178, 0x00FF}, {0x0130, u'i'}};

bool inPairRange(const CaseRange& range, char16_t ch, bool upperSide) {
    if (ch < range.first || ch > range.last) return false;
    bool even = (ch % 2) == 0;
    bool upperIsEven = range.rule == CaseRule::kEvenUpper;
    return upperSide ? even == upperIsEven : even != upperIsEven;
}

char16_t lowerOf(char16_t ch) {
    for (const CaseRange& range : kCaseRanges) {
        if (range.rule == CaseRule::kOffset) {
            if (ch >= range.first && ch <= range.last) return static_cast<char16_t>(ch + range.offset);
        } else if (inPairRange(range, ch, true)) {
            return static_cast<char16_t>(ch + 1);
        }
    }
    for (const CasePair& pair : kToLowerOnly) {
        if (pair.upper == ch) return pair.lower;
    }
    return ch;
}

char16_t upperOf(char16_t ch) {
    for (const CaseRange& range : kCaseRanges) {
        if (range.rule == CaseRule::kOffset) {
            int upper = ch - range.offset;
            if (upper >= range.first && upper <= range.last) return static_cast<char16_t>(upper);
        } else if (ch > range.first && inPairRange(range, ch, false)) {
            return static_cast<char16_t>(ch - 1);
        }
    }
    for (const CasePair& pair : kToUpperOnly) {
        if (pair.lower == ch) return pair.upper;
    }
    return ch;
}

// Letters that have no case but count as alphabetic in the scripts we serve.
bool isCaselessLetter(char16_t ch) {
    return ch == 0x00AA || ch == 0x00BA || ch == 0x00DF || ch == 0x0138 || ch == 0x0149 ||
           (ch >= 0x0180 && ch <= 0x024F) || (ch >= 0x0250 && ch <= 0x02AF) ||
           (ch >= 0x05D0 && ch <= 0x05EA) || (ch >= 0x0620 && ch <= 0x064A) ||
           (ch >= 0x3040 && ch <= 0x30FF) || (ch >= 0x4E00 && ch <= 0x9FFF) || (ch >= 0xAC00 && ch <= 0xD7A3);
}

}  // namespace

bool iswspace(char16_t ch) {
    return (ch >= 0x09 && ch <= 0x0D) || ch == 0x20 || ch == 0x85 || ch == 0xA0 || ch == 0x1680 ||
           (ch >= 0x2000 && ch <= 0x200A) || ch == 0x2028 || ch == 0x2029 || ch == 0x202F || ch == 0x205F ||
           ch == 0x3000;
}

bool iswdigit(char16_t ch) {
    return ch >= u'0' && ch <= u'9';
}

bool iswxdigit(char16_t ch) {
    return iswdigit(ch) || (ch >= u'a' && ch <= u'f') || (ch >= u'A' && ch <= u'F');
}

bool iswupper(char16_t ch) {
    return lowerOf(ch) != ch;
}

bool iswlower(char16_t ch) {
    return upperOf(ch) != ch || ch == 0x00DF;
}

bool iswalpha(char16_t ch) {
    return iswupper(ch) || iswlower(ch) || isCaselessLetter(ch);
}

bool iswalnum(char16_t ch) {
    return iswalpha(ch) || iswdigit(ch);
}

bool iswcntrl(char16_t ch) {
    return ch < 0x20 || (ch >= 0x7F && ch < 0xA0);
}

bool iswpunct(char16_t ch) {
    if (ch < 0x80) return ch > 0x20 && ch < 0x7F && !iswalnum(ch);
    return (ch >= 0xA1 && ch <= 0xBF && ch != 0xAA && ch != 0xBA) || ch == 0xD7 || ch == 0xF7 ||
           (ch >= 0x2010 && ch <= 0x2027) || (ch >= 0x2030 && ch <= 0x205E) || (ch >= 0x20A0 && ch <= 0x20CF);
}

char16_t towupper(char16_t ch) {
    return upperOf(ch);
}

char16_t towlower(char16_t ch) {
    return lowerOf(ch);
}

int iswctype(char16_t ch, unsigned short mask) {
    int found = 0;
    if ((mask & _UPPER) && iswupper(ch)) found |= _UPPER;
    if ((mask & _LOWER) && iswlower(ch)) found |= _LOWER;
    if ((mask & _DIGIT) && iswdigit(ch)) found |= _DIGIT;
    if ((mask & _SPACE) && iswspace(ch)) found |= _SPACE;
    if ((mask & _PUNCT) && iswpunct(ch)) found |= _PUNCT;
    if ((mask & _CONTROL) && iswcntrl(ch)) found |= _CONTROL;
    if ((mask & _BLANK) && (ch == u' ' || ch == u'\t')) found |= _BLANK;
    if ((mask & _HEX) && iswxdigit(ch)) found |= _HEX;
    if ((mask & 0x100) && iswalpha(ch)) found |= 0x100;
    return found;
}

char16_t* _wcsupr(char16_t* text) {
    for (char16_t* p = text; p != nullptr && *p != 0; ++p)
        *p = upperOf(*p);
    return text;
}

char16_t* _wcslwr(char16_t* text) {
    for (char16_t* p = text; p != nullptr && *p != 0; ++p)
        *p = lowerOf(*p);
    return text;
}

namespace {

// A pointer whose high word is zero carries one character instead of an address.
bool isCharacterArgument(LPWSTR value) {
    return (reinterpret_cast<uintptr_t>(value) >> 16) == 0;
}

LPWSTR characterAsPointer(char16_t ch) {
    return reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(ch));
}

char16_t pointerAsCharacter(LPWSTR value) {
    return static_cast<char16_t>(reinterpret_cast<uintptr_t>(value) & 0xFFFF);
}

}  // namespace

LPWSTR CharUpperW(LPWSTR textOrChar) {
    if (isCharacterArgument(textOrChar)) return characterAsPointer(upperOf(pointerAsCharacter(textOrChar)));
    return _wcsupr(textOrChar);
}

LPWSTR CharLowerW(LPWSTR textOrChar) {
    if (isCharacterArgument(textOrChar)) return characterAsPointer(lowerOf(pointerAsCharacter(textOrChar)));
    return _wcslwr(textOrChar);
}

DWORD CharUpperBuffW(LPWSTR text, DWORD length) {
    if (text == nullptr) return 0;
    for (DWORD i = 0; i < length; ++i)
        text[i] = upperOf(text[i]);
    return length;
}

DWORD CharLowerBuffW(LPWSTR text, DWORD length) {
    if (text == nullptr) return 0;
    for (DWORD i = 0; i < length; ++i)
        text[i] = lowerOf(text[i]);
    return length;
}
