// The settings page's controls and their places, the format text and name key kept in step with
// the format choice, and OK and Cancel.
#include "SettingsPage.h"

#include "AbcFormat.h"
#include "ScreenMetrics.h"
#include "SettingsStore.h"
#include "ShellCommands.h"
#include "Str.h"
#include "platform/aygshell.h"
#include "platform/windlg.h"

namespace shell {
namespace {

constexpr UINT kStringFormat = 28;
constexpr UINT kStringLanguage = 29;
constexpr UINT kStringVibration = 40143;
constexpr UINT kStringCancel = 25219;
constexpr UINT kStringInvalidFormat = 30;
constexpr COLORREF kPageColour = RGB(255, 255, 255);

// Places on the page, in 96-dpi units.
constexpr int kMargin = 6;
constexpr int kRowTop = 8;
constexpr int kLabelWidth = 106;
constexpr int kLabelHeight = 21;
constexpr int kTextTop = 56;
constexpr int kTextHeight = 20;
constexpr int kVibrationTop = 86;
constexpr int kCheckSize = 16;
constexpr int kButtonsTop = 118;
constexpr int kButtonGap = 8;

std::u16string loadText(HINSTANCE resources, UINT id) {
    Str text;
    text.load(id, resources);
    return std::u16string(text.c_str());
}

void move(HWND window, int x, int y, int width, int height) {
    if (window != nullptr) MoveWindow(window, x, y, width, height, TRUE);
}

}  // namespace

bool SettingsPage::create(HWND parent, HINSTANCE resources) {
    m_resources = resources;
    setBackgroundColor(kPageColour);
    if (!ControlBase::create(parent, RECT{0, 0, scaleX(240), scaleY(200)}, u"SettingsPage")) return false;
    ShowWindow(m_window, SW_HIDE);
    if (!createControls()) return false;
    bool vibration = readSettingNumber(kSettingVibration, 0) != 0;
    m_feedback.setOn(vibration);
    SendMessageW(m_check, BM_SETCHECK, vibration ? BST_CHECKED : BST_UNCHECKED, 0);
    layoutControls();
    return true;
}

bool SettingsPage::createControls() {
    const DWORD labelStyle = SS_LEFT | SS_CENTERIMAGE;
    RECT none{0, 0, scaleX(kLabelWidth), scaleY(kLabelHeight)};
    if (!m_formatLabel.create(loadText(m_resources, kStringFormat).c_str(), m_window, labelStyle, none, 0) ||
        !m_languageLabel.create(loadText(m_resources, kStringLanguage).c_str(), m_window, labelStyle, none,
                                0) ||
        !m_vibrationLabel.create(loadText(m_resources, kStringVibration).c_str(), m_window, labelStyle, none,
                                 0))
        return false;
    for (DialogLabel* label : {&m_formatLabel, &m_languageLabel, &m_vibrationLabel})
        label->setFont(sharedFont(6));
    m_edit = CreateWindowExW(0, WC_EDIT, u"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                             0, 0, scaleX(100), scaleY(kTextHeight), m_window,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdFormatText)), nullptr, nullptr);
    m_check = CreateWindowExW(0, WC_BUTTON, u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 0,
                              scaleX(kCheckSize), scaleY(kCheckSize), m_window,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdVibration)), nullptr, nullptr);
    if (m_edit == nullptr || m_check == nullptr) return false;
    SendMessageW(m_edit, WM_SETFONT, reinterpret_cast<WPARAM>(sharedFont(4)), FALSE);
    if (!m_nameKey.create(m_window, u"", POINT{0, 0}, kCmdFormatName, m_resources) ||
        !m_nameKey.setIcon(true))
        return false;
    return m_ok.create(m_window, loadText(m_resources, kStringOk).c_str(), POINT{0, 0}, IDOK, m_resources) &&
           m_cancel.create(m_window, loadText(m_resources, kStringCancel).c_str(), POINT{0, 0}, IDCANCEL,
                           m_resources);
}

void SettingsPage::layoutControls() {
    if (m_window == nullptr || m_edit == nullptr) return;
    RECT client{};
    GetClientRect(m_window, &client);
    const int left = scaleX(kMargin);
    const int labelHeight = scaleY(kLabelHeight);
    move(m_formatLabel.window(), left, scaleY(kRowTop), scaleX(kLabelWidth), labelHeight);
    SetWindowPos(m_nameKey.window(), nullptr, left + scaleX(kLabelWidth), scaleY(kRowTop), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    move(m_languageLabel.window(), left, scaleY(kTextTop) - labelHeight, client.right - 2 * left,
         labelHeight);
    move(m_edit, left, scaleY(kTextTop), client.right - 2 * left, scaleY(kTextHeight));
    move(m_vibrationLabel.window(), left, scaleY(kVibrationTop), scaleX(kLabelWidth), labelHeight);
    move(m_check, left + scaleX(kLabelWidth), scaleY(kVibrationTop) + (labelHeight - scaleY(kCheckSize)) / 2,
         scaleX(kCheckSize), scaleY(kCheckSize));
    RECT ok{};
    GetWindowRect(m_ok.window(), &ok);
    SetWindowPos(m_ok.window(), nullptr, left, scaleY(kButtonsTop), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(m_cancel.window(), nullptr, left + (ok.right - ok.left) + scaleX(kButtonGap),
                 scaleY(kButtonsTop), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SettingsPage::setShown(bool shown) {
    if (m_window == nullptr) return;
    if (shown) {
        m_choices.reset(abcChoices(m_resources), currentAbcType());
        SendMessageW(m_check, BM_SETCHECK, m_feedback.on() ? BST_CHECKED : BST_UNCHECKED, 0);
        showChosen();
        layoutControls();
    }
    ShowWindow(m_window, shown ? SW_SHOW : SW_HIDE);
}

void SettingsPage::showChosen() {
    SetWindowTextW(m_edit, m_choices.chosenChoice().text.c_str());
    m_nameKey.setText(m_choices.chosenChoice().name.c_str());
}

std::u16string SettingsPage::editText() const {
    int length = GetWindowTextLengthW(m_edit);
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    int copied = GetWindowTextW(m_edit, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied < 0 ? 0 : copied));
    return text;
}

void SettingsPage::onFormatTextCommand(UINT code) {
    if (code == EN_SETFOCUS) {
        SHSipPreference(m_window, SIP_UP);
    } else if (code == EN_KILLFOCUS) {
        SHSipPreference(m_window, SIP_DOWN);
    } else if (code == EN_CHANGE) {
        m_choices.typed(editText());
        m_nameKey.setText(m_choices.chosenChoice().name.c_str());
    }
}

void SettingsPage::chooseFormat() {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) return;
    const std::vector<AbcChoice>& choices = m_choices.choices();
    for (size_t i = 0; i < choices.size(); ++i)
        AppendMenuW(menu, MF_STRING | (static_cast<int>(i) == m_choices.chosen() ? MF_CHECKED : MF_UNCHECKED),
                    i + 1, choices[i].name.c_str());
    RECT key{};
    GetWindowRect(m_nameKey.window(), &key);
    int picked = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, key.left, key.bottom, 0,
                                m_window, nullptr);
    DestroyMenu(menu);
    if (picked <= 0 || picked - 1 == m_choices.chosen()) return;
    m_choices.choose(picked - 1, editText());
    showChosen();
}

void SettingsPage::accept() {
    bool vibration = SendMessageW(m_check, BM_GETCHECK, 0, 0) == BST_CHECKED;
    m_feedback.setOn(vibration);
    m_feedback.pulse();
    if (m_choices.personalChosen()) {
        const std::u16string& text = m_choices.chosenChoice().text;
        if (!parseAbcFormat(text).valid()) {
            MessageBoxW(m_window, loadText(m_resources, kStringInvalidFormat).c_str(), kMessageCaption,
                        MB_OK | MB_ICONEXCLAMATION);
            SendMessageW(m_edit, EM_SETSEL, 0, -1);
            SetFocus(m_edit);
            return;
        }
        writeCustomAbcText(text);
    }
    writeSettingNumber(kSettingAbcType, static_cast<DWORD>(m_choices.chosenChoice().type));
    writeSettingNumber(kSettingVibration, vibration ? 1 : 0);
    notifyMainWindow(kCmdOk);
}

void SettingsPage::cancel() {
    m_feedback.pulse();
    notifyMainWindow(kCmdClose);
}

void SettingsPage::notifyMainWindow(UINT command) {
    SendMessageW(GetParent(m_window), WM_COMMAND, command, reinterpret_cast<LPARAM>(m_window));
}

LRESULT SettingsPage::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kIdFormatText)
                onFormatTextCommand(HIWORD(wParam));
            else if (LOWORD(wParam) == kCmdFormatName)
                chooseFormat();
            else if (LOWORD(wParam) == IDOK)
                accept();
            else if (LOWORD(wParam) == IDCANCEL)
                cancel();
            return 0;
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<LRESULT>(backgroundBrush());
        case WM_SIZE:
            layoutControls();
            return 0;
        default:
            return ControlBase::windowProc(window, message, wParam, lParam);
    }
}

}  // namespace shell
