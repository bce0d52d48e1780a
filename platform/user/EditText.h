// The text and selection of a one-line edit control, kept apart from drawing and messages: an
// anchor and a caret (the selection lies between them), insertion under a length limit, deletion
// and word boundaries. Positions are UTF-16 indexes that never split a surrogate pair.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::user {

class EditText {
  public:
    // The limit a new control starts with, as on the device.
    static constexpr size_t kDefaultLimit = 30000;
    // The largest limit (EM_LIMITTEXT 0).
    static constexpr size_t kMaxLimit = 0x7FFFFFFE;

    const std::u16string& text() const { return m_text; }
    int length() const { return static_cast<int>(m_text.size()); }
    int anchor() const { return m_anchor; }
    int caret() const { return m_caret; }
    int selectionStart() const { return m_anchor < m_caret ? m_anchor : m_caret; }
    int selectionEnd() const { return m_anchor < m_caret ? m_caret : m_anchor; }
    bool hasSelection() const { return m_anchor != m_caret; }
    size_t limit() const { return m_limit; }
    // Later insertions keep the text at most limit characters long (0: kMaxLimit). Text already
    // longer is kept.
    void setLimit(size_t limit) { m_limit = limit ? limit : kMaxLimit; }

    // Replaces the whole text (no limit applies); the caret and anchor go to 0.
    void setText(std::u16string_view text);
    // Selects from anchor to caret, each clamped to 0..length (a negative value means the end).
    void select(int anchor, int caret);
    // Moves the caret; extend keeps the anchor (selecting), otherwise the anchor follows.
    void moveCaret(int position, bool extend);
    // Replaces the selection with insert, cut short so the text stays within the limit. Returns how
    // many characters of insert went in; the caret and anchor end after them. Deleting a selection
    // with nothing inserted is a change too: changed reports whether the text differs.
    size_t replaceSelection(std::u16string_view insert, bool& changed);
    // Backspace: removes the selection, else the character before the caret. False when nothing
    // was removed.
    bool deleteBackward();
    // Delete key: removes the selection, else the character after the caret. False when nothing was
    // removed.
    bool deleteForward();

    // The position one character before or after position (a surrogate pair is one character).
    int previous(int position) const;
    int next(int position) const;
    // The start and end of the word (letters and digits, or one run of other non-space characters)
    // at position.
    int wordStart(int position) const;
    int wordEnd(int position) const;

  private:
    int clamp(int position) const;
    void erase(int start, int end);

    std::u16string m_text;
    int m_anchor = 0;
    int m_caret = 0;
    size_t m_limit = kDefaultLimit;
};

}  // namespace platform::user
