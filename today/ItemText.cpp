// Making the item's lines from the loaded data.
#include "ItemText.h"

#include "ResourceText.h"
#include "TodayNames.h"

namespace today {

namespace {

constexpr int kListedPercentage = 80;
constexpr int kRedPercentage = 99;
constexpr const char16_t* kSeparator = u", ";
constexpr const char16_t* kEllipsis = u"...";

// "%d %s": the count, a blank and the word.
std::u16string counted(int count, UINT word) {
    std::string digits = std::to_string(count);
    return std::u16string(digits.begin(), digits.end()) + u" " + dove::resourceString(word);
}

std::u16string attentionLine(int budgets, int accounts) {
    std::u16string text;
    if (budgets > 0) text = counted(budgets, kStringBudget);
    if (accounts > 0) {
        if (!text.empty()) text += u" " + dove::resourceString(kStringAnd) + u" ";
        text += counted(accounts, kStringAccount);
    }
    return text + u" " +
           dove::resourceString(budgets + accounts == 1 ? kStringAttentionOne : kStringAttentionMany);
}

std::vector<ListedName> budgetNames(const TodayData& data) {
    std::vector<ListedName> names;
    for (const LoadedBudget& budget : data.budgets())
        if (budget.percentage >= kListedPercentage)
            names.push_back({budget.name, budget.expense && budget.percentage > kRedPercentage});
    return names;
}

std::vector<ListedName> accountNames(const TodayData& data) {
    std::vector<ListedName> names;
    for (const LoadedAccount& account : data.accounts())
        if (account.needsAttention()) names.push_back({account.name, false});
    return names;
}

}  // namespace

ItemLines itemLines(const TodayData& data) {
    ItemLines lines;
    const int budgets = data.budgetsNeedingAttention();
    const int accounts = data.accountsNeedingAttention();
    const bool loaded = data.anythingLoaded();
    lines.firstBold = budgets + accounts > 0;
    if (lines.firstBold)
        lines.first = attentionLine(budgets, accounts);
    else
        lines.first = dove::resourceString(loaded ? kStringAllFine : kStringNoData);
    if (!data.scheduled().empty())
        lines.second = counted(static_cast<int>(data.scheduled().size()), kStringScheduled);
    else if (budgets > 0)
        lines.names = budgetNames(data);
    else if (accounts > 0)
        lines.names = accountNames(data);
    else
        lines.second = dove::resourceString(loaded ? kStringNothingScheduled : kStringTapToSetUp);
    return lines;
}

std::vector<LinePiece> fitNames(const std::vector<ListedName>& names, int width,
                                const std::function<int(const std::u16string&)>& measure) {
    std::vector<LinePiece> pieces;
    int used = 0;
    for (const ListedName& name : names) {
        if (!pieces.empty()) {
            pieces.push_back({kSeparator, false});
            used += measure(kSeparator);
        }
        const int nameWidth = measure(name.text);
        if (used + nameWidth > width) {
            pieces.push_back({kEllipsis, false});
            break;
        }
        pieces.push_back({name.text, name.red});
        used += nameWidth;
    }
    return pieces;
}

}  // namespace today
