// Keyboard navigation of dialogs: IsDialogMessageW (Tab and arrows move the focus, Enter gives the
// default button's command, Escape IDCANCEL, each unless the control asks for the key with
// WM_GETDLGCODE) and the tab and group order of a dialog's controls.

#include <vector>

#include "DialogManager.h"
#include "platform/handles.h"

using namespace platform::user;

namespace {

std::vector<HWND> controlsOf(HWND dialog) {
    std::vector<HWND> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        controls.push_back(child);
    return controls;
}

// Visible by its own style (the dialog itself may still be hidden) and enabled.
bool usable(HWND control) {
    LONG style = GetWindowLongW(control, GWL_STYLE);
    return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

// The next (step +1) or previous (-1) control from index at that passes accept, wrapping; null when
// none does.
HWND step(const std::vector<HWND>& controls, long at, int direction, bool (*accept)(HWND)) {
    long count = static_cast<long>(controls.size());
    for (long i = 1; i <= count; ++i) {
        long index = ((at + direction * i) % count + count) % count;
        if (accept(controls[static_cast<size_t>(index)])) return controls[static_cast<size_t>(index)];
    }
    return nullptr;
}

bool tabStop(HWND control) {
    return usable(control) && (GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP);
}

long indexOf(const std::vector<HWND>& controls, HWND control) {
    for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i] == control) return static_cast<long>(i);
    return -1;
}

// The command Enter gives: the focused push button's id, else the default id, else IDOK.
void pressEnter(HWND dialog, HWND focus, UINT code) {
    int id = IDOK;
    if (focus && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
        id = GetDlgCtrlID(focus);
    } else {
        LRESULT defaultId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
        if (HIWORD(defaultId) == DC_HASDEFID) id = LOWORD(defaultId);
    }
    HWND button = GetDlgItem(dialog, id);
    if (button && !IsWindowEnabled(button)) return;
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void moveInGroup(HWND dialog, HWND focus, bool previous) {
    HWND next = GetNextDlgGroupItem(dialog, focus, previous);
    if (!next || next == focus) return;
    focusDialogControl(next);
    if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) SendMessageW(next, BM_CLICK, 0, 0);
}

// Handles a key the focused control does not want; false when the dialog has no use for it.
bool dialogKey(HWND dialog, const MSG& msg) {
    HWND focus = GetFocus();
    if (focus && !IsChild(dialog, focus)) focus = nullptr;
    UINT code = focus ? static_cast<UINT>(
                            SendMessageW(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)))
                      : 0;
    if (code & DLGC_WANTALLKEYS) return false;
    bool shift = GetKeyState(VK_SHIFT) & 0x8000;
    switch (msg.wParam) {
        case VK_TAB:
            if (code & DLGC_WANTTAB) return false;
            if (HWND next = GetNextDlgTabItem(dialog, focus, shift)) focusDialogControl(next);
            return true;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            if (code & DLGC_WANTARROWS) return false;
            moveInGroup(dialog, focus, msg.wParam == VK_LEFT || msg.wParam == VK_UP);
            return true;
        case VK_RETURN:
            pressEnter(dialog, focus, code);
            return true;
        case VK_ESCAPE:
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
            return true;
        default:
            return false;
    }
}

// The characters of the keys the dialog took (Tab, Enter, Escape) do not reach controls.
bool navigationCharacter(WPARAM character) {
    return character == u'\t' || character == u'\r' || character == 0x1B;
}

}  // namespace

BOOL IsDialogMessageW(HWND dialog, LPMSG msg) {
    if (!dialog || !msg || !IsWindow(dialog)) return FALSE;
    if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
    if (msg->message == WM_KEYDOWN && dialogKey(dialog, *msg)) return TRUE;
    if (msg->message == WM_CHAR && navigationCharacter(msg->wParam)) {
        UINT code = static_cast<UINT>(
            SendMessageW(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg)));
        if (!(code & (DLGC_WANTALLKEYS | DLGC_WANTTAB))) return TRUE;
    }
    TranslateMessage(msg);
    DispatchMessageW(msg);
    return TRUE;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    std::vector<HWND> controls = controlsOf(dialog);
    if (controls.empty()) return nullptr;
    long at = control ? indexOf(controls, control) : -1;
    if (at < 0) at = previous ? 0 : static_cast<long>(controls.size()) - 1;
    HWND found = step(controls, at, previous ? -1 : 1, tabStop);
    return found ? found : nullptr;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
    std::vector<HWND> controls = controlsOf(dialog);
    long at = indexOf(controls, control);
    if (at < 0) return nullptr;
    // The group runs from the last WS_GROUP control at or before this one to before the next one.
    long first = at;
    while (first > 0 && !(GetWindowLongW(controls[static_cast<size_t>(first)], GWL_STYLE) & WS_GROUP))
        --first;
    long end = at + 1;
    while (end < static_cast<long>(controls.size()) &&
           !(GetWindowLongW(controls[static_cast<size_t>(end)], GWL_STYLE) & WS_GROUP))
        ++end;
    std::vector<HWND> group(controls.begin() + first, controls.begin() + end);
    HWND found = step(group, at - first, previous ? -1 : 1, usable);
    return found ? found : control;
}
