// Calculator: the frame's geometry and children, and the messages that drive the calculator's state.

#include "Calculator.h"

#include "ScreenMetrics.h"
#include "Str.h"

// getAmount and setAmount work on the exact display text: no binary floating point in this file.
#pragma GCC poison float double

namespace {

// Display and keyboard inside the frame, in 96-dpi units: the display spans the frame less a unit at
// each side, down to 56; the keyboard lies a unit below it. The frame shows around and between them.
constexpr int kDisplayBottom = 55 + 1;
constexpr int kKeyboardTop = 55 + 2;
constexpr int kKeyboardWidth = 238;
constexpr int kKeyboardHeight = 101;

}  // namespace

void Calculator::setKeyFeedback(std::function<void()> feedback) {
    m_keyboard.setKeyFeedback(std::move(feedback));
}

bool Calculator::create(HWND parent, int x, int y, HINSTANCE resources) {
    if (resources == nullptr) resources = Str::resourceModule();
    setBackgroundColor(kFrameColor);
    RECT frame{x, y, x + scaleX(kWidth), y + scaleY(kHeight)};
    if (!ControlBase::create(parent, frame, u"Calculator")) return false;
    int width = frame.right - frame.left;
    RECT display{scaleX(1), scaleY(1), width - scaleX(1), scaleY(kDisplayBottom)};
    RECT keys{scaleX(1), scaleY(kKeyboardTop), scaleX(1 + kKeyboardWidth),
              scaleY(kKeyboardTop + kKeyboardHeight)};
    if (!m_display.create(m_window, display, m_currencyField)) return false;
    if (!m_keyboard.create(m_window, keys, resources)) return false;
    reset();
    return true;
}

void Calculator::reset() {
    m_engine.reset();
    showDisplay();
}

void Calculator::setAmount(int64_t amount) {
    m_engine.setAmount(amount);
    showDisplay();
}

void Calculator::showDisplay() {
    if (m_window != nullptr) m_display.setAmountText(m_engine.display().c_str());
}

LRESULT Calculator::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR:
        case WM_CALCULATOR_CHAR:
            if (m_engine.key(static_cast<char16_t>(LOWORD(wParam)))) showDisplay();
            return 0;
        case WM_CALCULATOR_CHANGE_SIGN:
            m_engine.changeSign();
            showDisplay();
            return 0;
        case WM_CALCULATOR_CLEAR:
            reset();
            return 0;
        case WM_KEYDOWN:
            if (onKeyDown(wParam)) return 0;
            break;
        default:
            break;
    }
    return ControlBase::windowProc(window, message, wParam, lParam);
}

bool Calculator::onKeyDown(WPARAM key) {
    if (!IsWindowVisible(m_window)) return false;
    if (key == VK_UP || key == VK_DOWN) {
        if (m_currencyField != nullptr) m_currencyField->openDropList();
        return true;
    }
    if (key == VK_RETURN) {
        HWND parent = GetParent(m_window);
        if (parent != nullptr) PostMessageW(parent, WM_KEYDOWN, VK_RETURN, 0);
        return true;
    }
    return false;
}
