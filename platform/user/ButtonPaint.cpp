// Drawing of the "Button" kinds: a framed push button (two-pixel frame for the default one, a dark
// face while pressed), check boxes and radio buttons with their text, group boxes, and owner-drawn
// buttons through WM_DRAWITEM to the parent. Push buttons take their colours from the system, as on
// the device; check boxes, radio buttons and group boxes from WM_CTLCOLORSTATIC.

#include <algorithm>

#include "ButtonControl.h"
#include "ControlSupport.h"

namespace platform::user {

namespace {

constexpr int kBoxUnits = 11;
constexpr int kGapUnits = 4;

void frameRect(HDC hdc, RECT r, int thickness, HBRUSH brush) {
    for (int i = 0; i < thickness; ++i) {
        RECT edges[4] = {{r.left, r.top, r.right, r.top + 1},
                         {r.left, r.bottom - 1, r.right, r.bottom},
                         {r.left, r.top, r.left + 1, r.bottom},
                         {r.right - 1, r.top, r.right, r.bottom}};
        for (const RECT& edge : edges)
            FillRect(hdc, &edge, brush);
        InflateRect(&r, -1, -1);
    }
}

void drawLabel(HWND window, HDC hdc, const ButtonState& state, RECT area, UINT format) {
    if (styleOf(window) & WS_DISABLED) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    HGDIOBJ oldFont = SelectObject(hdc, fontOrSystem(state.font));
    SetBkMode(hdc, TRANSPARENT);
    std::u16string text = storedText(window);
    DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &area, format);
    SelectObject(hdc, oldFont);
}

void paintPush(HWND window, HDC hdc, const ButtonState& state, const RECT& client) {
    // The parent hears WM_CTLCOLORBTN, but a push button keeps the system's colours.
    parentColours(window, hdc, WM_CTLCOLORBTN);
    FillRect(hdc, &client, GetSysColorBrush(state.pushed ? COLOR_BTNSHADOW : COLOR_BTNFACE));
    int frame = buttonType(window) == BS_DEFPUSHBUTTON ? 2 : 1;
    frameRect(hdc, client, frame, GetSysColorBrush(COLOR_WINDOWFRAME));
    RECT label = client;
    if (state.pushed) OffsetRect(&label, 1, 1);
    SetTextColor(hdc, GetSysColor(state.pushed ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
    drawLabel(window, hdc, state, label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (state.focused) {
        RECT focus = client;
        InflateRect(&focus, -(frame + 2), -(frame + 2));
        DrawFocusRect(hdc, &focus);
    }
}

void drawCheckMark(HDC hdc, const RECT& box, UINT check) {
    if (check == BST_INDETERMINATE) {
        RECT inner = box;
        InflateRect(&inner, -3, -3);
        FillRect(hdc, &inner, GetSysColorBrush(COLOR_GRAYTEXT));
        return;
    }
    int size = box.right - box.left;
    int thickness = std::max(1, size / 6);
    HPEN pen = CreatePen(PS_SOLID, thickness, GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ old = SelectObject(hdc, pen);
    POINT mark[3] = {{box.left + size / 5, box.top + size / 2},
                     {box.left + size * 2 / 5, box.top + size * 3 / 4},
                     {box.right - size / 5, box.top + size / 4}};
    Polyline(hdc, mark, 3);
    SelectObject(hdc, old);
    DeleteObject(pen);
}

void drawIndicator(HWND window, HDC hdc, const ButtonState& state, const RECT& box) {
    UINT type = buttonType(window);
    bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    HBRUSH face = GetSysColorBrush(state.pushed ? COLOR_BTNFACE : COLOR_WINDOW);
    HGDIOBJ oldBrush = SelectObject(hdc, face);
    HGDIOBJ oldPen = SelectObject(hdc, GetStockObject(BLACK_PEN));
    if (radio)
        Ellipse(hdc, box.left, box.top, box.right, box.bottom);
    else
        Rectangle(hdc, box.left, box.top, box.right, box.bottom);
    if (radio && state.check) {
        RECT dot = box;
        int inset = (box.right - box.left) / 4 + 1;
        InflateRect(&dot, -inset, -inset);
        SelectObject(hdc, GetStockObject(BLACK_BRUSH));
        Ellipse(hdc, dot.left, dot.top, dot.right, dot.bottom);
    } else if (!radio && state.check) {
        drawCheckMark(hdc, box, state.check);
    }
    SelectObject(hdc, oldBrush);
    SelectObject(hdc, oldPen);
}

void paintCheck(HWND window, HDC hdc, const ButtonState& state, const RECT& client) {
    FillRect(hdc, &client, parentColours(window, hdc, WM_CTLCOLORSTATIC));
    int size = std::min<int>(scaled(kBoxUnits), client.bottom - client.top);
    bool leftText = (styleOf(window) & BS_LEFTTEXT) != 0;
    int top = (client.bottom - client.top - size) / 2;
    RECT box{leftText ? client.right - size : client.left, top, 0, top + size};
    box.right = box.left + size;
    drawIndicator(window, hdc, state, box);
    RECT label = client;
    if (leftText)
        label.right = box.left - scaled(kGapUnits);
    else
        label.left = box.right + scaled(kGapUnits);
    drawLabel(window, hdc, state, label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (state.focused) {
        RECT focus = label;
        InflateRect(&focus, 1, 0);
        DrawFocusRect(hdc, &focus);
    }
}

void paintGroup(HWND window, HDC hdc, const ButtonState& state, const RECT& client) {
    HBRUSH background = parentColours(window, hdc, WM_CTLCOLORSTATIC);
    FillRect(hdc, &client, background);
    TEXTMETRICW metrics{};
    HGDIOBJ oldFont = SelectObject(hdc, fontOrSystem(state.font));
    GetTextMetricsW(hdc, &metrics);
    SelectObject(hdc, oldFont);
    RECT frame = client;
    frame.top += metrics.tmHeight / 2;
    frameRect(hdc, frame, 1, GetSysColorBrush(COLOR_BTNSHADOW));
    std::u16string text = storedText(window);
    if (text.empty()) return;
    RECT label{client.left + scaled(kGapUnits), client.top, client.right, client.top + metrics.tmHeight};
    RECT measured = label;
    HGDIOBJ measureFont = SelectObject(hdc, fontOrSystem(state.font));
    DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &measured, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(hdc, measureFont);
    measured.right += 2;
    OffsetRect(&measured, -1, 0);
    FillRect(hdc, &measured, background);
    drawLabel(window, hdc, state, label, DT_LEFT | DT_TOP | DT_SINGLELINE);
}

void paintOwnerDrawn(HWND window, HDC hdc, ButtonState& state, const RECT& client) {
    FillRect(hdc, &client, parentColours(window, hdc, WM_CTLCOLORBTN));
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(window));
    item.itemAction = state.pendingAction;
    item.itemState = (state.pushed ? ODS_SELECTED : 0) | (state.focused ? ODS_FOCUS : 0) |
                     ((styleOf(window) & WS_DISABLED) ? ODS_DISABLED : 0);
    item.hwndItem = window;
    item.hDC = hdc;
    item.rcItem = client;
    state.pendingAction = ODA_DRAWENTIRE;
    HWND parent = GetParent(window);
    if (parent) SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void paintButton(HWND window, ButtonState& state) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(window, &ps);
    if (!hdc) return;
    RECT client;
    GetClientRect(window, &client);
    switch (buttonType(window)) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
        case BS_USERBUTTON:
            paintPush(window, hdc, state, client);
            break;
        case BS_GROUPBOX:
            paintGroup(window, hdc, state, client);
            break;
        case BS_OWNERDRAW:
            paintOwnerDrawn(window, hdc, state, client);
            break;
        default:
            paintCheck(window, hdc, state, client);
            break;
    }
    EndPaint(window, &ps);
}

}  // namespace platform::user
