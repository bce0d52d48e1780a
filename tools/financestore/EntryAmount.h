// Putting an amount on a new transaction, in its account's currency or entered in another currency.
#pragma once

#include <string>

#include "TransactionRecord.h"

namespace financestore {

// Sets the record's amount (112) and currency (301, the account's). An amount entered in another currency
// is converted at the rate of the record's date (set the date first) and rounded; the record then also
// keeps the entered amount (121), its currency (122) and the rate (142).
void setAmountIn(dove::TransactionRecord& record, dove::Amount amount, const std::u16string& enteredCode,
                 const std::u16string& accountCode);

}  // namespace financestore
