// Str's buffers (size classes, the shared empty string, reference counting, copy-on-write), its
// construction, assignment, comparison, concatenation, appending and direct writing.
#include "Str.h"

#include <algorithm>
#include <cstring>

#include "ErrorLog.h"
#include "StrBlock.h"
#include "platform/windows.h"

namespace {

// The process-wide empty string: a header and its terminator, constant-initialised so that it exists
// before any Str is made, and never written.
struct EmptyBlock {
    StrHeader header;
    WCHAR text[2];
};
constinit EmptyBlock g_empty = {{strblock::kEmptyReferenceCount, 0, 0}, {0, 0}};

WCHAR* emptyText() {
    return g_empty.text;
}

void copyChars(WCHAR* to, const WCHAR* from, int count) {
    if (count > 0) std::memcpy(to, from, static_cast<size_t>(count) * sizeof(WCHAR));
}

int textLength(const WCHAR* text) {
    return text != nullptr ? static_cast<int>(std::min<size_t>(wcslen(text), strblock::kMaxLength)) : 0;
}

}  // namespace

namespace strblock {

int32_t sizeClass(int64_t length) {
    int64_t need = (length + 7) * 2;
    if (need < 64) return 64;
    if (need < 128) return 128;
    if (need < 256) return 256;
    return static_cast<int32_t>(std::max<int64_t>(need, 512));
}

int roomOf(int32_t capacity) {
    return capacity / 2 - 7;
}

void reportAllocationFailure() {
    dove::writeErrorLog(u"Memory allocation failed", kSourceName, 23);
}

}  // namespace strblock

// --- buffers -------------------------------------------------------------------------------------

StrHeader* Str::headerOf(const WCHAR* text) {
    return reinterpret_cast<StrHeader*>(const_cast<char*>(reinterpret_cast<const char*>(text)) -
                                        sizeof(StrHeader));
}

bool Str::isSharedEmpty() const {
    return m_text == emptyText();
}

// A unique block for length characters (count 1, length set, terminated; the characters themselves
// are left to the caller), or nullptr after logging the failure.
WCHAR* Str::allocate(int length) {
    if (length < 0 || length > strblock::kMaxLength) {
        strblock::reportAllocationFailure();
        return nullptr;
    }
    int32_t capacity = strblock::sizeClass(length);
    void* block = HeapAlloc(GetProcessHeap(), 0, static_cast<size_t>(capacity));
    if (block == nullptr) {
        strblock::reportAllocationFailure();
        return nullptr;
    }
    auto* header = new (block) StrHeader{1, length, capacity};
    auto* text = reinterpret_cast<WCHAR*>(header + 1);
    text[length] = 0;
    return text;
}

void Str::release() {
    if (!isSharedEmpty()) {
        StrHeader* h = header();
        if (--h->referenceCount == 0) HeapFree(GetProcessHeap(), 0, h);
    }
    m_text = emptyText();
}

// Takes over a block made by allocate (or the empty text), releasing the current one.
void Str::adopt(WCHAR* text) {
    release();
    m_text = text;
}

// After success the buffer is this string's own, not the shared empty string, and holds room
// characters plus the terminator; the current characters are kept. Keeps the buffer when it is
// unshared and its class is large enough, otherwise copies into a new buffer sized for room.
bool Str::ensureWritable(int room) {
    StrHeader* h = header();
    room = std::max(room, h->length);
    if (!isSharedEmpty() && h->referenceCount == 1 && room <= strblock::roomOf(h->capacity)) return true;
    WCHAR* fresh = allocate(room);
    if (fresh == nullptr) return false;
    copyChars(fresh, m_text, h->length);
    fresh[h->length] = 0;
    headerOf(fresh)->length = h->length;
    adopt(fresh);
    return true;
}

// Sets the length of a writable buffer and terminates it; 0 falls back to the shared empty string.
void Str::setLength(int length) {
    if (length <= 0) {
        release();
        return;
    }
    header()->length = length;
    m_text[length] = 0;
}

bool Str::aliases(const WCHAR* text) const {
    if (isSharedEmpty() || text == nullptr) return false;
    auto address = reinterpret_cast<uintptr_t>(text);
    auto begin = reinterpret_cast<uintptr_t>(m_text);
    return address >= begin && address < begin + static_cast<uintptr_t>(header()->capacity);
}

StrHeader inspectStr(const Str& text) {
    return *text.header();
}

// --- construction and assignment -----------------------------------------------------------------

Str::Str() noexcept : m_text(emptyText()) {}

Str::Str(const WCHAR* text) : Str(text, textLength(text)) {}

Str::Str(const WCHAR* text, int length) : m_text(emptyText()) {
    if (text == nullptr || length <= 0) return;
    WCHAR* fresh = allocate(length);
    if (fresh == nullptr) return;
    copyChars(fresh, text, length);
    m_text = fresh;
}

Str::Str(WCHAR ch) : Str(&ch, ch != 0 ? 1 : 0) {}

Str::Str(const Str& other) noexcept : m_text(other.m_text) {
    if (!isSharedEmpty()) ++header()->referenceCount;
}

Str::Str(Str&& other) noexcept : m_text(other.m_text) {
    other.m_text = emptyText();
}

Str::~Str() {
    release();
}

Str& Str::operator=(const Str& other) noexcept {
    if (other.m_text != m_text) {
        Str copy(other);
        std::swap(m_text, copy.m_text);
    }
    return *this;
}

Str& Str::operator=(Str&& other) noexcept {
    std::swap(m_text, other.m_text);
    return *this;
}

Str& Str::operator=(const WCHAR* text) {
    if (text == m_text) return *this;
    Str fresh(text);
    // A failed copy of a non-empty text keeps the old value rather than losing it.
    if (fresh.isEmpty() && textLength(text) > 0) return *this;
    std::swap(m_text, fresh.m_text);
    return *this;
}

Str& Str::operator=(WCHAR ch) {
    WCHAR text[2] = {ch, 0};
    return *this = text;
}

Str Str::number(long long value) {
    WCHAR digits[65];
    return Str(_i64tow(value, digits, 10));
}

// --- access and comparison -----------------------------------------------------------------------

int Str::length() const {
    return header()->length;
}

WCHAR Str::operator[](int index) const {
    return index >= 0 && index <= length() ? m_text[index] : WCHAR(0);
}

void Str::clear() {
    release();
}

int Str::compare(const WCHAR* text) const {
    return wcscmp(m_text, text != nullptr ? text : u"");
}

int Str::compareNoCase(const WCHAR* text) const {
    return _wcsicmp(m_text, text != nullptr ? text : u"");
}

bool operator==(const Str& a, const Str& b) {
    if (a.m_text == b.m_text) return true;
    int length = a.length();
    return length == b.length() &&
           std::memcmp(a.m_text, b.m_text, static_cast<size_t>(length) * sizeof(WCHAR)) == 0;
}

// --- concatenation and appending -----------------------------------------------------------------

Str Str::concat(const WCHAR* a, int aLength, const WCHAR* b, int bLength) {
    Str result;
    WCHAR* fresh = allocate(aLength + bLength);
    if (fresh == nullptr) return result;
    copyChars(fresh, a, aLength);
    copyChars(fresh + aLength, b, bLength);
    result.m_text = fresh;
    return result;
}

Str operator+(const Str& a, const Str& b) {
    if (b.isEmpty()) return a;
    if (a.isEmpty()) return b;
    return Str::concat(a.m_text, a.length(), b.m_text, b.length());
}

Str operator+(const Str& a, const WCHAR* b) {
    int bLength = textLength(b);
    if (bLength == 0) return a;
    if (a.isEmpty()) return Str(b, bLength);
    return Str::concat(a.m_text, a.length(), b, bLength);
}

Str operator+(const WCHAR* a, const Str& b) {
    int aLength = textLength(a);
    if (aLength == 0) return b;
    if (b.isEmpty()) return Str(a, aLength);
    return Str::concat(a, aLength, b.m_text, b.length());
}

Str operator+(const Str& a, WCHAR b) {
    WCHAR text[2] = {b, 0};
    return a + text;
}

Str operator+(WCHAR a, const Str& b) {
    WCHAR text[2] = {a, 0};
    return text + b;
}

bool Str::append(const WCHAR* text, int count) {
    if (text == nullptr || count <= 0) return true;
    int oldLength = length();
    if (count > strblock::kMaxLength - oldLength) {
        strblock::reportAllocationFailure();
        return false;
    }
    // Text inside this buffer must outlive a move to a bigger one: holding a second reference keeps
    // the old buffer alive (and makes the move a copy) until the characters are appended.
    Str keepAlive;
    if (aliases(text)) keepAlive = *this;
    if (!ensureWritable(oldLength + count)) return false;
    std::memmove(m_text + oldLength, text, static_cast<size_t>(count) * sizeof(WCHAR));
    setLength(oldLength + count);
    return true;
}

bool Str::append(const WCHAR* text) {
    return append(text, textLength(text));
}

bool Str::append(const Str& text) {
    if (isEmpty() && !text.isEmpty()) {
        *this = text;  // sharing is the cheapest append to nothing
        return true;
    }
    return append(text.m_text, text.length());
}

bool Str::append(WCHAR ch) {
    return append(&ch, ch != 0 ? 1 : 0);
}

Str& Str::operator+=(const Str& text) {
    append(text);
    return *this;
}

Str& Str::operator+=(const WCHAR* text) {
    append(text);
    return *this;
}

Str& Str::operator+=(WCHAR ch) {
    append(ch);
    return *this;
}

// --- direct writing ------------------------------------------------------------------------------

WCHAR* Str::getBuffer(int minLength) {
    return ensureWritable(std::max(minLength, 0)) ? m_text : nullptr;
}

void Str::releaseBuffer(int newLength) {
    // getBuffer always leaves an unshared buffer; a shared one means it was not called or failed, so
    // nothing was written and the text stays as it is.
    if (isSharedEmpty() || header()->referenceCount > 1) return;
    int room = strblock::roomOf(header()->capacity);
    if (newLength < 0) {
        newLength = 0;
        while (newLength < room && m_text[newLength] != 0)
            ++newLength;
    }
    setLength(std::min(newLength, room));
}
