// Making the details entries' mark-up texts.
#include "EntryText.h"

#include <map>
#include <mutex>

#include "CurrencyCache.h"
#include "ResourceText.h"
#include "TodayNames.h"

namespace today {

namespace {

constexpr const char16_t* kRule = u"</b><#777777><l></#>";
constexpr const char16_t* kAlertGap = u"     ";
constexpr int kAlertPercentage = 100;

// "<b>" label ":</b> " value, and the line feed. A load makes a few hundred entries from a handful of
// labels, so each label's text is looked up in the resources once. (Not thread_local: a library
// with thread-local destructors can no longer be unloaded.)
std::u16string labelled(UINT label, const std::u16string& value) {
    static std::mutex lock;
    static std::map<UINT, std::u16string> prefixes;
    std::lock_guard guard(lock);
    auto prefix = prefixes.find(label);
    if (prefix == prefixes.end())
        prefix = prefixes.emplace(label, u"<b>" + dove::resourceString(label) + u":</b> ").first;
    return prefix->second + value + u"\n";
}

}  // namespace

std::u16string storeAmountText(dove::Amount amount, const std::u16string& currency) {
    return dove::currencyText(amount, currency, false, false);
}

std::u16string entryHeading(const std::u16string& name) {
    return u"<b>" + name + kRule;
}

std::u16string accountMarkup(const LoadedAccount& account, const AmountText& amountText) {
    std::u16string text = entryHeading(account.name);
    if (account.needsAttention()) text += u"<i>" + dove::resourceString(kStringOverLimit) + u" </i>\n";
    text += labelled(kStringTotal, amountText(account.balance, account.currency));
    if (account.todayBalance != account.balance)
        text += labelled(kStringToday, amountText(account.todayBalance, account.currency));
    return text;
}

std::u16string groupMarkup(const LoadedGroup& group, const AmountText& amountText) {
    return entryHeading(group.name) + labelled(kStringTotal, amountText(group.balance, group.currency));
}

std::u16string budgetMarkup(const LoadedBudget& budget, const AmountText& amountText) {
    return entryHeading(budget.name) + labelled(kStringTotal, amountText(budget.actual, budget.currency));
}

std::u16string budgetAlertMarkup(const LoadedBudget& budget, const AmountText& amountText) {
    if (!budget.expense || budget.percentage < kAlertPercentage) return std::u16string();
    return u"<b>" + budget.name + kAlertGap + amountText(budget.actual, budget.currency) + kRule;
}

std::u16string scheduledMarkup(const LoadedScheduled& entry, const AmountText& amountText) {
    return entryHeading(entry.description) + labelled(kStringDate, dove::shortDateText(entry.date)) +
           labelled(kStringTotal, amountText(entry.amount, entry.currency));
}

}  // namespace today
