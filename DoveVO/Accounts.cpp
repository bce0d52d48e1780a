// Reading account records by number.
#include "Accounts.h"

#include "FinanceStore.h"

namespace dove {
namespace {

// The Accounts cursor on the account's record, or nullptr when it does not exist.
const TableCursor* seekAccount(int32_t number) {
    TableCursor& accounts = tableCursor(Table::Accounts);
    if (!accounts.ensureSort(account::kNumber, SortKind::I4)) return nullptr;
    if (accounts.position() >= 0 && accounts.getI4(account::kNumber) == number &&
        accounts.hasProperty(account::kNumber))
        return &accounts;
    return accounts.seekFirstEqual(number) ? &accounts : nullptr;
}

}  // namespace

bool accountExists(int32_t number) {
    return seekAccount(number) != nullptr;
}

std::u16string accountName(int32_t number) {
    return accountTextProperty(number, account::kName);
}

std::u16string accountCurrency(int32_t number) {
    return accountTextProperty(number, account::kCurrency);
}

Amount accountBalance(int32_t number) {
    return accountAmountProperty(number, account::kBalance);
}

int32_t accountNumberProperty(int32_t number, PropertyNumber property) {
    const TableCursor* accounts = seekAccount(number);
    return accounts != nullptr ? accounts->getI4(property) : 0;
}

Amount accountAmountProperty(int32_t number, PropertyNumber property) {
    const TableCursor* accounts = seekAccount(number);
    return accounts != nullptr ? accounts->get64(property) : 0;
}

std::u16string accountTextProperty(int32_t number, PropertyNumber property) {
    const TableCursor* accounts = seekAccount(number);
    return accounts != nullptr ? std::u16string(accounts->getString(property)) : std::u16string();
}

bool isTransferTarget(int32_t number) {
    const TableCursor* accounts = seekAccount(number);
    if (accounts == nullptr) return false;
    return accounts->getI4(259) == 0 && accounts->getI4(165) == 0 && accounts->getI4(168) == 0;
}

}  // namespace dove
