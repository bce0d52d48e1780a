// The dialog manager: the dialog class and DefDlgProcW, creating dialogs from templates
// (CreateDialogParamW), modal dialog boxes with their own loop (DialogBoxParamW) and EndDialog.

#include "DialogManager.h"
#include "platform/handles.h"

#include <map>
#include <memory>
#include <mutex>

#include "../display/Screen.h"
#include "ModalLoop.h"
#include "platform/resources.h"

namespace platform::user {

namespace {

struct Dialogs {
    std::mutex mutex;
    std::map<HWND, std::unique_ptr<DialogState>> states;
};

Dialogs& dialogs() {
    static auto* all = new Dialogs();
    return *all;
}

LRESULT CALLBACK dialogClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefDlgProcW(window, message, wParam, lParam);
}

// Registered on first use (and again should a test have removed it).
void ensureDialogClass() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = dialogClassProc;
    cls.cbWndExtra = DLGWINDOWEXTRA;
    cls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_STATIC + 1));
    cls.lpszClassName = WC_DIALOG;
    RegisterClassW(&cls);  // fails harmlessly once the class exists
}

void forgetDialog(HWND window) {
    std::unique_ptr<DialogState> state;
    {
        std::lock_guard lock(dialogs().mutex);
        auto it = dialogs().states.find(window);
        if (it == dialogs().states.end()) return;
        state = std::move(it->second);
        dialogs().states.erase(it);
    }
    if (state->font) DeleteObject(state->font);
}

HWND topLevelOwner(HWND window) {
    while (window && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD))
        window = GetParent(window);
    return window;
}

// Messages whose dialog-procedure result is the message's result itself, not DWL_MSGRESULT.
bool returnsDirectly(UINT message) {
    return message == WM_INITDIALOG || (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

// Puts the focus back into the dialog: on the control that had it, else (when activated) on the
// first tab stop as WM_INITDIALOG asked, else on the dialog itself.
void restoreFocus(HWND dialog, bool activated) {
    DialogState* state = dialogState(dialog);
    HWND focus = GetFocus();
    if (!state || (focus && IsChild(dialog, focus))) return;
    HWND last = state->lastFocus;
    if (last && IsChild(dialog, last) && IsWindowEnabled(last) && IsWindowVisible(last)) {
        SetFocus(last);
        return;
    }
    if (!activated) return;
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    if (first && state->focusFirst)
        focusDialogControl(first);
    else if (focus != dialog)
        SetFocus(dialog);
}

LRESULT eraseDialog(HWND dialog, HDC dc) {
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dialog)));
    if (!brush) return DefWindowProcW(dialog, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(dialog, &client);
    FillRect(dc, &client, brush);
    return 1;
}

LRESULT defaultDialogHandling(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogState* state = dialogState(dialog);
    switch (message) {
        case WM_ERASEBKGND:
            return eraseDialog(dialog, reinterpret_cast<HDC>(wParam));
        case WM_ACTIVATE:
            if (!state || !state->initialized) return 0;
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(dialog, focus)) state->lastFocus = focus;
            } else {
                restoreFocus(dialog, true);
            }
            return 0;
        case WM_SETFOCUS:
            if (state && state->initialized) restoreFocus(dialog, false);
            return 0;
        case WM_CLOSE: {
            HWND cancel = GetDlgItem(dialog, IDCANCEL);
            if (!cancel || IsWindowEnabled(cancel))
                PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                             reinterpret_cast<LPARAM>(cancel));
            return 0;
        }
        case DM_GETDEFID:
            return state && state->defaultId ? MAKELRESULT(state->defaultId, DC_HASDEFID) : 0;
        case DM_SETDEFID:
            if (state) state->defaultId = static_cast<WORD>(wParam);
            return TRUE;
        case WM_NCDESTROY:
            forgetDialog(dialog);
            return DefWindowProcW(dialog, message, wParam, lParam);
        default:
            return DefWindowProcW(dialog, message, wParam, lParam);
    }
}

int pointsToPixels(int points) {
    return (points * Screen::instance().dpi() + 36) / 72;
}

RECT dialogPixels(const DialogState& state, short x, short y, short cx, short cy) {
    RECT r{x, y, x + cx, y + cy};
    r.left = r.left * state.baseUnits.cx / 4;
    r.right = r.right * state.baseUnits.cx / 4;
    r.top = r.top * state.baseUnits.cy / 8;
    r.bottom = r.bottom * state.baseUnits.cy / 8;
    return r;
}

// Where a top-level dialog goes: centred on the work area (DS_CENTER), at screen coordinates
// (DS_ABSALIGN), else relative to the parent's client area.
POINT dialogOrigin(const DialogTemplate& t, const RECT& pixels, HWND parent) {
    POINT origin{pixels.left, pixels.top};
    if (t.style & DS_CENTER) {
        RECT area = Screen::instance().workArea();
        origin.x = area.left + (area.right - area.left - (pixels.right - pixels.left)) / 2;
        origin.y = area.top + (area.bottom - area.top - (pixels.bottom - pixels.top)) / 2;
    } else if (parent && !(t.style & DS_ABSALIGN) && !(t.style & WS_CHILD)) {
        ClientToScreen(parent, &origin);
    }
    return origin;
}

HWND createDialogWindow(HINSTANCE module, const DialogTemplate& t, HWND parent, DialogState& state) {
    RECT pixels = dialogPixels(state, t.x, t.y, t.cx, t.cy);
    POINT origin = dialogOrigin(t, pixels, parent);
    int width = pixels.right - pixels.left;
    int height = pixels.bottom - pixels.top;
    LPCWSTR cls = t.className.empty() ? WC_DIALOG : t.className.c_str();
    // Made larger than needed at first, so that the frame's size shows beside a non-empty client area.
    int slack = 2 * GetSystemMetrics(SM_CYCAPTION);
    HWND dialog = CreateWindowExW(t.exStyle, cls, t.title.c_str(), t.style & ~WS_VISIBLE, origin.x, origin.y,
                                  width + slack, height + slack, parent, nullptr, module, nullptr);
    if (!dialog) return nullptr;
    // The template gives the client area; the frame and caption come on top of it.
    RECT outer, client;
    GetWindowRect(dialog, &outer);
    GetClientRect(dialog, &client);
    int frameX = (outer.right - outer.left) - client.right;
    int frameY = (outer.bottom - outer.top) - client.bottom;
    SetWindowPos(dialog, nullptr, 0, 0, width + frameX, height + frameY,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return dialog;
}

// Creates the template's controls; false (with the error of the failed creation) when one fails.
bool createControls(HINSTANCE module, const DialogTemplate& t, HWND dialog, DialogState& state) {
    for (const DialogItem& item : t.items) {
        RECT r = dialogPixels(state, item.x, item.y, item.cx, item.cy);
        LPVOID data = item.creationData.empty() ? nullptr : const_cast<BYTE*>(item.creationData.data());
        HWND control = CreateWindowExW(
            item.exStyle, item.className.c_str(), item.text.c_str(), (item.style | WS_CHILD) & ~WS_POPUP,
            r.left, r.top, r.right - r.left, r.bottom - r.top, dialog,
            reinterpret_cast<HMENU>(static_cast<uintptr_t>(item.id)), module, data);
        if (!control) return false;
        if (state.font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
        bool defaultButton = lowerCaseEquals(item.className, u"button") &&
                             (item.style & 0x0F) == static_cast<DWORD>(BS_DEFPUSHBUTTON);
        if (defaultButton && !state.defaultId) state.defaultId = item.id;
    }
    return true;
}

HWND failCreation(HWND dialog) {
    DWORD error = GetLastError();
    if (dialog) DestroyWindow(dialog);
    forgetDialog(dialog);
    SetLastError(error ? error : ERROR_INVALID_DATA);
    return nullptr;
}

// The module's dialog template; false with the loader's error or ERROR_INVALID_DATA.
bool loadTemplate(HINSTANCE module, LPCWSTR name, DialogTemplate& out) {
    HRSRC found = FindResourceW(module, name, RT_DIALOG);
    if (!found) return false;
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    if (!parseDialogTemplate(bytes, SizeofResource(module, found), &out)) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    return true;
}

}  // namespace

bool lowerCaseEquals(const std::u16string& text, const std::u16string& lower) {
    if (text.size() != lower.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i] >= u'A' && text[i] <= u'Z' ? static_cast<char16_t>(text[i] + 32) : text[i];
        if (c != lower[i]) return false;
    }
    return true;
}

DialogState* dialogState(HWND window) {
    std::lock_guard lock(dialogs().mutex);
    auto it = dialogs().states.find(window);
    return it == dialogs().states.end() ? nullptr : it->second.get();
}

void focusDialogControl(HWND control) {
    SetFocus(control);
    if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(control, EM_SETSEL, 0, -1);
}

HWND createDialog(HINSTANCE module, const DialogTemplate& t, HWND parent, DLGPROC proc, LPARAM param,
                  bool show) {
    ensureDialogClass();
    auto owned = std::make_unique<DialogState>();
    DialogState& state = *owned;
    if (t.style & DS_SETFONT)
        state.font = CreateFontW(-pointsToPixels(t.pointSize), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                 DEFAULT_CHARSET, 0, 0, 0, 0, t.face.c_str());
    state.baseUnits = fontBaseUnits(state.font);
    HWND dialog = createDialogWindow(module, t, parent, state);
    if (!dialog) {
        if (state.font) DeleteObject(state.font);
        return nullptr;
    }
    {
        std::lock_guard lock(dialogs().mutex);
        dialogs().states[dialog] = std::move(owned);
    }
    state.proc = proc;
    SetWindowLongPtrW(dialog, DWL_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
    if (state.font) SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
    if (!createControls(module, t, dialog, state)) return failCreation(dialog);
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    LRESULT focusFirst = SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    DialogState* live = dialogState(dialog);
    if (!live) return nullptr;  // the dialog destroyed itself while initialising
    live->initialized = true;
    live->focusFirst = focusFirst != 0;
    if (focusFirst && first) focusDialogControl(first);
    if (show || (t.style & WS_VISIBLE)) ShowWindow(dialog, SW_SHOW);
    return dialog;
}

INT_PTR runModalDialog(HWND dialog, HWND parent, const std::function<void()>& idle) {
    HWND owner = topLevelOwner(parent);
    DialogState* state = dialogState(dialog);
    if (!state) return 0;
    if (owner && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        state->disabledOwner = owner;
    }
    if (!state->ended && !IsWindowVisible(dialog)) ShowWindow(dialog, SW_SHOW);
    ModalLoop loop;
    loop.modal = dialog;
    loop.owner = (GetWindowLongW(dialog, GWL_STYLE) & DS_NOIDLEMSG) ? nullptr : owner;
    loop.done = [dialog] {
        DialogState* s = dialogState(dialog);
        return !s || s->ended;
    };
    loop.filter = [dialog](MSG& msg) { return IsDialogMessageW(dialog, &msg) != FALSE; };
    loop.idle = idle;
    runModalLoop(loop);
    state = dialogState(dialog);
    INT_PTR result = state && state->ended ? state->result : 0;
    if (state && state->disabledOwner) EnableWindow(state->disabledOwner, TRUE);
    if (IsWindow(dialog)) DestroyWindow(dialog);
    return result;
}

}  // namespace platform::user

using namespace platform::user;

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogState* state = dialogState(dialog);
    DLGPROC proc = state ? state->proc : nullptr;
    if (proc) {
        SetWindowLongPtrW(dialog, DWL_MSGRESULT, 0);
        INT_PTR handled = proc(dialog, message, wParam, lParam);
        if (handled) {
            if (returnsDirectly(message)) return handled;
            return IsWindow(dialog) ? GetWindowLongPtrW(dialog, DWL_MSGRESULT) : 0;
        }
        if (!IsWindow(dialog)) return 0;
    }
    return defaultDialogHandling(dialog, message, wParam, lParam);
}

INT_PTR DialogBoxParamW(HINSTANCE module, LPCWSTR templateName, HWND parent, DLGPROC dialogProc,
                        LPARAM initParam) {
    DialogTemplate t;
    if (!loadTemplate(module, templateName, t)) return -1;
    HWND dialog = createDialog(module, t, parent, dialogProc, initParam, false);
    if (!dialog) return -1;
    return runModalDialog(dialog, parent);
}

HWND CreateDialogParamW(HINSTANCE module, LPCWSTR templateName, HWND parent, DLGPROC dialogProc,
                        LPARAM initParam) {
    DialogTemplate t;
    if (!loadTemplate(module, templateName, t)) return nullptr;
    return createDialog(module, t, parent, dialogProc, initParam, false);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    DialogState* state = dialogState(dialog);
    if (!state) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    state->ended = true;
    state->result = result;
    HWND owner = state->disabledOwner;
    state->disabledOwner = nullptr;
    // The owner is enabled before the dialog hides, so that activation can go back to it.
    if (owner) EnableWindow(owner, TRUE);
    ShowWindow(dialog, SW_HIDE);
    if (owner && IsWindow(owner)) SetActiveWindow(owner);
    return TRUE;
}
