// Object-store speed on one database of 65,535 records sorted by a string key, each operation beside a
// bare SQLite baseline on the same rows (a plain table with an index on the key): opening, walking
// every index, 10,000 value seeks and 1,000 writes in one transaction.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "platform/cedb.h"
#include "platform/device.h"
#include "platform/heap.h"

namespace {

constexpr CEPROPID kKey = PropIdFromType(135, CEVT_LPWSTR);
constexpr CEPROPID kNumber = PropIdFromType(104, CEVT_I4);
constexpr CEPROPID kDate = PropIdFromType(108, CEVT_FILETIME);
constexpr CEPROPID kName = PropIdFromType(110, CEVT_LPWSTR);
constexpr int kRecords = CEDB_MAXRECORDS;
constexpr int kSeeks = 10000;
constexpr int kWrites = 1000;

struct Row {
    std::string key;
    int number;
    uint64_t date;
    std::string name;
};

// The rows both stores hold, the keys the seeks look up, and the baseline's connection.
struct Fixture {
    std::string folder;
    std::vector<Row> rows;
    std::vector<Row> writes;
    std::vector<std::u16string> seekKeys;
    sqlite3* baseline = nullptr;
    HANDLE heap = nullptr;
};
Fixture g;

Row makeRow(std::mt19937& random, int i) {
    char key[48];
    std::snprintf(key, sizeof(key), "{%08X-%04X-%04X-%04X-%08X%04X}", static_cast<unsigned>(random()),
                  static_cast<unsigned>(random() & 0xffff), static_cast<unsigned>(random() & 0xffff),
                  static_cast<unsigned>(random() & 0xffff), static_cast<unsigned>(random()), i & 0xffff);
    uint64_t date = 133000000000000000ull + static_cast<uint64_t>(random()) * 1000;
    return Row{key, static_cast<int>(random() % 200000) - 100000, date, "Payee number " + std::to_string(i)};
}

std::u16string wide(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

// Writes one row through the object store; the strings live until the call returns.
CEOID writeRow(HANDLE db, const Row& row) {
    std::u16string key = wide(row.key);
    std::u16string name = wide(row.name);
    CEPROPVAL props[4] = {};
    props[0].propid = kKey;
    props[0].val.lpwstr = key.data();
    props[1].propid = kNumber;
    props[1].val.lVal = row.number;
    props[2].propid = kDate;
    props[2].val.filetime = FILETIME{static_cast<DWORD>(row.date), static_cast<DWORD>(row.date >> 32)};
    props[3].propid = kName;
    props[3].val.lpwstr = name.data();
    return CeWriteRecordProps(db, 0, 4, props);
}

void exec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "baseline: %s: %s\n", sql, sqlite3_errmsg(db));
        std::exit(1);
    }
}

void insertBaseline(sqlite3_stmt* insert, const Row& row) {
    sqlite3_bind_text(insert, 1, row.key.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_int(insert, 2, row.number);
    sqlite3_bind_int64(insert, 3, static_cast<sqlite3_int64>(row.date));
    sqlite3_bind_text(insert, 4, row.name.c_str(), -1, SQLITE_STATIC);
    sqlite3_step(insert);
    sqlite3_reset(insert);
}

void createBaseline() {
    sqlite3_open((g.folder + "/baseline.db").c_str(), &g.baseline);
    exec(g.baseline, "PRAGMA journal_mode=WAL");
    exec(g.baseline, "PRAGMA synchronous=NORMAL");
    for (const char* table : {"t", "w"}) {
        std::string t = table;
        exec(g.baseline, ("CREATE TABLE " + t +
                          "(id INTEGER PRIMARY KEY, key TEXT, number INTEGER, date INTEGER, "
                          "name TEXT)")
                             .c_str());
        exec(g.baseline, ("CREATE INDEX " + t + "_key ON " + t + "(key)").c_str());
    }
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(g.baseline, "INSERT INTO t(key, number, date, name) VALUES(?, ?, ?, ?)", -1, &insert,
                       nullptr);
    exec(g.baseline, "BEGIN");
    for (const Row& row : g.rows)
        insertBaseline(insert, row);
    exec(g.baseline, "COMMIT");
    sqlite3_finalize(insert);
}

void createWritesDatabase() {
    SORTORDERSPEC sorts[] = {{kKey, 0}, {kNumber, 0}};
    CeCreateDatabase(const_cast<LPWSTR>(u"Bench writes"), 0, 2, sorts);
}

void createStore() {
    SORTORDERSPEC sorts[] = {{kKey, 0}, {kNumber, 0}};
    CeCreateDatabase(const_cast<LPWSTR>(u"Bench"), 0, 2, sorts);
    createWritesDatabase();
    CEOID oid = 0;
    HANDLE db = CeOpenDatabase(&oid, const_cast<LPWSTR>(u"Bench"), 0, 0, nullptr);
    platform::cedbBeginTransaction();
    for (const Row& row : g.rows) {
        if (writeRow(db, row) == 0) {
            std::fprintf(stderr, "cedb: write failed: %u\n", GetLastError());
            std::exit(1);
        }
    }
    platform::cedbCommitTransaction();
    CloseHandle(db);
}

void setUp() {
    char pattern[] = "/tmp/varkel-cedb-bench-XXXXXX";
    g.folder = mkdtemp(pattern);
    platform::setDeviceRoot(g.folder);
    std::mt19937 random(42);
    for (int i = 0; i < kRecords; ++i)
        g.rows.push_back(makeRow(random, i));
    for (int i = 0; i < kWrites; ++i)
        g.writes.push_back(makeRow(random, kRecords + i));
    for (int i = 0; i < kSeeks; ++i)
        g.seekKeys.push_back(wide(g.rows[random() % g.rows.size()].key));
    g.heap = HeapCreate(0, 40960, 0);
    createBaseline();
    createStore();
}

// Folds the write-ahead log into the store file, so that no timed write pays for the untimed cleanup.
void checkpoint(const char* path) {
    sqlite3* db = nullptr;
    sqlite3_open(path, &db);
    sqlite3_exec(db, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

HANDLE openSorted(const char16_t* name) {
    CEOID oid = 0;
    return CeOpenDatabase(&oid, const_cast<LPWSTR>(name), kKey, 0, nullptr);
}

// Reads the current record into the reused buffer; returns its object id.
CEOID readCurrent(HANDLE db, LPBYTE& buffer, DWORD& size) {
    WORD count = 0;
    return CeReadRecordPropsEx(db, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size, g.heap);
}

void readColumns(sqlite3_stmt* stmt) {
    benchmark::DoNotOptimize(sqlite3_column_int64(stmt, 0));
    benchmark::DoNotOptimize(sqlite3_column_text(stmt, 1));
    benchmark::DoNotOptimize(sqlite3_column_int(stmt, 2));
    benchmark::DoNotOptimize(sqlite3_column_int64(stmt, 3));
    benchmark::DoNotOptimize(sqlite3_column_text(stmt, 4));
}

int scanBaseline(const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(g.baseline, sql, -1, &stmt, nullptr);
    int rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        readColumns(stmt);
        ++rows;
    }
    sqlite3_finalize(stmt);
    return rows;
}

// The store reads a database's records at the first call that needs them and keeps them after its last
// handle closed, so each open starts from a store let go of, and is measured up to its first record read:
// every record read and sorted.
void BM_OpenCedb(benchmark::State& state) {
    LPBYTE buffer = nullptr;
    DWORD size = 0;
    for (auto _ : state) {
        state.PauseTiming();
        platform::cedbCloseStore();
        state.ResumeTiming();
        HANDLE db = openSorted(u"Bench");
        if (readCurrent(db, buffer, size) == 0) state.SkipWithError("no first record");
        CloseHandle(db);
    }
    HeapFree(g.heap, 0, buffer);
}

void BM_OpenSqlite(benchmark::State& state) {
    for (auto _ : state) {
        if (scanBaseline("SELECT id, key, number, date, name FROM t") != kRecords)
            state.SkipWithError("rows");
    }
}

void BM_WalkCedb(benchmark::State& state) {
    HANDLE db = openSorted(u"Bench");
    LPBYTE buffer = nullptr;
    DWORD size = 0;
    for (auto _ : state) {
        DWORD index = 0;
        for (DWORD i = 0; i < kRecords; ++i) {
            CeSeekDatabase(db, CEDB_SEEK_BEGINNING, i, &index);
            if (readCurrent(db, buffer, size) == 0) state.SkipWithError("read failed");
        }
    }
    HeapFree(g.heap, 0, buffer);
    CloseHandle(db);
}

void BM_WalkSqlite(benchmark::State& state) {
    for (auto _ : state) {
        if (scanBaseline("SELECT id, key, number, date, name FROM t ORDER BY key") != kRecords)
            state.SkipWithError("rows");
    }
}

void BM_SeekCedb(benchmark::State& state) {
    HANDLE db = openSorted(u"Bench");
    LPBYTE buffer = nullptr;
    DWORD size = 0;
    for (auto _ : state) {
        for (std::u16string& key : g.seekKeys) {
            CEPROPVAL value{};
            value.propid = kKey;
            value.val.lpwstr = key.data();
            DWORD index = 0;
            if (CeSeekDatabase(db, CEDB_SEEK_VALUEFIRSTEQUAL, reinterpret_cast<DWORD_PTR>(&value), &index) ==
                    0 ||
                readCurrent(db, buffer, size) == 0)
                state.SkipWithError("seek failed");
        }
    }
    HeapFree(g.heap, 0, buffer);
    CloseHandle(db);
}

void BM_SeekSqlite(benchmark::State& state) {
    std::vector<std::string> keys;
    for (const std::u16string& key : g.seekKeys)
        keys.emplace_back(key.begin(), key.end());
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(g.baseline, "SELECT id, key, number, date, name FROM t WHERE key = ?", -1, &stmt,
                       nullptr);
    for (auto _ : state) {
        for (const std::string& key : keys) {
            sqlite3_bind_text(stmt, 1, key.c_str(), static_cast<int>(key.size()), SQLITE_STATIC);
            if (sqlite3_step(stmt) != SQLITE_ROW) state.SkipWithError("lookup failed");
            readColumns(stmt);
            sqlite3_reset(stmt);
        }
    }
    sqlite3_finalize(stmt);
}

void BM_WriteCedb(benchmark::State& state) {
    std::string storePath = g.folder + "/store.cedb";
    for (auto _ : state) {
        state.PauseTiming();
        HANDLE db = openSorted(u"Bench writes");
        state.ResumeTiming();
        platform::cedbBeginTransaction();
        for (const Row& row : g.writes)
            writeRow(db, row);
        if (!platform::cedbCommitTransaction()) state.SkipWithError("commit failed");
        state.PauseTiming();
        CEOID oid = 0;
        CloseHandle(CeOpenDatabase(&oid, const_cast<LPWSTR>(u"Bench writes"), 0, 0, nullptr));
        CloseHandle(db);
        CeDeleteDatabase(oid);
        createWritesDatabase();
        checkpoint(storePath.c_str());
        state.ResumeTiming();
    }
}

void BM_WriteSqlite(benchmark::State& state) {
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(g.baseline, "INSERT INTO w(key, number, date, name) VALUES(?, ?, ?, ?)", -1, &insert,
                       nullptr);
    for (auto _ : state) {
        exec(g.baseline, "BEGIN");
        for (const Row& row : g.writes)
            insertBaseline(insert, row);
        exec(g.baseline, "COMMIT");
        state.PauseTiming();
        exec(g.baseline, "DELETE FROM w");
        exec(g.baseline, "PRAGMA wal_checkpoint(TRUNCATE)");
        state.ResumeTiming();
    }
    sqlite3_finalize(insert);
}

BENCHMARK(BM_OpenCedb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkCedb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SeekCedb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SeekSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteCedb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSqlite)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    setUp();
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::fflush(stdout);
    reporter.printRatio("open", "BM_OpenCedb", "BM_OpenSqlite", 3);
    reporter.printRatio("walk", "BM_WalkCedb", "BM_WalkSqlite", 2);
    reporter.printRatio("seek", "BM_SeekCedb", "BM_SeekSqlite", 2);
    reporter.printRatio("write", "BM_WriteCedb", "BM_WriteSqlite", 2);
    platform::cedbCloseStore();
    sqlite3_close(g.baseline);
    HeapDestroy(g.heap);
    std::error_code ignored;
    std::filesystem::remove_all(g.folder, ignored);
    benchmark::Shutdown();
    return 0;
}
