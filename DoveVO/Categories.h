// Category records: names and full names ("Car:Fuel"), the hierarchy under the root category 1, and
// creating categories and category paths with device-made numbers and keys.
#pragma once

#include <cstdint>
#include <string>

#include "StoreStatus.h"

namespace dove {

namespace category {
inline constexpr int32_t kRoot = 1;
inline constexpr int32_t kIncome = 1;
inline constexpr int32_t kExpense = 2;
}  // namespace category

// One level's name; for a negative number (a transfer) the account's name in brackets (the empty text,
// not "[]", when the account is missing); "" for 0 or a missing category.
std::u16string categoryName(int32_t number);
// The names from the top level down joined by ":", without the root; "" for 0.
std::u16string categoryFullName(int32_t number);
// The parent's number, or -1 when the category does not exist.
int32_t categoryParent(int32_t number);
// The type (430), 0 when missing.
int32_t categoryType(int32_t number);

// Creates a category under parent (a sub-category always takes its parent's type, 2 when the parent
// is missing); *number receives the new number. On failure nothing is stored and the number is not
// reused in this process.
StoreStatus createCategory(int32_t parent, const std::u16string& name, int32_t type, int32_t* number);
// The number of the child of parent whose own name is name (exactly, case-sensitive), 0 when none.
int32_t findCategoryChild(int32_t parent, const std::u16string& name);
// The number of the category with that full name, 0 when none.
int32_t findCategoryByFullName(const std::u16string& fullName);
// Finds or creates every level of the full name; *number receives the last level's number. All levels
// are created in one store transaction, or none.
StoreStatus createCategoryPath(const std::u16string& fullName, int32_t type, int32_t* number);

}  // namespace dove
