// The stand-in panels: a control base window created hidden in its colour.
#include "PanelStandIn.h"

namespace shell {

bool PanelStandIn::create(HWND parent, const RECT& rect, LPCWSTR windowName, COLORREF colour) {
    setBackgroundColor(colour);
    if (!ControlBase::create(parent, rect, windowName)) return false;
    ShowWindow(m_window, SW_HIDE);
    return true;
}

}  // namespace shell
