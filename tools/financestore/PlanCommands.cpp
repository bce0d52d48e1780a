// The plan and future commands on the open store.
#include "PlanCommands.h"

#include <cstdio>
#include <set>

#include "Accounts.h"
#include "FinanceStore.h"
#include "FutureList.h"
#include "OccurrenceEntry.h"
#include "Payees.h"
#include "PlanOptions.h"
#include "PlanReminder.h"
#include "PlannerItem.h"
#include "RegionalSettings.h"
#include "StoreSnapshot.h"
#include "TransactionStore.h"
#include "ValueParsing.h"
#include "platform/windows.h"

namespace financestore {
namespace {

int usageError(const std::string& message) {
    std::fprintf(stderr, "financestore: %s\n", message.c_str());
    return kExitUsage;
}

int failure(const std::string& message) {
    std::fprintf(stderr, "financestore: %s\n", message.c_str());
    return kExitFailed;
}

std::string utf8(const std::u16string& text) {
    return platform::toUtf8(text);
}

std::string isoDay(dove::Date date) {
    const SYSTEMTIME t = dove::dateFields(date);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", t.wYear, t.wMonth, t.wDay);
    return text;
}

// The schedule number of "plan enter N" and "plan delete N".
std::optional<uint32_t> itemArgument(const CommandLine& line, const char* command, std::string& problem) {
    if (line.arguments().size() != 2) {
        problem = std::string("plan ") + command + " needs exactly one schedule number";
        return std::nullopt;
    }
    auto number = parseInteger(line.arguments()[1]);
    if (!number || *number < 1) {
        problem = "bad schedule number '" + line.arguments()[1] + "'";
        return std::nullopt;
    }
    return static_cast<uint32_t>(*number);
}

const std::set<std::string> kAddOptions = {"account", "amount",   "payee",     "category", "transfer-to",
                                           "project", "currency", "frequency", "first",    "count",
                                           "ongoing", "interval", "lead-days", "memo",     "reminder"};

dove::TransactionRecord plannerRecord(const PlanValues& v) {
    dove::TransactionRecord item(dove::RecordSource::Planner);
    const int32_t account = *v.entry.account;
    item.setAccount(account);
    item.setAmount(*v.entry.amount);
    item.setCurrency(v.entry.currency.empty() ? dove::accountCurrency(account) : v.entry.currency);
    item.setDate(v.first);
    item.set64(dove::plan::kNextDate, v.first);
    if (v.entry.category) item.setCategory(*v.entry.category);
    if (v.entry.project) item.setProject(*v.entry.project);
    if (v.entry.payee) {
        item.setPayeeName(*v.entry.payee);
        item.setPayee(dove::findPayeeByName(*v.entry.payee));
    }
    item.setI4(dove::plan::kFrequency, v.frequency);
    item.setI4(dove::plan::kDayInterval, v.interval);
    item.setI4(dove::plan::kOccurrences, v.occurrences);
    item.setI4(dove::plan::kEntered, 0);
    item.setI4(dove::plan::kFinished, 0);
    item.setI4(dove::plan::kLeadDays, v.leadDays);
    if (!v.memo.empty()) item.setText(dove::plan::kMemo, v.memo);
    return item;
}

int runPlanAdd(const CommandLine& line) {
    const std::string unexpected = line.unexpectedOption(kAddOptions);
    if (!unexpected.empty()) return usageError("plan add does not take --" + unexpected);
    if (line.arguments().size() != 1) return usageError("plan add takes no argument " + line.arguments()[1]);
    const std::string repeated = line.repeatedOption({});
    if (!repeated.empty()) return usageError("--" + repeated + " is given more than once");
    PlanValues v;
    const std::string problem = readPlanOptions(line, v);
    if (!problem.empty()) return usageError(problem);
    dove::TransactionRecord item = plannerRecord(v);
    int32_t reminder = 0;
    if (!v.reminder.empty()) {
        reminder = createReminder(v.reminder);
        if (reminder == 0) return failure("the reminder could not be written; nothing was written");
        item.setI4(dove::plan::kReminder, reminder);
    }
    const dove::StoreStatus status = dove::addNewTransaction(item);
    if (status != dove::StoreStatus::Ok) {
        if (reminder != 0) discardReminder(reminder);
        return failure(std::string("the scheduled item could not be saved (") + dove::statusName(status) +
                       "); nothing was written");
    }
    std::printf("%d\n", item.i4(dove::tx::kScheduleNumber));
    return kExitOk;
}

std::string progressText(const dove::PlannerItem& item) {
    if (item.hasEnd())
        return std::to_string(item.entered) + " of " + std::to_string(item.occurrences) + " entered";
    return std::to_string(item.entered) + " entered, ongoing";
}

int runPlanList(const CommandLine& line) {
    if (line.arguments().size() != 1) return usageError("plan list takes no argument " + line.arguments()[1]);
    dove::TableCursor& planner = dove::tableCursor(dove::Table::Planner);
    dove::SortScope byNumber(planner, dove::tx::kScheduleNumber, dove::SortKind::I4);
    const int count = planner.recordCount();
    for (int i = 0; i < count; ++i) {
        if (!planner.moveTo(i)) return failure("a scheduled item could not be read");
        const dove::PlannerItem item = dove::plannerItemOf(planner);
        std::string text = std::to_string(item.number) + "\t" + utf8(dove::frequencyName(item.frequency));
        if (item.frequency == dove::kEveryNDays) text += " (" + std::to_string(item.interval) + ")";
        text += "\t" + (item.isDone() ? std::string("finished") : "next " + isoDay(item.next));
        text += "\t" + progressText(item) + "\t" + amountText(item.amount) + " " + utf8(item.currency);
        text += "\taccount " + std::to_string(item.account) + "\t" +
                utf8(planner.getString(dove::tx::kPayeeName));
        text += "\t" + utf8(planner.getString(dove::plan::kMemo));
        if (item.leadDays != 0)
            text += "\tlead " + std::to_string(item.leadDays) + (item.leadDays == 1 ? " day" : " days");
        if (item.reminder != 0) text += "\treminder " + std::to_string(item.reminder);
        std::printf("%s\n", text.c_str());
    }
    return kExitOk;
}

// The payment of plan enter: the given amount, or all that remains due.
std::string paymentProblem(const CommandLine& line, const dove::OccurrenceDue& due, dove::Amount& payment) {
    if (auto text = line.value("amount")) {
        auto parsed = parseAmount(*text);
        if (!parsed) return "bad amount '" + *text + "' (expected e.g. -12.34)";
        payment = *parsed;
    } else {
        payment = due.remaining();
        if (payment == 0 || (due.amount != 0 && (payment < 0) != (due.amount < 0)))
            return "nothing remains due on this occurrence: give the payment with --amount";
    }
    if (payment == 0) return "a payment of 0 enters nothing";
    if (due.amount != 0 && (payment < 0) != (due.amount < 0))
        return "the payment must have the sign of the item's amount " + amountText(due.amount);
    return {};
}

int runPlanEnter(const CommandLine& line) {
    const std::string unexpected = line.unexpectedOption({"amount", "date"});
    if (!unexpected.empty()) return usageError("plan enter does not take --" + unexpected);
    std::string problem;
    const auto number = itemArgument(line, "enter", problem);
    if (!number) return usageError(problem);
    dove::Date date = 0;
    if (auto text = line.value("date")) {
        auto parsed = parseDate(*text);
        if (!parsed)
            return usageError("bad date '" + *text + "' (expected YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS)");
        date = *parsed;
    }
    // The memo of the entered transaction is expanded as on the device, under the user's regional settings.
    dove::readRegionalSettings();
    dove::OccurrenceDue due;
    const dove::DueState state = dove::nextOccurrenceDue(*number, due);
    if (state == dove::DueState::NoSuchItem) return failure("no scheduled item " + std::to_string(*number));
    if (state == dove::DueState::Finished)
        return failure("scheduled item " + std::to_string(*number) + " is finished");
    dove::Amount payment = 0;
    problem = paymentProblem(line, due, payment);
    if (!problem.empty()) return usageError(problem);
    dove::TransactionRecord entered;
    const dove::StoreStatus status = dove::enterOccurrence(*number, payment, date, entered);
    if (status != dove::StoreStatus::Ok)
        return failure(std::string("the occurrence could not be entered (") + dove::statusName(status) +
                       "); nothing was written");
    std::printf("%s\n", utf8(entered.identifier()).c_str());
    const dove::Amount left = due.remaining() - payment;
    if (entered.value64(dove::tx::kUnpaidFlag) != 0)
        std::fprintf(stderr, "financestore: %s %s of the occurrence on %s remains due\n",
                     amountText(left).c_str(), utf8(due.currency).c_str(), isoDay(due.date).c_str());
    else
        std::fprintf(stderr, "financestore: the occurrence on %s is paid\n", isoDay(due.date).c_str());
    return kExitOk;
}

int runPlanDelete(const CommandLine& line) {
    const std::string unexpected = line.unexpectedOption({});
    if (!unexpected.empty()) return usageError("plan delete does not take --" + unexpected);
    std::string problem;
    const auto number = itemArgument(line, "delete", problem);
    if (!number) return usageError(problem);
    dove::TransactionRecord item(dove::RecordSource::Planner);
    if (!dove::readScheduledItem(*number, item))
        return failure("no scheduled item " + std::to_string(*number));
    const dove::StoreStatus status = dove::deleteScheduledItem(item);
    if (status != dove::StoreStatus::Ok)
        return failure(std::string("the scheduled item could not be deleted (") + dove::statusName(status) +
                       "); nothing changed");
    return kExitOk;
}

}  // namespace

int runPlan(const CommandLine& line) {
    const std::string what = line.arguments().empty() ? std::string() : line.arguments().front();
    if (what == "add") return runPlanAdd(line);
    if (what == "list") return runPlanList(line);
    if (what == "enter") return runPlanEnter(line);
    if (what == "delete") return runPlanDelete(line);
    if (what.empty()) return usageError("plan needs add, list, enter or delete");
    return usageError("plan has no command '" + what + "' (add, list, enter or delete)");
}

int runFuture(const CommandLine& line) {
    const std::string unexpected = line.unexpectedOption({"until", "force"});
    if (!unexpected.empty()) return usageError("future does not take --" + unexpected);
    if (!line.arguments().empty()) return usageError("future takes no argument " + line.arguments().front());
    if (!line.has("until")) return usageError("future needs --until DATE");
    auto until = parseDate(*line.value("until"));
    if (!until) return usageError("bad date '" + *line.value("until") + "' (expected YYYY-MM-DD)");
    dove::readRegionalSettings();
    const dove::FutureListStatus status = dove::buildFutureList(*until, line.has("force"));
    if (!dove::succeeded(status))
        return failure(std::string("the future list could not be built (") +
                       dove::futureListStatusName(status) + "); it is as it was");
    std::vector<dove::FutureEntry> entries;
    if (!dove::readFutureList(entries)) return failure("an entry of the future list could not be read");
    for (const dove::FutureEntry& e : entries) {
        const std::string before = e.amountBeforePayment != 0 ? amountText(e.amountBeforePayment) : "";
        std::printf("%s\t%u\t%d\t%s\t%s\t%s\t%s\t%s\n", isoDay(e.date).c_str(), e.schedule, e.account,
                    amountText(e.amount).c_str(), utf8(e.currency).c_str(), before.c_str(),
                    utf8(e.payeeName).c_str(), utf8(e.memo).c_str());
    }
    return kExitOk;
}

}  // namespace financestore
