// The finance tables' catalogue.
#include "Catalogue.h"

namespace dove {
namespace {

constexpr SortOrder kI4(PropertyNumber n) {
    return {n, SortKind::I4};
}
constexpr SortOrder kText(PropertyNumber n) {
    return {n, SortKind::String};
}
constexpr SortOrder kDate(PropertyNumber n) {
    return {n, SortKind::Date};
}
constexpr SortOrder kUnsorted{0, SortKind::None};

const std::array<TableInfo, kTableCount> kCatalogue = {{
    {Table::Accounts, u"Brimwell Account", 3, {kI4(104), kI4(160), kText(135)}, kText(135)},
    {Table::Projects, u"Brimwell Project", 3, {kI4(201), kI4(203), kText(135)}, kText(135)},
    {Table::Categories, u"Brimwell Category", 3, {kI4(401), kI4(203), kText(135)}, kText(135)},
    {Table::Currencies, u"Brimwell Currency", 2, {kI4(302), kText(135)}, kText(135)},
    {Table::Planner, u"Brimwell Planner", 3, {kI4(251), kDate(108), kDate(253)}, kDate(253)},
    {Table::Scheduled, u"Brimwell Scheduled", 3, {kDate(108), kText(101), kText(102)}, kUnsorted},
    {Table::CurrencyHistory, u"Brimwell Currency History", 2, {kText(601), kText(604)}, kText(604)},
    {Table::Budgets, u"Brimwell Budget", 2, {kI4(501), kText(135)}, kText(135)},
    {Table::BudgetLists, u"Brimwell Budget List", 3, {kI4(501), kI4(401), kText(135)}, kText(135)},
    {Table::DeletedItems, u"Brimwell Deleted Items", 2, {kDate(108), kText(135)}, kText(135)},
    {Table::Customize, u"Brimwell Customize", 1, {kI4(801)}, kUnsorted},
    {Table::PlannerFolders, u"Brimwell Planner Folder", 0, {}, kUnsorted},
    {Table::Memorized,
     u"Brimwell Memorized",
     4,
     {kI4(1001), kText(110), kText(135), kText(1004)},
     kText(1004)},
    {Table::MemorizedSplits, u"Brimwell Memorized Split", 1, {kDate(1101)}, kDate(1101)},
    {Table::Transactions,
     u"Brimwell Transaction",
     4,
     {kText(101), kText(102), kText(103), kText(135)},
     kText(135)},
}};

}  // namespace

const std::array<TableInfo, kTableCount>& catalogue() {
    return kCatalogue;
}

const TableInfo& tableInfo(Table table) {
    return kCatalogue[static_cast<size_t>(table)];
}

}  // namespace dove
