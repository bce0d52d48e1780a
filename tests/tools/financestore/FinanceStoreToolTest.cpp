// The financestore program end to end: seeding, checking, adding, deleting, dumping, bad usage, damaged
// stores and writers killed in the middle of a save.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "ToolFixture.h"
#include "platform/windows.h"

namespace financestore::testing {
namespace {

TEST_F(FinanceStoreToolTest, TheDemoStoreIsSoundAndCannotBeSeededTwice) {
    seedDemo();
    ToolResult checked = run({"check"});
    EXPECT_EQ(checked.exitCode, kOk) << checked.out << checked.err;
    EXPECT_EQ(checked.out, "");
    EXPECT_GT(run({"dump", "Transactions", "--raw"}).outLines().size(), 300u);
    EXPECT_EQ(run({"dump", "brimwell account", "--raw"}).outLines().size(), 5u);
    EXPECT_EQ(run({"dump", "Planner", "--raw"}).outLines().size(), 8u);
    EXPECT_EQ(run({"dump", "Memorized", "--raw"}).outLines().size(), 40u);
    EXPECT_FALSE(dumpLinesWith("MemorizedSplits", "\"401\"").empty());
    EXPECT_EQ(run({"dump", "BudgetLists", "--raw"}).outLines().size(), 6u);
    EXPECT_FALSE(dumpLinesWith("Transactions", "\"122\":\"EUR\"").empty());
    EXPECT_FALSE(dumpLinesWith("Transactions", "\"122\":\"RUR\"").empty());
    ToolResult again = run({"init", "--demo"});
    EXPECT_EQ(again.exitCode, kUsage);
    EXPECT_NE(again.err.find("already holds data"), std::string::npos) << again.err;
}

TEST_F(FinanceStoreToolTest, TheSameSeedGivesTheSameTransactions) {
    seedDemo();
    platform::testing::TempRoot other;
    ASSERT_EQ(runTool(other.path(), {"init", "--demo"}).exitCode, kOk);
    auto amounts = [](const ToolResult& dump) {
        std::vector<std::string> rows;
        for (const std::string& line : dump.outLines())
            rows.push_back(field(line, 101) + field(line, 112) + field(line, 113) + field(line, 401));
        // The dump follows the record keys, which are made from the clock; compare as sets.
        std::sort(rows.begin(), rows.end());
        return rows;
    };
    EXPECT_EQ(amounts(run({"dump", "Transactions", "--raw"})),
              amounts(runTool(other.path(), {"dump", "Transactions", "--raw"})));
}

TEST_F(FinanceStoreToolTest, CheckReportsACorruptedRunningBalance) {
    seedDemo();
    std::vector<std::string> rows = dumpLinesWith("Transactions", "\"104\":1,");
    ASSERT_GT(rows.size(), 10u);
    const std::string victim = rows[rows.size() / 2];
    const std::string id = field(victim, 101).substr(1, field(victim, 101).size() - 2);
    CEPROPVAL balance{};
    balance.propid = PropIdFromType(113, CEVT_FILETIME);
    const int64_t wrong = std::stoll(field(victim, 113)) + 1;
    balance.val.filetime.dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(wrong));
    balance.val.filetime.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(wrong) >> 32);
    changeTransaction(platform::fromUtf8(id), balance);
    ToolResult checked = run({"check"});
    EXPECT_EQ(checked.exitCode, kFailed);
    ASSERT_EQ(checked.outLines().size(), 1u) << checked.out;
    EXPECT_NE(checked.out.find("balance: " + id), std::string::npos) << checked.out;
}

TEST_F(FinanceStoreToolTest, CheckReportsWrongAccountBalanceHoldingsAndBudgetTotal) {
    seedDemo();
    CEPROPVAL balance{};
    balance.propid = PropIdFromType(113, CEVT_FILETIME);
    balance.val.filetime.dwLowDateTime = 12345;
    changeAccount(2, balance);
    CEPROPVAL securities{};
    securities.propid = PropIdFromType(174, CEVT_LPWSTR);
    std::u16string text = u"YACME\nI12.500000\nB100\nQ100\n^\n";
    securities.val.lpwstr = text.data();
    changeAccount(5, securities);
    const std::string line = run({"dump", "BudgetLists", "--raw"}).outLines().at(0);
    CEPROPVAL category{};
    category.propid = PropIdFromType(401, CEVT_I4);
    category.val.lVal = std::stoi(field(line, 401));
    CEPROPVAL total{};
    total.propid = PropIdFromType(417, CEVT_FILETIME);
    total.val.filetime.dwLowDateTime = static_cast<DWORD>(std::stoll(field(line, 417)) + 7);
    total.val.filetime.dwHighDateTime = std::stoll(field(line, 417)) + 7 < 0 ? 0xFFFFFFFFu : 0;
    changeRecord(u"Brimwell Budget List", category, total);
    ToolResult checked = run({"check"});
    EXPECT_EQ(checked.exitCode, kFailed);
    EXPECT_NE(checked.out.find("balance: account 2 has balance 123.45"), std::string::npos) << checked.out;
    EXPECT_NE(checked.out.find("holdings: account 5 holds 100 units of ACME"), std::string::npos)
        << checked.out;
    EXPECT_NE(checked.out.find("holdings: account 5 holds no units of GLOBEX"), std::string::npos)
        << checked.out;
    EXPECT_NE(checked.out.find("budget: line " + field(line, 135).substr(1, 38)), std::string::npos)
        << checked.out;
    EXPECT_EQ(checked.outLines().size(), 4u) << checked.out;
}

TEST_F(FinanceStoreToolTest, CheckReportsAnAsymmetricTransferLink) {
    seedDemo();
    std::vector<std::string> transfers = dumpLinesWith("Transactions", "\"401\":-2,");
    ASSERT_FALSE(transfers.empty());
    const std::string id = field(transfers.front(), 101);
    CEPROPVAL link{};
    link.propid = PropIdFromType(116, CEVT_LPWSTR);
    std::u16string elsewhere = u"1_19990101000000000";
    link.val.lpwstr = elsewhere.data();
    changeTransaction(platform::fromUtf8(id.substr(1, id.size() - 2)), link);
    ToolResult checked = run({"check"});
    EXPECT_EQ(checked.exitCode, kFailed);
    EXPECT_NE(checked.out.find("transfer: " + id.substr(1, id.size() - 2)), std::string::npos) << checked.out;
}

TEST_F(FinanceStoreToolTest, CheckReportsAnAmountAtTheEndOfTheRangeWithoutOverflowing) {
    seedDemo();
    std::vector<std::string> transfers = dumpLinesWith("Transactions", "\"401\":-3,");
    ASSERT_FALSE(transfers.empty());
    const std::string id = field(transfers.front(), 101);
    CEPROPVAL amount{};
    amount.propid = PropIdFromType(112, CEVT_FILETIME);
    amount.val.filetime.dwHighDateTime = 0x80000000u;  // the most negative amount
    changeTransaction(platform::fromUtf8(id.substr(1, id.size() - 2)), amount);
    ToolResult checked = run({"check"});
    EXPECT_EQ(checked.exitCode, kFailed) << checked.err;
    EXPECT_NE(checked.out.find("balance: " + id.substr(1, id.size() - 2)), std::string::npos) << checked.out;
    EXPECT_NE(checked.out.find("transfer: "), std::string::npos) << checked.out;
}

// A euro side of a transfer whose entered amount an edit left behind in its own currency (as the save
// wrote it before it cleared such amounts): its 121 no longer describes its 112.
TEST_F(FinanceStoreToolTest, CheckReportsAnEnteredAmountThatNoLongerDescribesTheRecord) {
    seedDemo();
    std::vector<std::string> euroSides = dumpLinesWith("Transactions", "\"122\":\"USD\"");
    ASSERT_FALSE(euroSides.empty());
    const std::string id = field(euroSides.front(), 101);
    ASSERT_EQ(field(euroSides.front(), 301), "\"EUR\"");
    CEPROPVAL currency{};
    currency.propid = PropIdFromType(122, CEVT_LPWSTR);
    std::u16string euro = u"EUR";
    currency.val.lpwstr = euro.data();
    changeTransaction(platform::fromUtf8(id.substr(1, id.size() - 2)), currency);
    ToolResult checked = run({"check"});
    EXPECT_EQ(checked.exitCode, kFailed);
    EXPECT_NE(checked.out.find("currency: " + id.substr(1, id.size() - 2) + " keeps the entered amount"),
              std::string::npos)
        << checked.out;
}

TEST_F(FinanceStoreToolTest, AddStoresTheTransactionWithItsProperties) {
    seedDemo();
    const std::string id =
        add({"--account", "1", "--amount", "-12.34", "--payee", "Corner \"Store\"", "--category", "Car:Fuel",
             "--project", "Vacation", "--date", "2025-01-15", "--cleared"});
    EXPECT_EQ(id.rfind("1_20250115", 0), 0u) << id;
    std::vector<std::string> rows = dumpLinesWith("Transactions", "\"101\":\"" + id + "\"");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(field(rows[0], 104), "1");
    EXPECT_EQ(field(rows[0], 112), "-1234");
    EXPECT_EQ(field(rows[0], 117), "1");
    EXPECT_EQ(field(rows[0], 301), "\"USD\"");
    EXPECT_NE(rows[0].find("\"110\":\"Corner \\\"Store\\\"\""), std::string::npos) << rows[0];
    std::vector<std::string> fuel = dumpLinesWith("Categories", "\"110\":\"Fuel\"");
    ASSERT_EQ(fuel.size(), 1u);
    EXPECT_EQ(field(rows[0], 401), field(fuel[0], 401));
    EXPECT_EQ(run({"check"}).exitCode, kOk);
}

TEST_F(FinanceStoreToolTest, AddInAnotherCurrencyConvertsAtTheRate) {
    seedDemo();
    const std::string id =
        add({"--account", "1", "--amount", "-1000", "--currency", "RUR", "--date", "2025-06-01T12:30:00"});
    std::vector<std::string> rows = dumpLinesWith("Transactions", "\"101\":\"" + id + "\"");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(field(rows[0], 121), "-100000");
    EXPECT_EQ(field(rows[0], 122), "\"RUR\"");
    const long long converted = std::stoll(field(rows[0], 112));
    EXPECT_LT(converted, -900);  // about 1000 roubles at some 90 roubles a dollar
    EXPECT_GT(converted, -1300);
    EXPECT_EQ(run({"check"}).exitCode, kOk);
}

TEST_F(FinanceStoreToolTest, ATransferHasTwoLinkedSidesAndDeleteRemovesBoth) {
    seedDemo();
    const std::string id = add({"--account", "1", "--amount", "-50", "--transfer-to", "3"});
    std::vector<std::string> mine = dumpLinesWith("Transactions", "\"101\":\"" + id + "\"");
    ASSERT_EQ(mine.size(), 1u);
    const std::string otherId = field(mine[0], 116);
    ASSERT_EQ(otherId.rfind("\"3_", 0), 0u) << mine[0];
    std::vector<std::string> other = dumpLinesWith("Transactions", "\"101\":" + otherId);
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(field(other[0], 116), "\"" + id + "\"");
    EXPECT_EQ(field(other[0], 401), "-1");
    EXPECT_EQ(field(other[0], 301), "\"EUR\"");
    EXPECT_EQ(field(other[0], 121), "5000");
    EXPECT_EQ(run({"check"}).exitCode, kOk);

    EXPECT_EQ(run({"delete", id}).exitCode, kOk);
    EXPECT_TRUE(dumpLinesWith("Transactions", "\"101\":\"" + id + "\"").empty());
    EXPECT_TRUE(dumpLinesWith("Transactions", "\"101\":" + otherId).empty());
    ToolResult checked = run({"check"});
    EXPECT_EQ(checked.exitCode, kOk) << checked.out;
    ToolResult again = run({"delete", id});
    EXPECT_EQ(again.exitCode, kFailed);
    EXPECT_NE(again.err.find("no transaction"), std::string::npos);
}

TEST_F(FinanceStoreToolTest, BadUsageExitsWithTwoAndWritesNothing) {
    seedDemo();
    const size_t before = run({"dump", "Transactions", "--raw"}).outLines().size();
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate"},
        {"add", "--amount", "5"},
        {"add", "--account", "99", "--amount", "5"},
        {"add", "--account", "1", "--amount", "12.345"},
        {"add", "--account", "1", "--amount", "12a"},
        {"add", "--account", "1", "--amount", "5", "--date", "2025-02-30"},
        {"add", "--account", "1", "--amount", "5", "--date", "yesterday"},
        {"add", "--account", "1", "--amount", "5", "--category", "No:Such"},
        {"add", "--account", "1", "--amount", "5", "--transfer-to", "1"},
        {"add", "--account", "1", "--amount", "5", "--currency", "XYZ"},
        {"add", "--account", "1", "--amount", "5", "--colour", "red"},
        {"add", "--account"},
        {"delete"},
        {"dump", "Nothing"},
        {"dump"},
        {"check", "extra"},
        {"init", "--seed", "4"},
    };
    for (const auto& arguments : bad) {
        ToolResult result = run(arguments);
        EXPECT_EQ(result.exitCode, kUsage) << ::testing::PrintToString(arguments);
        EXPECT_FALSE(result.err.empty()) << ::testing::PrintToString(arguments);
    }
    EXPECT_EQ(run({"dump", "Transactions", "--raw"}).outLines().size(), before);
    ToolResult help = run({"--help"});
    EXPECT_EQ(help.exitCode, kOk);
    EXPECT_NE(help.out.find("usage: financestore"), std::string::npos);
}

TEST_F(FinanceStoreToolTest, ADamagedStoreOrAMissingRootIsReportedNotCrashedOn) {
    {
        std::ofstream garbage(m_root.path() + "/store.cedb", std::ios::binary);
        for (int i = 0; i < 4096; ++i)
            garbage.put(static_cast<char>(i * 7 + 3));
    }
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"check"}, {"dump", "Accounts", "--raw"}, {"init", "--demo"}}) {
        ToolResult result = run(arguments);
        EXPECT_EQ(result.exitCode, kUsage) << arguments[0];
        EXPECT_NE(result.err.find("cannot open the finance store"), std::string::npos) << result.err;
    }
    const std::string missing = m_root.path() + "-missing";
    ToolResult result = runTool(missing, {"check"});
    EXPECT_EQ(result.exitCode, kUsage);
    EXPECT_NE(result.err.find("does not exist"), std::string::npos) << result.err;
    EXPECT_NE(access(missing.c_str(), F_OK), 0);
}

// A shell keeps saving transactions (plain ones and transfers) until it and the program are killed at
// a point that differs each round; whatever the point, the store must come back whole.
TEST_F(FinanceStoreToolTest, AWriterKilledDuringSavesLeavesASoundStore) {
    seedDemo();
    const size_t before = run({"dump", "Transactions", "--raw"}).outLines().size();
    const std::string tool = toolPath(), root = m_root.path();
    for (int round = 0; round < 6; ++round) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            setpgid(0, 0);
            const std::string loop = "while :; do '" + tool + "' --root '" + root +
                                     "' add --account 1 --amount -1.25 --transfer-to 2 >/dev/null 2>&1; '" +
                                     tool + "' --root '" + root +
                                     "' add --account 2 --amount 3 >/dev/null 2>&1; done";
            execl("/bin/sh", "sh", "-c", loop.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        setpgid(child, child);
        usleep(static_cast<useconds_t>(150000 + round * 37000));
        kill(-child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ToolResult checked = run({"check"});
        ASSERT_EQ(checked.exitCode, kOk) << "round " << round << "\n" << checked.out << checked.err;
    }
    EXPECT_GT(run({"dump", "Transactions", "--raw"}).outLines().size(), before);
}

}  // namespace
}  // namespace financestore::testing
