// The balance recalculation pass.
#include "Operation.h"

#include <algorithm>

#include "Accounts.h"
#include "ErrorLog.h"
#include "FinanceStore.h"
#include "Identifiers.h"
#include "TransactionRecord.h"
#include "platform/windows.h"

namespace dove {
namespace {

constexpr size_t kSecuritiesMargin = 100;
constexpr DWORD kSlowRecordMs = 4000;
constexpr DWORD kPacingPauseMs = 10000;

bool belongs(const TableCursor& t, int32_t account) {
    return t.position() >= 0 && t.getI4(tx::kAccount) == account;
}

// The working list of an investment account, current quantities reset to the base quantities.
struct SecuritiesList {
    std::vector<Security> items;
    size_t capacity = 0;
    bool changed = false;
    bool overflowLogged = false;

    void add(const std::u16string& name, int32_t change) {
        for (Security& s : items) {
            if (s.name == name) {
                s.quantity += change;
                changed = true;
                return;
            }
        }
        if (items.size() < capacity) {
            items.push_back({name, 0, 0, change});
            changed = true;
        } else if (!overflowLogged) {
            writeErrorLog(u"Overflow Sec vector size in RecalcBalanse", u"DoveVO/Operation", 3406);
            overflowLogged = true;
        }
    }
};

// The running balance before the start position: the nearest earlier record of the account that is not
// excluded, else the starting balance.
Amount openingValue(TableCursor& t, int32_t account, int firstPos, int startPos, Amount starting) {
    if (startPos <= firstPos) return starting;
    for (int i = startPos - 1; i >= firstPos; --i) {
        if (!t.moveTo(i) || !belongs(t, account)) return starting;
        if (t.getI4(tx::kExcluded) != 1) return t.get64(tx::kRunningBalance);
    }
    return starting;
}

// The holdings as of the record before startPos: a pass that starts after the account's first record
// continues from the changes of the records before it, which carry no running quantity of their own.
bool addEarlierHoldings(TableCursor& t, int32_t account, int firstPos, int startPos, SecuritiesList& list) {
    if (startPos <= firstPos) return true;
    if (!t.moveTo(firstPos)) return false;
    for (;;) {
        if (!belongs(t, account)) return true;
        std::u16string name = t.getString(tx::kSecurity);
        if (!name.empty()) list.add(name, t.getI4(tx::kUnitsChange));
        if (t.position() + 1 >= startPos) return true;
        if (!t.moveNext()) return false;
    }
}

// The pass over the records from startPos to lastPos, running on from running; running ends as the
// balance after the last record. A failed write of a running balance ends the pass with its status, a
// running balance beyond the range of an amount with OutOfRange.
StoreStatus runPass(TableCursor& t, int32_t account, int lastPos, Amount& running,
                    SecuritiesList* securities) {
    for (;;) {
        const DWORD began = GetTickCount();
        if (securities != nullptr) {
            std::u16string name = t.getString(tx::kSecurity);
            if (!name.empty()) securities->add(name, t.getI4(tx::kUnitsChange));
        }
        if (t.getI4(tx::kExcluded) == 0 && !addAmounts(running, t.get64(tx::kAmount), running))
            return StoreStatus::OutOfRange;
        if ((t.get64(tx::kRunningBalance) != running || !t.hasProperty(tx::kRunningBalance)) &&
            !t.set64(tx::kRunningBalance, running))
            return t.writeFailure();
        const int next = t.position() + 1;
        if (GetTickCount() - began > kSlowRecordMs) Sleep(kPacingPauseMs);
        if (next > lastPos) break;
        if (!(t.position() == next - 1 ? t.moveNext() : t.moveTo(next)) || !belongs(t, account)) break;
    }
    return StoreStatus::Ok;
}

// True when a security's computed quantity is not the stored one (a record that named it was deleted,
// say, so that no record of the pass changed it).
bool quantitiesDiffer(const std::vector<Security>& computed, const std::vector<Security>& stored) {
    if (computed.size() != stored.size()) return true;
    for (size_t i = 0; i < computed.size(); ++i) {
        if (computed[i].name != stored[i].name || computed[i].quantity != stored[i].quantity) return true;
    }
    return false;
}

StoreStatus writeAccountResults(int32_t account, Amount balance, const SecuritiesList* securities) {
    TableCursor& accounts = tableCursor(Table::Accounts);
    // The pass leaves Accounts alone, so the cursor normally still stands on the account.
    const bool standing = accounts.position() >= 0 && accounts.sortProperty() == account::kNumber &&
                          accounts.getI4(account::kNumber) == account;
    if (!standing &&
        (!accounts.ensureSort(account::kNumber, SortKind::I4) || !accounts.seekFirstEqual(account)))
        return StoreStatus::AccountMissing;
    if ((accounts.get64(account::kBalance) != balance || !accounts.hasProperty(account::kBalance)) &&
        !accounts.set64(account::kBalance, balance, true))
        return accounts.writeFailure();
    if (securities == nullptr) return StoreStatus::Ok;
    const std::u16string stored = accounts.getString(account::kSecurities);
    if (!securities->changed && !quantitiesDiffer(securities->items, parseSecurities(stored)))
        return StoreStatus::Ok;
    std::u16string text = securitiesText(securities->items);
    if (!text.empty() && text != stored && !accounts.setString(account::kSecurities, text, true))
        return accounts.writeFailure();
    return StoreStatus::Ok;
}

// The working list of an investment account's securities, current quantities back at the base ones.
SecuritiesList securitiesOf(const TableCursor& accounts) {
    SecuritiesList list;
    list.items = parseSecurities(accounts.getString(account::kSecurities));
    for (Security& s : list.items)
        s.quantity = s.baseQuantity;
    list.capacity = list.items.size() + kSecuritiesMargin;
    return list;
}

// The account's starting balance (161 + 164) from the record the cursor stands on; false when the sum
// leaves the range of an amount.
bool startingBalance(const TableCursor& accounts, Amount& starting) {
    return addAmounts(accounts.get64(account::kStartAmount), accounts.get64(account::kOpeningBalance),
                      starting);
}

// The first position of the account in identifier order, -1 when it has no transactions.
int firstPositionOf(TableCursor& t, int32_t account) {
    if (!t.seekFirstGreater(accountStartKey(static_cast<uint32_t>(account))) || !belongs(t, account))
        return -1;
    return t.position();
}

// knownFirst: the account's first position when the caller has found it already, else -1. The balance
// is 0 unless the status is Ok.
StoreStatus recalcPass(int32_t account, int offset, int knownFirst, Amount& balance) {
    balance = 0;
    TableCursor& t = tableCursor(Table::Transactions);
    TableCursor& accounts = tableCursor(Table::Accounts);
    if (!t.ensureSort(tx::kIdentifier, SortKind::String) ||
        !accounts.ensureSort(account::kNumber, SortKind::I4) || !accounts.seekFirstEqual(account))
        return StoreStatus::AccountMissing;
    Amount starting = 0;
    if (!startingBalance(accounts, starting)) return StoreStatus::OutOfRange;
    SecuritiesList list;
    SecuritiesList* securities = nullptr;
    if (accounts.getI4(account::kType) == account::kInvestmentType) {
        list = securitiesOf(accounts);
        securities = &list;
    }
    Amount running = starting;
    const int firstPos = knownFirst >= 0 ? knownFirst : firstPositionOf(t, account);
    if (firstPos >= 0) {
        int lastPos = firstPos;
        if (t.seekLastSmaller(accountEndKey(static_cast<uint32_t>(account))) && belongs(t, account))
            lastPos = t.position();
        const int startPos = std::min(firstPos + std::max(offset, 0), lastPos);
        if (securities != nullptr && !addEarlierHoldings(t, account, firstPos, startPos, *securities))
            return StoreStatus::RecordUnreachable;
        running = openingValue(t, account, firstPos, startPos, starting);
        if (!t.moveTo(startPos)) return StoreStatus::RecordUnreachable;
        const StoreStatus passed = runPass(t, account, lastPos, running, securities);
        if (passed != StoreStatus::Ok) return passed;
    }
    const StoreStatus written = writeAccountResults(account, running, securities);
    if (written == StoreStatus::Ok) balance = running;
    return written;
}

// The pass in its own store transaction: the balances of an account change together, with one commit
// instead of one per record.
Amount recalcInBracket(int32_t account, int offset, int knownFirst, StoreStatus& status) {
    // A missing account is found before the bracket: it is no failure of a write, and must not undo the
    // writes of a save that runs the pass.
    if (!accountExists(account)) {
        writeErrorLog(platform::format(u"Account %d not found in Operation::recalcBalanse", account).c_str(),
                      u"DoveVO/Operation", 3140);
        status = StoreStatus::AccountMissing;
        return 0;
    }
    Amount balance = 0;
    status = inStoreTransaction([&] { return recalcPass(account, offset, knownFirst, balance); });
    return status == StoreStatus::Ok ? balance : 0;
}

}  // namespace

std::vector<Security> parseSecurities(const std::u16string& text) {
    std::vector<Security> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(u'\n', start);
        std::u16string line = text.substr(start, end == std::u16string::npos ? end : end - start);
        start = end == std::u16string::npos ? text.size() : end + 1;
        if (line.empty()) continue;
        std::u16string value = line.substr(1);
        switch (line[0]) {
            case u'Y':
                out.push_back({value, 0, 0, 0});
                break;
            case u'I':
                if (!out.empty()) out.back().price = wcstod(value.c_str(), nullptr);
                break;
            case u'B':
                if (!out.empty())
                    out.back().baseQuantity = static_cast<int32_t>(wcstol(value.c_str(), nullptr, 10));
                break;
            case u'Q':
                if (!out.empty())
                    out.back().quantity = static_cast<int32_t>(wcstol(value.c_str(), nullptr, 10));
                break;
            default:
                break;
        }
    }
    return out;
}

std::u16string securitiesText(const std::vector<Security>& securities) {
    std::u16string text;
    for (const Security& s : securities)
        text +=
            platform::format(u"Y%s\nI%f\nB%d\nQ%d\n^\n", s.name.c_str(), s.price, s.baseQuantity, s.quantity);
    return text;
}

Amount Operation::recalcBalanse(int32_t account, int offset, bool /*showProgress*/, StoreStatus& status) {
    if (account < 1) {
        status = StoreStatus::NoAccount;
        return 0;
    }
    return recalcInBracket(account, offset, -1, status);
}

bool Operation::balanceAfterAppending(int32_t account, const std::u16string& identifier, Amount amount,
                                      int32_t excluded, Amount& balance) {
    TableCursor& t = tableCursor(Table::Transactions);
    TableCursor& accounts = tableCursor(Table::Accounts);
    if (account < 1 || !t.ensureSort(tx::kIdentifier, SortKind::String) ||
        !accounts.ensureSort(account::kNumber, SortKind::I4) || !accounts.seekFirstEqual(account) ||
        accounts.getI4(account::kType) == account::kInvestmentType)
        return false;
    Amount starting = 0;
    if (!startingBalance(accounts, starting)) return false;
    Amount before = starting;
    const int firstPos = firstPositionOf(t, account);
    if (firstPos >= 0) {
        int lastPos = firstPos;
        if (t.seekLastSmaller(accountEndKey(static_cast<uint32_t>(account))) && belongs(t, account))
            lastPos = t.position();
        if (!t.moveTo(lastPos) || !(t.getString(tx::kIdentifier) < identifier)) return false;
        // The record will stand at lastPos + 1, the pass's start and last position.
        before = openingValue(t, account, firstPos, lastPos + 1, starting);
    }
    balance = before;
    return excluded != 0 || addAmounts(before, amount, balance);
}

StoreStatus Operation::settleAccountBalance(int32_t account, Amount balance) {
    if (account < 1) return StoreStatus::NoAccount;
    return inStoreTransaction([&] { return writeAccountResults(account, balance, nullptr); });
}

StoreStatus Operation::recalcBalanseFrom(int32_t account, const std::u16string& identifier) {
    if (account < 1) return StoreStatus::NoAccount;
    TableCursor& t = tableCursor(Table::Transactions);
    if (!t.ensureSort(tx::kIdentifier, SortKind::String)) return StoreStatus::RecordUnreachable;
    const int firstPos = firstPositionOf(t, account);
    int offset = 0;
    if (firstPos >= 0 && t.seekLastSmaller(identifier) && belongs(t, account))
        offset = t.position() + 1 - firstPos;
    StoreStatus status = StoreStatus::Ok;
    recalcInBracket(account, offset, firstPos, status);
    return status;
}

}  // namespace dove
