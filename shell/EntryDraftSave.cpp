// The draft saved as a new transaction: the record built in the entry form's order, the amount
// converted into the account's currency at the rate of the transaction's date, and the full write.
#include <cstring>

#include "Accounts.h"
#include "Amount.h"
#include "CurrencyCache.h"
#include "EntryDraft.h"
#include "Payees.h"
#include "SettingsStore.h"
#include "TransactionStore.h"

namespace shell {
namespace {

std::u16string payeeName(int32_t number) {
    dove::Payee payee;
    return number != 0 && dove::readPayeeByNumber(number, payee) ? payee.name : std::u16string();
}

// The amount in the account's currency: between two currencies the record also keeps the amount as
// entered, its currency and the rate used, so that the conversion can be retraced.
void setAmountIn(dove::TransactionRecord& record, int64_t amount, const std::u16string& amountCode,
                 const std::u16string& accountCode) {
    record.setCurrency(accountCode);
    if (amountCode.empty() || accountCode.empty() || amountCode == accountCode) {
        record.setAmount(amount);
        return;
    }
    const double rate = dove::currencyCache().getRate(amountCode, accountCode, record.date());
    record.setAmount(dove::amountFromReal(static_cast<double>(amount) * rate));
    record.setEnteredAmount(amount, amountCode);
    uint64_t bits = 0;
    std::memcpy(&bits, &rate, sizeof bits);
    record.set64(dove::tx::kRate, bits);
}

}  // namespace

dove::TransactionRecord EntryDraft::transactionRecord() const {
    dove::TransactionRecord record;
    record.setAccount(m_account);
    record.setPayee(m_payee);
    record.setPayeeName(payeeName(m_payee));
    record.setCategory(m_category);
    record.setProject(m_project);
    // A draft without a date is entered now: the time of day keeps the day's entries in their order.
    record.setDate(m_date != 0 ? m_date : dove::nowLocal());
    record.setCleared(m_cleared ? 1 : 0);
    setAmountIn(record, m_amount, amountCurrencyCode(), dove::accountCurrency(m_account));
    return record;
}

dove::StoreStatus EntryDraft::save() const {
    // The account may have gone since the entry began (deleted in the finance manager): a transaction of
    // no account would be lost to every balance, so it is refused as having no account.
    if (m_account <= 0 || !dove::accountExists(m_account)) return dove::StoreStatus::NoAccount;
    dove::TransactionRecord record = transactionRecord();
    const dove::StoreStatus status = dove::addNewTransaction(record);
    // The next start opens on the account of the last entry. The hive is rewritten (and synced) only when
    // the account differs from the one stored: most entries in a row go to the same account.
    const DWORD account = static_cast<DWORD>(m_account);
    if (status == dove::StoreStatus::Ok && readSettingNumber(kSettingAccount, 0) != account)
        writeSettingNumber(kSettingAccount, account);
    return status;
}

}  // namespace shell
