// The stand-in panels: a control base window created hidden in its colour.
#include "PanelStandIn.h"

#include <algorithm>

namespace shell {
namespace {

constexpr int kKeyboardKeys = 12;

}  // namespace

bool PanelStandIn::create(HWND parent, const RECT& rect, LPCWSTR windowName, COLORREF colour) {
    setBackgroundColor(colour);
    if (!ControlBase::create(parent, rect, windowName)) return false;
    ShowWindow(m_window, SW_HIDE);
    return true;
}

void PanelStandIn::setLabels(int count, const std::u16string* texts) {
    int used = std::clamp(count, 0, kKeyboardKeys);
    m_labels.assign(texts, texts + used);
}

}  // namespace shell
