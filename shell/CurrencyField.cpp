// The currency field's rows from the currency catalogue and the choice read back from the combo box.
#include "CurrencyField.h"

#include <vector>

#include "CurrencyCache.h"

namespace shell {

bool CurrencyField::create(HWND parent, POINT origin, COLORREF background) {
    if (!m_combo.create(parent, origin.x, origin.y, m_resources)) return false;
    m_combo.setBackgroundColor(background);
    fill();
    return true;
}

void CurrencyField::fill() {
    std::vector<ListItem> rows;
    for (const dove::CurrencyEntry& entry : dove::currencyCache().entries()) {
        ListItem row;
        row.text = entry.code;
        row.id = entry.id;
        rows.push_back(std::move(row));
    }
    m_combo.setItems(std::move(rows));
}

void CurrencyField::reload() {
    const uint32_t current = currentCurrency();
    dove::currencyCache().reload();
    if (m_combo.window() == nullptr) return;
    if (m_combo.isOpen()) m_combo.close();
    // A pick the user made stays a pick: the combo box keeps its changed flag.
    fill();
    m_combo.select(indexOf(current));
}

int CurrencyField::indexOf(uint32_t id) {
    const std::vector<ListItem>& rows = m_combo.dropList().view().items();
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].id == id) return static_cast<int>(i);
    return -1;
}

void CurrencyField::showCurrency(uint32_t id) {
    m_combo.select(indexOf(id));
    m_combo.clearChanged();
}

uint32_t CurrencyField::pickedCurrency() const {
    return m_combo.changed() ? currentCurrency() : 0;
}

uint32_t CurrencyField::currentCurrency() const {
    const ListItem* row = m_combo.currentItem();
    return row != nullptr ? row->id : 0;
}

}  // namespace shell
