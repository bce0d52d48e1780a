// The entry tests' store and helpers: the selection lists' store with two currencies (US dollars and
// euros, a dated rate between them), an account in euros, and the user's steps on the main window:
// choosing an entry of a list, typing, picking the calculator's currency, saving.
#pragma once

#include <string>
#include <vector>

#include "ListFixture.h"
#include "TransactionRecord.h"

namespace shelltest {

inline constexpr uint32_t kDollars = 1;
inline constexpr uint32_t kEuros = 2;
inline constexpr int32_t kEuroAccount = 5;

class EntryTest : public ListTest {
  protected:
    // Seeds the lists' store, the currencies and the euro account, and opens the main window.
    void openOnEntryStore();

    // The draft the main window edits.
    const shell::EntryDraft& draft() { return m_window->draft(); }
    // From the field panel: opens the list's field, makes the entry with that id current and presses
    // OK; the field panel shows again.
    void choose(shell::ListKind kind, int32_t id);
    // Presses OK on the strip of the panel shown.
    void confirm();
    // Characters posted to the main window as the device types them.
    void type(const std::u16string& characters);
    // With the calculator shown: opens its currency field's drop list and taps the row of the code.
    void pickCurrency(const std::u16string& code);
    // The strip button of the form strip: 0 "Зап. & Новый", 1 "Записать", 2 "Выход".
    void tapFormButton(int index) { tapStripButton(shell::kStripForm, index); }

    // Every stored transaction, in the table's identifier order.
    static std::vector<dove::TransactionRecord> storedTransactions();
    // The stored transactions whose identifiers are not among before's.
    static std::vector<dove::TransactionRecord> addedSince(
        const std::vector<dove::TransactionRecord>& before);
};

}  // namespace shelltest
