// Working with a dialog's controls by id: texts, numbers, check states, messages; and dialog units.

#include <cstdlib>
#include <string>

#include "DialogManager.h"
#include "platform/handles.h"

using namespace platform::user;

namespace {

BOOL noItem() {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
}

}  // namespace

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
    HWND control = GetDlgItem(dialog, id);
    return control ? SetWindowTextW(control, text) : noItem();
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int bufferMax) {
    if (buffer && bufferMax > 0) buffer[0] = 0;
    HWND control = GetDlgItem(dialog, id);
    if (!control) return noItem();
    return static_cast<UINT>(GetWindowTextW(control, buffer, bufferMax));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    std::string digits = isSigned ? std::to_string(static_cast<int>(value)) : std::to_string(value);
    std::u16string text(digits.begin(), digits.end());
    return SetDlgItemTextW(dialog, id, text.c_str());
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    if (translated) *translated = FALSE;
    WCHAR buffer[64];
    if (!GetDlgItemTextW(dialog, id, buffer, 64) && !GetDlgItem(dialog, id)) return 0;
    std::string text;
    for (const WCHAR* c = buffer; *c; ++c) {
        if (*c > 0x7F) return 0;
        text.push_back(static_cast<char>(*c));
    }
    size_t start = text.find_first_not_of(" \t");
    size_t end = text.find_last_not_of(" \t");
    if (start == std::string::npos) return 0;
    text = text.substr(start, end - start + 1);
    bool negative = text[0] == '-';
    if ((negative && !isSigned) || text.size() > 12) return 0;
    std::string digits = negative || text[0] == '+' ? text.substr(1) : text;
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
    long long value = std::atoll(digits.c_str()) * (negative ? -1 : 1);
    bool inRange = isSigned ? (value >= -2147483648LL && value <= 2147483647LL) : value <= 4294967295LL;
    if (!inRange) return 0;
    if (translated) *translated = TRUE;
    return static_cast<UINT>(value);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) return noItem();
    SendMessageW(button, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    return button ? static_cast<UINT>(SendMessageW(button, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int checkId) {
    if (!IsWindow(dialog)) return noItem();
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        int id = GetDlgCtrlID(child);
        if (id >= first && id <= last)
            SendMessageW(child, BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    return TRUE;
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND control = GetDlgItem(dialog, id);
    return control ? SendMessageW(control, message, wParam, lParam) : 0;
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
    DialogState* state = dialogState(dialog);
    if (!state || !rect) return noItem();
    SIZE units = state->baseUnits;
    rect->left = rect->left * units.cx / 4;
    rect->right = rect->right * units.cx / 4;
    rect->top = rect->top * units.cy / 8;
    rect->bottom = rect->bottom * units.cy / 8;
    return TRUE;
}

LONG GetDialogBaseUnits() {
    SIZE units = fontBaseUnits(nullptr);
    return MAKELONG(units.cx, units.cy);
}
