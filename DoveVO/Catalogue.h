// The catalogue of the fifteen finance tables: database names, the sort orders each is created with, and
// the order each is opened in. The rows are in the order in which the finance store creates and opens them.
#pragma once

#include <array>
#include <cstddef>

#include "PropertyValue.h"

namespace dove {

enum class Table : int {
    Accounts,
    Projects,
    Categories,
    Currencies,
    Planner,
    Scheduled,
    CurrencyHistory,
    Budgets,
    BudgetLists,
    DeletedItems,
    Customize,
    PlannerFolders,
    Memorized,
    MemorizedSplits,
    Transactions,
};
constexpr size_t kTableCount = 15;

struct SortOrder {
    PropertyNumber number;
    SortKind kind;
};

struct TableInfo {
    Table table;
    const char16_t* databaseName;
    int sortOrderCount;
    SortOrder sortOrders[4];
    SortOrder openOrder;  // kind None: opened without a sort order
};

// Every table in creation order.
const std::array<TableInfo, kTableCount>& catalogue();
const TableInfo& tableInfo(Table table);

}  // namespace dove
