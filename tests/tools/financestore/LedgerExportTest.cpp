// The journal export read by ledger and hledger (installed by scripts/install-deps): for every account
// of the demo store their running totals are the stored running balances, one record after another,
// and their final totals the stored account balances; a one-account journal holds that account's
// transactions only.
#include <algorithm>
#include <map>
#include <sstream>

#include "ToolFixture.h"

namespace financestore::testing {
namespace {

struct DemoAccount {
    std::string number;
    std::string name;
    std::string currency;
    std::vector<std::string> running;  // the opening balance (when not 0), then each stored balance
};

class LedgerExportTest : public FinanceStoreToolTest {
  protected:
    static bool installed(const std::string& program) {
        return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
    }

    // "-12.34" for the raw amount -1234.
    static std::string money(const std::string& raw) {
        long long value = std::stoll(raw);
        const bool negative = value < 0;
        if (negative) value = -value;
        char text[40];
        std::snprintf(text, sizeof text, "%s%lld.%02lld", negative ? "-" : "", value / 100, value % 100);
        return text;
    }

    static std::string unquoted(const std::string& json) {
        return json.size() >= 2 && json.front() == '"' ? json.substr(1, json.size() - 2) : json;
    }

    // Each account with the running balances the journal must show for it.
    std::vector<DemoAccount> demoAccounts() {
        std::vector<DemoAccount> accounts;
        std::map<std::string, std::vector<std::pair<std::string, std::string>>> records;  // id, balance
        for (const std::string& line : run({"dump", "Transactions", "--raw"}).outLines()) {
            const std::string account = field(line, 104), id = unquoted(field(line, 101));
            const std::string excluded = field(line, 132);
            if (id.rfind(account + "_", 0) != 0 || (!excluded.empty() && excluded != "0")) continue;
            records[account].emplace_back(id, field(line, 113));
        }
        for (const std::string& line : run({"dump", "Accounts", "--raw"}).outLines()) {
            DemoAccount a{field(line, 104), unquoted(field(line, 110)), unquoted(field(line, 301)), {}};
            const long long start = std::stoll(field(line, 161)) + std::stoll(field(line, 164));
            if (start != 0) a.running.push_back(money(std::to_string(start)) + " " + a.currency);
            std::vector<std::pair<std::string, std::string>>& own = records[a.number];
            std::sort(own.begin(), own.end());
            for (const auto& [id, balance] : own)
                a.running.push_back(money(balance) + " " + a.currency);
            accounts.push_back(a);
        }
        return accounts;
    }

    // The running totals a reader prints for one account of the exported journal.
    std::vector<std::string> runningTotals(const std::string& reader, const std::string& account) {
        const std::string pattern = quoted("^Assets:" + account + "$");
        const std::string command = reader == "ledger"
                                        ? "ledger -f - reg --format '%(scrub(display_total))\\n' " + pattern
                                        : "hledger -f - reg -O csv " + pattern;
        ToolResult result = shell(toolCommand({"export", "--ledger"}) + " | " + command);
        EXPECT_EQ(result.exitCode, kOk) << reader << ": " << result.err;
        EXPECT_EQ(result.err, "") << reader;
        std::vector<std::string> totals;
        for (const std::string& line : result.outLines()) {
            if (reader == "ledger") {
                totals.push_back(line);
            } else if (line.rfind("\"txnidx\"", 0) != 0) {
                // The last CSV column is the running total.
                totals.push_back(unquoted(line.substr(line.rfind(",\"") + 1)));
            }
        }
        return totals;
    }
};

TEST_F(LedgerExportTest, LedgerAndHledgerShowTheStoredRunningBalancesOfEveryAccount) {
    std::vector<std::string> readers;
    for (const char* reader : {"ledger", "hledger"})
        if (installed(reader)) readers.push_back(reader);
    if (readers.empty())
        GTEST_SKIP() << "neither ledger nor hledger is installed (scripts/install-deps installs both)";
    seedDemo();
    const std::vector<DemoAccount> accounts = demoAccounts();
    ASSERT_EQ(accounts.size(), 5u);
    for (const std::string& reader : readers) {
        for (const DemoAccount& a : accounts) {
            std::vector<std::string> totals = runningTotals(reader, a.name);
            // A reader may show a zero total without its commodity.
            for (std::string& total : totals)
                if (total == "0") total = "0.00 " + a.currency;
            EXPECT_EQ(totals, a.running) << reader << ", account " << a.name;
        }
    }
    // The journal states those balances as assertions, which both readers check.
    const ToolResult journal = run({"export", "--ledger"});
    ASSERT_EQ(journal.exitCode, kOk) << journal.err;
    EXPECT_GT(std::count(journal.out.begin(), journal.out.end(), '='), 400);
    EXPECT_NE(journal.out.find("\n    Excluded:Assets:Checking  "), std::string::npos);
    EXPECT_NE(journal.out.find(" RUR @@ "), std::string::npos);
    EXPECT_NE(journal.out.find(" EUR @@ "), std::string::npos);
}

TEST_F(LedgerExportTest, AnAccountsJournalHoldsOnlyTheTransactionsThatTouchIt) {
    seedDemo();
    const ToolResult journal = run({"export", "--ledger", "--account", "3"});
    ASSERT_EQ(journal.exitCode, kOk) << journal.err;
    std::stringstream in(journal.out);
    std::string line, block;
    int blocks = 0;
    auto finish = [&] {
        if (block.empty()) return;
        ++blocks;
        EXPECT_NE(block.find("Assets:Euro Account  "), std::string::npos) << block;
        block.clear();
    };
    while (std::getline(in, line)) {
        if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0]))) finish();
        if (!line.empty() && (std::isdigit(static_cast<unsigned char>(line[0])) || !block.empty()))
            block += line + "\n";
    }
    finish();
    size_t records = dumpLinesWith("Transactions", "\"104\":3,").size();
    EXPECT_EQ(static_cast<size_t>(blocks), records + 1);  // and the opening balance
    // Only the account's running balances are stated.
    EXPECT_EQ(journal.out.find("Assets:Checking  -300.00 USD ="), std::string::npos);
}

}  // namespace
}  // namespace financestore::testing
