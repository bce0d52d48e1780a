// Str's in-place edits (case, reversal, single characters, trims), searches and slices.
#include <algorithm>
#include <cstring>

#include "Str.h"
#include "platform/windows.h"

namespace {

bool isSpace(WCHAR ch) {
    return iswctype(ch, _SPACE) != 0;
}

bool inSet(const WCHAR* set, WCHAR ch) {
    return ch != 0 && wcschr(set, ch) != nullptr;
}

bool isEmptySet(const WCHAR* set) {
    return set == nullptr || set[0] == 0;
}

// The length of the leading (fromEnd false) or trailing run of text's characters that match.
template <typename Match>
int runLength(const WCHAR* text, int length, bool fromEnd, Match matches) {
    int run = 0;
    while (run < length && matches(text[fromEnd ? length - 1 - run : run]))
        ++run;
    return run;
}

}  // namespace

// --- edits ---------------------------------------------------------------------------------------

bool Str::upper() {
    if (isEmpty()) return true;
    if (!ensureWritable(length())) return false;
    CharUpperW(m_text);
    return true;
}

bool Str::lower() {
    if (isEmpty()) return true;
    if (!ensureWritable(length())) return false;
    CharLowerW(m_text);
    return true;
}

bool Str::reverse() {
    if (length() < 2) return true;
    if (!ensureWritable(length())) return false;
    std::reverse(m_text, m_text + length());
    return true;
}

bool Str::setAt(int index, WCHAR ch) {
    if (index < 0 || index >= length() || ch == 0) return false;
    if (m_text[index] == ch) return true;
    if (!ensureWritable(length())) return false;
    m_text[index] = ch;
    return true;
}

// Keeps the characters [start, start + count) of the string; nothing is allocated when everything is
// kept or nothing is.
bool Str::keepRange(int start, int count) {
    if (start == 0 && count == length()) return true;
    if (count <= 0) {
        release();
        return true;
    }
    if (!ensureWritable(length())) return false;
    if (start > 0) std::memmove(m_text, m_text + start, static_cast<size_t>(count) * sizeof(WCHAR));
    setLength(count);
    return true;
}

template <typename Match>
bool Str::trimWhere(bool atStart, Match matches) {
    int run = runLength(m_text, length(), !atStart, matches);
    return atStart ? keepRange(run, length() - run) : keepRange(0, length() - run);
}

bool Str::trimLeft() {
    return trimWhere(true, isSpace);
}

bool Str::trimLeft(WCHAR ch) {
    return trimWhere(true, [ch](WCHAR c) { return c == ch; });
}

bool Str::trimLeft(const WCHAR* set) {
    return isEmptySet(set) || trimWhere(true, [set](WCHAR c) { return inSet(set, c); });
}

bool Str::trimRight() {
    return trimWhere(false, isSpace);
}

bool Str::trimRight(WCHAR ch) {
    return trimWhere(false, [ch](WCHAR c) { return c == ch; });
}

bool Str::trimRight(const WCHAR* set) {
    return isEmptySet(set) || trimWhere(false, [set](WCHAR c) { return inSet(set, c); });
}

// --- searching -----------------------------------------------------------------------------------

int Str::find(WCHAR ch, int from) const {
    from = std::max(from, 0);
    for (int i = from; i < length(); ++i) {
        if (m_text[i] == ch) return i;
    }
    return -1;
}

int Str::find(const WCHAR* text, int from) const {
    from = std::max(from, 0);
    if (text == nullptr || from >= length()) return -1;
    const WCHAR* found = wcsstr(m_text + from, text);
    return found != nullptr ? static_cast<int>(found - m_text) : -1;
}

int Str::reverseFind(WCHAR ch) const {
    for (int i = length() - 1; i >= 0; --i) {
        if (m_text[i] == ch) return i;
    }
    return -1;
}

int Str::findAny(const WCHAR* set, int from) const {
    if (isEmptySet(set)) return -1;
    for (int i = std::max(from, 0); i < length(); ++i) {
        if (inSet(set, m_text[i])) return i;
    }
    return -1;
}

// --- slices --------------------------------------------------------------------------------------

Str Str::mid(int start, int count) const {
    start = std::max(start, 0);
    count = std::max(count, 0);
    if (start >= length()) return Str();
    count = std::min(count, length() - start);
    if (start == 0 && count == length()) return *this;
    return Str(m_text + start, count);
}

Str Str::mid(int start) const {
    return mid(start, length());
}

Str Str::left(int count) const {
    return mid(0, count);
}

Str Str::right(int count) const {
    count = std::clamp(count, 0, length());
    return mid(length() - count, count);
}
