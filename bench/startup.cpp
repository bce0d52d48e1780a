// Dashel's start-up time: from starting the process to its first painted frame, headless, on a store
// of 65,535 transactions and 2,000 payees, against the same on the demo store. With
// VARKEL_EXIT_AFTER_FIRST_FRAME the program prints "first frame" when it shows its first frame and
// then quits in its usual order; each figure is the time from fork to that line.
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
#include "FinanceStore.h"
#include "Identifiers.h"
#include "Payees.h"
#include "RatioReporter.h"
#include "TableCursor.h"
#include "platform/cedb.h"
#include "platform/device.h"
#include "platform/windows.h"

namespace {

namespace fs = std::filesystem;
using dove::PropertyValue;

constexpr int kTransactions = 65535;
constexpr int kPayees = 2000;
constexpr int kAccounts = 20;
using bench::firstDate;
using bench::kHour;
using bench::programBeside;

struct Fixture {
    std::string folder;
    std::string demoRoot;
    std::string bigRoot;
    std::string dashel;
} g;

// Writes the big store through the data code in one store transaction: accounts, transactions and
// payees with memorized entries. False when any write failed.
bool buildBigStore(const std::string& root) {
    platform::setDeviceRoot(root);
    if (!dove::openFinanceStore()) return false;
    bool ok = true;
    {
        dove::StoreTransaction bracket;
        ok = bench::addAccounts(kAccounts, {PropertyValue::date(164, 100000)});
        dove::TableCursor& transactions = dove::tableCursor(dove::Table::Transactions);
        for (int i = 0; ok && i < kTransactions; ++i)
            ok = transactions.addRecord(bench::transactionValues(
                     1 + i % kAccounts, firstDate() + static_cast<dove::Date>(i) * kHour, -(100 + i % 997),
                     u"Payee " + platform::fromUtf8(std::to_string(i % kPayees)))) != 0;
        for (int i = 0; ok && i < kPayees; ++i) {
            dove::Payee payee;
            payee.name = u"Payee " + platform::fromUtf8(std::to_string(i));
            payee.entry.account = 1 + i % kAccounts;
            payee.entry.amount = -(500 + i);
            payee.entry.currency = u"USD";
            ok = dove::createPayee(payee) == dove::StoreStatus::Ok;
        }
        ok = ok && bracket.commit();
    }
    dove::closeFinanceStore();
    platform::cedbCloseStore();
    return ok;
}

// Starts dashel on the root and returns the seconds from the start to its "first frame" line, after
// which it quits by itself; a negative value when it did not show a frame or did not end with 0.
double startOnce(const std::string& root) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return -1;
    const auto start = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], 1);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        setenv("VARKEL_ROOT", root.c_str(), 1);
        setenv("VARKEL_DISPLAY", "headless", 1);
        setenv("VARKEL_SCREEN", "240x320@96", 1);
        setenv("VARKEL_EXIT_AFTER_FIRST_FRAME", "1", 1);
        unsetenv("VARKEL_SCRIPT");
        execl(g.dashel.c_str(), g.dashel.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    std::string output;
    double seconds = -1;
    char buffer[256];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        output.append(buffer, static_cast<size_t>(n));
        if (seconds < 0 && output.find("first frame\n") != std::string::npos)
            seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    close(pipeEnds[0]);
    int status = 0;
    bool ended =
        child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return ended ? seconds : -1;
}

// The records of a table of the store in root; -1 when the store cannot be opened.
int countRecords(const std::string& root, dove::Table table) {
    platform::setDeviceRoot(root);
    int count = dove::openFinanceStore() ? dove::tableCursor(table).recordCount() : -1;
    dove::closeFinanceStore();
    platform::cedbCloseStore();
    return count;
}

bool setUp() {
    char pattern[] = "/tmp/startup-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return false;
    g.folder = pattern;
    g.demoRoot = g.folder + "/demo";
    g.bigRoot = g.folder + "/big";
    g.dashel = programBeside("dashel");
    fs::create_directories(g.bigRoot);
    const std::string seed =
        programBeside("financestore") + " --root '" + g.demoRoot + "' init --demo >/dev/null";
    if (std::system(seed.c_str()) != 0) {
        std::fprintf(stderr, "startup_bench: financestore init --demo failed\n");
        return false;
    }
    if (!buildBigStore(g.bigRoot)) {
        std::fprintf(stderr, "startup_bench: the big store cannot be built\n");
        return false;
    }
    const int transactions = countRecords(g.bigRoot, dove::Table::Transactions);
    const int payees = countRecords(g.bigRoot, dove::Table::Memorized);
    std::printf("big store: %d transactions, %d payees\n", transactions, payees);
    if (transactions != kTransactions || payees != kPayees) return false;
    if (countRecords(g.demoRoot, dove::Table::Transactions) <= 0) return false;
    return true;
}

void startup(benchmark::State& state, const std::string& root) {
    for (auto _ : state) {
        const double seconds = startOnce(root);
        if (seconds < 0) {
            state.SkipWithError("dashel did not show its first frame and end with 0");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_StartupDemo(benchmark::State& state) {
    startup(state, g.demoRoot);
}
void BM_StartupBig(benchmark::State& state) {
    startup(state, g.bigRoot);
}

// The machine is shared: each figure is the mean of a few repetitions of a few starts.
constexpr int kRepetitions = 3;
constexpr int kStarts = 5;
BENCHMARK(BM_StartupDemo)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(kStarts)
    ->Repetitions(kRepetitions);
BENCHMARK(BM_StartupBig)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(kStarts)
    ->Repetitions(kRepetitions);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    int result = 1;
    if (setUp()) {
        bench::RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        std::fflush(stdout);
        reporter.printRatio("startup", "BM_StartupBig", "BM_StartupDemo", 1.5);
        result = 0;
    }
    std::error_code ignored;
    if (!g.folder.empty()) fs::remove_all(g.folder, ignored);
    benchmark::Shutdown();
    return result;
}
