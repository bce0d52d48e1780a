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

    // The settings page's stand-in carries the page's two buttons, "OK" (string 11, id 1) and
    // "Cancel" (string 25219, id 2) of resources, near its top-left corner; they send the parent
    // WM_COMMAND(122) and WM_COMMAND(121) from the page, as the page itself does, so the page can
    // be left. False when a button cannot be created.
    bool addPageButtons(HINSTANCE resources);

    // Turns the page buttons' clicks into the page's commands; everything else as a control base.
    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace shell
