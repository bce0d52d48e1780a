// Project records: creating projects under the root project 1, and the project totals in the default
// currency (own totals 207/208, sub-project totals 209/210, valid flag 211).
#pragma once

#include <cstdint>
#include <string>

#include "Amount.h"
#include "PropertyValue.h"
#include "StoreStatus.h"

namespace dove {

namespace project {
inline constexpr int32_t kRoot = 1;
inline constexpr PropertyNumber kNumber = 201;
}  // namespace project

// Creates a project under parent; *number receives the new number. On failure nothing is stored and
// the number is not reused in this process.
StoreStatus createProject(int32_t parent, const std::u16string& name, int32_t* number);

// The project's name, "" when missing.
std::u16string projectName(int32_t number);
// The number of the child of parent whose name is name (exactly, case-sensitive), 0 when none.
int32_t findProjectChild(int32_t parent, const std::u16string& name);
// The number of the first project, in number order, whose name is name (exactly, case-sensitive); 0
// when none.
int32_t findProjectByName(const std::u16string& name);

struct ProjectTotals {
    Amount ownIncome = 0;     // 207: the sum of the positive amounts
    Amount ownExpense = 0;    // 208: the sum of the negative amounts
    Amount childIncome = 0;   // 209
    Amount childExpense = 0;  // 210
    // Each income and expense pair has opposite signs and cannot overflow; the two pairs' sum is held at
    // the range's end when it would leave it.
    Amount total() const {
        Amount sum = 0;
        const Amount own = ownIncome + ownExpense, children = childIncome + childExpense;
        if (!addAmounts(own, children, sum)) sum = own < 0 ? INT64_MIN : INT64_MAX;
        return sum;
    }
};

// Brings the project's stored totals up to date (computing its own totals from its transactions when
// its valid flag is 0, and its sub-projects' recursively) into totals. Zero totals for a missing
// project. A failed write of the stored totals is the result (the totals are still computed), or
// OutOfRange, with nothing written, when a total would leave the range of an amount.
StoreStatus projectTotals(int32_t number, ProjectTotals& totals);

// Marks the project's own totals for recomputation (valid flag 0) after one of its transactions changed.
// Nothing for no project (0 or 1) or a missing one.
StoreStatus invalidateProjectTotals(int32_t number);

}  // namespace dove
