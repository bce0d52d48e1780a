// Budget lines' current-month totals (property 417 of Budget Lists), kept by the transaction writes:
// finding the line of a category (or of its nearest ancestor that has one), taking a transaction's amount
// out of the total and putting it in, and recording the lines that went over their limit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Amount.h"
#include "DateTime.h"
#include "StoreStatus.h"

namespace dove {

// Budget property 504: the kind of a budget. An expense budget's category lines are over their limit
// when the total falls below it; any other budget's when the total rises above it. Transfer lines
// (negative category) are used only in budgets of the transfer kind.
inline constexpr int32_t kExpenseBudget = 0;
inline constexpr int32_t kTransferBudget = 2;

// The key (135) of the budget line of category (walking up to the nearest ancestor with a line for a
// category, never taking a line of the root category 1; transfer categories are not walked). Empty
// when there is none.
std::u16string findBudgetLine(int32_t category, int32_t transferKind = kTransferBudget);

// What a transaction contributes to its budget line.
struct BudgetContribution {
    int32_t category = 0;
    Amount amount = 0;
    std::u16string currency;
    Date date = 0;
};

// Takes the contribution out of its line's current-month total (nothing when the line is missing or
// inactive, or the date is outside the current month). Not Ok when the store write failed, or
// (OutOfRange, nothing written) when the total would leave the range of an amount.
StoreStatus takeOutOfBudget(const BudgetContribution& contribution);
// Puts the contribution into its line's total; *overBy receives how far the line is past its limit
// (0 when not over), and an over line's category is recorded in the exceeded list. Not Ok as for
// takeOutOfBudget.
StoreStatus putIntoBudget(const BudgetContribution& contribution, Amount* overBy = nullptr);

// The categories of the lines that went over their limit in this process, each once.
const std::vector<int32_t>& exceededBudgetLines();
void clearExceededBudgetLines();

}  // namespace dove
