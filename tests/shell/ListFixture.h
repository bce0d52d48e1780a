// A store for the selection-list tests: accounts (one closed, one that takes no transfers), a tree of
// categories of both types, projects and payees (one hidden, one with a memorized entry), and access
// to the main window's lists.
#pragma once

#include <string>
#include <vector>

#include "EntryDraft.h"
#include "FinanceStore.h"
#include "ShellFixture.h"

namespace shelltest {

class ListTest : public ShellTest {
  protected:
    // Seeds the store described above (opened and closed around the writes).
    void seedLists();
    // More payees by name, each with an empty memorized entry.
    void seedPayees(const std::vector<std::u16string>& names);

    shell::SelectionList& list(shell::ListKind kind) { return m_window->list(kind); }
    // The texts the list shows, in order.
    std::vector<std::u16string> shownTexts(shell::ListKind kind);
    std::u16string caption(shell::ListKind kind);
    // The text of the list's current entry; empty when none.
    std::u16string currentText(shell::ListKind kind);
    // A keypad key or a typed character, posted to the main window as the keypad and the lists do.
    void keypad(WPARAM code);
    void typeCharacter(WCHAR character);
    // Opens the list's field (from the field panel).
    void openField(int index);

    // Numbers the seed gives out.
    int32_t m_groceries = 0;  // expense, under the root
    int32_t m_salary = 0;     // income
    int32_t m_fuel = 0;       // expense, under Car
    int32_t m_vacation = 0;
    int32_t m_freshMarket = 0;  // memorized: account 2, Groceries, 65.00
};

// A draft started on the seeded lists with the store open, as the entry page holds it.
class EntryDraftTest : public ListTest {
  protected:
    void SetUp() override {
        ListTest::SetUp();
        seedLists();
        ASSERT_TRUE(dove::openFinanceStore());
        m_draft.start(nullptr);
    }
    void TearDown() override {
        dove::closeFinanceStore();
        ListTest::TearDown();
    }
    shell::EntryDraft m_draft;
};

}  // namespace shelltest
