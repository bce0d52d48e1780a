// Balance recalculation: the running balance stored on every transaction of an account (113), the
// account's current balance, and the security holdings of investment accounts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Amount.h"

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
    // balance when it changed. Returns the balance; 0 for an account below 1 or a missing one (logged).
    static Amount recalcBalanse(int32_t account, int offset, bool showProgress);

    // The same, from the first record of the account whose identifier is not smaller than identifier.
    static Amount recalcBalanseFrom(int32_t account, const std::u16string& identifier);
};

}  // namespace dove
