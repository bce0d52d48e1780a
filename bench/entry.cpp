// The entry page's save, measured as the user meets it: from "Зап. & Новый" on a filled-in entry to the
// payee list painted for the next one, on a store that reaches 65,535 transactions with the last save,
// beside the finance store's own save of a transaction dated today (as store_bench measures it) in the
// same run. Both in CPU time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BenchStore.h"
#include "Categories.h"
#include "FinanceStore.h"
#include "Identifiers.h"
#include "MainWindow.h"
#include "Payees.h"
#include "RatioReporter.h"
#include "ResourceText.h"
#include "ShellCommands.h"
#include "TransactionStore.h"
#include "UserTesting.h"
#include "platform/device.h"
#include "platform/resources.h"
#include "platform/windows.h"
#include "resources/DashelResources.h"

namespace {

using dove::PropertyValue;

constexpr int kRepetitions = 3;
constexpr int kSavesPerRepetition = 500;
// The entry store is full (the table's limit) once the last measured save is written.
constexpr int kFullStore = 65535;
constexpr int kEntryStoreStart = kFullStore - kRepetitions * kSavesPerRepetition;
constexpr int kEntryAccounts = 20;
constexpr int kSaveTodayTransactions = 20000;  // store_bench's store for its save of today

struct Fixture {
    std::string folder;
    std::string entryRoot;
    std::string saveRoot;
    HINSTANCE module = nullptr;
} g;

// Accounts and hourly transactions from 2018 on, written in one store transaction (no identifier search,
// no balance pass: the stored balances do not matter to a save dated after all of them).
void buildStore(const std::string& root, int accounts, int transactions) {
    bench::useStore(root);
    dove::StoreTransaction bracket;
    if (!bench::addAccounts(accounts, {PropertyValue::date(164, 100000)}) ||
        !bench::addHourlyTransactions(accounts, 0, transactions, u"Fresh Market") || !bracket.commit())
        std::fprintf(stderr, "the store in %s cannot be written\n", root.c_str());
}

// The payees and categories the entry's lists show; the first payee's memorized entry fills the draft.
bool addLists() {
    int32_t groceries = 0, salary = 0;
    if (dove::createCategory(1, u"Groceries", 2, &groceries) != dove::StoreStatus::Ok ||
        dove::createCategory(1, u"Salary", 1, &salary) != dove::StoreStatus::Ok)
        return false;
    const char16_t* names[] = {u"Acme Corp", u"Bakery Lane", u"Fresh Market", u"Green Grocer", u"Taco Stand"};
    for (const char16_t* name : names) {
        dove::Payee payee;
        payee.name = name;
        payee.entry.account = 1;
        payee.entry.category = groceries;
        payee.entry.amount = 1234;
        if (dove::createPayee(payee) != dove::StoreStatus::Ok) return false;
    }
    return true;
}

void setUp() {
    g.folder =
        (std::filesystem::temp_directory_path() / ("entry_bench." + std::to_string(getpid()))).string();
    g.entryRoot = g.folder + "/entry";
    g.saveRoot = g.folder + "/save";
    std::filesystem::create_directories(g.entryRoot);
    std::filesystem::create_directories(g.saveRoot);
    g.module = GetModuleHandleW(nullptr);
    platform::registerModuleResources(g.module, dashelResourceTable());
    dove::setResourceModule(g.module);
    buildStore(g.entryRoot, kEntryAccounts, kEntryStoreStart);
    if (!addLists()) std::fprintf(stderr, "the payees and categories cannot be written\n");
    buildStore(g.saveRoot, 1, kSaveTodayTransactions);
    // The main window opens the store itself.
    bench::closeStore();
}

// The program's own window on the headless screen and the virtual clock (whose click debounce after a
// save then costs no waiting), kept over the repetitions so that every save is dated after the last.
struct EntryWindow {
    EntryWindow() {
        platform::setDeviceRoot(g.entryRoot);
        window = std::make_unique<shell::MainWindow>(g.module);
        created = window->create();
        platform::testing::pumpMessages();
    }
    ~EntryWindow() {
        window.reset();
        platform::testing::pumpMessages();
    }
    platform::testing::WindowTestScope scope;
    std::unique_ptr<shell::MainWindow> window;
    bool created = false;
};
std::optional<EntryWindow> g_entry;

void BM_EntrySave(benchmark::State& state) {
    if (!g_entry) g_entry.emplace();
    shell::MainWindow& window = *g_entry->window;
    if (!g_entry->created) {
        state.SkipWithError("the main window cannot be created");
        return;
    }
    const HWND main = window.window();
    const HWND payeeStrip = window.strip(shell::kStripConfirmOrCreate).window();
    const HWND formStrip = window.strip(shell::kStripForm).window();
    for (auto _ : state) {
        state.PauseTiming();
        // OK on the payee list: the first payee with its memorized account, category and amount.
        SendMessageW(main, WM_COMMAND, shell::kCmdOk, reinterpret_cast<LPARAM>(payeeStrip));
        platform::testing::pumpMessages();
        if (window.entryMode() != shell::EntryMode::Form || window.draft().payee() == 0)
            state.SkipWithError("no entry to save");
        state.ResumeTiming();
        SendMessageW(main, WM_COMMAND, shell::kCmdSaveAndNew, reinterpret_cast<LPARAM>(formStrip));
        UpdateWindow(main);
        platform::testing::pumpMessages();
        if (window.entryMode() != shell::EntryMode::Payees || window.draft().payee() != 0)
            state.SkipWithError("the save failed");
    }
}

// store_bench's save of a transaction dated today, on its store of 20,000 transactions in one account.
void BM_SaveToday(benchmark::State& state) {
    g_entry.reset();
    platform::cedbCloseStore();
    bench::useStore(g.saveRoot);
    for (auto _ : state) {
        dove::TransactionRecord r;
        r.setAccount(1);
        r.setDate(dove::nowLocal());
        r.setAmount(-1234);
        r.setCurrency(u"USD");
        r.setCategory(5);
        r.setPayeeName(u"Fresh Market");
        if (dove::addNewTransaction(r) != dove::StoreStatus::Ok) state.SkipWithError("save failed");
    }
    bench::closeStore();
}

BENCHMARK(BM_EntrySave)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->Iterations(kSavesPerRepetition);
BENCHMARK(BM_SaveToday)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->Iterations(kSavesPerRepetition);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    setUp();
    bench::RatioReporter reporter(bench::RatioReporter::Clock::Cpu);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::fflush(stdout);
    g_entry.reset();
    reporter.printRatio("entry_save", "BM_EntrySave", "BM_SaveToday", 1.5);
    std::error_code ignored;
    std::filesystem::remove_all(g.folder, ignored);
    benchmark::Shutdown();
    return 0;
}
