// Saving the entry: the draft written as a new transaction, what the user is told when it cannot be,
// the finance manager told when it was, and the next entry started after "Зап. & Новый".
#include "MainWindow.h"

#include "ShellCommands.h"
#include "StoreMessages.h"

namespace shell {

bool MainWindow::saveDraft() {
    dove::StoreStatus status = dove::StoreStatus::NoAccount;
    if (m_draft.account() > 0) {
        HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        status = m_draft.save();
        SetCursor(previous);
    }
    if (status != dove::StoreStatus::Ok) {
        showSaveFailure(status);
        return false;
    }
    m_dataChanged = true;
    if (HWND manager = FindWindowW(kFinanceManagerClass, nullptr))
        PostMessageW(manager, kMsgTransactionAdded, 0, 0);
    return true;
}

void MainWindow::showSaveFailure(dove::StoreStatus status) {
    auto show = [this](UINT stringId) {
        WCHAR text[512] = {};
        LoadStringW(m_resources, stringId, text, 512);
        MessageBoxW(m_window, text, kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
    };
    if (status == dove::StoreStatus::NoAccount) {
        show(kStringNoAccount);
        return;
    }
    // A failure with a message of its own (the store needs reindexing) says so first.
    if (std::optional<StoreMessage> message = saveFailureMessage(status))
        MessageBoxW(m_window, message->text.c_str(), message->caption.c_str(), message->type);
    show(kStringSaveFailed);
}

void MainWindow::saveAndNew() {
    if (!saveDraft()) return;
    m_draft.reset();
    m_fields.showDraft();
    panel(EntryMode::Payees).loadFrom(m_draft);
    switchEntryMode(EntryMode::Payees);
}

}  // namespace shell
