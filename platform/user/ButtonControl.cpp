// The system class "Button": push buttons (pressed look while the stylus holds them, BN_CLICKED
// when released inside), check boxes and radio buttons (automatic ones check themselves; an
// automatic radio button unchecks the others of its group), group boxes, owner-drawn buttons
// (WM_DRAWITEM), the BM_* messages and the space key.

#include "ButtonControl.h"

#include "ControlSupport.h"

namespace platform::user {

namespace {

ControlTable<ButtonState>& buttons() {
    static auto* table = new ControlTable<ButtonState>();
    return *table;
}

bool checkable(UINT type) {
    switch (type) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return true;
        default:
            return false;
    }
}

void setPushed(HWND window, ButtonState& state, bool pushed) {
    if (state.pushed == pushed) return;
    state.pushed = pushed;
    state.pendingAction = ODA_SELECT;
    InvalidateRect(window, nullptr, TRUE);
}

LRESULT setCheck(HWND window, ButtonState& state, WPARAM check) {
    if (!checkable(buttonType(window))) return 0;
    UINT value = static_cast<UINT>(check) & (BST_CHECKED | BST_INDETERMINATE);
    if (value == BST_INDETERMINATE && buttonType(window) != BS_3STATE && buttonType(window) != BS_AUTO3STATE)
        value = BST_CHECKED;
    if (state.check != value) {
        state.check = value;
        InvalidateRect(window, nullptr, TRUE);
    }
    return 0;
}

// The siblings of an automatic radio button's group: from the nearest WS_GROUP at or before it up to
// the next WS_GROUP.
void uncheckGroup(HWND window) {
    HWND start = window;
    while (!(styleOf(start) & WS_GROUP)) {
        HWND previous = GetWindow(start, GW_HWNDPREV);
        if (!previous) break;
        start = previous;
    }
    for (HWND sibling = start; sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling != start && (styleOf(sibling) & WS_GROUP)) break;
        if (sibling == window || (styleOf(sibling) & BS_TYPEMASK) != BS_AUTORADIOBUTTON) continue;
        if (SendMessageW(sibling, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
            SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

// A completed click: automatic kinds change their check, then the parent hears BN_CLICKED.
void clicked(HWND window) {
    ButtonState& state = buttons().of(window);
    switch (buttonType(window)) {
        case BS_AUTOCHECKBOX:
            setCheck(window, state, state.check ? BST_UNCHECKED : BST_CHECKED);
            break;
        case BS_AUTO3STATE:
            setCheck(window, state, (state.check + 1) % 3);
            break;
        case BS_AUTORADIOBUTTON:
            setCheck(window, state, BST_CHECKED);
            uncheckGroup(window);
            break;
        default:
            break;
    }
    notifyParent(window, BN_CLICKED);
}

bool insideClient(HWND window, LPARAM lParam) {
    RECT client;
    GetClientRect(window, &client);
    return PtInRect(&client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

void stylusDown(HWND window, ButtonState& state) {
    if (buttonType(window) == BS_GROUPBOX) return;
    if (GetFocus() != window) SetFocus(window);
    if (!IsWindow(window)) return;
    state.tracking = true;
    SetCapture(window);
    setPushed(window, state, true);
}

void stylusUp(HWND window, ButtonState& state, LPARAM lParam) {
    if (!state.tracking) return;
    bool inside = insideClient(window, lParam);
    ReleaseCapture();  // WM_CAPTURECHANGED ends the tracking and the pressed look
    setPushed(window, state, false);
    state.tracking = false;
    if (inside) clicked(window);
}

void keyUp(HWND window, ButtonState& state, WPARAM key) {
    if (key != VK_SPACE || !state.spaceDown) return;
    state.spaceDown = false;
    if (!state.pushed) return;
    setPushed(window, state, false);
    clicked(window);
}

void focusChanged(HWND window, ButtonState& state, bool gained) {
    state.focused = gained;
    if (!gained) {
        state.spaceDown = false;
        if (state.tracking) ReleaseCapture();
        setPushed(window, state, false);
    }
    state.pendingAction = ODA_FOCUS;
    InvalidateRect(window, nullptr, TRUE);
    if (styleOf(window) & BS_NOTIFY) notifyParent(window, gained ? BN_SETFOCUS : BN_KILLFOCUS);
}

LRESULT dialogCode(HWND window) {
    switch (buttonType(window)) {
        case BS_DEFPUSHBUTTON:
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_PUSHBUTTON:
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_GROUPBOX:
            return DLGC_STATIC;
        default:
            return DLGC_BUTTON;
    }
}

LRESULT getState(const ButtonState& state) {
    return static_cast<LRESULT>(state.check | (state.pushed ? BST_PUSHED : 0) |
                                (state.focused ? BST_FOCUS : 0));
}

// BM_SETSTYLE replaces the button's kind (the BS_TYPEMASK bits) and keeps its other styles.
LRESULT setStyle(HWND window, WPARAM style, LPARAM redraw) {
    DWORD kept = styleOf(window) & ~static_cast<DWORD>(BS_TYPEMASK);
    SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(kept | (style & BS_TYPEMASK)));
    if (LOWORD(redraw)) InvalidateRect(window, nullptr, TRUE);
    return 0;
}

// BM_CLICK: the button receives WM_LBUTTONDOWN and WM_LBUTTONUP, as if tapped.
LRESULT click(HWND window) {
    if (!IsWindowEnabled(window)) return 0;
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(window, WM_LBUTTONUP, 0, 0);
    return 0;
}

LRESULT buttonMessage(HWND window, ButtonState& state, UINT message, WPARAM wParam, LPARAM lParam,
                      bool& handled) {
    handled = true;
    switch (message) {
        case BM_GETCHECK:
            return checkable(buttonType(window)) ? state.check : 0;
        case BM_SETCHECK:
            return setCheck(window, state, wParam);
        case BM_GETSTATE:
            return getState(state);
        case BM_SETSTATE:
            setPushed(window, state, wParam != 0);
            return 0;
        case BM_SETSTYLE:
            return setStyle(window, wParam, lParam);
        case BM_CLICK:
            return click(window);
        case WM_GETDLGCODE:
            return dialogCode(window);
        case WM_SETFONT:
            state.font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) InvalidateRect(window, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(state.font);
        default:
            handled = false;
            return 0;
    }
}

LRESULT inputMessage(HWND window, ButtonState& state, UINT message, WPARAM wParam, LPARAM lParam,
                     bool& handled) {
    handled = true;
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            stylusDown(window, state);
            return 0;
        case WM_MOUSEMOVE:
            if (state.tracking) setPushed(window, state, insideClient(window, lParam));
            return 0;
        case WM_LBUTTONUP:
            stylusUp(window, state, lParam);
            return 0;
        case WM_CAPTURECHANGED:
            if (state.tracking) {
                state.tracking = false;
                setPushed(window, state, false);
            }
            return 0;
        case WM_KEYDOWN:
            if (wParam != VK_SPACE || buttonType(window) == BS_GROUPBOX) return 0;
            state.spaceDown = true;
            setPushed(window, state, true);
            return 0;
        case WM_KEYUP:
            keyUp(window, state, wParam);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            focusChanged(window, state, message == WM_SETFOCUS);
            return 0;
        default:
            handled = false;
            return 0;
    }
}

}  // namespace

UINT buttonType(HWND window) {
    return styleOf(window) & BS_TYPEMASK;
}

ButtonState& buttonState(HWND window) {
    return buttons().of(window);
}

LRESULT CALLBACK buttonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        buttons().erase(window);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    ButtonState& state = buttons().of(window);
    bool handled = false;
    LRESULT result = buttonMessage(window, state, message, wParam, lParam, handled);
    if (!handled) result = inputMessage(window, state, message, wParam, lParam, handled);
    if (handled) return result;
    switch (message) {
        case WM_PAINT:
            paintButton(window, state);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // painting fills the whole button
        case WM_SETTEXT:
        case WM_ENABLE: {
            LRESULT done = DefWindowProcW(window, message, wParam, lParam);
            InvalidateRect(window, nullptr, TRUE);
            return message == WM_SETTEXT ? done : 0;
        }
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace platform::user
