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

// The amount of the current transaction in the default currency; false when that leaves the range of
// an amount.
bool inDefaultCurrency(const TableCursor& tx, const std::u16string& base, Amount& amount) {
    const std::u16string currency = tx.getString(301);
    amount = tx.get64(112);
    if (currency == base) return true;
    if (tx.get64(121) != 0 && tx.getString(122) == base) {
        amount = tx.get64(121);
        return true;
    }
    double rate = currencyCache().getRate(currency, base, tx.getDate(108));
    return amountFromRealInRange(static_cast<double>(tx.get64(112)) * rate, amount);
}

// Sums the project's own transactions by sign; false when a sum leaves the range of an amount.
bool sumOwnTransactions(int32_t number, Amount& income, Amount& expense) {
    const std::u16string base = currencyCache().defaultCode();
    TableCursor& tx = tableCursor(Table::Transactions);
    SortScope sorted(tx, kProjectKey, SortKind::String);
    if (!tx.seekFirstGreater(accountStartKey(static_cast<uint32_t>(number)))) return true;
    while (tx.getI4(project::kNumber) == number) {
        Amount amount = 0;
        if (tx.getI4(132) != 1) {
            if (!inDefaultCurrency(tx, base, amount)) return false;
            Amount& sum = amount >= 0 ? income : expense;
            if (!addAmounts(sum, amount, sum)) return false;
        }
        if (!tx.moveNext()) break;
    }
    return true;
}

// total += own + child, in the range of an amount.
bool addTotals(Amount& total, Amount own, Amount child) {
    Amount both = 0;
    return addAmounts(own, child, both) && addAmounts(total, both, total);
}

// Writes the amount into the current project when it differs; false when the write failed.
bool writeIfDifferent(PropertyNumber property, Amount value) {
    TableCursor& projects = tableCursor(Table::Projects);
    if (projects.get64(property) == value && projects.hasProperty(property)) return true;
    return projects.set64(property, value, true);
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

// Computes the totals of the project and its sub-projects; status becomes the status of a write of
// stored totals that failed, or OutOfRange when a total would leave the range of an amount.
ProjectTotals computeTotals(int32_t number, int depth, StoreStatus& status) {
    ProjectTotals totals;
    TableCursor& projects = tableCursor(Table::Projects);
    if (!seekProject(number)) return totals;
    if (projects.getI4(kValid) == 0) {
        if (!sumOwnTransactions(number, totals.ownIncome, totals.ownExpense)) {
            status = StoreStatus::OutOfRange;
            return totals;
        }
        if (!seekProject(number)) return totals;
        if (!writeIfDifferent(kOwnIncome, totals.ownIncome) ||
            !writeIfDifferent(kOwnExpense, totals.ownExpense) || !projects.setI4(kValid, 1, true))
            status = projects.writeFailure();
    }
    totals.ownIncome = projects.get64(kOwnIncome);
    totals.ownExpense = projects.get64(kOwnExpense);
    if (depth >= kMaxDepth) return totals;
    for (int32_t child : childrenOf(number)) {
        ProjectTotals sub = computeTotals(child, depth + 1, status);
        if (!addTotals(totals.childIncome, sub.ownIncome, sub.childIncome) ||
            !addTotals(totals.childExpense, sub.ownExpense, sub.childExpense))
            status = StoreStatus::OutOfRange;
        if (status != StoreStatus::Ok) return totals;
    }
    if (!seekProject(number)) return totals;
    if (!writeIfDifferent(kChildIncome, totals.childIncome) ||
        !writeIfDifferent(kChildExpense, totals.childExpense))
        status = projects.writeFailure();
    return totals;
}

}  // namespace

StoreStatus createProject(int32_t parent, const std::u16string& name, int32_t* number) {
    TableCursor& projects = tableCursor(Table::Projects);
    SortScope sorted(projects, project::kNumber, SortKind::I4);
    int32_t& counter = numberCounters().project;
    const int count = projects.recordCount();
    if (counter == 0 && count > 0 && projects.moveTo(count - 1)) counter = projects.getI4(project::kNumber);
    const std::u16string key = newRecordKeyText();
    const int32_t created = ++counter;
    if (projects.addRecord({PropertyValue::i4(project::kNumber, created), PropertyValue::i4(kParent, parent),
                            PropertyValue::i4(129, -1), PropertyValue::date(128, nowUtc()),
                            PropertyValue::string(135, key), PropertyValue::string(kName, trimmed(name))}) ==
        0)
        return projects.writeFailure();
    *number = created;
    return StoreStatus::Ok;
}

std::u16string projectName(int32_t number) {
    TableCursor& projects = tableCursor(Table::Projects);
    SortScope sorted(projects, project::kNumber, SortKind::I4);
    return projects.seekFirstEqual(number) ? std::u16string(projects.getString(kName)) : std::u16string();
}

int32_t findProjectChild(int32_t parent, const std::u16string& name) {
    TableCursor& projects = tableCursor(Table::Projects);
    SortScope sorted(projects, kParent, SortKind::I4);
    if (!projects.seekFirstEqual(parent)) return 0;
    do {
        // A record that names itself as its parent is not its own child.
        const int32_t number = projects.getI4(project::kNumber);
        if (number != parent && projects.getString(kName) == name) return number;
    } while (projects.moveNext() && projects.getI4(kParent) == parent);
    return 0;
}

int32_t findProjectByName(const std::u16string& name) {
    TableCursor& projects = tableCursor(Table::Projects);
    SortScope sorted(projects, project::kNumber, SortKind::I4);
    if (!sorted.ok()) return 0;
    for (int i = 0, count = projects.recordCount(); i < count && projects.moveTo(i); ++i)
        if (projects.getString(kName) == name) return projects.getI4(project::kNumber);
    return 0;
}

StoreStatus projectTotals(int32_t number, ProjectTotals& totals) {
    TableCursor& projects = tableCursor(Table::Projects);
    SortScope sorted(projects, project::kNumber, SortKind::I4);
    // The stored totals are written together or not at all; the totals computed stand either way.
    return inStoreTransaction([&] {
        StoreStatus status = StoreStatus::Ok;
        totals = computeTotals(number, 0, status);
        return status;
    });
}

StoreStatus invalidateProjectTotals(int32_t number) {
    if (number <= project::kRoot) return StoreStatus::Ok;
    TableCursor& projects = tableCursor(Table::Projects);
    SortScope sorted(projects, project::kNumber, SortKind::I4);
    if (!projects.seekFirstEqual(number) || projects.getI4(kValid) == 0) return StoreStatus::Ok;
    return projects.setI4(kValid, 0, true) ? StoreStatus::Ok : projects.writeFailure();
}

}  // namespace dove
