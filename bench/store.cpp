// Finance store speed, each measured beside a bare-SQLite baseline in the same run: opening a store of
// 65,535 transactions in 20 accounts, recalculating an account of 20,000 stale balances, saving a
// transaction older than all others of that account, and saving one dated today.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "BenchStore.h"
#include "FinanceStore.h"
#include "Identifiers.h"
#include "Operation.h"
#include "RatioReporter.h"
#include "ResourceText.h"
#include "TransactionStore.h"
#include "platform/windows.h"
#include "resources/DashelResources.h"

namespace {

using dove::PropertyValue;

constexpr int kOpenTransactions = 65535;
constexpr int kOpenAccounts = 20;
constexpr int kRecalcTransactions = 20000;
constexpr int32_t kRecalcAccount = 1;
using bench::firstDate;
using bench::kHour;
using bench::recordKey;
using bench::useStore;

struct Fixture {
    std::string folder;
    std::string openRoot;         // 65,535 transactions in 20 accounts
    std::string recalcRoot;       // one account of 20,000 transactions
    sqlite3* baseline = nullptr;  // the plain table of the recalc and insert baselines
    std::string openBaselinePath;
    dove::Date oldest = 0;
    int olderSaves = 0;
    int stale = 0;
} g;

// Writes the accounts and transactions of a store in one store transaction (the fast path: no
// identifier search, no per-record balance pass).
void buildStore(const std::string& root, int accounts, int transactions) {
    useStore(root);
    dove::StoreTransaction bracket;
    if (!bench::addAccounts(accounts, {PropertyValue::date(164, 100000)}) ||
        !bench::addHourlyTransactions(accounts, 0, transactions, u"Fresh Market") || !bracket.commit())
        std::fprintf(stderr, "the store in %s cannot be written\n", root.c_str());
}

sqlite3* openSqlite(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    // The journal and durability settings of the object store.
    sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    return db;
}

const char* const kPlainTable =
    "CREATE TABLE tx(id TEXT PRIMARY KEY, account INTEGER, date INTEGER, amount INTEGER, balance INTEGER, "
    "currency TEXT, category INTEGER, kind INTEGER, payee TEXT, key TEXT)";

void fillPlainTable(sqlite3* db, int accounts, int rows) {
    sqlite3_exec(db, kPlainTable, nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO tx VALUES(?,?,?,?,0,'USD',5,0,'Fresh Market',?)", -1, &insert,
                       nullptr);
    for (int i = 0; i < rows; ++i) {
        const int32_t account = 1 + i % accounts;
        const dove::Date date = firstDate() + static_cast<dove::Date>(i) * kHour;
        const std::string id =
            platform::toUtf8(dove::transactionIdentifier(static_cast<uint32_t>(account), date));
        sqlite3_bind_text(insert, 1, id.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 2, account);
        sqlite3_bind_int64(insert, 3, static_cast<sqlite3_int64>(date));
        sqlite3_bind_int64(insert, 4, -(100 + i % 997));
        sqlite3_bind_text(insert, 5, recordKey(account, date).c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

void setUp() {
    g.folder =
        (std::filesystem::temp_directory_path() / ("store_bench." + std::to_string(getpid()))).string();
    g.openRoot = g.folder + "/open";
    g.recalcRoot = g.folder + "/recalc";
    std::filesystem::create_directories(g.openRoot);
    std::filesystem::create_directories(g.recalcRoot);
    HINSTANCE module = GetModuleHandleW(nullptr);
    platform::registerModuleResources(module, dashelResourceTable());
    dove::setResourceModule(module);
    buildStore(g.openRoot, kOpenAccounts, kOpenTransactions);
    buildStore(g.recalcRoot, 1, kRecalcTransactions);
    g.oldest = firstDate();
    g.openBaselinePath = g.folder + "/open.sqlite";
    sqlite3* open = openSqlite(g.openBaselinePath);
    fillPlainTable(open, kOpenAccounts, kOpenTransactions);
    sqlite3_close(open);
    g.baseline = openSqlite(g.folder + "/recalc.sqlite");
    fillPlainTable(g.baseline, 1, kRecalcTransactions);
}

// The object store reads a table's records at its first use, not when it is opened, so the open is
// measured up to the first record of Transactions in its open order: every record read and sorted.
void BM_OpenStore(benchmark::State& state) {
    useStore(g.openRoot);
    for (auto _ : state) {
        state.PauseTiming();
        dove::closeFinanceStore();
        platform::cedbCloseStore();
        state.ResumeTiming();
        if (!dove::openFinanceStore()) state.SkipWithError("open failed");
        dove::TableCursor& transactions = dove::tableCursor(dove::Table::Transactions);
        if (!transactions.moveTo(0)) state.SkipWithError("no first transaction");
        benchmark::DoNotOptimize(transactions.getString(101));
    }
    if (dove::tableCursor(dove::Table::Transactions).recordCount() != kOpenTransactions)
        state.SkipWithError("the store does not hold every transaction");
}

void BM_OpenSqlite(benchmark::State& state) {
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(g.openBaselinePath.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_stmt* scan = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM tx", -1, &scan, nullptr);
        int64_t sum = 0;
        while (sqlite3_step(scan) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(scan); ++c)
                sum += sqlite3_column_type(scan, c) == SQLITE_TEXT ? sqlite3_column_bytes(scan, c)
                                                                   : sqlite3_column_int64(scan, c);
        }
        sqlite3_finalize(scan);
        sqlite3_close(db);
        benchmark::DoNotOptimize(sum);
    }
}

// Changes the account's opening balance by one hundredth, so every stored running balance is stale.
void makeBalancesStale() {
    dove::TableCursor& accounts = dove::tableCursor(dove::Table::Accounts);
    accounts.ensureSort(104, dove::SortKind::I4);
    accounts.seekFirstEqual(kRecalcAccount);
    accounts.set64(164, 100000 + (++g.stale % 2), true);
}

void BM_Recalc(benchmark::State& state) {
    useStore(g.recalcRoot);
    for (auto _ : state) {
        state.PauseTiming();
        makeBalancesStale();
        state.ResumeTiming();
        dove::StoreStatus status = dove::StoreStatus::Ok;
        benchmark::DoNotOptimize(dove::Operation::recalcBalanse(kRecalcAccount, 0, false, status));
        if (status != dove::StoreStatus::Ok) state.SkipWithError("recalculation failed");
    }
}

void BM_RecalcSqlite(benchmark::State& state) {
    sqlite3_stmt* read = nullptr;
    sqlite3_stmt* update = nullptr;
    sqlite3_prepare_v2(g.baseline, "SELECT rowid, amount FROM tx WHERE account = ? ORDER BY id", -1, &read,
                       nullptr);
    sqlite3_prepare_v2(g.baseline, "UPDATE tx SET balance = ? WHERE rowid = ?", -1, &update, nullptr);
    int64_t opening = 100000;
    for (auto _ : state) {
        opening ^= 1;
        sqlite3_exec(g.baseline, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        std::vector<std::pair<int64_t, int64_t>> rows;
        sqlite3_bind_int(read, 1, kRecalcAccount);
        while (sqlite3_step(read) == SQLITE_ROW)
            rows.emplace_back(sqlite3_column_int64(read, 0), sqlite3_column_int64(read, 1));
        sqlite3_reset(read);
        int64_t running = opening;
        for (const auto& [rowid, amount] : rows) {
            running += amount;
            sqlite3_bind_int64(update, 1, running);
            sqlite3_bind_int64(update, 2, rowid);
            sqlite3_step(update);
            sqlite3_reset(update);
        }
        sqlite3_exec(g.baseline, "COMMIT", nullptr, nullptr, nullptr);
        benchmark::DoNotOptimize(running);
    }
    sqlite3_finalize(read);
    sqlite3_finalize(update);
}

dove::TransactionRecord newPayment(dove::Date date) {
    dove::TransactionRecord r;
    r.setAccount(kRecalcAccount);
    r.setDate(date);
    r.setAmount(-1234);
    r.setCurrency(u"USD");
    r.setCategory(5);
    r.setPayeeName(u"Fresh Market");
    return r;
}

void BM_SaveOldest(benchmark::State& state) {
    useStore(g.recalcRoot);
    for (auto _ : state) {
        dove::TransactionRecord r =
            newPayment(g.oldest - static_cast<dove::Date>(++g.olderSaves) * 24 * kHour);
        if (dove::addNewTransaction(r) != dove::StoreStatus::Ok) state.SkipWithError("save failed");
    }
}

void BM_SaveToday(benchmark::State& state) {
    useStore(g.recalcRoot);
    for (auto _ : state) {
        dove::TransactionRecord r = newPayment(dove::nowLocal());
        if (dove::addNewTransaction(r) != dove::StoreStatus::Ok) state.SkipWithError("save failed");
    }
}

void BM_InsertSqlite(benchmark::State& state) {
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(g.baseline, "INSERT INTO tx VALUES(?,1,?,-1234,0,'USD',5,0,'Fresh Market',?)", -1,
                       &insert, nullptr);
    static int64_t n = 0;  // the benchmark is run several times; every row needs its own identifier
    for (auto _ : state) {
        const std::string id = "1_today_" + std::to_string(++n);
        sqlite3_bind_text(insert, 1, id.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(insert, 2, n);
        sqlite3_bind_text(insert, 3, recordKey(1, static_cast<dove::Date>(n)).c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(insert) != SQLITE_DONE) state.SkipWithError("insert failed");
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
}

// The machine is shared and its disk is busy: each figure is the mean of a few repetitions.
constexpr int kRepetitions = 3;

BENCHMARK(BM_OpenStore)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions);
BENCHMARK(BM_OpenSqlite)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions);
BENCHMARK(BM_Recalc)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions);
BENCHMARK(BM_RecalcSqlite)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions);
BENCHMARK(BM_SaveOldest)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions);
// Each save adds a record to a table that holds at most 65,535, so the count of saves is fixed rather
// than left to grow with the speed of the machine.
constexpr int kSavesPerRepetition = 2000;
BENCHMARK(BM_SaveToday)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions)
    ->Iterations(kSavesPerRepetition);
BENCHMARK(BM_InsertSqlite)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions)
    ->Iterations(kSavesPerRepetition);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    setUp();
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::fflush(stdout);
    reporter.printRatio("open", "BM_OpenStore", "BM_OpenSqlite", 3);
    reporter.printRatio("recalc", "BM_Recalc", "BM_RecalcSqlite", 2);
    reporter.printRatio("save_oldest", "BM_SaveOldest", "BM_RecalcSqlite", 2.5);
    reporter.printRatio("save_today", "BM_SaveToday", "BM_InsertSqlite", 3);
    bench::closeStore();
    sqlite3_close(g.baseline);
    std::error_code ignored;
    std::filesystem::remove_all(g.folder, ignored);
    benchmark::Shutdown();
    return 0;
}
