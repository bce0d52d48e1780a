// The future list's speed: building it for 500 scheduled items of mixed frequencies over one year, on a
// store of 65,535 transactions (the items' entered payments among them), against bare SQLite inserting
// as many rows of the same shape in one transaction, in the same run.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "FinanceStore.h"
#include "Frequencies.h"
#include "FutureList.h"
#include "Identifiers.h"
#include "PlannerItem.h"
#include "RatioReporter.h"
#include "ResourceText.h"
#include "platform/windows.h"
#include "resources/DashelResources.h"

namespace {

using dove::PropertyValue;

constexpr int kItems = 500;
constexpr int kTransactions = 65535;
constexpr int kAccounts = 20;
constexpr int kWindowDays = 365;
constexpr dove::Date kHour = 3600 * dove::kDateSecond;

// Mostly monthly bills, with weekly, fortnightly, twice-monthly, quarterly, yearly and every-n-days ones.
constexpr int32_t kFrequencies[] = {dove::kMonthly,        dove::kMonthly,        dove::kMonthly,
                                    dove::kTwiceAMonth,    dove::kWeekly,         dove::kEveryTwoWeeks,
                                    dove::kEveryFourWeeks, dove::kLastDayOfMonth, dove::kEveryTwoMonths,
                                    dove::kQuarterly,      dove::kTwiceAYear,     dove::kAnnually,
                                    dove::kEveryNDays};
constexpr const char16_t* kMemos[] = {u"", u"Rent for {month+1} {year}", u"", u"Week {week} groceries",
                                      u"Statement of {date-1}"};

struct Fixture {
    std::string folder;
    dove::Date today = 0;  // the window starts here
    sqlite3* baseline = nullptr;
    int rows = 0;  // entries one build makes
} g;

dove::Date dayOf(int year, int month, int day) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    return dove::dateFromFields(t);
}

struct ItemShape {
    int32_t number;
    int32_t frequency;
    dove::Date first;
    int32_t entered;
};

// Item n: first occurrence up to 90 days before the window, the occurrences before it entered.
ItemShape shapeOf(int n) {
    ItemShape shape{n + 1, kFrequencies[n % std::size(kFrequencies)], 0, 0};
    shape.first =
        g.today - static_cast<dove::Date>(n % 90) * dove::kDateDay + static_cast<dove::Date>(n % 24) * kHour;
    while (dove::addPeriods(shape.frequency, shape.first, shape.entered, 10) < g.today)
        ++shape.entered;
    return shape;
}

void addItem(int n, const ItemShape& s) {
    dove::TableCursor& planner = dove::tableCursor(dove::Table::Planner);
    planner.addRecord(
        {PropertyValue::i4(251, s.number), PropertyValue::i4(104, 1 + n % kAccounts),
         PropertyValue::date(108, s.first),
         PropertyValue::date(253, dove::addPeriods(s.frequency, s.first, s.entered, 10)),
         PropertyValue::i4(252, s.frequency), PropertyValue::i4(262, 10), PropertyValue::i4(254, s.entered),
         PropertyValue::i4(255, n % 7 == 0 ? s.entered + 6 : -1), PropertyValue::i4(257, n % 11),
         PropertyValue::i4(259, 0), PropertyValue::i4(401, 5), PropertyValue::i4(201, n % 3 == 0 ? 2 : 0),
         PropertyValue::date(112, static_cast<uint64_t>(-(1000 + n * 37))),
         PropertyValue::string(301, u"USD"), PropertyValue::string(110, u"Oakwood Apartments"),
         PropertyValue::string(114, kMemos[n % std::size(kMemos)])});
}

// A transaction of account a at hour h; a payment of an item's occurrence when payment is given.
std::vector<PropertyValue> transactionValues(int32_t account, dove::Date date) {
    return {PropertyValue::string(101, dove::transactionIdentifier(static_cast<uint32_t>(account), date)),
            PropertyValue::i4(104, account),
            PropertyValue::date(108, date),
            PropertyValue::date(112, static_cast<uint64_t>(-1234)),
            PropertyValue::string(301, u"USD"),
            PropertyValue::i4(401, 5),
            PropertyValue::string(110, u"Fresh Market")};
}

void addPayment(const ItemShape& s, int k, dove::Amount paid, bool unpaid) {
    const dove::Date occurrence = dove::addPeriods(s.frequency, s.first, k, 10);
    std::vector<PropertyValue> values =
        transactionValues(1 + s.number % kAccounts,
                          occurrence + static_cast<dove::Date>(unpaid ? 1 : 2) * dove::kDateMillisecond);
    values.push_back(PropertyValue::i4(251, s.number));
    values.push_back(
        PropertyValue::string(103, dove::occurrenceKey(static_cast<uint32_t>(s.number), occurrence)));
    values.push_back(PropertyValue::date(105, occurrence));
    values.push_back(PropertyValue::date(106, unpaid ? 1 : 0));
    values.push_back(PropertyValue::date(107, static_cast<uint64_t>(paid)));
    dove::tableCursor(dove::Table::Transactions).addRecord(values);
}

// The items, their entered payments (and a part of every fifth item's next occurrence paid), and plain
// transactions up to 65,535, in one store transaction.
void buildStore() {
    dove::StoreTransaction bracket;
    int written = 0;
    for (int n = 0; n < kItems; ++n) {
        const ItemShape s = shapeOf(n);
        addItem(n, s);
        for (int k = 0; k < s.entered; ++k, ++written)
            addPayment(s, k, -(1000 + n * 37), false);
        if (n % 5 == 0) addPayment(s, s.entered, -500, true), ++written;
    }
    dove::TableCursor& t = dove::tableCursor(dove::Table::Transactions);
    for (int i = written; i < kTransactions; ++i)
        t.addRecord(
            transactionValues(1 + i % kAccounts, dayOf(2018, 1, 1) + static_cast<dove::Date>(i) * kHour));
    bracket.commit();
}

const char* const kEntryTable =
    "CREATE TABLE scheduled(date INTEGER, schedule INTEGER, account INTEGER, payee TEXT, category INTEGER, "
    "project INTEGER, amount INTEGER, currency TEXT, memo TEXT, id TEXT, projectKey TEXT)";

void setUp() {
    g.folder =
        (std::filesystem::temp_directory_path() / ("future_bench." + std::to_string(getpid()))).string();
    std::filesystem::create_directories(g.folder + "/root");
    HINSTANCE module = GetModuleHandleW(nullptr);
    platform::registerModuleResources(module, dashelResourceTable());
    dove::setResourceModule(module);
    platform::setDeviceRoot(g.folder + "/root");
    if (!dove::openFinanceStore()) std::fprintf(stderr, "cannot open the finance store\n");
    g.today = dayOf(2025, 3, 1);
    buildStore();
    if (!dove::succeeded(dove::buildFutureList(g.today + kWindowDays * dove::kDateDay, true)))
        std::fprintf(stderr, "the future list could not be built\n");
    g.rows = dove::tableCursor(dove::Table::Scheduled).recordCount();
    sqlite3_open_v2((g.folder + "/baseline.sqlite").c_str(), &g.baseline,
                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    // The journal and durability settings of the object store.
    sqlite3_exec(g.baseline, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    sqlite3_exec(g.baseline, kEntryTable, nullptr, nullptr, nullptr);
}

// Each build starts from an empty list, as the first build of a process does.
void emptyTheList() {
    dove::TableCursor& scheduled = dove::tableCursor(dove::Table::Scheduled);
    dove::StoreTransaction bracket;
    for (int i = scheduled.recordCount() - 1; i >= 0; --i)
        scheduled.deleteAt(i);
    bracket.commit();
    dove::forgetFutureList();
}

void BM_FutureBuild(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        emptyTheList();
        state.ResumeTiming();
        if (dove::buildFutureList(g.today + kWindowDays * dove::kDateDay, false) !=
            dove::FutureListStatus::Built)
            state.SkipWithError("the build failed");
    }
    if (dove::tableCursor(dove::Table::Scheduled).recordCount() != g.rows) state.SkipWithError("rows differ");
    state.counters["entries"] = g.rows;
}

void BM_InsertSqlite(benchmark::State& state) {
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(g.baseline,
                       "INSERT INTO scheduled VALUES(?,?,?,'Oakwood Apartments',5,?,?,'USD',?,?,?)", -1,
                       &insert, nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        sqlite3_exec(g.baseline, "DELETE FROM scheduled", nullptr, nullptr, nullptr);
        state.ResumeTiming();
        sqlite3_exec(g.baseline, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        for (int i = 0; i < g.rows; ++i) {
            const dove::Date date = g.today + static_cast<dove::Date>(i) * kHour;
            const std::string id = platform::toUtf8(dove::transactionIdentifier(1 + i % kAccounts, date));
            sqlite3_bind_int64(insert, 1, static_cast<sqlite3_int64>(date));
            sqlite3_bind_int(insert, 2, 1 + i % kItems);
            sqlite3_bind_int(insert, 3, 1 + i % kAccounts);
            sqlite3_bind_int(insert, 4, i % 3 == 0 ? 2 : 0);
            sqlite3_bind_int64(insert, 5, -(1000 + i));
            sqlite3_bind_text(insert, 6, i % 5 == 1 ? "Rent for April 2025" : "", -1, SQLITE_STATIC);
            sqlite3_bind_text(insert, 7, id.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 8, i % 3 == 0 ? id.c_str() : "", -1, SQLITE_TRANSIENT);
            if (sqlite3_step(insert) != SQLITE_DONE) state.SkipWithError("insert failed");
            sqlite3_reset(insert);
        }
        sqlite3_exec(g.baseline, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_finalize(insert);
}

// The machine is shared and its disk is busy: each figure is the mean of a few repetitions.
constexpr int kRepetitions = 3;
BENCHMARK(BM_FutureBuild)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions);
BENCHMARK(BM_InsertSqlite)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    setUp();
    std::printf("future list: %d entries of %d items over %d days, %d transactions\n", g.rows, kItems,
                kWindowDays, dove::tableCursor(dove::Table::Transactions).recordCount());
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::fflush(stdout);
    reporter.printRatio("future_build", "BM_FutureBuild", "BM_InsertSqlite", 4);
    dove::closeFinanceStore();
    platform::cedbCloseStore();
    sqlite3_close(g.baseline);
    std::error_code ignored;
    std::filesystem::remove_all(g.folder, ignored);
    benchmark::Shutdown();
    return 0;
}
