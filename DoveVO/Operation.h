// Balance recalculation: the running balance stored on every transaction of an account (113), the
// account's current balance, and the security holdings of investment accounts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Amount.h"
#include "StoreStatus.h"

namespace dove {

// One security of an investment account's securities text.
struct Security {
    std::u16string name;
    double price = 0;
    int32_t baseQuantity = 0;
    int32_t quantity = 0;
};
// The securities text: per item the lines "Y" name, "I" real, "B" base, "Q" current and "^".
std::vector<Security> parseSecurities(const std::u16string& text);
std::u16string securitiesText(const std::vector<Security>& securities);

class Operation {
  public:
    // Recomputes the running balances of the account from the record at offset (counted from the
    // account's first transaction in identifier order; negative counts as 0; beyond the last record means
    // the last record) to the end of the account, writing only balances that changed, then the account's
    // balance when it changed, all in one store transaction. Returns the balance and sets status to Ok.
    // Otherwise returns 0 with nothing written and status says why: NoAccount for a number below 1,
    // AccountMissing for an account not in the table (logged), RecordUnreachable when the pass cannot
    // stand on its records, OutOfRange when a running balance (or the starting balance) would leave
    // the range of an amount, or the status of the write that failed.
    static Amount recalcBalanse(int32_t account, int offset, bool showProgress, StoreStatus& status);

    // The same pass, from the first record of the account whose identifier is not smaller than
    // identifier.
    static StoreStatus recalcBalanseFrom(int32_t account, const std::u16string& identifier);

    // The running balance that the pass would give a record about to be added after every record of
    // its account: the balance before it (the nearest earlier record that is not excluded, else the
    // starting balance) plus its amount unless excluded. False, with nothing computed, when a record of
    // the account sorts after identifier, the account is missing or is an investment account (whose
    // holdings need the pass), or the sum leaves the range of an amount; the caller then runs the pass
    // after the write, which reports that.
    static bool balanceAfterAppending(int32_t account, const std::u16string& identifier, Amount amount,
                                      int32_t excluded, Amount& balance);
    // The pass's last step for a balance known without it: writes it to the account when it differs.
    static StoreStatus settleAccountBalance(int32_t account, Amount balance);
};

}  // namespace dove
