// Reading the tables the checks need into memory.
#include "StoreSnapshot.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "Accounts.h"
#include "FinanceStore.h"
#include "TransactionRecord.h"

namespace financestore {
namespace {

TransactionRow transactionRow(const dove::TableCursor& t) {
    namespace tx = dove::tx;
    TransactionRow row;
    row.id = t.getString(tx::kIdentifier);
    row.link = t.getString(tx::kLink);
    row.currency = t.getString(tx::kCurrency);
    row.enteredCurrency = t.getString(tx::kEnteredCurrency);
    row.key = t.getString(tx::kKey);
    row.security = t.getString(tx::kSecurity);
    row.units = t.getI4(tx::kUnitsChange);
    row.payeeName = t.getString(tx::kPayeeName);
    if (row.payeeName.empty()) row.payeeName = t.getString(tx::kSecondPayeeName);
    row.cleared = t.getI4(tx::kCleared);
    row.account = t.getI4(tx::kAccount);
    row.category = t.getI4(tx::kCategory);
    row.kind = t.getI4(tx::kKind);
    row.excluded = t.getI4(tx::kExcluded);
    row.sequence = t.getI4(tx::kSequence);
    row.schedule = t.getI4(tx::kScheduleNumber);
    row.date = t.getDate(tx::kDate);
    row.amount = t.get64(tx::kAmount);
    row.entered = t.get64(tx::kEnteredAmount);
    row.balance = t.get64(tx::kRunningBalance);
    row.hasBalance = t.hasProperty(tx::kRunningBalance);
    row.hasRate = t.hasProperty(tx::kRate);
    const uint64_t bits = t.getDate(tx::kRate);
    std::memcpy(&row.rate, &bits, sizeof row.rate);
    return row;
}

bool readTransactions(StoreSnapshot& s) {
    dove::TableCursor& t = dove::tableCursor(dove::Table::Transactions);
    dove::SortScope sorted(t, dove::tx::kIdentifier, dove::SortKind::String);
    if (!sorted.ok()) return false;
    const int count = t.recordCount();
    for (int i = 0; i < count; ++i) {
        if (!(i == 0 ? t.moveTo(0) : t.moveNext())) return false;
        s.transactions.push_back(transactionRow(t));
        s.byIdentifier.emplace(s.transactions.back().id, s.transactions.size() - 1);
    }
    return true;
}

bool readAccounts(StoreSnapshot& s) {
    namespace account = dove::account;
    dove::TableCursor& a = dove::tableCursor(dove::Table::Accounts);
    dove::SortScope sorted(a, account::kNumber, dove::SortKind::I4);
    if (!sorted.ok()) return false;
    for (int i = 0; i < a.recordCount(); ++i) {
        if (!a.moveTo(i)) return false;
        AccountRow row;
        row.number = a.getI4(account::kNumber);
        row.name = a.getString(account::kName);
        const dove::Amount start = a.get64(account::kStartAmount),
                           opening = a.get64(account::kOpeningBalance);
        row.startingInRange = dove::addAmounts(start, opening, row.starting);
        if (!row.startingInRange) row.starting = wrappedSum(start, opening);
        row.balance = a.get64(account::kBalance);
        row.hasBalance = a.hasProperty(account::kBalance);
        row.currency = a.getString(account::kCurrency);
        row.type = a.getI4(account::kType);
        row.securities = a.getString(account::kSecurities);
        s.accounts.push_back(row);
    }
    return true;
}

bool readBudgetLines(StoreSnapshot& s) {
    dove::TableCursor& lines = dove::tableCursor(dove::Table::BudgetLists);
    for (int i = 0; i < lines.recordCount(); ++i) {
        if (!lines.moveTo(i)) return false;
        s.budgetLines.push_back(
            {lines.getString(135), lines.getI4(501), lines.getI4(401), lines.getI4(402), lines.get64(417)});
    }
    return true;
}

}  // namespace

const TransactionRow* StoreSnapshot::find(const std::u16string& id) const {
    auto it = byIdentifier.find(id);
    return it == byIdentifier.end() ? nullptr : &transactions[it->second];
}

const AccountRow* StoreSnapshot::account(int32_t number) const {
    for (const AccountRow& row : accounts)
        if (row.number == number) return &row;
    return nullptr;
}

bool readSnapshot(StoreSnapshot& snapshot) {
    return readTransactions(snapshot) && readAccounts(snapshot) && readBudgetLines(snapshot);
}

std::string amountText(dove::Amount amount) {
    const uint64_t magnitude = amount < 0 ? 0 - static_cast<uint64_t>(amount) : static_cast<uint64_t>(amount);
    char text[40];
    std::snprintf(text, sizeof text, "%s%" PRIu64 ".%02" PRIu64, amount < 0 ? "-" : "", magnitude / 100,
                  magnitude % 100);
    return text;
}

}  // namespace financestore
