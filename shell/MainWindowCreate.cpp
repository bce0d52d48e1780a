// The confirm-or-create strip's "new" command: the create dialog of the list shown, and the list
// brought to the item it settled on.
#include "CreateDialogs.h"
#include "MainWindow.h"

namespace shell {

void MainWindow::createItem() {
    ListKind kind;
    switch (m_mode) {
        case EntryMode::Payees:
            kind = ListKind::Payees;
            break;
        case EntryMode::Categories:
            kind = ListKind::Categories;
            break;
        case EntryMode::Projects:
            kind = ListKind::Projects;
            break;
        default:
            return;
    }
    SelectionList& target = list(kind);
    const ListItem* current = target.control().view().selectedItem();
    CreateRequest request{kind, current != nullptr ? static_cast<int32_t>(current->id) : 0,
                          m_draft.amount() > 0};
    std::optional<CreatedItem> item = runCreateDialog(
        m_window, request, ButtonActions{[this] { m_feedback.pulse(); }, [this] { clickDebounce(); }});
    if (!item) return;
    if (item->written) {
        // The finance manager hears of the new record at exit; the list reads it with the others.
        m_dataChanged = true;
        target.discardRecords();
    }
    // Showing the list again clears the typed filter and refilters with the item current.
    target.selectId(item->id);
    target.setShown(true);
    SetFocus(target.window());
}

}  // namespace shell
