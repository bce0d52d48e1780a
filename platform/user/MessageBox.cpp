// MessageBoxW: a modal dialog with the caption, the word-wrapped text, an icon drawn for MB_ICON*
// and the buttons of the MB_ type. Enter chooses the default (MB_DEFBUTTONn) or focused button,
// Escape gives IDCANCEL when there is a Cancel button (IDOK for a lone OK). An answer queued by an
// input script or a test (platform::queueScriptedAnswer) is taken once the box is shown and painted.

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "../display/Screen.h"
#include "DialogManager.h"
#include "platform/display.h"
#include "platform/handles.h"

using namespace platform::user;

namespace {

constexpr int kMarginUnits = 8;
constexpr int kButtonHeightUnits = 24;
constexpr int kButtonMinWidthUnits = 56;
constexpr int kButtonPaddingUnits = 10;
constexpr int kButtonGapUnits = 6;
constexpr int kIconUnits = 32;
constexpr WORD kTextId = 0xFFFF;
constexpr size_t kKeptRecords = 64;

struct BoxData {
    UINT type = 0;
    std::u16string text;
    std::vector<int> buttons;
    int defaultButton = IDOK;
};

struct Records {
    std::mutex mutex;
    std::deque<platform::MessageBoxRecord> list;
};

Records& records() {
    static auto* all = new Records();
    return *all;
}

std::vector<int> buttonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return {IDOK, IDCANCEL};
        case MB_ABORTRETRYIGNORE:
            return {IDABORT, IDRETRY, IDIGNORE};
        case MB_YESNOCANCEL:
            return {IDYES, IDNO, IDCANCEL};
        case MB_YESNO:
            return {IDYES, IDNO};
        case MB_RETRYCANCEL:
            return {IDRETRY, IDCANCEL};
        default:
            return {IDOK};
    }
}

const char16_t* buttonLabel(int id) {
    static const char16_t* const kLabels[] = {u"",      u"OK",     u"Cancel", u"Abort",
                                              u"Retry", u"Ignore", u"Yes",    u"No"};
    return id >= IDOK && id <= IDNO ? kLabels[id] : u"";
}

bool hasButton(const BoxData& box, int id) {
    for (int button : box.buttons)
        if (button == id) return true;
    return false;
}

// What Escape (and a closed box) answers: Cancel, or OK for a box with only OK; 0 for none.
int escapeAnswer(const BoxData& box) {
    if (hasButton(box, IDCANCEL)) return IDCANCEL;
    return box.buttons.size() == 1 ? IDOK : 0;
}

int scale(int units) {
    return platform::Screen::instance().scale(units);
}

SIZE measure(HWND box, const std::u16string& text, int maxWidth, UINT format) {
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    RECT r{0, 0, maxWidth, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    return SIZE{r.right, r.bottom};
}

HWND addControl(HWND box, LPCWSTR cls, LPCWSTR text, DWORD style, const RECT& r, int id) {
    HWND control = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, box,
                                   reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), nullptr, nullptr);
    if (control)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FONT)), FALSE);
    return control;
}

// Sizes and centres the box and creates its text and buttons.
void layOut(HWND box, const BoxData& data) {
    const platform::Screen& screen = platform::Screen::instance();
    int margin = scale(kMarginUnits);
    int iconPart = (data.type & MB_ICONMASK) ? scale(kIconUnits) + margin : 0;
    int buttonWidth = scale(kButtonMinWidthUnits);
    for (int id : data.buttons)
        buttonWidth = std::max<int>(buttonWidth, measure(box, buttonLabel(id), 1000, DT_SINGLELINE).cx +
                                                     2 * scale(kButtonPaddingUnits));
    int count = static_cast<int>(data.buttons.size());
    int rowWidth = count * buttonWidth + (count - 1) * scale(kButtonGapUnits);
    int maxClient = screen.width() - 2 * margin;
    SIZE text = measure(box, data.text, maxClient - 2 * margin - iconPart, DT_WORDBREAK);
    int clientWidth = std::min(maxClient, std::max<int>(rowWidth, text.cx + iconPart) + 2 * margin);
    int bodyHeight = std::max<int>(text.cy, iconPart ? scale(kIconUnits) : 0);
    int buttonTop = margin + bodyHeight + margin;
    int clientHeight = buttonTop + scale(kButtonHeightUnits) + margin;
    // The frame's size shows once the window is larger than its frame.
    MoveWindow(box, 0, 0, clientWidth + scale(kIconUnits), clientHeight + scale(kIconUnits), FALSE);
    RECT outer, client;
    GetWindowRect(box, &outer);
    GetClientRect(box, &client);
    int width = clientWidth + (outer.right - outer.left) - client.right;
    int height = clientHeight + (outer.bottom - outer.top) - client.bottom;
    RECT area = screen.workArea();
    MoveWindow(box, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, width, height, FALSE);
    addControl(box, u"Static", data.text.c_str(), SS_LEFT | SS_NOPREFIX,
               RECT{margin + iconPart, margin, margin + iconPart + text.cx, margin + text.cy}, kTextId);
    int x = (clientWidth - rowWidth) / 2;
    for (int id : data.buttons) {
        DWORD kind = id == data.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        addControl(box, u"Button", buttonLabel(id), kind | WS_TABSTOP,
                   RECT{x, buttonTop, x + buttonWidth, buttonTop + scale(kButtonHeightUnits)}, id);
        x += buttonWidth + scale(kButtonGapUnits);
    }
}

// The icon: a disc in the icon's colour with its sign.
void paintIcon(HWND box, UINT type) {
    UINT icon = type & MB_ICONMASK;
    if (!icon) return;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box, &ps);
    COLORREF colour = icon == MB_ICONHAND          ? RGB(200, 30, 30)
                      : icon == MB_ICONEXCLAMATION ? RGB(240, 190, 0)
                                                   : RGB(30, 80, 200);
    const char16_t* sign = icon == MB_ICONHAND          ? u"X"
                           : icon == MB_ICONQUESTION    ? u"?"
                           : icon == MB_ICONEXCLAMATION ? u"!"
                                                        : u"i";
    int margin = scale(kMarginUnits);
    RECT r{margin, margin, margin + scale(kIconUnits), margin + scale(kIconUnits)};
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    Ellipse(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, icon == MB_ICONEXCLAMATION ? RGB(0, 0, 0) : RGB(255, 255, 255));
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DrawTextW(dc, sign, 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    EndPaint(box, &ps);
}

INT_PTR CALLBACK messageBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = reinterpret_cast<BoxData*>(GetWindowLongPtrW(box, DWL_USER));
    switch (message) {
        case WM_INITDIALOG: {
            data = reinterpret_cast<BoxData*>(lParam);
            SetWindowLongPtrW(box, DWL_USER, lParam);
            layOut(box, *data);
            SendMessageW(box, DM_SETDEFID, static_cast<WPARAM>(data->defaultButton), 0);
            if (HWND button = GetDlgItem(box, data->defaultButton)) focusDialogControl(button);
            return FALSE;
        }
        case WM_COMMAND: {
            int id = LOWORD(wParam);
            if (data && !hasButton(*data, id) && id == IDCANCEL) id = escapeAnswer(*data);
            if (data && hasButton(*data, id)) EndDialog(box, id);
            return TRUE;
        }
        case WM_PAINT:
            if (!data || !(data->type & MB_ICONMASK)) return FALSE;
            paintIcon(box, data->type);
            return TRUE;
        default:
            return FALSE;
    }
}

// A queued answer the box lacks gives what Escape gives, else the default button.
int answerFor(const BoxData& box, int answer) {
    if (hasButton(box, answer)) return answer;
    int escape = escapeAnswer(box);
    return escape ? escape : box.defaultButton;
}

void record(HWND owner, LPCWSTR text, const std::u16string& caption, UINT type, int result) {
    auto& r = records();
    std::lock_guard lock(r.mutex);
    r.list.push_back(platform::MessageBoxRecord{owner, caption, text ? text : u"", type, result});
    if (r.list.size() > kKeptRecords) r.list.pop_front();
}

}  // namespace

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    if ((type & MB_TYPEMASK) > MB_RETRYCANCEL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (owner && !IsWindow(owner)) owner = nullptr;
    BoxData data{type, text ? text : u"", buttonsOf(type), IDOK};
    size_t defaultIndex = (type & MB_DEFMASK) >> 8;
    data.defaultButton = data.buttons[defaultIndex < data.buttons.size() ? defaultIndex : 0];
    DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_BORDER | DS_MODALFRAME;
    t.title = caption ? caption : u"Error";
    MessageBeep(type & MB_ICONMASK);
    HWND box = createDialog(nullptr, t, owner, messageBoxProc, reinterpret_cast<LPARAM>(&data), false);
    if (!box) return 0;
    auto scripted = [box, &data] {
        if (int answer = platform::takeScriptedAnswer()) EndDialog(box, answerFor(data, answer));
    };
    int result = static_cast<int>(runModalDialog(box, owner, scripted));
    record(owner, text, t.title, type, result);
    return result;
}

namespace platform {

std::vector<MessageBoxRecord> takeMessageBoxes() {
    auto& r = records();
    std::lock_guard lock(r.mutex);
    std::vector<MessageBoxRecord> taken(r.list.begin(), r.list.end());
    r.list.clear();
    return taken;
}

}  // namespace platform
