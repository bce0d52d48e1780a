// Checking the values of add and edit.
#include "EntryOptions.h"

#include "Accounts.h"
#include "Categories.h"
#include "CurrencyCache.h"
#include "FinanceStore.h"
#include "Payees.h"
#include "Projects.h"
#include "ValueParsing.h"
#include "platform/windows.h"

namespace financestore {
namespace {

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

// A name must hold something and fit; "" when it does.
std::string nameProblem(const std::string& what, const std::u16string& name) {
    if (name.find_first_not_of(u" \t") == std::u16string::npos) return "the " + what + " name is empty";
    if (name.size() > kMaxNameLength)
        return "the " + what + " name is longer than " + std::to_string(kMaxNameLength) + " characters";
    return {};
}

std::string accountProblem(const std::string& text, std::optional<int32_t>& account) {
    auto number = parseInteger(text);
    if (!number || !dove::accountExists(*number)) return "no account " + text;
    account = *number;
    return {};
}

std::string amountProblem(const std::string& text, dove::Amount& amount) {
    auto parsed = parseAmount(text);
    if (!parsed) return "bad amount '" + text + "' (expected e.g. -12.34)";
    amount = *parsed;
    return {};
}

// A category by its full name, or the other account of a transfer.
std::string categoryProblem(const CommandLine& line, int32_t account, std::optional<int32_t>& category) {
    if (line.has("category") && line.has("transfer-to")) return "give either --category or --transfer-to";
    if (auto path = line.value("category")) {
        const std::u16string name = platform::fromUtf8(*path);
        std::string problem = nameProblem("category", name);
        if (!problem.empty()) return problem;
        category = dove::findCategoryByFullName(name);
        if (*category == 0) return "unknown category " + *path;
    }
    if (auto target = line.value("transfer-to")) {
        auto other = parseInteger(*target);
        if (!other || !dove::accountExists(*other)) return "no account " + *target + " to transfer to";
        if (*other == account) return "a transfer needs two different accounts";
        category = -*other;
    }
    return {};
}

// "CATEGORY=AMOUNT" or "@ACCOUNT=AMOUNT".
std::string splitProblem(const std::string& text, int32_t account, SplitEntry& split) {
    const size_t equals = text.rfind('=');
    if (equals == std::string::npos)
        return "bad split line '" + text + "' (expected CATEGORY=AMOUNT or @ACCOUNT=AMOUNT)";
    const std::string target = text.substr(0, equals);
    std::string problem = amountProblem(text.substr(equals + 1), split.amount);
    if (!problem.empty()) return problem;
    if (!target.empty() && target[0] == '@') {
        auto other = parseInteger(target.substr(1));
        if (!other || !dove::accountExists(*other))
            return "no account " + target.substr(1) + " to transfer to";
        if (*other == account) return "a transfer line needs another account than the transaction's";
        split.category = -*other;
        return {};
    }
    const std::u16string name = platform::fromUtf8(target);
    problem = nameProblem("category", name);
    if (!problem.empty()) return problem;
    split.category = dove::findCategoryByFullName(name);
    return split.category == 0 ? "unknown category " + target : std::string();
}

std::string namedOptions(const CommandLine& line, EntryValues& values) {
    if (auto name = line.value("payee")) {
        values.payee = platform::fromUtf8(*name);
        std::string problem = nameProblem("payee", *values.payee);
        if (!problem.empty()) return problem;
    }
    if (auto name = line.value("project")) {
        const std::u16string project = platform::fromUtf8(*name);
        std::string problem = nameProblem("project", project);
        if (!problem.empty()) return problem;
        values.project = projectByName(project);
        if (*values.project == 0) return "unknown project " + *name;
    }
    return {};
}

}  // namespace

std::string readEntryOptions(const CommandLine& line, int32_t account, EntryValues& values) {
    std::string problem;
    if (auto text = line.value("account")) problem = accountProblem(*text, values.account);
    if (values.account) account = *values.account;
    if (problem.empty() && line.has("amount")) {
        values.amount = 0;
        problem = amountProblem(*line.value("amount"), *values.amount);
    }
    if (problem.empty() && line.has("date")) {
        values.date = parseDate(*line.value("date"));
        if (!values.date)
            problem = "bad date '" + *line.value("date") + "' (expected YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS)";
    }
    if (problem.empty()) problem = categoryProblem(line, account, values.category);
    if (problem.empty()) problem = namedOptions(line, values);
    if (problem.empty() && line.has("cleared") && line.has("uncleared"))
        problem = "give either --cleared or --uncleared";
    if (line.has("cleared")) values.cleared = 1;
    if (line.has("uncleared")) values.cleared = 0;
    if (problem.empty() && line.has("currency")) {
        values.currency = platform::fromUtf8(*line.value("currency"));
        if (!knownCurrency(values.currency)) problem = "unknown currency " + *line.value("currency");
    }
    for (const std::string& text : line.values("split")) {
        if (!problem.empty()) break;
        values.splits.emplace_back();
        problem = splitProblem(text, account, values.splits.back());
    }
    return problem;
}

std::optional<dove::Amount> splitTotal(const std::vector<SplitEntry>& splits) {
    dove::Amount total = 0;
    for (const SplitEntry& split : splits)
        if (__builtin_add_overflow(total, split.amount, &total)) return std::nullopt;
    return total;
}

}  // namespace financestore
