// UTF-16 text services of the device platform: the C wide-string functions on WCHAR (char16_t),
// number parsing and printing, the device's printf-style formatting, case mapping and character
// classes, and conversion between UTF-16 and the locale's multibyte code set.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

#include "platform/wintypes.h"

// The functions below overload the C library's wchar_t functions on char16_t, so code written as
// `wcslen(text)` with WCHAR text calls them. They follow the device's C library: LONG is 32-bit,
// case-insensitive comparison folds Latin, Greek and Cyrillic letters, and numbers are read and
// written with "." as the decimal point whatever the process locale says.

// --- strings -------------------------------------------------------------------------------------
size_t wcslen(const char16_t* text);
int wcscmp(const char16_t* a, const char16_t* b);
int wcsncmp(const char16_t* a, const char16_t* b, size_t count);
// Case-insensitive comparison: both sides are folded to lower case character by character first.
int _wcsicmp(const char16_t* a, const char16_t* b);
int _wcsnicmp(const char16_t* a, const char16_t* b, size_t count);
char16_t* wcscpy(char16_t* dest, const char16_t* src);
// Copies at most count characters and pads with NULs up to count; no terminator when src is longer.
char16_t* wcsncpy(char16_t* dest, const char16_t* src, size_t count);
char16_t* wcscat(char16_t* dest, const char16_t* src);
// Appends at most count characters of src and always terminates.
char16_t* wcsncat(char16_t* dest, const char16_t* src, size_t count);
// Searches return nullptr when nothing is found. wcschr/wcsrchr find the terminator when ch is 0.
const char16_t* wcschr(const char16_t* text, char16_t ch);
char16_t* wcschr(char16_t* text, char16_t ch);
const char16_t* wcsrchr(const char16_t* text, char16_t ch);
char16_t* wcsrchr(char16_t* text, char16_t ch);
const char16_t* wcsstr(const char16_t* text, const char16_t* sought);
char16_t* wcsstr(char16_t* text, const char16_t* sought);
const char16_t* wcspbrk(const char16_t* text, const char16_t* set);
char16_t* wcspbrk(char16_t* text, const char16_t* set);
size_t wcsspn(const char16_t* text, const char16_t* set);
size_t wcscspn(const char16_t* text, const char16_t* set);
// In-place case conversion of a whole string; returns text.
char16_t* _wcsupr(char16_t* text);
char16_t* _wcslwr(char16_t* text);

// --- character classes and case (locale-independent, Unicode letters of the scripts above) ----
bool iswspace(char16_t ch);
bool iswdigit(char16_t ch);
bool iswxdigit(char16_t ch);
bool iswalpha(char16_t ch);
bool iswalnum(char16_t ch);
bool iswupper(char16_t ch);
bool iswlower(char16_t ch);
bool iswpunct(char16_t ch);
bool iswcntrl(char16_t ch);
char16_t towupper(char16_t ch);
char16_t towlower(char16_t ch);

// Character-class masks of iswctype, with the device's values.
#define _UPPER 0x1
#define _LOWER 0x2
#define _DIGIT 0x4
#define _SPACE 0x8
#define _PUNCT 0x10
#define _CONTROL 0x20
#define _BLANK 0x40
#define _HEX 0x80
#define _ALPHA 0x103
// Nonzero when ch belongs to any class of mask (a combination of the masks above).
int iswctype(char16_t ch, unsigned short mask);

// --- numbers -------------------------------------------------------------------------------------
// Reads a real number as the C library does in the "C" locale: leading white space, an optional sign,
// digits with an optional ".", an optional exponent (e or E, optional sign, digits; ignored unless a
// digit follows). *end (when end is not null) points after the last character used, or at text when
// no number was found (the result is then 0). Out of range: +-HUGE_VAL or 0, errno ERANGE.
double wcstod(const char16_t* text, char16_t** end);
// Integer readers: white space, sign, base 2..36 or 0 (0x / 0 prefixes decide). Results beyond the
// 32-bit range clamp to LONG_MAX/LONG_MIN (ULONG_MAX for wcstoul) with errno ERANGE. wcstoul accepts a
// minus sign and negates in unsigned arithmetic, as the C library does.
LONG wcstol(const char16_t* text, char16_t** end, int base);
ULONG wcstoul(const char16_t* text, char16_t** end, int base);
__int64 _wcstoi64(const char16_t* text, char16_t** end, int base);
ULONGLONG _wcstoui64(const char16_t* text, char16_t** end, int base);
int _wtoi(const char16_t* text);
LONG _wtol(const char16_t* text);
__int64 _wtoi64(const char16_t* text);
double _wtof(const char16_t* text);
// Writes value in radix (2..36) into buffer and returns buffer. A minus sign is written only in radix
// 10; in other radices a negative value is written as its unsigned bit pattern. The buffer must hold
// 33 characters (65 for the 64-bit forms).
char16_t* _itow(int value, char16_t* buffer, int radix);
char16_t* _ltow(LONG value, char16_t* buffer, int radix);
char16_t* _ultow(ULONG value, char16_t* buffer, int radix);
char16_t* _i64tow(__int64 value, char16_t* buffer, int radix);
char16_t* _ui64tow(ULONGLONG value, char16_t* buffer, int radix);

// --- formatting ----------------------------------------------------------------------------------
// printf-style formatting with the device's conventions: %s and %c take WCHAR text and characters, %S
// and %C narrow ones (%hs/%hc narrow, %ls/%lc/%ws/%wc wide); flags - + space # 0; width and precision,
// "*" included; size prefixes I64, I32, I, ll, l (32-bit, as LONG), h, L (double, as on the device), F
// and N (ignored); conversions c C s S d i u x X o e E f g G p n and %%. A null text prints "(null)".
// Reals always use "." and exponents of at least three digits.
//
// swprintf/vswprintf: as the C library: at most count characters including the terminator; the
// number of characters written without it, or -1 (output cut and terminated) when it did not fit.
int swprintf(char16_t* buffer, size_t count, const char16_t* format, ...);
int vswprintf(char16_t* buffer, size_t count, const char16_t* format, va_list args);
// _snwprintf/_vsnwprintf: as the device's: writes at most count characters; returns the length when
// it fits (terminated when there is room for the NUL, not terminated when the length equals count), or
// -1 when the text was longer than count (the first count characters written, no terminator).
int _snwprintf(char16_t* buffer, size_t count, const char16_t* format, ...);
int _vsnwprintf(char16_t* buffer, size_t count, const char16_t* format, va_list args);
// The number of characters the format would produce, without the terminator.
int _scwprintf(const char16_t* format, ...);
int _vscwprintf(const char16_t* format, va_list args);

namespace platform {
// The formatted text as a string (same conventions as swprintf). A null format gives "".
std::u16string format(const char16_t* format, ...);
std::u16string vformat(const char16_t* format, va_list args);
}  // namespace platform

// --- case mapping of the user interface ----------------------------------------------------------
// With a pointer whose high word is zero, converts the single character in its low word and returns it
// the same way; otherwise converts the NUL-terminated string in place and returns the pointer.
LPWSTR CharUpperW(LPWSTR textOrChar);
LPWSTR CharLowerW(LPWSTR textOrChar);
// Converts length characters in place; returns the number of characters processed (0 for null).
DWORD CharUpperBuffW(LPWSTR text, DWORD length);
DWORD CharLowerBuffW(LPWSTR text, DWORD length);

// --- code pages ----------------------------------------------------------------------------------
#define CP_ACP 0
#define CP_OEMCP 1
#define CP_MACCP 2
#define CP_THREAD_ACP 3
#define CP_UTF7 65000
#define CP_UTF8 65001
#define MB_PRECOMPOSED 0x1
#define MB_ERR_INVALID_CHARS 0x8
#define WC_NO_BEST_FIT_CHARS 0x400
#define WC_ERR_INVALID_CHARS 0x80
#ifndef ERROR_INVALID_FLAGS
#define ERROR_INVALID_FLAGS 1004L
#endif
#ifndef ERROR_NO_UNICODE_TRANSLATION
#define ERROR_NO_UNICODE_TRANSLATION 1113L
#endif
typedef BOOL* LPBOOL;

// Converts UTF-16 to a multibyte code page. CP_ACP (and CP_OEMCP, CP_THREAD_ACP) is the code set of
// the user's locale (see winnls.h): UTF-8 under a UTF-8 locale, ISO-8859-1 under the C/POSIX locale,
// otherwise the locale's own code set; CP_UTF8 is UTF-8; a numeric code page such as 1251 is used by
// name. wideLength -1 converts up to and including the terminator. bufferSize 0 returns the bytes
// needed. Characters the code page cannot hold become the default character (defaultChar's first byte,
// "?" when null) and set *usedDefaultChar; with CP_UTF8 both must be null. Returns the bytes written,
// or 0 with ERROR_INSUFFICIENT_BUFFER / ERROR_INVALID_PARAMETER / ERROR_INVALID_FLAGS /
// ERROR_NO_UNICODE_TRANSLATION (WC_ERR_INVALID_CHARS and an unpaired surrogate).
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wideText, int wideLength, LPSTR buffer,
                        int bufferSize, LPCSTR defaultChar, LPBOOL usedDefaultChar);
// Converts multibyte text to UTF-16; the same code pages. byteLength -1 includes the terminator;
// wideSize 0 returns the characters needed. Invalid bytes become U+FFFD, or fail with
// ERROR_NO_UNICODE_TRANSLATION under MB_ERR_INVALID_CHARS.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int byteLength, LPWSTR buffer, int wideSize);
