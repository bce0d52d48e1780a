// The edit control's text model: selection arithmetic, limited insertion, deletion and words.

#include "EditText.h"

#include <algorithm>

namespace platform::user {

namespace {

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Word characters: letters and digits of any script (what is not space or punctuation).
bool isWordChar(char16_t c) {
    if (c <= 0x7F) return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
    return c >= 0xC0 && c != 0x2000 && !(c >= 0x2010 && c <= 0x206F) && c != 0x3000;
}

int charClass(char16_t c) {
    if (c == u' ' || c == u'\t' || c == 0xA0) return 0;
    return isWordChar(c) ? 1 : 2;
}

}  // namespace

int EditText::clamp(int position) const {
    if (position < 0 || position > length()) position = length();
    // Never inside a surrogate pair.
    if (position > 0 && position < length() && isLowSurrogate(m_text[position]) &&
        isHighSurrogate(m_text[position - 1]))
        --position;
    return position;
}

void EditText::setText(std::u16string_view text) {
    m_text.assign(text);
    m_anchor = m_caret = 0;
}

void EditText::select(int anchor, int caret) {
    m_anchor = clamp(anchor);
    m_caret = clamp(caret);
}

void EditText::moveCaret(int position, bool extend) {
    m_caret = clamp(position);
    if (!extend) m_anchor = m_caret;
}

void EditText::erase(int start, int end) {
    m_text.erase(static_cast<size_t>(start), static_cast<size_t>(end - start));
    m_anchor = m_caret = start;
}

size_t EditText::replaceSelection(std::u16string_view insert, bool& changed) {
    int start = selectionStart();
    int end = selectionEnd();
    size_t kept = m_text.size() - static_cast<size_t>(end - start);
    size_t room = m_limit > kept ? m_limit - kept : 0;
    size_t count = std::min(insert.size(), room);
    // Never keep half of a surrogate pair.
    if (count > 0 && count < insert.size() && isHighSurrogate(insert[count - 1])) --count;
    changed = start != end || count > 0;
    m_text.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), insert.substr(0, count));
    m_anchor = m_caret = start + static_cast<int>(count);
    return count;
}

bool EditText::deleteBackward() {
    if (hasSelection()) {
        erase(selectionStart(), selectionEnd());
        return true;
    }
    if (m_caret == 0) return false;
    erase(previous(m_caret), m_caret);
    return true;
}

bool EditText::deleteForward() {
    if (hasSelection()) {
        erase(selectionStart(), selectionEnd());
        return true;
    }
    if (m_caret == length()) return false;
    erase(m_caret, next(m_caret));
    return true;
}

int EditText::previous(int position) const {
    position = clamp(position);
    if (position == 0) return 0;
    --position;
    if (position > 0 && isLowSurrogate(m_text[position]) && isHighSurrogate(m_text[position - 1])) --position;
    return position;
}

int EditText::next(int position) const {
    position = clamp(position);
    if (position == length()) return position;
    ++position;
    if (position < length() && isLowSurrogate(m_text[position]) && isHighSurrogate(m_text[position - 1]))
        ++position;
    return position;
}

int EditText::wordStart(int position) const {
    position = clamp(position);
    if (position == length() && position > 0) --position;
    if (m_text.empty()) return 0;
    int kind = charClass(m_text[position]);
    while (position > 0 && charClass(m_text[position - 1]) == kind)
        --position;
    return position;
}

int EditText::wordEnd(int position) const {
    position = clamp(position);
    if (position == length()) return position;
    int kind = charClass(m_text[position]);
    while (position < length() && charClass(m_text[position]) == kind)
        ++position;
    return position;
}

}  // namespace platform::user
