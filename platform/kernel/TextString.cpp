// The C wide-string functions on UTF-16 (char16_t) text: length, comparison, copying and searching.
#include "platform/text.h"

size_t wcslen(const char16_t* text) {
    const char16_t* end = text;
    while (*end != 0)
        ++end;
    return static_cast<size_t>(end - text);
}

int wcscmp(const char16_t* a, const char16_t* b) {
    while (*a != 0 && *a == *b)
        ++a, ++b;
    return static_cast<int>(*a) - static_cast<int>(*b);
}

int wcsncmp(const char16_t* a, const char16_t* b, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (a[i] != b[i] || a[i] == 0) return static_cast<int>(a[i]) - static_cast<int>(b[i]);
    }
    return 0;
}

int _wcsnicmp(const char16_t* a, const char16_t* b, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        char16_t la = towlower(a[i]);
        char16_t lb = towlower(b[i]);
        if (la != lb || la == 0) return static_cast<int>(la) - static_cast<int>(lb);
    }
    return 0;
}

int _wcsicmp(const char16_t* a, const char16_t* b) {
    return _wcsnicmp(a, b, static_cast<size_t>(-1));
}

char16_t* wcscpy(char16_t* dest, const char16_t* src) {
    char16_t* out = dest;
    while ((*out++ = *src++) != 0) {
    }
    return dest;
}

char16_t* wcsncpy(char16_t* dest, const char16_t* src, size_t count) {
    size_t i = 0;
    for (; i < count && src[i] != 0; ++i)
        dest[i] = src[i];
    for (; i < count; ++i)
        dest[i] = 0;
    return dest;
}

char16_t* wcscat(char16_t* dest, const char16_t* src) {
    wcscpy(dest + wcslen(dest), src);
    return dest;
}

char16_t* wcsncat(char16_t* dest, const char16_t* src, size_t count) {
    char16_t* out = dest + wcslen(dest);
    size_t i = 0;
    for (; i < count && src[i] != 0; ++i)
        out[i] = src[i];
    out[i] = 0;
    return dest;
}

const char16_t* wcschr(const char16_t* text, char16_t ch) {
    for (;; ++text) {
        if (*text == ch) return text;
        if (*text == 0) return nullptr;
    }
}

char16_t* wcschr(char16_t* text, char16_t ch) {
    return const_cast<char16_t*>(wcschr(static_cast<const char16_t*>(text), ch));
}

const char16_t* wcsrchr(const char16_t* text, char16_t ch) {
    const char16_t* found = nullptr;
    for (;; ++text) {
        if (*text == ch) found = text;
        if (*text == 0) return found;
    }
}

char16_t* wcsrchr(char16_t* text, char16_t ch) {
    return const_cast<char16_t*>(wcsrchr(static_cast<const char16_t*>(text), ch));
}

const char16_t* wcsstr(const char16_t* text, const char16_t* sought) {
    size_t length = wcslen(sought);
    if (length == 0) return text;
    for (; *text != 0; ++text) {
        if (wcsncmp(text, sought, length) == 0) return text;
    }
    return nullptr;
}

char16_t* wcsstr(char16_t* text, const char16_t* sought) {
    return const_cast<char16_t*>(wcsstr(static_cast<const char16_t*>(text), sought));
}

const char16_t* wcspbrk(const char16_t* text, const char16_t* set) {
    for (; *text != 0; ++text) {
        if (wcschr(set, *text) != nullptr) return text;
    }
    return nullptr;
}

char16_t* wcspbrk(char16_t* text, const char16_t* set) {
    return const_cast<char16_t*>(wcspbrk(static_cast<const char16_t*>(text), set));
}

size_t wcsspn(const char16_t* text, const char16_t* set) {
    size_t n = 0;
    while (text[n] != 0 && wcschr(set, text[n]) != nullptr)
        ++n;
    return n;
}

size_t wcscspn(const char16_t* text, const char16_t* set) {
    size_t n = 0;
    while (text[n] != 0 && wcschr(set, text[n]) == nullptr)
        ++n;
    return n;
}
