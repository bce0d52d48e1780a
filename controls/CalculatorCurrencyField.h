// CalculatorCurrencyField: what the calculator's display needs of the currency field at its right
// end: a child window it creates at its place, and a drop list it opens when the device's up or down
// key reaches the calculator. The owner fills the field and reads its choice through its own type.
#pragma once

#include "platform/windows.h"

class CalculatorCurrencyField {
  public:
    virtual ~CalculatorCurrencyField() = default;

    // Creates the field's child window in parent with its top-left corner at origin (parent client
    // pixels), drawn on background. False when it cannot be created.
    virtual bool create(HWND parent, POINT origin, COLORREF background) = 0;
    // The field's window; NULL before create().
    virtual HWND window() const = 0;
    // Opens the field's drop list with its current item marked.
    virtual void openDropList() = 0;
};
