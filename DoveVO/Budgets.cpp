// Budget line totals of the current month.
#include "Budgets.h"

#include <algorithm>

#include "Categories.h"
#include "CurrencyCache.h"
#include "FinanceStore.h"

namespace dove {
namespace {

constexpr PropertyNumber kBudget = 501;
constexpr PropertyNumber kCategory = 401;
constexpr PropertyNumber kActive = 402;
constexpr PropertyNumber kBudgetKind = 504;
constexpr PropertyNumber kMonthlyLimit = 404;
constexpr PropertyNumber kJanuaryLimit = 405;
constexpr PropertyNumber kMonthTotal = 417;
constexpr PropertyNumber kKey = 135;
constexpr int kMaxDepth = 64;

std::vector<int32_t>& exceeded() {
    static std::vector<int32_t> list;
    return list;
}

// The kind (504) of budget number, -1 when it is missing.
int32_t budgetKind(int32_t budget) {
    TableCursor& budgets = tableCursor(Table::Budgets);
    SortScope sorted(budgets, kBudget, SortKind::I4);
    return budgets.seekFirstEqual(budget) ? budgets.getI4(kBudgetKind) : -1;
}

// The position (in category order) of the first line of category k that qualifies; -1 when none.
int lineOf(int32_t k, int32_t transferKind) {
    TableCursor& lines = tableCursor(Table::BudgetLists);
    if (!lines.ensureSort(kCategory, SortKind::I4) || !lines.seekFirstEqual(k)) return -1;
    std::vector<std::pair<int, int32_t>> candidates;
    do {
        candidates.emplace_back(lines.position(), lines.getI4(kBudget));
    } while (lines.moveNext() && lines.getI4(kCategory) == k);
    for (const auto& [position, budget] : candidates) {
        if (k > 0 || budgetKind(budget) == transferKind) return position;
    }
    return -1;
}

// The position of the budget line of category, walking up the categories; -1 when none.
int linePosition(int32_t category, int32_t transferKind) {
    int32_t k = category;
    // The walk ends at the root: a line of the root category is never taken.
    for (int depth = 0; depth < kMaxDepth && k != 0 && k != category::kRoot; ++depth) {
        int position = lineOf(k, transferKind);
        if (position >= 0) return position;
        if (k < 0) return -1;
        int32_t parent = categoryParent(k);
        if (parent <= 0 || parent == k || parent == category::kRoot) return -1;
        k = parent;
    }
    return -1;
}

bool inCurrentMonth(Date date) {
    return compareDates(date, nowLocal(), kCompareMonths) == 0;
}

// Positions Budget Lists on the active line of the contribution in the current month; false when the
// contribution does not count.
bool seekActiveLine(const BudgetContribution& c) {
    if (c.category == 0 || !inCurrentMonth(c.date)) return false;
    const int position = linePosition(c.category, kTransferBudget);
    TableCursor& lines = tableCursor(Table::BudgetLists);
    if (position < 0 || !lines.moveTo(position)) return false;
    if (lines.getI4(kActive) < 1) return false;
    return lines.getI4(kCategory) < 0 || lines.getI4(kCategory) >= 2;
}

// The contribution in the default currency; false when that leaves the range of an amount.
bool converted(const BudgetContribution& c, Amount& amount) {
    double rate = currencyCache().getRate(c.currency, currencyCache().defaultCode(), c.date);
    return amountFromRealInRange(static_cast<double>(c.amount) * rate, amount);
}

Amount limitOfThisMonth(const TableCursor& lines) {
    Amount monthly = lines.get64(kMonthlyLimit);
    if (monthly != 0) return monthly;
    SYSTEMTIME now = dateFields(nowLocal());
    return lines.get64(static_cast<PropertyNumber>(kJanuaryLimit + now.wMonth - 1));
}

}  // namespace

std::u16string findBudgetLine(int32_t category, int32_t transferKind) {
    const int position = linePosition(category, transferKind);
    TableCursor& lines = tableCursor(Table::BudgetLists);
    if (position < 0 || !lines.moveTo(position)) return {};
    return lines.getString(kKey);
}

StoreStatus takeOutOfBudget(const BudgetContribution& contribution) {
    if (!seekActiveLine(contribution)) return StoreStatus::Ok;
    TableCursor& lines = tableCursor(Table::BudgetLists);
    Amount amount = 0, total = 0;
    if (!converted(contribution, amount) || !subtractAmounts(lines.get64(kMonthTotal), amount, total))
        return StoreStatus::OutOfRange;
    if (!lines.set64(kMonthTotal, total, true)) return lines.writeFailure();
    return StoreStatus::Ok;
}

StoreStatus putIntoBudget(const BudgetContribution& contribution, Amount* overBy) {
    if (overBy != nullptr) *overBy = 0;
    if (!seekActiveLine(contribution)) return StoreStatus::Ok;
    TableCursor& lines = tableCursor(Table::BudgetLists);
    Amount amount = 0, total = 0;
    if (!converted(contribution, amount) || !addAmounts(lines.get64(kMonthTotal), amount, total))
        return StoreStatus::OutOfRange;
    if (!lines.set64(kMonthTotal, total, true)) return lines.writeFailure();
    const Amount limit = limitOfThisMonth(lines);
    const int32_t category = lines.getI4(kCategory);
    bool upperBound = limit > 0;
    if (category > 0) upperBound = budgetKind(lines.getI4(kBudget)) != kExpenseBudget;
    const bool over = limit != 0 && (upperBound ? total > limit : total < limit);
    if (!over) return StoreStatus::Ok;
    if (std::find(exceeded().begin(), exceeded().end(), category) == exceeded().end())
        exceeded().push_back(category);
    // Beyond the range the excess is held at its end: it only tells the user by how much.
    if (overBy != nullptr && !subtractAmounts(total, limit, *overBy))
        *overBy = limit < 0 ? INT64_MAX : INT64_MIN;
    return StoreStatus::Ok;
}

const std::vector<int32_t>& exceededBudgetLines() {
    return exceeded();
}

void clearExceededBudgetLines() {
    exceeded().clear();
}

}  // namespace dove
