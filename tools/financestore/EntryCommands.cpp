// Adding and deleting transactions through the data code's save and delete.
#include "EntryCommands.h"

#include <cstdio>

#include "Accounts.h"
#include "Categories.h"
#include "CurrencyCache.h"
#include "EntryAmount.h"
#include "FinanceStore.h"
#include "Payees.h"
#include "Projects.h"
#include "TransactionStore.h"
#include "ValueParsing.h"
#include "platform/windows.h"

namespace financestore {
namespace {

int usageError(const std::string& message) {
    std::fprintf(stderr, "financestore: %s\n", message.c_str());
    return kExitUsage;
}

// The number of the project with that name, 0 when none.
int32_t projectByName(const std::u16string& name) {
    dove::TableCursor& projects = dove::tableCursor(dove::Table::Projects);
    for (int i = 0; i < projects.recordCount() && projects.moveTo(i); ++i)
        if (name == projects.getString(110)) return projects.getI4(dove::project::kNumber);
    return 0;
}

bool knownCurrency(const std::u16string& code) {
    return dove::currencyCache().indexOfCode(code) >= 0 || dove::catalogueIndexOf(code) >= 0;
}

// Fills the record from the options; an error message when a value is bad.
std::string fillRecord(const CommandLine& line, dove::TransactionRecord& r) {
    auto account = parseInteger(line.value("account").value_or(""));
    if (!account || !dove::accountExists(*account)) return "no account " + line.value("account").value_or("");
    r.setAccount(*account);
    auto amount = parseAmount(line.value("amount").value_or(""));
    if (!amount) return "bad amount '" + line.value("amount").value_or("") + "' (expected e.g. -12.34)";
    dove::Date date = dove::nowLocal();
    if (auto text = line.value("date")) {
        auto parsed = parseDate(*text);
        if (!parsed) return "bad date '" + *text + "' (expected YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS)";
        date = *parsed;
    }
    r.setDate(date);
    std::u16string entered = platform::fromUtf8(line.value("currency").value_or(""));
    if (!entered.empty() && !knownCurrency(entered)) return "unknown currency " + platform::toUtf8(entered);
    setAmountIn(r, *amount, entered, dove::accountCurrency(*account));
    if (line.has("category") && line.has("transfer-to")) return "give either --category or --transfer-to";
    if (auto path = line.value("category")) {
        int32_t category = dove::findCategoryByFullName(platform::fromUtf8(*path));
        if (category == 0) return "unknown category " + *path;
        r.setCategory(category);
    }
    if (auto target = line.value("transfer-to")) {
        auto other = parseInteger(*target);
        if (!other || !dove::accountExists(*other)) return "no account " + *target + " to transfer to";
        if (*other == *account) return "a transfer needs two different accounts";
        r.setCategory(-*other);
    }
    if (auto name = line.value("project")) {
        int32_t project = projectByName(platform::fromUtf8(*name));
        if (project == 0) return "unknown project " + *name;
        r.setProject(project);
    }
    if (auto name = line.value("payee")) {
        r.setPayeeName(platform::fromUtf8(*name));
        r.setPayee(dove::findPayeeByName(platform::fromUtf8(*name)));
    }
    if (line.has("cleared")) r.setCleared(1);
    return {};
}

}  // namespace

int runAdd(const CommandLine& line) {
    const std::string unexpected = line.unexpectedOption(
        {"account", "amount", "payee", "category", "transfer-to", "project", "currency", "date", "cleared"});
    if (!unexpected.empty()) return usageError("add does not take --" + unexpected);
    if (!line.arguments().empty()) return usageError("add takes no argument " + line.arguments().front());
    if (!line.has("account") || !line.has("amount")) return usageError("add needs --account and --amount");
    dove::TransactionRecord record;
    const std::string problem = fillRecord(line, record);
    if (!problem.empty()) return usageError(problem);
    if (!dove::addNewTransaction(record)) {
        std::fprintf(stderr, "financestore: the transaction could not be saved; nothing was written\n");
        return kExitFailed;
    }
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
    if (!dove::deleteTransaction(record)) {
        std::fprintf(stderr, "financestore: the transaction %s could not be deleted; nothing changed\n",
                     id.c_str());
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace financestore
