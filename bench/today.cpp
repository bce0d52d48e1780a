// The Today item's refresh at the home screen's query. today_refresh: a query that finds a change and
// reloads, on a store of 65,535 transactions with 50 shown accounts, against the same on the demo store;
// before each query another process (financestore) saves a transaction, so the item meets a store
// changed under it, as after a save in Dashel. today_idle: a query that finds no change (it reads two
// flags of the notification block and never opens the store) against one read of a shared-memory word.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "FinanceStore.h"
#include "Identifiers.h"
#include "RatioReporter.h"
#include "Registration.h"
#include "TableCursor.h"
#include "TodayLibrary.h"
#include "platform/cedb.h"
#include "platform/device.h"
#include "platform/todaycmn.h"
#include "platform/windows.h"

namespace {

namespace fs = std::filesystem;
using dove::PropertyValue;

constexpr int kTransactions = 65535;
constexpr int kAccounts = 50;
constexpr dove::Date kHour = 3600 * dove::kDateSecond;

struct Fixture {
    std::string folder;
    std::string demoRoot;
    std::string bigRoot;
    std::string tool;
} g;

std::string programBeside(const std::string& name) {
    std::error_code error;
    return (fs::read_symlink("/proc/self/exe", error).parent_path() / name).string();
}

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

dove::Date firstDate() {
    SYSTEMTIME t{};
    t.wYear = 2018;
    t.wMonth = 1;
    t.wDay = 1;
    return dove::dateFromFields(t);
}

std::vector<PropertyValue> transactionValues(int32_t account, dove::Date date, int index) {
    char key[40];
    std::snprintf(key, sizeof key, "{%08X-1D2E-4F30-8A9B-%012llX}", static_cast<unsigned>(account),
                  static_cast<unsigned long long>(date));
    return {PropertyValue::string(101, dove::transactionIdentifier(static_cast<uint32_t>(account), date)),
            PropertyValue::i4(104, account),
            PropertyValue::date(108, date),
            PropertyValue::date(112, static_cast<uint64_t>(-(100 + index % 997))),
            PropertyValue::date(113, 0),
            PropertyValue::string(301, u"USD"),
            PropertyValue::i4(401, 5),
            PropertyValue::i4(125, 0),
            PropertyValue::string(135, platform::fromUtf8(key))};
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
                                           PropertyValue::date(113, static_cast<uint64_t>(100000 * n))}) != 0;
        dove::TableCursor& transactions = dove::tableCursor(dove::Table::Transactions);
        for (int i = 0; ok && i < kTransactions - 1; ++i)
            ok = transactions.addRecord(transactionValues(
                     1 + i % kAccounts, firstDate() + static_cast<dove::Date>(i) * kHour, i)) != 0;
        ok = ok && bracket.commit();
    }
    dove::closeFinanceStore();
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

  private:
    std::string m_root;
    HWND m_home = nullptr;
    TODAYLISTITEM m_record{};
};

void refreshAfterSave(benchmark::State& state, const std::string& root) {
    HostedItem item(root);
    if (!item.ok()) {
        state.SkipWithError("the item did not start");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        const std::string saved = item.save();
        state.ResumeTiming();
        const LRESULT changed = item.query();
        state.PauseTiming();
        const bool removed = item.remove(saved);
        item.query();  // the deletion's own reload, untimed
        state.ResumeTiming();
        if (!changed || !removed) {
            state.SkipWithError("the save was not seen, or could not be undone");
            break;
        }
    }
}

void BM_RefreshDemo(benchmark::State& state) {
    refreshAfterSave(state, g.demoRoot);
}
void BM_RefreshBig(benchmark::State& state) {
    refreshAfterSave(state, g.bigRoot);
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
BENCHMARK(BM_RefreshIdle)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions);
BENCHMARK(BM_SharedWordRead)->Unit(benchmark::kNanosecond)->Repetitions(kRepetitions);

bool setUp() {
    char pattern[] = "/tmp/today-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return false;
    g.folder = pattern;
    g.demoRoot = g.folder + "/demo";
    g.bigRoot = g.folder + "/big";
    g.tool = programBeside("financestore");
    fs::create_directories(g.bigRoot);
    if (std::system((g.tool + " --root '" + g.demoRoot + "' init --demo >/dev/null").c_str()) != 0) {
        std::fprintf(stderr, "today_bench: financestore init --demo failed\n");
        return false;
    }
    if (!buildBigStore(g.bigRoot)) {
        std::fprintf(stderr, "today_bench: the big store cannot be built\n");
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
        reporter.printRatio("today_idle", "BM_RefreshIdle", "BM_SharedWordRead");
        result = 0;
    }
    std::error_code ignored;
    if (!g.folder.empty()) fs::remove_all(g.folder, ignored);
    benchmark::Shutdown();
    return result;
}
