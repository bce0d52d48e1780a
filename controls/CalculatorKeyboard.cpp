// CalculatorKeyboard: the key table (window name, id, grid place, message), the grid geometry and
// the images shared by all nine keys.

#include "CalculatorKeyboard.h"

#include <string_view>

#include "CalculatorMessages.h"
#include "ControlMessages.h"
#include "ScreenMetrics.h"

// The calculator's windows carry no arithmetic of their own: no binary floating point here either.
#pragma GCC poison float double

namespace {

struct KeySpec {
    const WCHAR* name;
    UINT id;
    int row;
    int column;
    UINT message;     // posted to the calculator
    WCHAR character;  // its wParam; 0 for none
};

constexpr KeySpec kKeys[CalculatorKeyboard::kKeyCount] = {
    {u"Plus", 1, 0, 0, WM_CALCULATOR_CHAR, u'+'},   {u"Minus", 3, 0, 1, WM_CALCULATOR_CHAR, u'-'},
    {u"Comma", 2, 0, 2, WM_CALCULATOR_CHAR, u','},  {u"Asterisk", 0, 1, 0, WM_CALCULATOR_CHAR, u'*'},
    {u"Divide", 5, 1, 1, WM_CALCULATOR_CHAR, u'/'}, {u"Percent", 9, 1, 2, WM_CALCULATOR_CHAR, u'%'},
    {u"Clear", 6, 2, 0, WM_CALCULATOR_CLEAR, 0},    {u"ChangeSign", 7, 2, 1, WM_CALCULATOR_CHANGE_SIGN, 0},
    {u"Equals", 8, 2, 2, WM_CALCULATOR_CHAR, u'='},
};

// Grid in 96-dpi units: column widths and the row height; neighbours are one unit apart.
constexpr int kColumnWidths[3] = {78, 78, 80};
constexpr int kRowHeight = 33;
constexpr int kGap = 1;

int columnLeft(int column) {
    int left = 0;
    for (int c = 0; c < column; ++c)
        left += kColumnWidths[c] + kGap;
    return left;
}

// The key's rectangle in the keyboard, which is also its slice of both images (device pixels).
RECT keyRect(const KeySpec& spec) {
    int left = columnLeft(spec.column);
    int top = spec.row * (kRowHeight + kGap);
    return RECT{scaleX(left), scaleY(top), scaleX(left + kColumnWidths[spec.column]),
                scaleY(top + kRowHeight)};
}

}  // namespace

CalculatorKeyboard::~CalculatorKeyboard() {
    for (auto& key : m_keys)
        key.reset();
    destroy();
    if (m_normal != nullptr) DeleteObject(m_normal);
    if (m_pressed != nullptr) DeleteObject(m_pressed);
}

bool CalculatorKeyboard::create(HWND parent, const RECT& rect, HINSTANCE resources) {
    if (!loadImages(resources)) return false;
    setBackgroundColor(kBackground);
    if (!ControlBase::create(parent, rect, u"CalculatorKeyboard")) return false;
    for (int i = 0; i < kKeyCount; ++i) {
        const KeySpec& spec = kKeys[i];
        m_keys[i] = std::make_unique<ImageKey>();
        RECT place = keyRect(spec);
        if (!m_keys[i]->create(m_window, place, spec.name, spec.id)) return false;
        m_keys[i]->setBackgroundColor(kBackground);
        m_keys[i]->setImages(m_normal, m_pressed, place);
    }
    return true;
}

bool CalculatorKeyboard::loadImages(HINSTANCE resources) {
    if (m_normal != nullptr && m_pressed != nullptr) return true;
    bool high = screenMetrics().highResolution;
    m_normal = LoadBitmapW(resources, MAKEINTRESOURCEW(high ? kNormalImageHigh : kNormalImage));
    m_pressed = LoadBitmapW(resources, MAKEINTRESOURCEW(high ? kPressedImageHigh : kPressedImage));
    return m_normal != nullptr && m_pressed != nullptr;
}

ImageKey* CalculatorKeyboard::key(const WCHAR* windowName) {
    for (int i = 0; i < kKeyCount; ++i) {
        if (std::u16string_view(kKeys[i].name) == windowName) return m_keys[i].get();
    }
    return nullptr;
}

LRESULT CalculatorKeyboard::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEY_CLICKED) {
        keyClicked(static_cast<UINT>(wParam));
        return 0;
    }
    return ControlBase::windowProc(window, message, wParam, lParam);
}

void CalculatorKeyboard::keyClicked(UINT keyId) {
    for (const KeySpec& spec : kKeys) {
        if (spec.id != keyId) continue;
        if (m_feedback) m_feedback();
        HWND parent = GetParent(m_window);
        if (parent != nullptr) PostMessageW(parent, spec.message, spec.character, 0);
        return;
    }
}
