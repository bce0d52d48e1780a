// The payee list's letter filter on a store of 10,000 payees, at 240x320: one key press (the list
// refiltered and its rows set) against the 50 ms tick, and the list's first load (its records read
// from the open store and shown) against a bare SQLite read of the same rows in display-name order.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "ControlMessages.h"
#include "FinanceStore.h"
#include "Payees.h"
#include "RatioReporter.h"
#include "ResourceText.h"
#include "ScreenMetrics.h"
#include "SelectionList.h"
#include "platform/cedb.h"
#include "platform/device.h"
#include "platform/resources.h"
#include "platform/windows.h"
#include "resources/DashelResources.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPayees = 10000;
constexpr double kTickSeconds = 0.050;

const char* const kFirstWords[] = {"Acme",   "Fresh",  "Green",   "City",   "Corner", "Golden", "Royal",
                                   "Sunny",  "Blue",   "Central", "Prime",  "Urban",  "Happy",  "Silver",
                                   "Magnit", "Pyatyo", "Lenta",   "Auchan", "Dixy",   "Metro"};
const char* const kSecondWords[] = {"Market",  "Bakery",   "Pharmacy", "Garage",  "Cafe",
                                    "Books",   "Hardware", "Dental",   "Fitness", "Cinema",
                                    "Florist", "Travel",   "Clinic",   "Store"};
const char16_t* const kCyrillicWords[] = {u"Магазин", u"Аптека", u"Пекарня", u"Кафе", u"Ёлочка", u"Заправка"};

struct Fixture {
    std::string folder;
    std::vector<dove::Payee> payees;
    sqlite3* baseline = nullptr;
} g;

std::vector<dove::Payee> makePayees() {
    std::mt19937 random(20250311);
    std::vector<dove::Payee> payees;
    for (int i = 0; i < kPayees; ++i) {
        dove::Payee payee;
        std::u16string second = random() % 5 == 0
                                    ? kCyrillicWords[random() % std::size(kCyrillicWords)]
                                    : platform::fromUtf8(kSecondWords[random() % std::size(kSecondWords)]);
        payee.name = platform::fromUtf8(kFirstWords[random() % std::size(kFirstWords)]) + u" " + second +
                     u" " + platform::fromUtf8(std::to_string(i));
        payee.flag1003 = random() % 50 == 0;
        payee.entry.account = 1;
        payee.entry.amount = -static_cast<dove::Amount>(random() % 100000);
        payee.entry.currency = u"USD";
        payees.push_back(std::move(payee));
    }
    return payees;
}

// The payees written through the data code in one store transaction.
bool buildStore() {
    if (!dove::openFinanceStore()) return false;
    bool ok = true;
    {
        dove::StoreTransaction bracket;
        for (dove::Payee& payee : g.payees)
            ok = ok && dove::createPayee(payee) == dove::StoreStatus::Ok;
        ok = ok && bracket.commit();
    }
    dove::closeFinanceStore();
    platform::cedbCloseStore();
    return ok;
}

// The same payees, every field a column, in a plain table indexed on the display name.
bool buildBaseline() {
    if (sqlite3_open((g.folder + "/baseline.db").c_str(), &g.baseline) != SQLITE_OK) return false;
    sqlite3_exec(
        g.baseline,
        "CREATE TABLE payee(number INTEGER, key TEXT, stamp INTEGER, flag1003 INTEGER, flag1005 INTEGER,"
        " name TEXT, display TEXT, text1002 TEXT, date INTEGER, text1006 TEXT, account INTEGER,"
        " category INTEGER, project INTEGER, cleared INTEGER, num INTEGER, memo TEXT, amount INTEGER,"
        " currency TEXT, kind INTEGER);"
        "CREATE INDEX payee_display ON payee(display); BEGIN",
        nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(
        g.baseline,
        "INSERT INTO payee VALUES(?, ?, ?, ?, 0, ?, ?, '', 0, '', ?, 0, 0, 0, 0, '', ?, 'USD', 0)", -1,
        &insert, nullptr);
    for (const dove::Payee& payee : g.payees) {
        std::string name = platform::toUtf8(payee.name);
        std::string key = platform::toUtf8(payee.key);
        sqlite3_bind_int(insert, 1, payee.number);
        sqlite3_bind_text(insert, 2, key.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(insert, 3, static_cast<sqlite3_int64>(payee.stamp));
        sqlite3_bind_int(insert, 4, payee.flag1003 ? 1 : 0);
        sqlite3_bind_text(insert, 5, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 6, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 7, payee.entry.account);
        sqlite3_bind_int64(insert, 8, payee.entry.amount);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    return sqlite3_exec(g.baseline, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The program's payee list in a full-screen parent, on the open store, filled once.
struct ListScene {
    ListScene() : list(shell::ListKind::Payees, abc) {
        RECT screen{0, 0, 240, 320};
        parent.create(0, u"bench", WS_POPUP | WS_VISIBLE, screen, nullptr, 0);
        abc.load(GetModuleHandleW(nullptr));
        list.create(parent.window(), GetModuleHandleW(nullptr));
        ShowWindow(list.window(), SW_SHOW);
        list.fill();
        UpdateWindow(parent.window());
    }
    WindowObject parent;
    shell::AbcSettings abc;
    shell::SelectionList list;
};

// Key presses as a user makes them: a letter group, then backspace back to the whole list.
void BM_FilterKeyPress(benchmark::State& state) {
    ListScene scene;
    bool narrowed = false;
    for (auto _ : state) {
        scene.list.keypadKey(narrowed ? kKeypadBackspace : 3);
        narrowed = !narrowed;
    }
    if (narrowed) scene.list.keypadKey(kKeypadBackspace);
    if (scene.list.control().view().count() < kPayees * 9 / 10)
        state.SkipWithError("the list did not refill");
}
BENCHMARK(BM_FilterKeyPress)->Unit(benchmark::kMillisecond);

// The first load: the records read from the open store (their table in its own order) and shown.
void BM_FirstLoad(benchmark::State& state) {
    ListScene scene;
    for (auto _ : state) {
        scene.list.discardRecords();
        scene.list.fill();
    }
    if (scene.list.control().view().count() < kPayees * 9 / 10) state.SkipWithError("payees missing");
}
BENCHMARK(BM_FirstLoad)->Unit(benchmark::kMillisecond);

void BM_SqliteRead(benchmark::State& state) {
    for (auto _ : state) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(g.baseline, "SELECT * FROM payee ORDER BY display", -1, &stmt, nullptr);
        int rows = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int column = 0; column < sqlite3_column_count(stmt); ++column)
                benchmark::DoNotOptimize(sqlite3_column_text(stmt, column));
            ++rows;
        }
        sqlite3_finalize(stmt);
        if (rows != kPayees) state.SkipWithError("rows");
    }
}
BENCHMARK(BM_SqliteRead)->Unit(benchmark::kMillisecond);

bool setUp() {
    char pattern[] = "/tmp/filter-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return false;
    g.folder = pattern;
    platform::setDeviceRoot(g.folder);
    g.payees = makePayees();
    return buildStore() && buildBaseline();
}

}  // namespace

int main(int argc, char** argv) {
    setenv("VARKEL_SCREEN", "240x320@96", 1);
    setenv("VARKEL_DISPLAY", "headless", 1);
    HINSTANCE module = GetModuleHandleW(nullptr);
    platform::registerModuleResources(module, dashelResourceTable());
    dove::setResourceModule(module);
    setScreenMetrics(96, 96, 240, 320);
    if (!setUp()) {
        std::fprintf(stderr, "filter_bench: the stores cannot be built\n");
        return 1;
    }
    if (!dove::openFinanceStore()) return 1;
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter(bench::RatioReporter::Clock::Cpu);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatioToTime("filter_key", "BM_FilterKeyPress", kTickSeconds, 0.2);
    reporter.printRatio("filter_load", "BM_FirstLoad", "BM_SqliteRead", 3);
    benchmark::Shutdown();
    dove::closeFinanceStore();
    sqlite3_close(g.baseline);
    std::error_code error;
    fs::remove_all(g.folder, error);
    return 0;
}
