// Seeding the store for the Today item's tests.
#include "TodaySeed.h"

#include <gtest/gtest.h>

#include "Accounts.h"
#include "FinanceStore.h"
#include "Identifiers.h"
#include "Options.h"
#include "PlannerItem.h"
#include "TodayFields.h"
#include "TransactionRecord.h"

namespace todaytest {

namespace {

using dove::PropertyValue;
namespace fields = today::fields;

// The account that scheduled items and their payments belong to.
constexpr int32_t kPayingAccount = 1;

uint64_t amount(int64_t value) {
    return static_cast<uint64_t>(value);
}

dove::TableCursor& table(dove::Table t) {
    return dove::tableCursor(t);
}

}  // namespace

StoreSeed::StoreSeed() {
    EXPECT_TRUE(dove::openFinanceStore());
    dove::TableCursor& accounts = table(dove::Table::Accounts);
    m_position = accounts.recordCount();
}

StoreSeed::~StoreSeed() {
    dove::closeFinanceStore();
}

void StoreSeed::account(const AccountSeed& seed) {
    EXPECT_NE(table(dove::Table::Accounts)
                  .addRecord({PropertyValue::i4(dove::account::kNumber, seed.number),
                              PropertyValue::i4(dove::account::kPosition, ++m_position),
                              PropertyValue::string(dove::account::kName, seed.name),
                              PropertyValue::string(dove::account::kCurrency, seed.currency),
                              PropertyValue::date(dove::account::kBalance, amount(seed.balance)),
                              PropertyValue::date(dove::account::kOpeningBalance, amount(seed.start)),
                              PropertyValue::date(fields::kAccountLimit, amount(seed.limit)),
                              PropertyValue::i4(fields::kAccountShowOnToday, seed.shown ? 1 : 0)}),
              0u);
}

void StoreSeed::group(int32_t number, const std::u16string& name, const std::u16string& members) {
    EXPECT_NE(table(dove::Table::Customize)
                  .addRecord({PropertyValue::i4(fields::kCustomizeNumber, number),
                              PropertyValue::string(fields::kGroupName, name),
                              PropertyValue::string(fields::kGroupMembers, members)}),
              0u);
}

void StoreSeed::budget(int32_t number, const std::u16string& name, bool expense,
                       std::initializer_list<BudgetLineSeed> lines) {
    EXPECT_NE(table(dove::Table::Budgets)
                  .addRecord({PropertyValue::i4(fields::kBudgetNumber, number),
                              PropertyValue::string(fields::kName, name),
                              PropertyValue::i4(fields::kBudgetKind, expense ? 0 : 1),
                              PropertyValue::string(dove::tx::kKey, dove::newRecordKeyText())}),
              0u);
    int32_t category = 100;
    for (const BudgetLineSeed& line : lines)
        EXPECT_NE(table(dove::Table::BudgetLists)
                      .addRecord({PropertyValue::i4(fields::kBudgetNumber, number),
                                  PropertyValue::i4(dove::tx::kCategory, ++category),
                                  PropertyValue::i4(fields::kLineActive, line.active ? 1 : 0),
                                  PropertyValue::date(fields::kLineLimit, amount(line.monthLimit)),
                                  PropertyValue::date(fields::kLineMonthTotal, amount(line.monthTotal)),
                                  PropertyValue::string(dove::tx::kKey, dove::newRecordKeyText())}),
                  0u);
}

void StoreSeed::plannerItem(const PlannerSeed& seed) {
    std::vector<PropertyValue> values = {
        PropertyValue::i4(dove::tx::kScheduleNumber, seed.schedule),
        PropertyValue::i4(dove::tx::kAccount, kPayingAccount),
        PropertyValue::string(dove::tx::kPayeeName, seed.payee),
        PropertyValue::date(dove::tx::kAmount, amount(seed.amount)),
        PropertyValue::string(dove::tx::kCurrency, seed.currency),
        PropertyValue::date(dove::plan::kFirstDate, seed.first),
        PropertyValue::date(dove::plan::kNextDate,
                            dove::addPeriods(seed.frequency, seed.first, seed.entered, 0)),
        PropertyValue::i4(dove::plan::kFrequency, seed.frequency),
        PropertyValue::i4(dove::plan::kOccurrences, seed.occurrences),
        PropertyValue::i4(dove::plan::kEntered, seed.entered),
        PropertyValue::i4(dove::plan::kFinished, 0),
        PropertyValue::i4(dove::plan::kLeadDays, seed.leadDays),
        PropertyValue::string(dove::tx::kKey, dove::newRecordKeyText())};
    if (!seed.memo.empty()) values.push_back(PropertyValue::string(dove::plan::kMemo, seed.memo));
    EXPECT_NE(table(dove::Table::Planner).addRecord(values), 0u);
}

void StoreSeed::payment(int32_t schedule, dove::Date occurrence, int64_t paid, bool completes) {
    const auto number = static_cast<uint32_t>(schedule);
    EXPECT_NE(table(dove::Table::Transactions)
                  .addRecord({PropertyValue::string(dove::tx::kIdentifier,
                                                    dove::transactionIdentifier(kPayingAccount, occurrence)),
                              PropertyValue::i4(dove::tx::kAccount, kPayingAccount),
                              PropertyValue::date(dove::tx::kDate, occurrence),
                              PropertyValue::date(dove::tx::kAmount, amount(paid)),
                              PropertyValue::i4(dove::tx::kScheduleNumber, schedule),
                              PropertyValue::string(dove::tx::kOccurrenceKey,
                                                    dove::occurrenceKey(number, occurrence)),
                              PropertyValue::date(dove::tx::kScheduledDate, occurrence),
                              PropertyValue::date(dove::tx::kUnpaidFlag, completes ? 0 : 1),
                              PropertyValue::date(dove::tx::kPaidAmount, amount(paid)),
                              PropertyValue::string(dove::tx::kKey, dove::newRecordKeyText())}),
              0u);
}

void StoreSeed::transaction(int32_t account, dove::Date date, int64_t value, int64_t runningBalance) {
    EXPECT_NE(
        table(dove::Table::Transactions)
            .addRecord(
                {PropertyValue::string(dove::tx::kIdentifier,
                                       dove::transactionIdentifier(static_cast<uint32_t>(account), date)),
                 PropertyValue::i4(dove::tx::kAccount, account), PropertyValue::date(dove::tx::kDate, date),
                 PropertyValue::date(dove::tx::kAmount, amount(value)),
                 PropertyValue::date(dove::tx::kRunningBalance, amount(runningBalance)),
                 PropertyValue::string(dove::tx::kKey, dove::newRecordKeyText())}),
        0u);
}

void StoreSeed::password(dove::Date date, int64_t digest) {
    const auto account = static_cast<uint32_t>(dove::tx::kPasswordAccount);
    EXPECT_NE(table(dove::Table::Transactions)
                  .addRecord({PropertyValue::string(dove::tx::kIdentifier,
                                                    dove::transactionIdentifier(account, date)),
                              PropertyValue::i4(dove::tx::kAccount, dove::tx::kPasswordAccount),
                              PropertyValue::date(dove::tx::kDate, date),
                              PropertyValue::date(fields::kPasswordDigest, amount(digest))}),
              0u);
}

void seedAccounts(std::initializer_list<AccountSeed> accounts) {
    StoreSeed seed;
    for (const AccountSeed& account : accounts)
        seed.account(account);
}

void showScheduledOnToday(bool show) {
    EXPECT_TRUE(dove::writeOptionNumber(dove::kOptionScheduledTodayShow, show ? 1 : 0));
}

dove::Date dayFromToday(int days) {
    SYSTEMTIME today = dove::dateFields(dove::nowLocal());
    today.wHour = today.wMinute = today.wSecond = today.wMilliseconds = 0;
    const dove::Date midnight = dove::dateFromFields(today);
    return days >= 0 ? midnight + static_cast<dove::Date>(days) * dove::kDateDay
                     : midnight - static_cast<dove::Date>(-days) * dove::kDateDay;
}

}  // namespace todaytest
