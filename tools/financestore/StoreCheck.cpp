// Balance and identifier checks, and the check command.
#include "StoreCheck.h"

#include <cstdio>
#include <map>

#include "Accounts.h"
#include "CommandLine.h"
#include "Identifiers.h"
#include "Operation.h"
#include "ScheduleChecks.h"
#include "TransactionRecord.h"
#include "platform/cedb.h"
#include "platform/device.h"

namespace financestore {
namespace {

std::string utf8(const std::u16string& text) {
    return platform::toUtf8(text);
}

bool isReservedAccount(int32_t account) {
    return account == dove::tx::kDeletedOccurrencesAccount || account == dove::tx::kPasswordAccount;
}

bool hasPrefix(const std::u16string& text, const std::u16string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The identifier a record of that kind, account and date must carry; empty for an unknown kind.
std::u16string expectedIdentifier(const TransactionRow& r) {
    const uint32_t account = static_cast<uint32_t>(r.account);
    switch (r.kind) {
        case dove::kKindPlain:
        case dove::kKindSplitOwner:
        case dove::kKindSplitTransfer:
            return dove::transactionIdentifier(account, r.date);
        case dove::kKindSplitLine:
            return dove::splitIdentifier(account, r.date, r.sequence);
        case dove::kKindGenerated:
            return dove::scheduledInstanceIdentifier(static_cast<uint32_t>(r.schedule), r.sequence);
        default:
            return {};
    }
}

void checkOneIdentifier(const StoreSnapshot& s, const TransactionRow& r, std::vector<std::string>& out) {
    if (r.id.empty()) {
        out.push_back("identifier: a transaction of account " + std::to_string(r.account) + " has none");
        return;
    }
    const std::u16string expected = expectedIdentifier(r);
    if (expected.empty())
        out.push_back("identifier: " + utf8(r.id) + " has the unknown kind " + std::to_string(r.kind));
    else if (expected != r.id)
        out.push_back("identifier: " + utf8(r.id) + " does not match its account, date and kind (expected " +
                      utf8(expected) + ")");
    if (r.kind == dove::kKindSplitLine) {
        const TransactionRow* owner = s.find(dove::splitOwnerIdentifier(r.id));
        if (owner == nullptr || owner->kind != dove::kKindSplitOwner)
            out.push_back("identifier: split line " + utf8(r.id) + " has no split owner");
    }
}

}  // namespace

std::vector<std::string> checkIdentifiers(const StoreSnapshot& s) {
    std::vector<std::string> out;
    std::map<std::u16string, int> keys;
    for (size_t i = 0; i < s.transactions.size(); ++i) {
        const TransactionRow& r = s.transactions[i];
        if (i > 0 && !r.id.empty() && s.transactions[i - 1].id == r.id)
            out.push_back("identifier: " + utf8(r.id) + " is used by more than one transaction");
        checkOneIdentifier(s, r, out);
        if (!r.key.empty() && ++keys[r.key] == 2)
            out.push_back("identifier: the record key " + utf8(r.key) + " is used more than once");
        if (!isReservedAccount(r.account) && s.account(r.account) == nullptr)
            out.push_back("identifier: " + utf8(r.id) + " names the missing account " +
                          std::to_string(r.account));
    }
    return out;
}

// The running balance after each record of an account in identifier order is the starting balance plus
// the amounts of every record so far that is not excluded (132 = 0); split lines and generated records
// sort outside the account's range and never count. The account's balance is the last running balance.
// The sums never wrap: a balance that would leave the range of an amount is reported, and the rest of
// that account is not compared.
std::vector<std::string> checkBalances(const StoreSnapshot& s) {
    std::vector<std::string> out;
    for (const AccountRow& account : s.accounts) {
        if (account.number < 1) continue;
        const std::string name = "account " + std::to_string(account.number);
        if (!account.startingInRange) {
            out.push_back("balance: the starting balance of " + name + " leaves the range of an amount");
            continue;
        }
        const std::u16string prefix = dove::accountStartKey(static_cast<uint32_t>(account.number));
        dove::Amount running = account.starting;
        bool inRange = true;
        for (const TransactionRow& r : s.transactions) {
            if (!hasPrefix(r.id, prefix) || r.account != account.number) continue;
            if (r.excluded == 0 && !dove::addAmounts(running, r.amount, running)) {
                out.push_back("balance: the running balance of " + name +
                              " leaves the range of an amount at " + utf8(r.id));
                inRange = false;
                break;
            }
            if (!r.hasBalance || r.balance != running)
                out.push_back("balance: " + utf8(r.id) + " has running balance " +
                              (r.hasBalance ? amountText(r.balance) : std::string("(none)")) + ", expected " +
                              amountText(running));
        }
        if (inRange && (!account.hasBalance || account.balance != running))
            out.push_back("balance: " + name + " has balance " +
                          (account.hasBalance ? amountText(account.balance) : std::string("(none)")) +
                          ", expected " + amountText(running));
    }
    return out;
}

// An investment account's holdings: each security's current quantity is its base quantity plus the
// changes of every record of the account that names it.
std::vector<std::string> checkHoldings(const StoreSnapshot& s) {
    std::vector<std::string> out;
    for (const AccountRow& account : s.accounts) {
        if (account.number < 1 || account.type != dove::account::kInvestmentType) continue;
        const std::u16string prefix = dove::accountStartKey(static_cast<uint32_t>(account.number));
        std::map<std::u16string, int64_t> expected;
        for (const dove::Security& security : dove::parseSecurities(account.securities))
            expected[security.name] = security.baseQuantity;
        for (const TransactionRow& r : s.transactions)
            if (hasPrefix(r.id, prefix) && r.account == account.number && !r.security.empty())
                expected[r.security] += r.units;
        std::map<std::u16string, int64_t> stored;
        for (const dove::Security& security : dove::parseSecurities(account.securities))
            stored[security.name] = security.quantity;
        for (const auto& [name, quantity] : expected) {
            auto held = stored.find(name);
            if (held == stored.end() || held->second != quantity)
                out.push_back("holdings: account " + std::to_string(account.number) + " holds " +
                              (held == stored.end() ? std::string("no") : std::to_string(held->second)) +
                              " units of " + utf8(name) + ", expected " + std::to_string(quantity));
        }
    }
    return out;
}

std::vector<std::string> checkStore(const StoreSnapshot& s) {
    std::vector<std::string> violations;
    for (auto* check : {checkIdentifiers, checkBalances, checkHoldings, checkTransfers, checkSplits,
                        checkBudgetTotals, checkSchedules}) {
        std::vector<std::string> found = check(s);
        violations.insert(violations.end(), found.begin(), found.end());
    }
    return violations;
}

int runCheck() {
    StoreSnapshot snapshot;
    if (!readSnapshot(snapshot)) {
        const std::string problem = platform::cedbStoreProblem();
        std::fprintf(stderr, "financestore: the finance store could not be read completely%s%s\n",
                     problem.empty() ? "" : ": ", problem.c_str());
        return kExitUsage;
    }
    const std::vector<std::string> violations = checkStore(snapshot);
    for (const std::string& v : violations)
        std::printf("%s\n", v.c_str());
    std::fprintf(stderr, "financestore: %zu transactions, %zu accounts, %zu violations\n",
                 snapshot.transactions.size(), snapshot.accounts.size(), violations.size());
    return violations.empty() ? kExitOk : kExitFailed;
}

}  // namespace financestore
