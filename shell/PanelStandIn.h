// PanelStandIn: a plain child window standing where a panel of the entry or settings page will be,
// with that panel's window name, size and background colour, so that layout and switching act on
// real windows until the panel itself exists.
#pragma once

#include "ControlBase.h"

namespace shell {

class PanelStandIn : public ControlBase {
  public:
    // Creates the stand-in hidden, at rect in parent's client area, named windowName (as the panel
    // will be) and painted in colour. False when the window cannot be created.
    bool create(HWND parent, const RECT& rect, LPCWSTR windowName, COLORREF colour);
};

}  // namespace shell
