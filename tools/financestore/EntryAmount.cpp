// Amounts entered in the account's currency or converted from another one.
#include "EntryAmount.h"

#include <cstring>

#include "CurrencyCache.h"

namespace financestore {

void setAmountIn(dove::TransactionRecord& record, dove::Amount amount, const std::u16string& enteredCode,
                 const std::u16string& accountCode) {
    record.setCurrency(accountCode);
    if (enteredCode.empty() || enteredCode == accountCode) {
        record.setAmount(amount);
        return;
    }
    const double rate = dove::currencyCache().getRate(enteredCode, accountCode, record.date());
    record.setAmount(dove::amountFromReal(static_cast<double>(amount) * rate));
    record.setEnteredAmount(amount, enteredCode);
    uint64_t bits = 0;
    std::memcpy(&bits, &rate, sizeof bits);
    record.set64(dove::tx::kRate, bits);
}

}  // namespace financestore
