// Str: the user-interface code's string. A reference-counted, copy-on-write, always NUL-terminated
// string of UTF-16 characters whose only member is a pointer to its characters; a header with the
// reference count, length and size class lies in front of them.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "platform/wintypes.h"

// The header in front of a Str's characters, three 32-bit fields in this order.
struct StrHeader {
    int32_t referenceCount;  // Str values sharing the buffer (100 and never changed for the empty string)
    int32_t length;          // characters in use, without the terminating NUL
    int32_t capacity;        // the block's size class in bytes (0 for the shared empty string)
};

// Threads: reference counts are plain integers because the user interface runs on one thread; a Str
// and all copies sharing its buffer must stay on that thread. The shared empty string is a constant-
// initialised object that is never written, so it is ready before any code runs and safe everywhere.
//
// Memory: buffers come from the process heap in size classes (64, 128, 256, then max(need, 512) bytes
// where need = (length + 7) * 2). When a buffer cannot be allocated, "Memory allocation failed" is
// written to the error log and the operation leaves the string as it was (constructors, slices and
// concatenations give the empty string); operations that change a string then return false.
class Str {
  public:
    // The empty string (shares the process-wide empty buffer).
    Str() noexcept;
    // A copy of text; null or "" gives the empty string.
    Str(const WCHAR* text);
    // A copy of the first length characters of text (which may hold NULs); length <= 0 gives "".
    Str(const WCHAR* text, int length);
    // A one-character string; the character 0 gives the empty string.
    explicit Str(WCHAR ch);
    // Shares other's buffer (its reference count + 1).
    Str(const Str& other) noexcept;
    Str(Str&& other) noexcept;
    // Releases the buffer: count - 1, freed at 0; the shared empty string is never counted or freed.
    ~Str();

    Str& operator=(const Str& other) noexcept;
    Str& operator=(Str&& other) noexcept;
    // Nothing happens when text is this string's own buffer; otherwise a new buffer is built (text may
    // point into the old one) and the old one released. Keeps the old value when allocation fails.
    Str& operator=(const WCHAR* text);
    Str& operator=(WCHAR ch);

    // The decimal text of value.
    static Str number(long long value);
    // The text formatted as by format() below (the empty string when formatting fails).
    static Str formatted(const WCHAR* format, ...);

    // --- access ----------------------------------------------------------------------------------
    int length() const;
    bool isEmpty() const { return length() == 0; }
    // The NUL-terminated characters; valid until the string is next changed or destroyed.
    const WCHAR* c_str() const { return m_text; }
    operator const WCHAR*() const { return m_text; }
    // The character at index, the terminator at index length(), and 0 for any other index.
    WCHAR operator[](int index) const;
    // Makes the string empty (releases its buffer).
    void clear();

    // --- comparison (ordinal on UTF-16 units; a null text compares as "") --------------------------
    // < 0, 0 or > 0 as the string sorts before, equal to or after text.
    int compare(const WCHAR* text) const;
    // As compare, with Latin, Greek and Cyrillic letters folded to lower case.
    int compareNoCase(const WCHAR* text) const;
    friend bool operator==(const Str& a, const Str& b);
    friend bool operator==(const Str& a, const WCHAR* b) { return a.compare(b) == 0; }

    // --- changes: each makes the buffer unique first and returns false (string unchanged) when
    // memory for that runs out ------------------------------------------------------------------
    bool upper();    // CharUpperW over the characters
    bool lower();    // CharLowerW over the characters
    bool reverse();  // the characters in reverse order
    // Replaces the character at index (0 <= index < length, ch != 0); false for anything else.
    bool setAt(int index, WCHAR ch);
    // Drops the leading / trailing run of whitespace (iswctype _SPACE), of ch, or of characters of set
    // (a null or empty set does nothing).
    bool trimLeft();
    bool trimLeft(WCHAR ch);
    bool trimLeft(const WCHAR* set);
    bool trimRight();
    bool trimRight(WCHAR ch);
    bool trimRight(const WCHAR* set);

    // --- searching ("not found" is -1; a negative from counts as 0) -------------------------------
    // First position at or after from of ch / of text; -1 when from is not below the length.
    int find(WCHAR ch, int from = 0) const;
    int find(const WCHAR* text, int from = 0) const;
    // Last position of ch.
    int reverseFind(WCHAR ch) const;
    // First position at or after from of any character of set.
    int findAny(const WCHAR* set, int from = 0) const;

    // --- slices: negative numbers count as 0, counts are cut at the end; a slice that is the whole
    // string shares its buffer ----------------------------------------------------------------------
    Str mid(int start, int count) const;
    Str mid(int start) const;
    Str left(int count) const;
    Str right(int count) const;

    // --- concatenation and appending ---------------------------------------------------------------
    // A new buffer holding both sides; when one side is empty the result shares the other. The empty
    // string when memory runs out.
    friend Str operator+(const Str& a, const Str& b);
    friend Str operator+(const Str& a, const WCHAR* b);
    friend Str operator+(const WCHAR* a, const Str& b);
    friend Str operator+(const Str& a, WCHAR b);
    friend Str operator+(WCHAR a, const Str& b);
    // Appends length characters of text (which may point into this string). Grows in place when the
    // buffer is unshared and its size class holds the result, otherwise copies into a buffer sized for
    // the result. Empty text (or the character 0) does nothing. False, string unchanged, when memory
    // runs out.
    bool append(const WCHAR* text, int length);
    bool append(const WCHAR* text);
    bool append(const Str& text);
    bool append(WCHAR ch);
    Str& operator+=(const Str& text);
    Str& operator+=(const WCHAR* text);
    Str& operator+=(WCHAR ch);

    // --- direct writing ----------------------------------------------------------------------------
    // Makes the buffer unique with room for max(minLength, length()) characters plus the terminator
    // and returns it; the current characters stay. nullptr (string unchanged) when memory runs out.
    WCHAR* getBuffer(int minLength);
    // Ends direct writing after a successful getBuffer: sets the length (the NUL-terminated length when
    // -1; either is cut to the buffer's room) and terminates. A length of 0 makes the string the shared
    // empty string. Does nothing on a shared buffer (getBuffer was not called or failed).
    void releaseBuffer(int length = -1);

    // --- formatting and resources ------------------------------------------------------------------
    // Replaces the text with the formatted arguments (the platform's device formatting: %s wide, %S
    // narrow, I64, *, ...). The buffer is sized by scanning the format first, so arguments may point
    // into this string. A null or empty format gives the empty string. False, string unchanged, when
    // memory runs out.
    bool format(const WCHAR* format, ...);
    bool formatV(const WCHAR* format, va_list args);
    // Replaces the text with string id of module (nullptr: resourceModule()). True when the loaded
    // text is not empty. A missing string gives the empty string and the error-log line "Resource
    // loading fail (id: <id> hInst: <module in hex>)"; when memory runs out the string is unchanged.
    bool load(UINT id, HINSTANCE module = nullptr);

    // The module load() reads when given none: the one set here (once, at start-up), else the module
    // this code is built into (the program, or a shared library that carries it), found from the
    // code's own address, so that a library loaded by another program reads its own strings.
    static void setResourceModule(HINSTANCE module);
    static HINSTANCE resourceModule();

  private:
    static WCHAR* allocate(int length);
    static StrHeader* headerOf(const WCHAR* text);
    StrHeader* header() const { return headerOf(m_text); }
    bool isSharedEmpty() const;
    void release();
    void adopt(WCHAR* text);
    bool ensureWritable(int room);
    void setLength(int length);
    bool keepRange(int start, int count);
    template <typename Match>
    bool trimWhere(bool atStart, Match matches);
    bool aliases(const WCHAR* text) const;
    static Str concat(const WCHAR* a, int aLength, const WCHAR* b, int bLength);
    bool loadLong(HINSTANCE module, UINT id);

    friend StrHeader inspectStr(const Str& text);

    WCHAR* m_text;
};

// A copy of the header in front of text's characters, for tests of the layout and sharing rules.
StrHeader inspectStr(const Str& text);
