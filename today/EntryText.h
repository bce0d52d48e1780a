// The mark-up texts of the details entries: each starts with the entry's name in bold over a grey
// rule, and each line after it ends with a line feed.
#pragma once

#include <functional>
#include <string>

#include "TodayData.h"

namespace today {

// The text of an amount in a currency.
using AmountText = std::function<std::u16string(dove::Amount, const std::u16string& currency)>;
// The store's currency text (needs the currencies loaded, that is the store open).
std::u16string storeAmountText(dove::Amount amount, const std::u16string& currency);

// The name line: "<b>" name "</b><#777777><l></#>".
std::u16string entryHeading(const std::u16string& name);

// Name; "Счет переполнен" in italics when over its limit; the total; today's balance when it differs.
std::u16string accountMarkup(const LoadedAccount& account, const AmountText& amountText);
// Name; the balance of the counted members.
std::u16string groupMarkup(const LoadedGroup& group, const AmountText& amountText);
// Name; the month's total.
std::u16string budgetMarkup(const LoadedBudget& budget, const AmountText& amountText);
// The one-line form a tap shows for an expense budget used to 100 % or more: "<b>" name, five blanks
// and the total "</b>" over the rule. Empty for any other budget.
std::u16string budgetAlertMarkup(const LoadedBudget& budget, const AmountText& amountText);
// Description; the date; the amount.
std::u16string scheduledMarkup(const LoadedScheduled& entry, const AmountText& amountText);

}  // namespace today
