// The "Edit" control's per-window state and its view: where the text line lies, how far it is
// scrolled, and painting (text, highlighted selection, caret). The message handling is in
// EditControl.cpp; the text model in EditText.h.
#pragma once

#include <string>
#include <vector>

#include "EditText.h"
#include "platform/winuser.h"

namespace platform::user {

struct EditState {
    EditText model;
    HFONT font = nullptr;
    int scrollX = 0;  // pixels of the text hidden at the left (ES_AUTOHSCROLL)
    bool focused = false;
    bool caretShown = false;    // the caret's blink phase
    bool blinking = false;      // the blink timer runs
    DWORD lastInput = 0;        // tick of the last input, for stopping the blink
    bool selecting = false;     // the stylus is held down in the control
    bool modified = false;      // EM_GETMODIFY
    WCHAR passwordChar = u'*';  // shown for each character with ES_PASSWORD
    int leftMargin = -1;        // pixels; -1 for the default
    int rightMargin = -1;
};

// The text line in client coordinates, measured with the control's font.
struct EditLayout {
    RECT area{};  // the formatting rectangle: the client area less the margins
    int lineHeight = 0;
    std::u16string shown;      // the text as drawn (password characters in place of the text)
    std::vector<int> offsets;  // x of every position 0..length from the start of the text
    int origin = 0;            // client x of position 0, after scrolling and alignment

    int x(int position) const { return origin + offsets[static_cast<size_t>(position)]; }
    int width() const { return offsets.back(); }
    // The position nearest to a client x.
    int positionAt(int clientX) const;
};

// Measures the line as the state's text would be drawn now (scrollX as it stands).
EditLayout layoutEdit(HWND window, const EditState& state);
// Width in pixels of text in the control's font, as drawn (password characters included).
int shownWidth(HWND window, const EditState& state, const std::u16string& text);
// The width of the formatting rectangle.
int formatWidth(HWND window, const EditState& state);
// Brings the caret into view (ES_AUTOHSCROLL) and drops scrolling the text no longer needs.
// Returns true when the scroll offset changed.
bool scrollToCaret(HWND window, EditState& state);
// Draws the control (WM_PAINT).
void paintEdit(HWND window, EditState& state);

}  // namespace platform::user
