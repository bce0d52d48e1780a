// The demonstration seed: refusing a store that holds data, and writing everything in one store
// transaction so that a failure leaves the store as it was.
#include "DemoSeed.h"

#include <cstdio>

#include "CommandLine.h"
#include "DemoData.h"
#include "FinanceStore.h"
#include "platform/windows.h"

namespace financestore {
namespace demo {

int32_t Context::category(const std::string& path) const {
    auto it = categories.find(path);
    return it == categories.end() ? 0 : it->second;
}

int32_t Context::project(const std::string& name) const {
    auto it = projects.find(name);
    return it == projects.end() ? 0 : it->second;
}

int32_t Context::payee(const std::string& name) const {
    auto it = payees.find(name);
    return it == payees.end() ? 0 : it->second;
}

dove::Amount Context::between(dove::Amount low, dove::Amount high) {
    return std::uniform_int_distribution<dove::Amount>(low, high)(random);
}

bool Context::chance(int percent) {
    return between(1, 100) <= percent;
}

dove::Date addDays(dove::Date date, int days) {
    return static_cast<dove::Date>(static_cast<int64_t>(date) +
                                   static_cast<int64_t>(days) * static_cast<int64_t>(dove::kDateDay));
}

}  // namespace demo

int seedDemo(uint32_t seed) {
    const dove::Table filled[] = {dove::Table::Transactions, dove::Table::Accounts, dove::Table::Memorized,
                                  dove::Table::Planner};
    for (dove::Table table : filled) {
        if (dove::tableCursor(table).recordCount() > 0) {
            std::fprintf(stderr,
                         "financestore: the finance store already holds data (%s is not empty); --demo seeds "
                         "only an empty store\n",
                         platform::toUtf8(dove::tableCursor(table).databaseName()).c_str());
            return kExitUsage;
        }
    }
    demo::Context c;
    c.random.seed(seed);
    SYSTEMTIME today = dove::dateFields(dove::nowLocal());
    today.wHour = today.wMinute = today.wSecond = today.wMilliseconds = 0;
    c.today = dove::dateFromFields(today);
    c.start = demo::addDays(c.today, -365);
    dove::StoreTransaction transaction;
    if (!transaction.active() || !demo::seedMasters(c) || !demo::seedHistory(c) ||
        !demo::seedScheduledPayments(c) || !transaction.commit()) {
        std::fprintf(stderr, "financestore: seeding the demonstration store failed; nothing was written\n");
        return kExitFailed;
    }
    std::fprintf(stderr, "financestore: seeded %d transactions\n",
                 dove::tableCursor(dove::Table::Transactions).recordCount());
    return kExitOk;
}

}  // namespace financestore
