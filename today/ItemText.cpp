// Making the item's lines from the loaded data.
#include "ItemText.h"

namespace today {

namespace {

std::u16string accountLine(const LoadedAccount& account) {
    std::u16string line = account.name + u" " + dove::numberText(account.balance, false);
    if (!account.currency.empty()) line += u" " + account.currency;
    return line;
}

}  // namespace

ItemLines itemLines(const TodayData& data) {
    ItemLines lines;
    const auto& accounts = data.accounts();
    if (accounts.size() > 0) lines.first = accountLine(accounts[0]);
    if (accounts.size() > 1) lines.second = accountLine(accounts[1]);
    return lines;
}

}  // namespace today
