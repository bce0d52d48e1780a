// Project creation and project totals.
#include "Projects.h"

#include <vector>

#include "CurrencyCache.h"
#include "DateTime.h"
#include "FinanceStore.h"
#include "Identifiers.h"
#include "TextUtil.h"

namespace dove {
namespace {

constexpr PropertyNumber kParent = 203;
constexpr PropertyNumber kName = 110;
constexpr PropertyNumber kOwnIncome = 207;
constexpr PropertyNumber kOwnExpense = 208;
constexpr PropertyNumber kChildIncome = 209;
constexpr PropertyNumber kChildExpense = 210;
constexpr PropertyNumber kValid = 211;
constexpr PropertyNumber kProjectKey = 102;
constexpr int kMaxDepth = 64;

bool seekProject(int32_t number) {
    TableCursor& projects = tableCursor(Table::Projects);
    return projects.ensureSort(project::kNumber, SortKind::I4) && projects.seekFirstEqual(number);
}

// The amount of the current transaction in the default currency.
Amount inDefaultCurrency(const TableCursor& tx, const std::u16string& base) {
    const std::u16string currency = tx.getString(301);
    if (currency == base) return tx.get64(112);
    if (tx.get64(121) != 0 && tx.getString(122) == base) return tx.get64(121);
    double rate = currencyCache().getRate(currency, base, tx.getDate(108));
    return amountFromReal(static_cast<double>(tx.get64(112)) * rate);
}

// Sums the project's own transactions by sign.
void sumOwnTransactions(int32_t number, Amount& income, Amount& expense) {
    const std::u16string base = currencyCache().defaultCode();
    TableCursor& tx = tableCursor(Table::Transactions);
    SortScope sorted(tx, kProjectKey, SortKind::String);
    if (!tx.seekFirstGreater(accountStartKey(static_cast<uint32_t>(number)))) return;
    while (tx.getI4(project::kNumber) == number) {
        if (tx.getI4(132) != 1) {
            Amount amount = inDefaultCurrency(tx, base);
            (amount >= 0 ? income : expense) += amount;
        }
        if (!tx.moveNext()) break;
    }
}

void writeIfDifferent(PropertyNumber property, Amount value) {
    TableCursor& projects = tableCursor(Table::Projects);
    if (projects.get64(property) != value || !projects.hasProperty(property))
        projects.set64(property, value, true);
}

std::vector<int32_t> childrenOf(int32_t number) {
    std::vector<int32_t> children;
    TableCursor& projects = tableCursor(Table::Projects);
    SortScope sorted(projects, kParent, SortKind::I4);
    if (!projects.seekFirstEqual(number)) return children;
    do {
        int32_t child = projects.getI4(project::kNumber);
        if (child != number) children.push_back(child);
    } while (projects.moveNext() && projects.getI4(kParent) == number);
    return children;
}

ProjectTotals computeTotals(int32_t number, int depth) {
    ProjectTotals totals;
    if (!seekProject(number)) return totals;
    if (tableCursor(Table::Projects).getI4(kValid) == 0) {
        sumOwnTransactions(number, totals.ownIncome, totals.ownExpense);
        if (!seekProject(number)) return totals;
        writeIfDifferent(kOwnIncome, totals.ownIncome);
        writeIfDifferent(kOwnExpense, totals.ownExpense);
        tableCursor(Table::Projects).setI4(kValid, 1, true);
    }
    totals.ownIncome = tableCursor(Table::Projects).get64(kOwnIncome);
    totals.ownExpense = tableCursor(Table::Projects).get64(kOwnExpense);
    if (depth >= kMaxDepth) return totals;
    for (int32_t child : childrenOf(number)) {
        ProjectTotals sub = computeTotals(child, depth + 1);
        totals.childIncome += sub.ownIncome + sub.childIncome;
        totals.childExpense += sub.ownExpense + sub.childExpense;
    }
    if (!seekProject(number)) return totals;
    writeIfDifferent(kChildIncome, totals.childIncome);
    writeIfDifferent(kChildExpense, totals.childExpense);
    return totals;
}

}  // namespace

int32_t createProject(int32_t parent, const std::u16string& name) {
    TableCursor& projects = tableCursor(Table::Projects);
    SortScope sorted(projects, project::kNumber, SortKind::I4);
    int32_t& counter = numberCounters().project;
    const int count = projects.recordCount();
    if (counter == 0 && count > 0 && projects.moveTo(count - 1)) counter = projects.getI4(project::kNumber);
    const std::u16string key = newRecordKeyText();
    const int32_t number = ++counter;
    projects.newRecord();
    projects.setI4(project::kNumber, number);
    projects.setI4(kParent, parent);
    projects.setI4(129, -1);
    projects.setDate(128, nowUtc());
    projects.setString(135, key);
    return projects.setString(kName, trimmed(name), true) ? number : 0;
}

std::u16string projectName(int32_t number) {
    TableCursor& projects = tableCursor(Table::Projects);
    SortScope sorted(projects, project::kNumber, SortKind::I4);
    return projects.seekFirstEqual(number) ? std::u16string(projects.getString(kName)) : std::u16string();
}

ProjectTotals projectTotals(int32_t number) {
    TableCursor& projects = tableCursor(Table::Projects);
    SortScope sorted(projects, project::kNumber, SortKind::I4);
    return computeTotals(number, 0);
}

void invalidateProjectTotals(int32_t number) {
    if (number <= project::kRoot) return;
    TableCursor& projects = tableCursor(Table::Projects);
    SortScope sorted(projects, project::kNumber, SortKind::I4);
    if (projects.seekFirstEqual(number) && projects.getI4(kValid) != 0) projects.setI4(kValid, 0, true);
}

}  // namespace dove
