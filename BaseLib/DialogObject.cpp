// DialogObject: running dialog templates modally or modelessly, the dialog dispatcher, the default
// OK/Cancel handling, menu bars, checked-button queries and the title taken from the top-level window.

#include "DialogObject.h"

#include "Str.h"
#include "WindowObject.h"

namespace {

constexpr int kMaxTitle = 255;

LPCWSTR templateName(UINT id) {
    return MAKEINTRESOURCEW(id);
}

}  // namespace

DialogObject::~DialogObject() {
    if (m_dialog == nullptr || !IsWindow(m_dialog)) return;
    HWND dialog = m_dialog;
    // The dialog outlives nothing of the object: unbind first, so no message reaches a half-destroyed
    // object, then destroy the bar and the window.
    SetWindowLongPtrW(dialog, GWL_USERDATA, 0);
    m_dialog = nullptr;
    destroyMenuBar();
    DestroyWindow(dialog);
}

LRESULT DialogObject::defaultHandler(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

bool DialogObject::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND) return false;
    WORD id = LOWORD(wParam);
    if (id != IDOK && id != IDCANCEL) return false;
    EndDialog(dialog, id);
    result = TRUE;
    return true;
}

void DialogObject::fitToDesktop() {
    if (m_fitToDesktop && m_dialog != nullptr) fitWindowToVisibleDesktop(m_dialog);
}

void DialogObject::setTemplate(UINT templateId) {
    m_templateId = templateId;
    m_templateSet = true;
}

INT_PTR DialogObject::runModal(HWND parent) {
    if (!m_templateSet) return 0;
    return DialogBoxParamW(Str::resourceModule(), templateName(m_templateId), parent, dispatcher,
                           reinterpret_cast<LPARAM>(this));
}

HWND DialogObject::showModeless(HWND parent) {
    if (!m_templateSet) return nullptr;
    HWND dialog = CreateDialogParamW(Str::resourceModule(), templateName(m_templateId), parent, dispatcher,
                                     reinterpret_cast<LPARAM>(this));
    if (dialog == nullptr) return nullptr;
    ShowWindow(dialog, SW_SHOW);
    InvalidateRect(dialog, nullptr, TRUE);
    UpdateWindow(dialog);
    return dialog;
}

bool DialogObject::createMenuBar(UINT menuId) {
    destroyMenuBar();
    if (m_dialog == nullptr) return false;
    SHMENUBARINFO info{};
    info.cbSize = sizeof(info);
    info.hwndParent = m_dialog;
    info.dwFlags = menuId == 0 ? SHCMBF_EMPTYBAR : 0;
    info.nToolBarId = menuId;
    info.hInstRes = Str::resourceModule();
    if (!SHCreateMenuBar(&info)) return false;
    m_menuBar = info.hwndMB;
    return true;
}

int DialogObject::firstChecked(int firstId, int lastId) const {
    if (m_dialog == nullptr) return 0;
    for (int id = firstId; id <= lastId; ++id) {
        HWND button = GetDlgItem(m_dialog, id);
        if (button != nullptr && SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) return id;
    }
    return 0;
}

bool DialogObject::takeTopLevelTitle() {
    if (m_dialog == nullptr) return false;
    // The top-level ancestor: up through the parents of child windows (an owned pop-up is its own root).
    HWND top = m_dialog;
    while ((GetWindowLongW(top, GWL_STYLE) & WS_CHILD) != 0 && GetParent(top) != nullptr)
        top = GetParent(top);
    WCHAR title[kMaxTitle + 1] = {};
    GetWindowTextW(m_dialog, title, kMaxTitle + 1);
    return top == m_dialog || SetWindowTextW(top, title);
}

DialogObject* DialogObject::objectOf(HWND dialog) {
    return reinterpret_cast<DialogObject*>(GetWindowLongPtrW(dialog, GWL_USERDATA));
}

void DialogObject::destroyMenuBar() {
    if (m_menuBar != nullptr && IsWindow(m_menuBar)) DestroyWindow(m_menuBar);
    m_menuBar = nullptr;
}

INT_PTR CALLBACK DialogObject::dispatcher(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogObject* object = objectOf(dialog);
    if (message == WM_INITDIALOG && object == nullptr) {
        object = reinterpret_cast<DialogObject*>(lParam);
        if (object == nullptr) return FALSE;
        object->m_dialog = dialog;
        SetWindowLongPtrW(dialog, GWL_USERDATA, reinterpret_cast<LONG_PTR>(object));
    }
    if (object == nullptr) return FALSE;
    if (message == WM_DESTROY) {
        object->destroyMenuBar();
        LRESULT result = object->defaultHandler(dialog, message, wParam, lParam);
        object->m_dialog = nullptr;
        SetWindowLongPtrW(dialog, GWL_USERDATA, 0);
        return result;
    }
    bool activated = message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE;
    if (activated || (message == WM_SETTINGCHANGE && wParam == SPI_SETSIPINFO)) object->fitToDesktop();
    LRESULT result = 0;
    if (!object->dialogProc(dialog, message, wParam, lParam, result))
        result = object->defaultHandler(dialog, message, wParam, lParam);
    return result;
}
