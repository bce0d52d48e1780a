// The create dialogs' frame: taking over the template's controls, the full-screen layout in rows,
// the input panel, and OK and Cancel.
#include "CreateItemDialog.h"

#include <algorithm>

#include "ScreenMetrics.h"
#include "ShellCommands.h"
#include "TextUtil.h"
#include "platform/aygshell.h"
#include "platform/windlg.h"

namespace shell {
namespace {

constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kRuleColour = RGB(0, 0, 0);
constexpr int kLabelFont = 6;
constexpr int kTitleFont = 7;
constexpr int kMaxButtonText = 256;

// Places in 96-dpi units. They keep the tallest dialog (the category's: title, three rows, buttons)
// above the raised input panel on the shortest screens (240 units high).
constexpr int kMargin = 6;
constexpr int kTitlePadding = 6;  // added to the title font's height
constexpr int kFieldPadding = 6;  // added to the dialog font's height: the height of a row
constexpr int kSectionGap = 6;    // below the title's rule and above the buttons
constexpr int kRowGap = 4;
constexpr int kColumnGap = 4;        // between the label column and a field
constexpr int kSideBySideGap = 12;   // between controls standing side by side
constexpr int kIndicatorWidth = 20;  // a radio button's circle and the gap before its text
constexpr int kButtonGap = 8;

int textHeight(HWND window, HFONT font) {
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return metrics.tmHeight;
}

int textWidth(HWND window, HFONT font) {
    WCHAR text[kMaxButtonText] = {};
    int length = GetWindowTextW(window, text, kMaxButtonText);
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text, length, &extent);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return extent.cx;
}

HFONT windowFont(HWND window) {
    return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

bool isTextField(HWND control) {
    return control != nullptr && (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0;
}

void move(HWND window, int x, int y, int width, int height) {
    if (window != nullptr) MoveWindow(window, x, y, std::max(width, 0), std::max(height, 0), TRUE);
}

void moveTo(HWND window, int x, int y) {
    if (window != nullptr)
        SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int widthOf(HWND window) {
    RECT rect{};
    if (window != nullptr) GetWindowRect(window, &rect);
    return rect.right - rect.left;
}

}  // namespace

CreateItemDialog::CreateItemDialog(UINT templateId, ButtonActions actions) : m_actions(std::move(actions)) {
    setTemplate(templateId);
}

std::optional<CreatedItem> CreateItemDialog::run(HWND owner) {
    m_result.reset();
    return runModal(owner) == IDOK ? m_result : std::nullopt;
}

bool CreateItemDialog::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_INITDIALOG:
            onInitDialog();
            result = TRUE;  // the first field takes the focus
            return true;
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam));
            result = TRUE;
            return true;
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
            SetBkColor(reinterpret_cast<HDC>(wParam), kBackground);
            SetTextColor(reinterpret_cast<HDC>(wParam), kText);
            result = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
            return true;
        case WM_SIZE:
            layout();
            result = 0;
            return true;
        case WM_SETTINGCHANGE:
            // The screen turned: the dialog covers it again (and lays itself out for it).
            if (wParam == kSettingScreenRotated) fillScreen();
            return false;
        default:
            return DialogObject::dialogProc(dialog, message, wParam, lParam, result);
    }
}

void CreateItemDialog::onInitDialog() {
    // The title shows as the dialog's own label, so the platform's caption goes.
    LONG style = GetWindowLongW(m_dialog, GWL_STYLE);
    SetWindowLongW(m_dialog, GWL_STYLE, style & ~static_cast<LONG>(WS_CAPTION | DS_MODALFRAME));
    takeOverControls();
    initialise();
    fillScreen();
    layout();
}

void CreateItemDialog::takeOverControls() {
    m_labels.clear();
    WCHAR title[kMaxButtonText] = {};
    GetWindowTextW(m_dialog, title, kMaxButtonText);
    RECT none{0, 0, 0, 0};
    if (m_title.create(title, m_dialog, SS_LEFT | SS_CENTERIMAGE, none, kIdTitle)) {
        m_title.setFont(sharedFont(kTitleFont));
        m_title.setTextColor(kText);
    }
    if (m_rule.create(u"", m_dialog, SS_LEFT, none, kIdTitleRule)) m_rule.setOpaque(true, kRuleColour);
    for (const Row& row : rows()) {
        for (int id : row) {
            HWND control = GetDlgItem(m_dialog, id);
            // Only a name is limited: a parent field holds a full name, whose levels together may
            // run longer.
            if (id == kIdNameField) SendMessageW(control, EM_LIMITTEXT, kMaxNameLength, 0);
            if (control == nullptr || (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_STATIC) == 0)
                continue;
            auto label = std::make_unique<DialogLabel>();
            if (!label->attach(control)) continue;
            label->setFont(sharedFont(kLabelFont));
            label->setTextColor(kText);
            m_labels.push_back(std::move(label));
        }
    }
    replaceButton(m_ok, IDOK);
    replaceButton(m_cancel, IDCANCEL);
    // The template's default button is gone: Enter in a field means OK.
    SendMessageW(m_dialog, DM_SETDEFID, IDOK, 0);
}

void CreateItemDialog::replaceButton(DialogButton& button, int id) {
    WCHAR text[kMaxButtonText] = {};
    HWND original = GetDlgItem(m_dialog, id);
    if (original != nullptr) {
        GetWindowTextW(original, text, kMaxButtonText);
        DestroyWindow(original);
    }
    button.create(m_dialog, text, POINT{0, 0}, static_cast<UINT>(id));
}

void CreateItemDialog::fillScreen() {
    SHINITDLGINFO info{};
    info.dwMask = SHIDIM_FLAGS;
    info.hDlg = m_dialog;
    info.dwFlags = SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR;
    SHInitDialog(&info);
}

int CreateItemDialog::preferredWidth(int id) const {
    HWND control = GetDlgItem(m_dialog, id);
    if (control == nullptr) return 0;
    bool label = std::any_of(m_labels.begin(), m_labels.end(),
                             [&](const std::unique_ptr<DialogLabel>& l) { return l->window() == control; });
    int width = textWidth(control, label ? sharedFont(kLabelFont) : windowFont(control));
    if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) width += scaleX(kIndicatorWidth);
    return width;
}

void CreateItemDialog::layout() {
    if (m_dialog == nullptr || m_ok.window() == nullptr) return;
    RECT client{};
    GetClientRect(m_dialog, &client);
    const int margin = scaleX(kMargin);
    const int inner = client.right - 2 * margin;
    const int titleHeight = textHeight(m_dialog, sharedFont(kTitleFont)) + scaleY(kTitlePadding);
    move(m_title.window(), margin, 0, inner, titleHeight);
    move(m_rule.window(), margin, titleHeight, inner, scaleY(1));
    const std::vector<Row> all = rows();
    int labelColumn = 0;
    for (const Row& row : all)
        if (row.size() >= 2 && isTextField(GetDlgItem(m_dialog, row.back())))
            labelColumn = std::max(labelColumn, preferredWidth(row.front()));
    const int rowHeight = textHeight(m_dialog, windowFont(m_dialog)) + scaleY(kFieldPadding);
    int y = titleHeight + scaleY(1) + scaleY(kSectionGap);
    for (const Row& row : all) {
        int x = margin;
        if (!row.empty() && isTextField(GetDlgItem(m_dialog, row.back()))) {
            if (row.size() >= 2) {
                move(GetDlgItem(m_dialog, row.front()), x, y, labelColumn, rowHeight);
                x += labelColumn + scaleX(kColumnGap);
            }
            move(GetDlgItem(m_dialog, row.back()), x, y, margin + inner - x, rowHeight);
        } else {
            for (int id : row) {
                int width = preferredWidth(id);
                move(GetDlgItem(m_dialog, id), x, y, width, rowHeight);
                x += width + scaleX(kSideBySideGap);
            }
        }
        y += rowHeight + scaleY(kRowGap);
    }
    y += scaleY(kSectionGap) - scaleY(kRowGap);
    moveTo(m_ok.window(), margin, y);
    moveTo(m_cancel.window(), margin + widthOf(m_ok.window()) + scaleX(kButtonGap), y);
}

void CreateItemDialog::onCommand(int id, int code) {
    if (id == IDOK) {
        if (m_actions.pulse) m_actions.pulse();
        if (std::optional<CreatedItem> item = accept()) {
            m_result = item;
            finish(IDOK);
        }
        if (m_actions.debounce) m_actions.debounce();
    } else if (id == IDCANCEL) {
        if (m_actions.pulse) m_actions.pulse();
        finish(IDCANCEL);
        if (m_actions.debounce) m_actions.debounce();
    } else if (code == EN_SETFOCUS) {
        // Names are typed: the input panel comes up with the field.
        SHSipPreference(m_dialog, SIP_UP);
    } else {
        onControlCommand(id, code);
    }
}

void CreateItemDialog::finish(int code) {
    SHSipPreference(m_dialog, SIP_DOWN);
    EndDialog(m_dialog, code);
}

std::u16string CreateItemDialog::fieldText(int id) const {
    HWND field = GetDlgItem(m_dialog, id);
    std::u16string text(static_cast<size_t>(std::max(GetWindowTextLengthW(field), 0)) + 1, u'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    return dove::trimmed(text);
}

void CreateItemDialog::setFieldText(int id, const std::u16string& text) {
    SetDlgItemTextW(m_dialog, id, text.c_str());
}

void CreateItemDialog::refuse(int id) {
    HWND field = GetDlgItem(m_dialog, id);
    if (field == nullptr) return;
    SendMessageW(field, EM_SETSEL, 0, -1);
    SetFocus(field);
}

std::optional<std::u16string> CreateItemDialog::acceptedName(bool (*rule)(std::u16string_view)) {
    std::u16string name = fieldText(kIdNameField);
    if (rule(name)) return name;
    refuse(kIdNameField);
    return std::nullopt;
}

std::optional<CreatedItem> CreateItemDialog::storedOrRefused(const CreatedItem& item) {
    if (item.status == dove::StoreStatus::Ok) return item;
    refuse(kIdNameField);
    return std::nullopt;
}

}  // namespace shell
