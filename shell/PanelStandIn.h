// PanelStandIn: a plain child window standing where a panel of the entry or settings page will be,
// with that panel's window name, size and background colour, so that layout and switching act on
// real windows until the panel itself exists.
#pragma once

#include <string>
#include <vector>

#include "ControlBase.h"

namespace shell {

class PanelStandIn : public ControlBase {
  public:
    // Creates the stand-in hidden, at rect in parent's client area, named windowName (as the panel
    // will be) and painted in colour. False when the window cannot be created.
    bool create(HWND parent, const RECT& rect, LPCWSTR windowName, COLORREF colour);

    // The on-screen keyboard's label call: keeps the first min(count, 12) texts, as the keyboard
    // gives them to its keys in creation order.
    void setLabels(int count, const std::u16string* texts);
    const std::vector<std::u16string>& labels() const { return m_labels; }

  private:
    std::vector<std::u16string> m_labels;
};

}  // namespace shell
