// CurrencyField: the calculator's currency field: a finger combo box of the store's currencies (their
// codes, in the currency catalogue's order, hidden ones included), showing the amount's currency and
// offering the others.
#pragma once

#include <cstdint>

#include "CalculatorCurrencyField.h"
#include "FingerComboBox.h"

namespace shell {

class CurrencyField : public CalculatorCurrencyField {
  public:
    // The module the drop key's images are loaded from; only before create().
    void setResources(HINSTANCE resources) { m_resources = resources; }

    // Creates the combo box at origin in parent on background; its rows are filled at once.
    bool create(HWND parent, POINT origin, COLORREF background) override;
    HWND window() const override { return m_combo.window(); }
    void openDropList() override { m_combo.open(); }

    // Reads the currencies again from the store and refills the rows, keeping the current currency.
    void reload();
    // Makes the currency with that id current (none for an unknown id) and forgets any earlier pick.
    void showCurrency(uint32_t id);
    // The currency the user picked in the drop list since showCurrency(); 0 when none was picked.
    uint32_t pickedCurrency() const;
    // The current row's currency id; 0 when none is current.
    uint32_t currentCurrency() const;

    FingerComboBox& comboBox() { return m_combo; }

  private:
    void fill();
    // The row of the currency with that id; -1 when none.
    int indexOf(uint32_t id);

    FingerComboBox m_combo;
    HINSTANCE m_resources = nullptr;
};

}  // namespace shell
