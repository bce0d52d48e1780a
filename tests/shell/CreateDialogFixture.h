// Driving the create dialogs from tests: steps that run while a dialog's modal loop waits (typing,
// tapping, checking), opening a list's dialog with "Нов.", and reading back what the store holds.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "FinanceStore.h"
#include "ListFixture.h"

namespace shelltest {

using DialogStep = std::function<void(HWND dialog)>;

// Feeds a modal loop: each time it waits, the next step runs with its window, and the loop then
// carries out what the step posted. A loop that waits with no step left is cancelled and fails the
// test.
class DialogSteps {
  public:
    explicit DialogSteps(std::vector<DialogStep> steps);
    ~DialogSteps();
    DialogSteps(const DialogSteps&) = delete;
    DialogSteps& operator=(const DialogSteps&) = delete;

    // Every step ran.
    bool finished() const { return m_next == m_steps.size(); }

  private:
    std::vector<DialogStep> m_steps;
    size_t m_next = 0;
};

// Steps: characters typed into the control with the focus; a field focused with its text selected
// (as a tap would leave it) and then typed over; a tap on a control's centre; a check of the title
// and of the field that was refused (focused, its whole text selected).
DialogStep typeText(const std::u16string& text);
DialogStep typeInto(int id, const std::u16string& text);
DialogStep tapControl(int id);
DialogStep expectRefused(int id, const std::string& context);
DialogStep expectTitle(const std::u16string& title);

// The window text of a dialog's control.
std::u16string controlText(HWND dialog, int id);

class CreateDialogTest : public ListTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Taps "Нов." on the confirm-or-create strip; the steps drive the dialog that opens. True when
    // every step ran.
    bool create(std::vector<DialogStep> steps);
    // The list's current entry's id (0 for none).
    int32_t currentId(shell::ListKind kind);

    // The number of records of the table whose name (110) is name.
    static int recordsNamed(dove::Table table, const std::u16string& name);
    static int recordCount(dove::Table table);
    // The parent (203) of project number, -1 when there is none.
    static int32_t projectParent(int32_t number);
};

}  // namespace shelltest
