// What financestore refuses, and how: adds past the range of an amount, a split line deleted alone, a
// store that can only be read, a store another program keeps locked; and what check finds without ever
// writing (split owners whose lines do not add up, sums that leave the range of an amount).
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "CommandLine.h"
#include "EntryCommands.h"
#include "StoreDamage.h"
#include "StoreSession.h"
#include "ToolFixture.h"

namespace financestore::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kBusy = 3;
constexpr const char* kLargest = "9999999999999999.99";

class RefusalsTest : public FinanceStoreToolTest {
  protected:
    std::string storePath() const { return m_root.path() + "/store.cedb"; }
    int64_t accountBalance(int number) {
        for (const std::string& line : run({"dump", "Accounts", "--raw"}).outLines())
            if (field(line, 104) == std::to_string(number)) return std::stoll(field(line, 113));
        ADD_FAILURE() << "no account " << number;
        return 0;
    }
    // Runs the tool in a child that may not override file permissions (root included), with its output
    // in files beside the root. exitCode 20 when the permissions cannot be made to apply.
    ToolResult runBound(const std::vector<std::string>& arguments) {
        const std::string capture = m_root.path() + ".bound";
        const pid_t pid = fork();
        if (pid == 0) {
            if (!platform::testing::giveUpPermissionOverride()) _exit(20);
            const int out = ::open((capture + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int err = ::open((capture + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, 1);
            dup2(err, 2);
            std::vector<std::string> words = {toolPath(), "--root", m_root.path()};
            words.insert(words.end(), arguments.begin(), arguments.end());
            std::vector<char*> argv;
            for (std::string& word : words)
                argv.push_back(word.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        ToolResult result;
        int status = 0;
        if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
            result.exitCode = WEXITSTATUS(status);
        result.out = readAll(capture + ".out");
        result.err = readAll(capture + ".err");
        std::remove((capture + ".out").c_str());
        std::remove((capture + ".err").c_str());
        return result;
    }
};

TEST_F(RefusalsTest, TenLargestAddsToOneAccountRefuseTheOneThatWouldOverflow) {
    seedDemo();
    const int64_t before = accountBalance(2);
    ASSERT_GE(before, 0);
    ASSERT_LT(before, 100'000'000);
    std::vector<int> refused;
    for (int i = 0; i < 10; ++i) {
        ToolResult added = run({"add", "--account", "2", "--amount", kLargest});
        if (added.exitCode == kOk) continue;
        refused.push_back(i);
        EXPECT_EQ(added.exitCode, kFailed);
        EXPECT_NE(added.err.find("out of range"), std::string::npos) << added.err;
        EXPECT_NE(added.err.find("nothing was written"), std::string::npos) << added.err;
    }
    EXPECT_EQ(refused, std::vector<int>{9});
    EXPECT_EQ(accountBalance(2), before + 9 * 999'999'999'999'999'999);
    ToolResult checked = run({"check"});
    EXPECT_EQ(checked.exitCode, kOk) << checked.out << checked.err;
}

TEST_F(RefusalsTest, ASplitLineGoesWithItsOwnerAndCheckFlagsLinesThatDoNotAddUp) {
    seedDemo();
    // Another month than this one, so that no budget total counts it.
    const std::string owner =
        add({"--account", "1", "--date", "2020-01-05", "--split", "Dining=-12.00", "--split", "Car=-30.00"});
    const std::string line = "s" + owner + "0001";
    ASSERT_EQ(dumpLinesWith("Transactions", "\"101\":\"" + line + "\"").size(), 1u);
    const std::string before = run({"dump", "Transactions", "--raw"}).out;
    ToolResult deleted = run({"delete", line});
    EXPECT_EQ(deleted.exitCode, kUsage);
    EXPECT_NE(deleted.err.find("is a split line"), std::string::npos) << deleted.err;
    EXPECT_NE(deleted.err.find(owner), std::string::npos) << deleted.err;
    EXPECT_EQ(run({"dump", "Transactions", "--raw"}).out, before);
    EXPECT_EQ(run({"check"}).exitCode, kOk);

    // A line changed behind the store's back: its owner no longer adds up.
    CEPROPVAL amount{};
    amount.propid = PropIdFromType(112, CEVT_FILETIME);
    const int64_t wrong = -1300;
    amount.val.filetime.dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(wrong));
    amount.val.filetime.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(wrong) >> 32);
    changeTransaction(platform::fromUtf8(line), amount);
    ToolResult checked = run({"check"});
    EXPECT_EQ(checked.exitCode, kFailed);
    EXPECT_EQ(checked.out, "split: " + owner + " has amount -42.00 but its lines add up to -43.00\n");
    EXPECT_EQ(run({"delete", owner}).exitCode, kOk);
    EXPECT_EQ(run({"check"}).exitCode, kOk);
}

TEST_F(RefusalsTest, CheckReportsSumsThatLeaveTheRangeOfAnAmount) {
    seedDemo();
    CEPROPVAL start{};
    start.propid = PropIdFromType(161, CEVT_FILETIME);
    start.val.filetime.dwLowDateTime = 0xFFFFFFFFu;
    start.val.filetime.dwHighDateTime = 0x7FFFFFFFu;  // the largest amount, and 164 holds 1000.00
    changeAccount(2, start);
    ToolResult checked = run({"check"});
    EXPECT_EQ(checked.exitCode, kFailed);
    EXPECT_NE(checked.out.find("balance: the starting balance of account 2 leaves the range of an amount"),
              std::string::npos)
        << checked.out;
}

TEST_F(RefusalsTest, CheckDumpAndExportReadARootThatCannotBeWrittenAndAddFailsClearly) {
    seedDemo();
    const uint64_t before = platform::testing::fileChecksum(storePath());
    std::vector<std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(m_root.path()))
        entries.push_back(entry.path().string());
    for (const auto& entry : fs::recursive_directory_iterator(m_root.path()))
        chmod(entry.path().c_str(), entry.is_directory() ? 0555 : 0444);
    chmod(m_root.path().c_str(), 0555);
    const ToolResult checked = runBound({"check"});
    const ToolResult dumped = runBound({"dump", "Transactions"});
    const ToolResult exported = runBound({"export", "--ledger"});
    const ToolResult added = runBound({"add", "--account", "1", "--amount", "-5"});
    for (const auto& entry : fs::recursive_directory_iterator(m_root.path()))
        chmod(entry.path().c_str(), entry.is_directory() ? 0755 : 0644);
    chmod(m_root.path().c_str(), 0755);
    if (checked.exitCode == 20)
        GTEST_SKIP() << "this process cannot give up the override of file permissions";
    EXPECT_EQ(checked.exitCode, kOk) << checked.out << checked.err;
    EXPECT_EQ(dumped.exitCode, kOk) << dumped.err;
    EXPECT_GT(dumped.outLines().size(), 300u);
    EXPECT_EQ(exported.exitCode, kOk) << exported.err;
    EXPECT_EQ(added.exitCode, kFailed);
    EXPECT_EQ(added.err,
              "financestore: the transaction could not be saved (the finance store is read-only); "
              "nothing was written\n");
    EXPECT_EQ(platform::testing::fileChecksum(storePath()), before);
    std::vector<std::string> after;
    for (const auto& entry : fs::recursive_directory_iterator(m_root.path()))
        after.push_back(entry.path().string());
    EXPECT_EQ(after, entries) << "nothing was made in the root";
}

// Check opens the store for reading only: a write another program left in the write-ahead log (it
// died before its log was emptied into the store file) is read, and the store file is not written.
TEST_F(RefusalsTest, CheckReadsAPendingLogAndNeverWritesTheStoreFile) {
    seedDemo();
    const int child = platform::testing::runInChild([] {
        CEPROPVAL key{}, balance{};
        key.propid = PropIdFromType(104, CEVT_I4);
        key.val.lVal = 2;
        balance.propid = PropIdFromType(113, CEVT_FILETIME);
        balance.val.filetime.dwLowDateTime = 12345;
        CEOID oid = 0;
        HANDLE db = CeOpenDatabase(&oid, const_cast<LPWSTR>(u"Brimwell Account"), key.propid, 0, nullptr);
        CEOID record =
            CeSeekDatabase(db, CEDB_SEEK_VALUEFIRSTEQUAL, reinterpret_cast<DWORD_PTR>(&key), nullptr);
        // Ends without closing the store, so that nothing empties the log into the file.
        _exit(record != 0 && CeWriteRecordProps(db, record, 1, &balance) != 0 ? 0 : 1);
        return 1;
    });
    ASSERT_EQ(child, 0);
    ASSERT_GT(fs::file_size(storePath() + "-wal"), 0u);
    const uint64_t before = platform::testing::fileChecksum(storePath());
    ToolResult checked = run({"check"});
    EXPECT_EQ(checked.exitCode, kFailed);
    EXPECT_NE(checked.out.find("balance: account 2 has balance 123.45"), std::string::npos) << checked.out;
    EXPECT_EQ(run({"dump", "Accounts"}).exitCode, kOk);
    EXPECT_EQ(platform::testing::fileChecksum(storePath()), before);
}

// Another process keeps the store's write lock; the tool, given no time to wait, fails as busy with
// exit code 3 and writes nothing. In-process, so that the wait can be set to nothing.
TEST_F(RefusalsTest, AStoreKeptLockedByAnotherProgramFailsAsBusyWithExitThree) {
    seedDemo();
    int toChild[2], fromChild[2];
    ASSERT_EQ(pipe(toChild), 0);
    ASSERT_EQ(pipe(fromChild), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        char held = platform::cedbBeginTransaction() ? 'y' : 'n';
        (void)!write(fromChild[1], &held, 1);
        (void)!read(toChild[0], &held, 1);
        _exit(0);
    }
    char held = 0;
    ASSERT_EQ(read(fromChild[0], &held, 1), 1);
    ASSERT_EQ(held, 'y');
    int exitCode = -1;
    std::string err;
    {
        StoreSession session;
        ASSERT_TRUE(session.open(m_root.path(), StoreUse::Write)) << session.error();
        platform::cedbSetBusyTimeout(0);
        CommandLine line;
        const char* argv[] = {"financestore", "add", "--account", "1", "--amount", "-5"};
        ASSERT_TRUE(line.parse(6, const_cast<char**>(argv)));
        ::testing::internal::CaptureStderr();
        exitCode = runAdd(line);
        err = ::testing::internal::GetCapturedStderr();
    }
    platform::cedbSetBusyTimeout(10000);
    ASSERT_EQ(write(toChild[1], &held, 1), 1);
    int status = 0;
    waitpid(pid, &status, 0);
    for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]})
        close(fd);
    EXPECT_EQ(exitCode, kBusy);
    EXPECT_NE(err.find("the finance store is busy"), std::string::npos) << err;
    EXPECT_EQ(run({"check"}).exitCode, kOk);
}

}  // namespace
}  // namespace financestore::testing
