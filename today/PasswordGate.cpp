// The data password: digest, stored digest, dialog and gate.
#include "PasswordGate.h"

#include "FinanceStore.h"
#include "Identifiers.h"
#include "ResourceText.h"
#include "TodayFields.h"
#include "TodayNames.h"
#include "TransactionRecord.h"
#include "platform/windows.h"

namespace today {

namespace {

constexpr int kMaxPassword = 256;
constexpr uint64_t kFirstWeight = 100;

}  // namespace

int64_t passwordDigest(std::u16string_view password) {
    uint64_t sum = 0;
    for (size_t i = 0; i < password.size(); ++i)
        sum += static_cast<uint64_t>(password[i]) * (kFirstWeight - static_cast<uint64_t>(i));
    return static_cast<int64_t>(sum);
}

int64_t storedPasswordDigest() {
    const auto account = static_cast<uint32_t>(dove::tx::kPasswordAccount);
    dove::TableCursor& transactions = dove::tableCursor(dove::Table::Transactions);
    dove::SortScope order(transactions, dove::tx::kIdentifier, dove::SortKind::String);
    if (!order.ok() || !transactions.seekFirstGreater(dove::accountStartKey(account))) return 0;
    do {
        if (dove::accountOfIdentifier(transactions.getString(dove::tx::kIdentifier)) != account) break;
        const int64_t digest = transactions.get64(fields::kPasswordDigest);
        if (digest != 0) return digest;
    } while (transactions.moveNext());
    return 0;
}

bool askDataPassword(int64_t stored, const std::function<std::optional<std::u16string>()>& ask) {
    for (int attempt = 0; attempt < kPasswordTries; ++attempt) {
        const std::optional<std::u16string> answer = ask();
        if (!answer) return false;
        if (passwordDigest(*answer) == stored) return true;
    }
    return false;
}

PasswordDialog::PasswordDialog() {
    setTemplate(kDialogPassword);
}

std::optional<std::u16string> PasswordDialog::ask(HWND owner) {
    m_answer.clear();
    if (runModal(owner) != IDOK) return std::nullopt;
    return m_answer;
}

bool PasswordDialog::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_INITDIALOG) {
        // Centred on the screen, with the input panel up for typing.
        RECT rect{};
        GetWindowRect(dialog, &rect);
        const int width = rect.right - rect.left, height = rect.bottom - rect.top;
        MoveWindow(dialog, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (GetSystemMetrics(SM_CYSCREEN) - height) / 3, width, height, TRUE);
        SHSipPreference(dialog, SIP_UP);
        SetFocus(GetDlgItem(dialog, kPasswordEdit));
        result = FALSE;
        return true;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        WCHAR text[kMaxPassword + 1] = {};
        GetDlgItemTextW(dialog, kPasswordEdit, text, kMaxPassword + 1);
        m_answer = text;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
        SHSipPreference(dialog, SIP_DOWN);
    return DialogObject::dialogProc(dialog, message, wParam, lParam, result);
}

GateResult passDataPasswordGate(HWND owner) {
    int64_t stored = 0;
    const bool opened = dove::openFinanceStore();
    if (opened) stored = storedPasswordDigest();
    dove::closeFinanceStore();
    if (!opened) return GateResult::Unreadable;
    if (stored == 0) return GateResult::Open;
    PasswordDialog dialog;
    if (askDataPassword(stored, [&] { return dialog.ask(owner); })) return GateResult::Open;
    MessageBoxW(owner, dove::resourceString(kStringLocked).c_str(), kLockedCaption,
                MB_OK | MB_ICONEXCLAMATION);
    return GateResult::Locked;
}

}  // namespace today
