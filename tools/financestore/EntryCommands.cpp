// Adding, editing and deleting transactions through the data code's full save and delete.
#include "EntryCommands.h"

#include <cstdio>
#include <set>

#include "Accounts.h"
#include "EntryAmount.h"
#include "EntryOptions.h"
#include "Identifiers.h"
#include "Payees.h"
#include "StoreSnapshot.h"
#include "TransactionStore.h"
#include "platform/windows.h"

namespace financestore {
namespace {

int usageError(const std::string& message) {
    std::fprintf(stderr, "financestore: %s\n", message.c_str());
    return kExitUsage;
}

// Why a write failed, in the words of a message.
std::string reasonOf(dove::StoreStatus status) {
    switch (status) {
        case dove::StoreStatus::ReadOnly:
            return "the finance store is read-only";
        case dove::StoreStatus::Busy:
            return "the finance store is busy: another program kept it locked longer than the wait";
        case dove::StoreStatus::OutOfRange:
            return "out of range: an amount, balance or total would pass the largest amount there is, or "
                   "a date the year 9999";
        case dove::StoreStatus::Damaged:
            return "the finance store is damaged";
        default:
            return dove::statusName(status);
    }
}

int storeFailure(const std::string& what, dove::StoreStatus status,
                 const char* outcome = "nothing was written") {
    std::fprintf(stderr, "financestore: %s (%s); %s\n", what.c_str(), reasonOf(status).c_str(), outcome);
    return status == dove::StoreStatus::Busy ? kExitBusy : kExitFailed;
}

// The options a command takes, and that only --split may be given more than once.
std::string optionProblem(const CommandLine& line, const std::set<std::string>& allowed,
                          const char* command) {
    const std::string unexpected = line.unexpectedOption(allowed);
    if (!unexpected.empty()) return std::string(command) + " does not take --" + unexpected;
    const std::string repeated = line.repeatedOption({"split"});
    if (!repeated.empty()) return "--" + repeated + " is given more than once";
    return {};
}

// With split lines the amount is their sum: a category of its own or an --amount that disagrees is
// refused. total receives the sum.
std::string splitProblem(const EntryValues& v, dove::Amount& total) {
    if (v.category)
        return "a split transaction takes its categories from its lines: give no --category or --transfer-to";
    auto sum = splitTotal(v.splits);
    if (!sum) return "the split lines add up to more than an amount can hold";
    if (v.amount && *v.amount != *sum)
        return "--amount " + amountText(*v.amount) + " disagrees with the split lines, which add up to " +
               amountText(*sum);
    total = *sum;
    return {};
}

dove::TransactionRecord newLine(const SplitEntry& given, const std::u16string& currency) {
    dove::TransactionRecord line;
    line.setCategory(given.category);
    line.setAmount(given.amount);
    line.setCurrency(currency);
    return line;
}

// The lines of the list: a line equal in category and amount to a stored line of the owner keeps that
// line (its identifier, key and texts); every other line is new.
std::vector<dove::TransactionRecord> linesFor(dove::TransactionRecord& owner,
                                              const std::vector<SplitEntry>& entries,
                                              const std::u16string& currency) {
    std::vector<dove::TransactionRecord> stored;
    if (owner.kind() == dove::kKindSplitOwner && dove::loadSplitLines(owner)) stored = owner.splits();
    std::vector<bool> taken(stored.size(), false);
    std::vector<dove::TransactionRecord> lines;
    for (const SplitEntry& given : entries) {
        size_t i = 0;
        while (i < stored.size() &&
               (taken[i] || stored[i].category() != given.category || stored[i].amount() != given.amount))
            ++i;
        if (i < stored.size()) {
            taken[i] = true;
            lines.push_back(stored[i]);
        } else {
            lines.push_back(newLine(given, currency));
        }
    }
    return lines;
}

// The fields every command sets alike.
void applyCommon(const EntryValues& v, dove::TransactionRecord& r) {
    if (v.date) r.setDate(*v.date);
    if (v.category) r.setCategory(*v.category);
    if (v.project) r.setProject(*v.project);
    if (v.payee) {
        r.setPayeeName(*v.payee);
        r.setPayee(dove::findPayeeByName(*v.payee));
    }
    if (v.cleared) r.setCleared(*v.cleared);
}

const std::set<std::string> kAddOptions = {"account", "amount",   "payee", "category", "transfer-to",
                                           "project", "currency", "date",  "cleared",  "split"};
const std::set<std::string> kEditOptions = {"account", "amount", "payee",   "category",  "transfer-to",
                                            "project", "date",   "cleared", "uncleared", "split"};

}  // namespace

int runAdd(const CommandLine& line) {
    std::string problem = optionProblem(line, kAddOptions, "add");
    if (!problem.empty()) return usageError(problem);
    if (!line.arguments().empty()) return usageError("add takes no argument " + line.arguments().front());
    if (!line.has("account") || (!line.has("amount") && !line.has("split")))
        return usageError("add needs --account and --amount (or its --split lines)");
    EntryValues v;
    problem = readEntryOptions(line, 0, v);
    const int32_t account = v.account.value_or(0);
    const std::u16string accountCode = dove::accountCurrency(account);
    dove::Amount amount = v.amount.value_or(0);
    if (problem.empty() && !v.splits.empty()) {
        problem = splitProblem(v, amount);
        if (problem.empty() && !v.currency.empty() && v.currency != accountCode)
            problem = "split lines are entered in the account's currency; give no --currency";
    }
    if (!problem.empty()) return usageError(problem);
    dove::TransactionRecord record;
    record.setAccount(account);
    record.setDate(v.date.value_or(dove::nowLocal()));
    setAmountIn(record, amount, v.currency, accountCode);
    applyCommon(v, record);
    if (!v.splits.empty()) record.setSplits(linesFor(record, v.splits, accountCode));
    const dove::StoreStatus status = dove::addNewTransaction(record);
    if (status != dove::StoreStatus::Ok) return storeFailure("the transaction could not be saved", status);
    std::printf("%s\n", platform::toUtf8(record.identifier()).c_str());
    return kExitOk;
}

int runEdit(const CommandLine& line) {
    std::string problem = optionProblem(line, kEditOptions, "edit");
    if (!problem.empty()) return usageError(problem);
    if (line.arguments().size() != 1) return usageError("edit needs exactly one transaction identifier");
    const std::string& id = line.arguments().front();
    dove::TransactionRecord record;
    if (!dove::loadTransactionByIdentifier(record, platform::fromUtf8(id))) {
        std::fprintf(stderr, "financestore: no transaction has the identifier %s\n", id.c_str());
        return kExitFailed;
    }
    if (record.kind() == dove::kKindSplitLine)
        return usageError(id + " is a split line: edit its owner with --split");
    if (record.kind() == dove::kKindSplitTransfer)
        return usageError(id + " is the other side of a split line: edit that line's owner with --split");
    if (!line.hasAnyOption()) return usageError("edit needs at least one change");
    EntryValues v;
    problem = readEntryOptions(line, record.account(), v);
    const int32_t account = v.account.value_or(record.account());
    dove::Amount amount = v.amount.value_or(record.amount());
    if (problem.empty() && !v.splits.empty()) problem = splitProblem(v, amount);
    if (problem.empty() && v.splits.empty() && v.amount && record.kind() == dove::kKindSplitOwner &&
        !v.category)
        problem = "the amount of a split transaction is the sum of its lines: give them with --split";
    if (problem.empty() && v.category.value_or(record.category()) == -account)
        problem = "a transfer needs two different accounts";
    if (problem.empty() && v.account &&
        dove::accountCurrency(account) != dove::accountCurrency(record.account()))
        problem = "account " + std::to_string(account) + " keeps another currency than this transaction";
    if (!problem.empty()) return usageError(problem);
    if (v.account) record.setAccount(account);
    if (v.amount || !v.splits.empty()) record.setAmount(amount);
    applyCommon(v, record);
    if (!v.splits.empty()) record.setSplits(linesFor(record, v.splits, dove::accountCurrency(account)));
    const dove::StoreStatus status = dove::saveTransaction(record);
    if (status != dove::StoreStatus::Ok)
        return storeFailure("the transaction " + id + " could not be saved", status);
    std::printf("%s\n", platform::toUtf8(record.identifier()).c_str());
    return kExitOk;
}

int runDelete(const CommandLine& line) {
    const std::string unexpected = line.unexpectedOption({});
    if (!unexpected.empty()) return usageError("delete does not take --" + unexpected);
    if (line.arguments().size() != 1) return usageError("delete needs exactly one transaction identifier");
    const std::string& id = line.arguments().front();
    dove::TransactionRecord record;
    if (!dove::loadTransactionByIdentifier(record, platform::fromUtf8(id))) {
        std::fprintf(stderr, "financestore: no transaction has the identifier %s\n", id.c_str());
        return kExitFailed;
    }
    // A line alone would leave its owner's amount without it: it goes with the owner, or through edit.
    if (record.kind() == dove::kKindSplitLine)
        return usageError(id + " is a split line: delete its owner " +
                          platform::toUtf8(dove::splitOwnerIdentifier(record.identifier())) +
                          ", or give the owner its other lines with edit --split");
    const dove::StoreStatus status = dove::deleteTransaction(record);
    if (status != dove::StoreStatus::Ok)
        return storeFailure("the transaction " + id + " could not be deleted", status, "nothing changed");
    return kExitOk;
}

}  // namespace financestore
