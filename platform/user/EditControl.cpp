// The system class "Edit", one line: typing (WM_CHAR), caret keys with shift-selection, stylus
// placing the caret and dragging a selection, the EM_* messages, EN_* notifications to the parent,
// the styles that filter or transform input (ES_NUMBER, ES_UPPERCASE, ES_LOWERCASE, ES_READONLY)
// and a caret that blinks on the platform clock while the control has the focus.

#include <algorithm>

#include "ControlSupport.h"
#include "EditControl.h"
#include "platform/clock.h"
#include "platform/text.h"

namespace platform::user {

namespace {

constexpr UINT_PTR kCaretTimer = 0xCA7E;
constexpr UINT kBlinkMs = 500;
// After this long without input the caret stops blinking and stays shown, so an idle control does
// not keep the device (or a waiting message loop on the virtual clock) busy.
constexpr DWORD kBlinkStopMs = 10000;

ControlTable<EditState>& edits() {
    static auto* table = new ControlTable<EditState>();
    return *table;
}

void refuse() {
    MessageBeep(MB_OK);
}

// Input arrived: the caret shows at once and blinks again.
void wake(HWND window, EditState& state) {
    state.caretShown = true;
    state.lastInput = GetTickCount();
    if (state.focused && !state.blinking) {
        SetTimer(window, kCaretTimer, kBlinkMs, nullptr);
        state.blinking = true;
    }
}

void blink(HWND window, EditState& state) {
    if (!state.focused || GetTickCount() - state.lastInput >= kBlinkStopMs) {
        KillTimer(window, kCaretTimer);
        state.blinking = false;
        state.caretShown = true;
    } else {
        state.caretShown = !state.caretShown;
    }
    InvalidateRect(window, nullptr, FALSE);
}

// The selection or caret moved: keep the caret in view and repaint.
void selectionMoved(HWND window, EditState& state) {
    scrollToCaret(window, state);
    wake(window, state);
    InvalidateRect(window, nullptr, FALSE);
}

// The text changed: EN_UPDATE before the control shows it, EN_CHANGE after.
void textChanged(HWND window, EditState& state, bool byUser) {
    if (byUser) state.modified = true;
    scrollToCaret(window, state);
    wake(window, state);
    notifyParent(window, EN_UPDATE);
    if (!IsWindow(window)) return;
    InvalidateRect(window, nullptr, FALSE);
    notifyParent(window, EN_CHANGE);
}

std::u16string convertCase(DWORD style, std::u16string_view text) {
    std::u16string result(text);
    if (style & ES_UPPERCASE) CharUpperBuffW(result.data(), static_cast<DWORD>(result.size()));
    if (style & ES_LOWERCASE) CharLowerBuffW(result.data(), static_cast<DWORD>(result.size()));
    return result;
}

// The model after replacing the selection with as much of insert as the limit and, without
// ES_AUTOHSCROLL, the width allow.
EditText fitted(HWND window, const EditState& state, std::u16string_view insert, size_t& inserted) {
    EditText trial = state.model;
    bool changed = false;
    inserted = trial.replaceSelection(insert, changed);
    if (styleOf(window) & ES_AUTOHSCROLL) return trial;
    int room = formatWidth(window, state);
    size_t low = 0;
    size_t high = inserted;
    // The largest count that fits; deleting the selection alone always stands.
    while (low < high) {
        size_t middle = (low + high + 1) / 2;
        EditText probe = state.model;
        probe.replaceSelection(insert.substr(0, middle), changed);
        if (shownWidth(window, state, probe.text()) <= room)
            low = middle;
        else
            high = middle - 1;
    }
    if (low != inserted) {
        trial = state.model;
        inserted = trial.replaceSelection(insert.substr(0, low), changed);
    }
    return trial;
}

// Inserts in place of the selection as typing does. A cut-short insertion beeps and sends
// EN_MAXTEXT. Returns whether the text changed.
bool insertText(HWND window, EditState& state, std::u16string_view insert) {
    std::u16string text = convertCase(styleOf(window), insert);
    size_t inserted = 0;
    EditText result = fitted(window, state, text, inserted);
    bool changed = result.text() != state.model.text();
    state.model = result;
    if (inserted < text.size()) {
        refuse();
        notifyParent(window, EN_MAXTEXT);
        if (!IsWindow(window)) return false;
    }
    if (changed)
        textChanged(window, state, true);
    else
        selectionMoved(window, state);
    return changed;
}

void typeCharacter(HWND window, EditState& state, WCHAR character) {
    DWORD style = styleOf(window);
    if (character == u'\b') {
        if (style & ES_READONLY) return refuse();
        if (state.model.deleteBackward()) textChanged(window, state, true);
        return;
    }
    if (character < u' ' || character == 0x7F) return;  // control characters are not text
    if ((style & ES_READONLY) || ((style & ES_NUMBER) && (character < u'0' || character > u'9')))
        return refuse();
    insertText(window, state, std::u16string_view(&character, 1));
}

void keyDown(HWND window, EditState& state, WPARAM key) {
    const EditText& model = state.model;
    bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    bool collapse = !shift && model.hasSelection();
    int target;
    switch (key) {
        case VK_LEFT:
            target = collapse ? model.selectionStart() : model.previous(model.caret());
            break;
        case VK_RIGHT:
            target = collapse ? model.selectionEnd() : model.next(model.caret());
            break;
        case VK_HOME:
            target = 0;
            break;
        case VK_END:
            target = model.length();
            break;
        case VK_DELETE:
            if (styleOf(window) & ES_READONLY) return refuse();
            if (state.model.deleteForward()) textChanged(window, state, true);
            return;
        default:
            return;
    }
    state.model.moveCaret(target, shift);
    selectionMoved(window, state);
}

void stylusDown(HWND window, EditState& state, LPARAM lParam, bool doubleClick) {
    if (GetFocus() != window) SetFocus(window);
    if (!IsWindow(window)) return;
    EditLayout layout = layoutEdit(window, state);
    int position = layout.positionAt(GET_X_LPARAM(lParam));
    if (doubleClick)
        state.model.select(state.model.wordStart(position), state.model.wordEnd(position));
    else
        state.model.moveCaret(position, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
    state.selecting = true;
    SetCapture(window);
    selectionMoved(window, state);
}

void stylusMove(HWND window, EditState& state, LPARAM lParam) {
    if (!state.selecting) return;
    EditLayout layout = layoutEdit(window, state);
    state.model.moveCaret(layout.positionAt(GET_X_LPARAM(lParam)), true);
    selectionMoved(window, state);
}

void focusChanged(HWND window, EditState& state, bool gained) {
    state.focused = gained;
    if (gained) {
        wake(window, state);
    } else {
        KillTimer(window, kCaretTimer);
        state.blinking = false;
        if (state.selecting) ReleaseCapture();
    }
    InvalidateRect(window, nullptr, FALSE);
    notifyParent(window, gained ? EN_SETFOCUS : EN_KILLFOCUS);
}

LRESULT setText(HWND window, EditState& state, LPCWSTR text) {
    state.model.setText(text && !IS_INTRESOURCE(text) ? std::u16string_view(text) : std::u16string_view());
    state.modified = false;
    state.scrollX = 0;
    textChanged(window, state, false);
    return TRUE;
}

LRESULT getText(const EditState& state, WPARAM bufferMax, LPWSTR buffer) {
    if (!buffer || bufferMax == 0) return 0;
    size_t count = std::min(state.model.text().size(), static_cast<size_t>(bufferMax - 1));
    std::copy_n(state.model.text().data(), count, buffer);
    buffer[count] = 0;
    return static_cast<LRESULT>(count);
}

LRESULT getSelection(const EditState& state, WPARAM startOut, LPARAM endOut) {
    auto start = static_cast<DWORD>(state.model.selectionStart());
    auto end = static_cast<DWORD>(state.model.selectionEnd());
    if (startOut) *reinterpret_cast<DWORD*>(startOut) = start;
    if (endOut) *reinterpret_cast<DWORD*>(endOut) = end;
    if (start > 0xFFFF || end > 0xFFFF) return -1;
    return MAKELRESULT(start, end);
}

// EM_SETSEL: start -1 drops the selection (the caret stays); end -1 (or any negative) is the end of
// the text; start may exceed end, the caret then sits at end.
LRESULT setSelection(HWND window, EditState& state, WPARAM wParam, LPARAM lParam) {
    auto start = static_cast<int>(static_cast<INT_PTR>(wParam));
    auto end = static_cast<int>(lParam);
    if (start == -1)
        state.model.moveCaret(state.model.caret(), false);
    else
        state.model.select(start < 0 ? 0 : start, end);
    selectionMoved(window, state);
    return 0;
}

LRESULT replaceSelection(HWND window, EditState& state, LPARAM lParam) {
    auto text = reinterpret_cast<LPCWSTR>(lParam);
    insertText(window, state, text ? std::u16string_view(text) : std::u16string_view());
    return 0;
}

LRESULT setPasswordChar(HWND window, EditState& state, WPARAM character) {
    state.passwordChar = static_cast<WCHAR>(character);
    DWORD style = styleOf(window);
    style = character ? (style | ES_PASSWORD) : (style & ~static_cast<DWORD>(ES_PASSWORD));
    SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(style));
    scrollToCaret(window, state);
    InvalidateRect(window, nullptr, FALSE);
    return 0;
}

LRESULT setReadOnly(HWND window, WPARAM readOnly) {
    DWORD style = styleOf(window);
    style = readOnly ? (style | ES_READONLY) : (style & ~static_cast<DWORD>(ES_READONLY));
    SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(style));
    InvalidateRect(window, nullptr, TRUE);
    return TRUE;
}

LRESULT setMargins(HWND window, EditState& state, WPARAM which, LPARAM margins) {
    bool fromFont = LOWORD(margins) == EC_USEFONTINFO;
    if (which & EC_LEFTMARGIN) state.leftMargin = fromFont ? -1 : LOWORD(margins);
    if (which & EC_RIGHTMARGIN) state.rightMargin = fromFont ? -1 : HIWORD(margins);
    scrollToCaret(window, state);
    InvalidateRect(window, nullptr, FALSE);
    return 0;
}

LRESULT positionFromChar(HWND window, const EditState& state, WPARAM index) {
    if (index >= static_cast<WPARAM>(state.model.length())) return -1;
    EditLayout layout = layoutEdit(window, state);
    return MAKELRESULT(layout.x(static_cast<int>(index)), layout.area.top);
}

LRESULT firstVisible(HWND window, const EditState& state) {
    EditLayout layout = layoutEdit(window, state);
    auto it = std::lower_bound(layout.offsets.begin(), layout.offsets.end(), state.scrollX);
    return std::min<LRESULT>(it - layout.offsets.begin(), state.model.length());
}

LRESULT editRect(HWND window, const EditState& state, LPARAM rect) {
    if (rect) *reinterpret_cast<RECT*>(rect) = layoutEdit(window, state).area;
    return 0;
}

LRESULT created(HWND window, EditState& state, LPARAM lParam) {
    auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    if (create && create->lpszName && !IS_INTRESOURCE(create->lpszName))
        state.model.setText(create->lpszName);
    return DefWindowProcW(window, WM_NCCREATE, 0, lParam);
}

LRESULT destroyed(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    KillTimer(window, kCaretTimer);
    edits().erase(window);
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

namespace {

// The EM_* messages; handled reports whether message was one.
LRESULT editMessage(HWND window, EditState& state, UINT message, WPARAM wParam, LPARAM lParam,
                    bool& handled) {
    handled = true;
    switch (message) {
        case EM_GETSEL:
            return getSelection(state, wParam, lParam);
        case EM_SETSEL:
            return setSelection(window, state, wParam, lParam);
        case EM_REPLACESEL:
            return replaceSelection(window, state, lParam);
        case EM_LIMITTEXT:
            state.model.setLimit(static_cast<size_t>(wParam));
            return 0;
        case EM_GETLIMITTEXT:
            return static_cast<LRESULT>(state.model.limit());
        case EM_GETMODIFY:
            return state.modified ? TRUE : FALSE;
        case EM_SETMODIFY:
            state.modified = wParam != 0;
            return 0;
        case EM_SETREADONLY:
            return setReadOnly(window, wParam);
        case EM_SETPASSWORDCHAR:
            return setPasswordChar(window, state, wParam);
        case EM_GETPASSWORDCHAR:
            return (styleOf(window) & ES_PASSWORD) ? state.passwordChar : 0;
        case EM_SCROLLCARET:
            selectionMoved(window, state);
            return TRUE;
        case EM_GETFIRSTVISIBLELINE:
            return firstVisible(window, state);
        case EM_POSFROMCHAR:
            return positionFromChar(window, state, wParam);
        case EM_CHARFROMPOS:
            return MAKELRESULT(layoutEdit(window, state).positionAt(GET_X_LPARAM(lParam)), 0);
        case EM_GETRECT:
            return editRect(window, state, lParam);
        case EM_SETMARGINS:
            return setMargins(window, state, wParam, lParam);
        case EM_GETMARGINS:
            return MAKELRESULT(std::max(state.leftMargin, 0), std::max(state.rightMargin, 0));
        case EM_GETLINECOUNT:
            return 1;
        case EM_LINELENGTH:
            return state.model.length();
        case EM_CANUNDO:
        case EM_UNDO:
            return FALSE;  // this control keeps no undo history
        default:
            handled = false;
            return 0;
    }
}

LRESULT inputMessage(HWND window, EditState& state, UINT message, WPARAM wParam, LPARAM lParam,
                     bool& handled) {
    handled = true;
    switch (message) {
        case WM_CHAR:
            wake(window, state);
            typeCharacter(window, state, static_cast<WCHAR>(wParam));
            return 0;
        case WM_KEYDOWN:
            keyDown(window, state, wParam);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            stylusDown(window, state, lParam, message == WM_LBUTTONDBLCLK);
            return 0;
        case WM_MOUSEMOVE:
            stylusMove(window, state, lParam);
            return 0;
        case WM_LBUTTONUP:
            if (state.selecting) ReleaseCapture();
            return 0;
        case WM_CAPTURECHANGED:
            state.selecting = false;
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            focusChanged(window, state, message == WM_SETFOCUS);
            return 0;
        case WM_CLEAR:
            if (!(styleOf(window) & ES_READONLY) && state.model.hasSelection() &&
                state.model.deleteBackward())
                textChanged(window, state, true);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        default:
            handled = false;
            return 0;
    }
}

}  // namespace

LRESULT CALLBACK editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) return destroyed(window, message, wParam, lParam);
    EditState& state = edits().of(window);
    bool handled = false;
    LRESULT result = editMessage(window, state, message, wParam, lParam, handled);
    if (!handled) result = inputMessage(window, state, message, wParam, lParam, handled);
    if (handled) return result;
    switch (message) {
        case WM_NCCREATE:
            return created(window, state, lParam);
        case WM_PAINT:
            paintEdit(window, state);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // painting fills the background with the parent's brush
        case WM_SETTEXT:
            return setText(window, state, reinterpret_cast<LPCWSTR>(lParam));
        case WM_GETTEXT:
            return getText(state, wParam, reinterpret_cast<LPWSTR>(lParam));
        case WM_GETTEXTLENGTH:
            return state.model.length();
        case WM_SETFONT:
            state.font = reinterpret_cast<HFONT>(wParam);
            scrollToCaret(window, state);
            if (LOWORD(lParam)) InvalidateRect(window, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(state.font);
        case WM_TIMER:
            if (wParam != kCaretTimer) break;
            blink(window, state);
            return 0;
        case WM_SIZE:
            scrollToCaret(window, state);
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_ENABLE:
        case WM_STYLECHANGED:
            InvalidateRect(window, nullptr, TRUE);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace platform::user
