// Three programs on one store at the same time: Dashel driven by random input scripts, financestore
// adding, editing and deleting transactions, and a reader dumping, exporting and checking. Every run
// of every program must end as it should, every check of the reader must be clean (it reads one state
// of the store), and afterwards the store must check clean and pass SQLite's integrity check. The
// suite runs a fixed, short amount of work; VARKEL_SOAK_SECONDS runs each program that long instead
// (make soak: ten minutes), VARKEL_SOAK_SEED changes the random choices.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ProgramRun.h"
#include "TempRoot.h"

namespace {

using dashele2e::programPath;
using dashele2e::readFile;
using Clock = std::chrono::steady_clock;

constexpr int kProgramTimeoutMs = 120000;
// The work of the short run: operations of the writer, rounds of the reader, runs of Dashel.
constexpr int kWriterOperations = 40;
constexpr int kReaderRounds = 12;
constexpr int kDashelRuns = 3;
constexpr int kScriptCommands = 120;

// How long the programs run: a number of steps, or until a moment.
class Budget {
  public:
    Budget(int steps, int seconds) : m_steps(steps), m_timed(seconds > 0) {
        m_end = Clock::now() + std::chrono::seconds(seconds);
    }
    bool more() { return m_timed ? Clock::now() < m_end : m_done++ < m_steps; }

  private:
    int m_steps;
    int m_done = 0;
    bool m_timed;
    Clock::time_point m_end;
};

int environmentNumber(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::atoi(text) : fallback;
}

// One worker process's record: a line per failure, and what it did.
class Failures {
  public:
    explicit Failures(std::string file) : m_file(std::move(file)) {}
    void add(const std::string& what) {
        std::ofstream(m_file, std::ios::app) << what << "\n";
        ++m_count;
    }
    void done(const std::string& summary) { std::ofstream(m_file + ".summary") << summary; }
    int count() const { return m_count; }

  private:
    std::string m_file;
    int m_count = 0;
};

class StoreSoak : public ::testing::Test {
  protected:
    void SetUp() override {
        m_seconds = environmentNumber("VARKEL_SOAK_SECONDS", 0);
        m_seed = static_cast<uint32_t>(environmentNumber("VARKEL_SOAK_SEED", 20261208));
        ASSERT_TRUE(dashele2e::copyDemoRoot(root())) << "financestore init --demo failed";
    }
    const std::string& root() const { return m_root.path(); }

    // Runs financestore on the root; its output (stdout and stderr) in output.
    int tool(const std::vector<std::string>& arguments, std::string& output, const std::string& name) {
        std::vector<std::string> words = {"--root", root()};
        words.insert(words.end(), arguments.begin(), arguments.end());
        const std::string file = root() + "/" + name + ".out";
        dashele2e::Program program(programPath("financestore"), words, {}, file);
        const int status = program.wait(kProgramTimeoutMs);
        output = readFile(file);
        return status;
    }

  public:
    // The three programs' loops, each in a worker process of its own.
    void writer(Failures& failures);
    void reader(Failures& failures);
    void dashel(Failures& failures);

  protected:
    // Runs body in a worker process; returns the worker's pid.
    pid_t startWorker(const std::string& name, void (StoreSoak::*body)(Failures&)) {
        const pid_t pid = fork();
        if (pid == 0) {
            Failures failures(root() + "/../" + logName(name));
            (this->*body)(failures);
            _exit(failures.count() == 0 ? 0 : 1);
        }
        return pid;
    }
    std::string logName(const std::string& name) const {
        return "soak-" + std::to_string(m_testPid) + "-" + name + ".log";
    }

    platform::testing::TempRoot m_root;
    int m_seconds = 0;
    uint32_t m_seed = 0;
    pid_t m_testPid = getpid();
};

std::string amountText(std::mt19937& random) {
    const int cents = static_cast<int>(random() % 100000) - 60000;
    std::ostringstream text;
    text << (cents < 0 ? "-" : "") << std::abs(cents) / 100 << "." << (std::abs(cents) % 100 < 10 ? "0" : "")
         << std::abs(cents) % 100;
    return text.str();
}

// A new transaction: plain, transfer or split, now or on a day of last year, with or without payee.
std::vector<std::string> addArguments(std::mt19937& random) {
    const int account = 1 + static_cast<int>(random() % 5);
    std::vector<std::string> words = {"add", "--account", std::to_string(account)};
    const unsigned kind = random() % 10;
    if (kind < 2) {
        words.insert(words.end(),
                     {"--split", "Dining=" + amountText(random), "--split", "Car=" + amountText(random)});
    } else {
        words.insert(words.end(), {"--amount", amountText(random)});
        if (kind < 4) words.insert(words.end(), {"--transfer-to", std::to_string(1 + account % 5)});
        if (kind == 5) words.insert(words.end(), {"--category", "Dining"});
    }
    if (random() % 3 == 0) {
        const int month = 1 + static_cast<int>(random() % 12), day = 1 + static_cast<int>(random() % 28);
        words.insert(words.end(),
                     {"--date", "2025-" + std::string(month < 10 ? "0" : "") + std::to_string(month) + "-" +
                                    (day < 10 ? "0" : "") + std::to_string(day)});
    }
    if (random() % 2 == 0)
        words.insert(words.end(), {"--payee", random() % 2 ? "Fresh Market" : "Soak Shop"});
    return words;
}

// Adds, edits and deletes transactions, each through its own run of financestore, which must succeed.
void StoreSoak::writer(Failures& failures) {
    std::mt19937 random(m_seed);
    std::vector<std::string> mine;
    Budget budget(kWriterOperations, m_seconds);
    int operations = 0;
    for (; budget.more(); ++operations) {
        const unsigned choice = random() % 10;
        std::vector<std::string> arguments;
        size_t which = mine.empty() ? 0 : random() % mine.size();
        if (mine.empty() || choice < 6) {
            arguments = addArguments(random);
        } else if (choice < 8) {
            arguments = {"edit", mine[which], "--cleared"};
        } else {
            arguments = {"delete", mine[which]};
        }
        std::string output;
        const int status = tool(arguments, output, "writer");
        if (status != 0) {
            failures.add("writer: " + arguments[0] + " " + (arguments.size() > 1 ? arguments[1] : "") +
                         " exit " + std::to_string(status) + ": " + output);
            continue;
        }
        if (arguments[0] == "delete") {
            mine.erase(mine.begin() + static_cast<ptrdiff_t>(which));
        } else {
            const std::string id = output.substr(0, output.find('\n'));
            if (arguments[0] == "edit") mine.erase(mine.begin() + static_cast<ptrdiff_t>(which));
            mine.push_back(id);
        }
    }
    failures.done("writer: " + std::to_string(operations) + " adds, edits and deletes");
}

// Dumps, exports and checks while the others write: each run must succeed, each check must be clean.
void StoreSoak::reader(Failures& failures) {
    const std::vector<std::vector<std::string>> rounds = {
        {"dump", "Transactions"}, {"export", "--ledger"}, {"check"}, {"dump", "Accounts", "--raw"}};
    Budget budget(kReaderRounds, m_seconds);
    for (size_t round = 0; budget.more(); ++round) {
        const std::vector<std::string>& arguments = rounds[round % rounds.size()];
        std::string output;
        const int status = tool(arguments, output, "reader");
        if (status != 0)
            failures.add("reader: " + arguments[0] + " exit " + std::to_string(status) + ": " + output);
        failures.done("reader: " + std::to_string(round + 1) + " dumps, exports and checks");
    }
}

// A random script of taps, keys, typing, waits, rotations and answers for the next message box.
std::string randomScript(std::mt19937& random) {
    static const char* kKeys[] = {"UP", "DOWN", "LEFT", "RIGHT", "RETURN", "BACK"};
    std::ostringstream script;
    for (int i = 0; i < kScriptCommands; ++i) {
        const unsigned choice = random() % 20;
        if (choice < 10)
            script << "tap " << random() % 240 << " " << random() % 320 << "\n";
        else if (choice < 13)
            script << "key " << kKeys[random() % 6] << "\n";
        else if (choice < 15)
            script << "char " << static_cast<char>('a' + random() % 26) << "\n";
        else if (choice < 17)
            script << "wait " << 10 + random() % 400 << "\n";
        else if (choice < 19)
            script << "answer " << (random() % 2 ? "OK" : "CANCEL") << "\n";
        else
            script << "rotate\n";
    }
    script << "answer OK\nquit\n";
    return script.str();
}

// Runs Dashel headless on random scripts; each run must end by itself with exit code 0.
void StoreSoak::dashel(Failures& failures) {
    std::mt19937 random(m_seed ^ 0x5eed);
    Budget budget(kDashelRuns, m_seconds);
    for (int run = 0; budget.more(); ++run) {
        const std::string script = root() + "/soak.script";
        std::ofstream(script) << randomScript(random);
        const std::map<std::string, std::string> environment = {{"VARKEL_ROOT", root()},
                                                                {"VARKEL_DISPLAY", "headless"},
                                                                {"VARKEL_SCREEN", "240x320@96"},
                                                                {"VARKEL_SCRIPT", script}};
        dashele2e::Program program(programPath("dashel"), {}, environment, root() + "/dashel.out");
        const int status = program.wait(kProgramTimeoutMs);
        if (status != 0) {
            std::ifstream in(script);
            failures.add("dashel run " + std::to_string(run) + " exit " + std::to_string(status) + ": " +
                         program.output() + "\nscript:\n" +
                         std::string(std::istreambuf_iterator<char>(in), {}));
        }
        failures.done("dashel: " + std::to_string(run + 1) + " runs of " + std::to_string(kScriptCommands) +
                      " random commands");
    }
}

std::string integrityCheck(const std::string& path) {
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW)
            result = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return result;
}

TEST_F(StoreSoak, ThreeProgramsOnOneStoreLeaveItSound) {
    const std::vector<std::pair<std::string, void (StoreSoak::*)(Failures&)>> workers = {
        {"writer", &StoreSoak::writer}, {"reader", &StoreSoak::reader}, {"dashel", &StoreSoak::dashel}};
    std::vector<pid_t> pids;
    for (const auto& [name, body] : workers)
        pids.push_back(startWorker(name, body));
    for (size_t i = 0; i < pids.size(); ++i) {
        int status = 0;
        ASSERT_EQ(waitpid(pids[i], &status, 0), pids[i]);
        const std::string log = root() + "/../" + logName(workers[i].first);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << workers[i].first << " (seed " << m_seed << "):\n"
            << readFile(log);
        std::printf("%s\n", readFile(log + ".summary").c_str());
        std::remove(log.c_str());
        std::remove((log + ".summary").c_str());
    }
    std::string output;
    EXPECT_EQ(tool({"check"}, output, "final"), 0) << output;
    EXPECT_NE(output.find(", 0 violations\n"), std::string::npos) << output;
    std::printf("%s", output.c_str());
    EXPECT_EQ(integrityCheck(root() + "/store.cedb"), "ok");
}

}  // namespace
