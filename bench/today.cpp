// The Today item's refresh at the home screen's query, with scheduled transactions shown (the future
// list built at each load). today_refresh: a query that finds a change and reloads, on a store of
// 65,535 transactions with 50 shown accounts and 20 scheduled items, against the same on the demo
// store; before each query another process (financestore) saves a transaction, so the item meets a
// store changed under it, as after a save in Dashel. today_refresh_scheduled: the same when a
// scheduled item was added too, so that the list is built anew over the changed transactions.
// today_idle: a query that finds no change (it reads two flags of the notification block and never
// opens the store) against one read of a shared-memory word. details_open: a tap on the item's text
// up to the details shown and waiting for the user (the data password looked for in the store, the
// list of 50 accounts, 20 account groups, 30 budgets and 100 due scheduled transactions laid out and
// painted), against the 50 ms tick of the user interface.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchStore.h"
#include "DetailsDialog.h"
#include "FinanceStore.h"
#include "Frequencies.h"
#include "Identifiers.h"
#include "Options.h"
#include "PlannerItem.h"
#include "RatioReporter.h"
#include "Registration.h"
#include "TableCursor.h"
#include "TodayLibrary.h"
#include "TodayNames.h"
#include "platform/cedb.h"
#include "platform/device.h"
#include "platform/todaycmn.h"
#include "platform/windlg.h"
#include "platform/windows.h"

namespace {

namespace fs = std::filesystem;
using dove::PropertyValue;

constexpr int kTransactions = 65535;
constexpr int kAccounts = 50;
using bench::firstDate;
using bench::kHour;
using bench::programBeside;

struct Fixture {
    std::string folder;
    std::string demoRoot;
    std::string bigRoot;
    std::string detailsRoot;
    std::string tool;
} g;

// Runs financestore with the arguments on the root; true when it ended with 0. *firstLine receives
// the first line it printed (without its line end).
bool runTool(const std::string& root, const std::string& arguments, std::string* firstLine = nullptr) {
    const std::string command = g.tool + " --root '" + root + "' " + arguments + " 2>/dev/null";
    FILE* out = popen(command.c_str(), "r");
    if (out == nullptr) return false;
    char line[256] = {};
    if (std::fgets(line, sizeof line, out) == nullptr) line[0] = 0;
    while (std::fgetc(out) != EOF) {
    }
    const int status = pclose(out);
    if (firstLine != nullptr) {
        *firstLine = line;
        if (!firstLine->empty() && firstLine->back() == '\n') firstLine->pop_back();
    }
    return status == 0;
}

constexpr int kPlannerItems = 20;
constexpr int kDueDays = 5;  // each item is due every day from four days ago

std::u16string numbered(const char16_t* name, int n) {
    const std::string digits = std::to_string(n);
    return name + std::u16string(digits.begin(), digits.end());
}

// Scheduled items of account 1, each due every day from four days ago: kDueDays due entries each.
bool addPlannerItems() {
    dove::TableCursor& planner = dove::tableCursor(dove::Table::Planner);
    const dove::Date first = dove::nowLocal() - (kDueDays - 1) * dove::kDateDay;
    bool ok = true;
    for (int32_t p = 1; ok && p <= kPlannerItems; ++p)
        ok = planner.addRecord(
                 {PropertyValue::i4(251, p), PropertyValue::i4(104, 1),
                  PropertyValue::string(110, numbered(u"Payee ", p)),
                  PropertyValue::date(112, static_cast<uint64_t>(int64_t{-1000} * p)),
                  PropertyValue::string(301, u"USD"), PropertyValue::date(dove::plan::kFirstDate, first),
                  PropertyValue::date(dove::plan::kNextDate, first),
                  PropertyValue::i4(dove::plan::kFrequency, dove::kEveryDay),
                  PropertyValue::i4(dove::plan::kOccurrences, -1), PropertyValue::i4(dove::plan::kEntered, 0),
                  PropertyValue::i4(dove::plan::kFinished, 0),
                  PropertyValue::i4(dove::plan::kLeadDays, 0)}) != 0;
    return ok;
}

// The big store, one transaction short of the table's limit: each timed refresh follows a save that
// fills it, and the save is deleted again (untimed) before the next.
bool buildBigStore(const std::string& root) {
    platform::setDeviceRoot(root);
    if (!dove::openFinanceStore()) return false;
    bool ok = true;
    {
        dove::StoreTransaction bracket;
        dove::TableCursor& accounts = dove::tableCursor(dove::Table::Accounts);
        for (int32_t n = 1; n <= kAccounts; ++n)
            ok = ok && accounts.addRecord({PropertyValue::i4(104, n), PropertyValue::i4(160, n),
                                           PropertyValue::string(110, u"Account"),
                                           PropertyValue::string(301, u"USD"),
                                           PropertyValue::date(113, static_cast<uint64_t>(100000 * n)),
                                           PropertyValue::i4(170, 1)}) != 0;
        ok = ok && bench::addHourlyTransactions(kAccounts, 0, kTransactions - 1) && addPlannerItems() &&
             bracket.commit();
    }
    dove::closeFinanceStore();
    ok = ok && dove::writeOptionNumber(dove::kOptionScheduledTodayShow, 1);
    platform::cedbCloseStore();
    return ok;
}

constexpr int kDetailAccounts = 50;
constexpr int kDetailGroups = 20;
constexpr int kDetailBudgets = 30;
constexpr int kBudgetLines = 4;

// Accounts shown on Today (every fifth over its limit), groups of five members, expense budgets of
// four lines used between 40 and 110 %, and scheduled items with 100 due occurrences.
bool addDetailRecords() {
    bool ok = true;
    dove::TableCursor& accounts = dove::tableCursor(dove::Table::Accounts);
    dove::TableCursor& transactions = dove::tableCursor(dove::Table::Transactions);
    for (int32_t n = 1; ok && n <= kDetailAccounts; ++n) {
        const auto balance = static_cast<uint64_t>(int64_t{12345} * n);
        ok = accounts.addRecord({PropertyValue::i4(104, n), PropertyValue::i4(160, n),
                                 PropertyValue::string(110, numbered(u"Account ", n)),
                                 PropertyValue::string(301, u"USD"), PropertyValue::date(113, balance),
                                 PropertyValue::i4(170, 1),
                                 PropertyValue::date(163, n % 5 == 0 ? balance + 100 : 0)}) != 0 &&
             transactions.addRecord(bench::transactionValues(n, firstDate(), -(100 + n))) != 0;
    }
    dove::TableCursor& customize = dove::tableCursor(dove::Table::Customize);
    for (int g = 0; ok && g < kDetailGroups; ++g) {
        std::u16string members;
        for (int m = 1; m <= 5; ++m)
            members += u"#" + numbered(u"", (g * 2 + m) % kDetailAccounts + 1) + (m % 2 ? u"@1" : u"@0");
        ok = customize.addRecord({PropertyValue::i4(801, 1000 + g),
                                  PropertyValue::string(804, numbered(u"Group ", g)),
                                  PropertyValue::string(805, members)}) != 0;
    }
    dove::TableCursor& budgets = dove::tableCursor(dove::Table::Budgets);
    dove::TableCursor& lines = dove::tableCursor(dove::Table::BudgetLists);
    for (int32_t b = 1; ok && b <= kDetailBudgets; ++b) {
        ok =
            budgets.addRecord({PropertyValue::i4(501, b), PropertyValue::string(110, numbered(u"Budget ", b)),
                               PropertyValue::i4(504, 0)}) != 0;
        for (int l = 0; ok && l < kBudgetLines; ++l)
            ok = lines.addRecord(
                     {PropertyValue::i4(501, b), PropertyValue::i4(401, 10 + l), PropertyValue::i4(402, 1),
                      PropertyValue::date(404, static_cast<uint64_t>(int64_t{-10000})),
                      PropertyValue::date(417, static_cast<uint64_t>(int64_t{-4000} - 250 * b))}) != 0;
    }
    return ok && addPlannerItems();
}

bool buildDetailsStore(const std::string& root) {
    platform::setDeviceRoot(root);
    if (!dove::openFinanceStore()) return false;
    bool ok = false;
    {
        dove::StoreTransaction bracket;
        ok = addDetailRecords() && bracket.commit();
    }
    dove::closeFinanceStore();
    ok = ok && dove::writeOptionNumber(dove::kOptionScheduledTodayShow, 1);
    platform::cedbCloseStore();
    return ok;
}

// The item on a root, under a plain parent window standing for the home screen.
class HostedItem {
  public:
    explicit HostedItem(const std::string& root) : m_root(root) {
        platform::cedbCloseStore();
        platform::setDeviceRoot(root);
        WNDCLASSW cls{};
        cls.lpfnWndProc = DefWindowProcW;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = u"BenchHome";
        RegisterClassW(&cls);
        m_home = CreateWindowExW(0, u"BenchHome", u"Home", WS_VISIBLE, 0, 0, 240, 294, nullptr, nullptr,
                                 cls.hInstance, nullptr);
        m_record.hwndCustom = today::initializeItem(&m_record, m_home);
        query();  // the first query gives the height
    }
    ~HostedItem() {
        today::releaseLibraryItem();
        DestroyWindow(m_home);
        platform::cedbCloseStore();
    }
    bool ok() const { return m_record.hwndCustom != nullptr && m_record.cyp > 0; }
    LRESULT query() {
        return SendMessageW(m_record.hwndCustom, WM_TODAYCUSTOM_QUERYREFRESHCACHE, 0,
                            reinterpret_cast<LPARAM>(&m_record));
    }
    // Another program saves a transaction (and the item's next query finds the flag it raised).
    std::string save() {
        std::string id;
        return runTool(m_root, "add --account 1 --amount -1.25", &id) ? id : std::string();
    }
    bool remove(const std::string& id) { return !id.empty() && runTool(m_root, "delete " + id); }
    // Another program adds a scheduled item due today (raising the scheduled-data flag); its number.
    std::string plan() {
        const SYSTEMTIME t = dove::dateFields(dove::nowLocal());
        char first[32];
        std::snprintf(first, sizeof first, "%04u-%02u-%02u", t.wYear, t.wMonth, t.wDay);
        std::string number;
        return runTool(m_root,
                       std::string("plan add --account 1 --amount -5 --frequency Weekly --ongoing --first ") +
                           first,
                       &number)
                   ? number
                   : std::string();
    }
    bool unplan(const std::string& number) {
        return !number.empty() && runTool(m_root, "plan delete " + number);
    }
    // Selects the item's text and acts on it, as the home screen does for the action key.
    void actOnText() {
        send(WM_TODAYCUSTOM_RECEIVEDSELECTION, VK_DOWN);
        send(WM_TODAYCUSTOM_USERNAVIGATION, VK_RIGHT);
        send(WM_TODAYCUSTOM_ACTION, VK_RETURN);
    }
    LRESULT send(UINT message, WPARAM wParam) {
        return SendMessageW(m_record.hwndCustom, message, wParam, reinterpret_cast<LPARAM>(&m_record));
    }

  private:
    std::string m_root;
    HWND m_home = nullptr;
    TODAYLISTITEM m_record{};
};

// Each timed query follows a save by another process (and, when scheduled, a scheduled item added
// too); both are undone, untimed, before the next.
void refreshAfterSave(benchmark::State& state, const std::string& root, bool scheduled) {
    HostedItem item(root);
    if (!item.ok()) {
        state.SkipWithError("the item did not start");
        return;
    }
    const size_t shown = today::libraryItem().data().scheduled().size();
    for (auto _ : state) {
        state.PauseTiming();
        const std::string saved = item.save();
        const std::string planned = scheduled ? item.plan() : std::string();
        state.ResumeTiming();
        const LRESULT changed = item.query();
        state.PauseTiming();
        const bool listed = today::libraryItem().data().scheduled().size() == shown + (scheduled ? 1 : 0);
        const bool removed = item.remove(saved) && (!scheduled || item.unplan(planned));
        item.query();  // the undoing's own reload, untimed
        state.ResumeTiming();
        if (!changed || !removed || !listed) {
            state.SkipWithError("the save was not seen or listed, or could not be undone");
            break;
        }
    }
    state.counters["due"] = static_cast<double>(shown);
}

void BM_RefreshDemo(benchmark::State& state) {
    refreshAfterSave(state, g.demoRoot, false);
}
void BM_RefreshBig(benchmark::State& state) {
    refreshAfterSave(state, g.bigRoot, false);
}
void BM_RefreshDemoScheduled(benchmark::State& state) {
    refreshAfterSave(state, g.demoRoot, true);
}
void BM_RefreshBigScheduled(benchmark::State& state) {
    refreshAfterSave(state, g.bigRoot, true);
}

// From the tap to the details waiting for the user; they are closed again untimed.
void BM_DetailsOpen(benchmark::State& state) {
    HostedItem item(g.detailsRoot);
    using Clock = std::chrono::steady_clock;
    Clock::time_point shown;
    int opened = 0, entries = 0;
    platform::setModalIdleHook([&](HWND details) {
        if (shown == Clock::time_point{}) shown = Clock::now();
        ++opened;
        if (today::DetailsDialog* open = today::DetailsDialog::fromWindow(details)) {
            entries = 0;
            for (int k = 0; k < today::kSectionCount; ++k)
                entries += open->list().section(k).entryCount();
        }
        PostMessageW(details, WM_COMMAND, today::kCommandClose, 0);
    });
    for (auto _ : state) {
        shown = Clock::time_point{};
        const Clock::time_point start = Clock::now();
        item.actOnText();
        if (shown == Clock::time_point{}) {
            state.SkipWithError("the details did not open");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
    }
    platform::setModalIdleHook(nullptr);
    state.counters["opened"] = opened;
    state.counters["entries"] = entries;
}

// The user interface's tick: 50 ms, a fixed time given as the benchmark's own measure.
void BM_Tick(benchmark::State& state) {
    constexpr double kTickSeconds = 0.050;
    for (auto _ : state)
        state.SetIterationTime(kTickSeconds);
}

void BM_RefreshIdle(benchmark::State& state) {
    HostedItem item(g.demoRoot);
    for (auto _ : state)
        if (item.query()) state.SkipWithError("an idle query reported a change");
}

void BM_SharedWordRead(benchmark::State& state) {
    HANDLE block = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 24, u"BenchWord");
    auto* word = static_cast<volatile uint32_t*>(MapViewOfFile(block, FILE_MAP_WRITE, 0, 0, 24));
    for (auto _ : state)
        benchmark::DoNotOptimize(word[4]);
    UnmapViewOfFile(const_cast<uint32_t*>(word));
    CloseHandle(block);
}

// The machine is shared: each figure is the mean of a few repetitions.
constexpr int kRepetitions = 3;
constexpr int kRefreshes = 6;
BENCHMARK(BM_RefreshDemo)->Unit(benchmark::kMillisecond)->Iterations(kRefreshes)->Repetitions(kRepetitions);
BENCHMARK(BM_RefreshBig)->Unit(benchmark::kMillisecond)->Iterations(kRefreshes)->Repetitions(kRepetitions);
BENCHMARK(BM_RefreshDemoScheduled)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(kRefreshes)
    ->Repetitions(kRepetitions);
BENCHMARK(BM_RefreshBigScheduled)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(kRefreshes)
    ->Repetitions(kRepetitions);
BENCHMARK(BM_RefreshIdle)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions);
BENCHMARK(BM_SharedWordRead)->Unit(benchmark::kNanosecond)->Repetitions(kRepetitions);
BENCHMARK(BM_DetailsOpen)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10)
    ->Repetitions(kRepetitions);
BENCHMARK(BM_Tick)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

bool setUp() {
    char pattern[] = "/tmp/today-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return false;
    g.folder = pattern;
    g.demoRoot = g.folder + "/demo";
    g.bigRoot = g.folder + "/big";
    g.detailsRoot = g.folder + "/details";
    g.tool = programBeside("financestore");
    fs::create_directories(g.bigRoot);
    fs::create_directories(g.detailsRoot);
    if (std::system((g.tool + " --root '" + g.demoRoot + "' init --demo >/dev/null").c_str()) != 0) {
        std::fprintf(stderr, "today_bench: financestore init --demo failed\n");
        return false;
    }
    platform::setDeviceRoot(g.demoRoot);
    if (!dove::writeOptionNumber(dove::kOptionScheduledTodayShow, 1)) {
        std::fprintf(stderr, "today_bench: the demo store's scheduled transactions cannot be shown\n");
        return false;
    }
    if (!buildBigStore(g.bigRoot)) {
        std::fprintf(stderr, "today_bench: the big store cannot be built\n");
        return false;
    }
    if (!buildDetailsStore(g.detailsRoot)) {
        std::fprintf(stderr, "today_bench: the details store cannot be built\n");
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    int result = 1;
    // The item writes its diagnostic log into the root; a headless screen is enough for its window.
    setenv("VARKEL_DISPLAY", "headless", 1);
    if (setUp()) {
        bench::RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        std::fflush(stdout);
        reporter.printRatio("today_refresh", "BM_RefreshBig", "BM_RefreshDemo", 2);
        reporter.printRatio("today_refresh_scheduled", "BM_RefreshBigScheduled", "BM_RefreshDemoScheduled");
        reporter.printRatio("today_idle", "BM_RefreshIdle", "BM_SharedWordRead");
        reporter.printRatio("details_open", "BM_DetailsOpen", "BM_Tick", 2);
        result = 0;
    }
    std::error_code ignored;
    if (!g.folder.empty()) fs::remove_all(g.folder, ignored);
    benchmark::Shutdown();
    return result;
}
