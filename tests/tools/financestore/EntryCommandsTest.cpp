// Entering and editing transactions with financestore: split lines added and replaced through the full
// save (the new line kept, the dropped transfer line's other side gone, budgets right), edits of every
// field, the named dump, and bad input refused with one line and nothing written.
#include <cctype>

#include "ToolFixture.h"

namespace financestore::testing {
namespace {

// Whether a JSON line has a key that is a bare number ("112":).
bool hasNumberKey(const std::string& line) {
    for (size_t at = line.find('"'); at != std::string::npos; at = line.find('"', at + 1)) {
        size_t end = at + 1;
        while (end < line.size() && std::isdigit(static_cast<unsigned char>(line[end])))
            ++end;
        if (end > at + 1 && line.compare(end, 2, "\":") == 0) return true;
    }
    return false;
}

// "\"-12.34\"": a quoted amount with two decimals.
bool isMoney(const std::string& json) {
    const size_t point = json.find('.');
    return json.size() >= 6 && json.front() == '"' && json.back() == '"' && point != std::string::npos &&
           json.size() - point == 4 && std::isdigit(static_cast<unsigned char>(json[point - 1]));
}

class EntryCommandsTest : public FinanceStoreToolTest {
  protected:
    // The dump lines of Transactions whose identifier (raw) begins with prefix.
    std::vector<std::string> recordsStartingWith(const std::string& prefix) {
        return dumpLinesWith("Transactions", "\"101\":\"" + prefix);
    }
    // Every table as the raw dump shows it.
    std::string wholeStore() {
        std::string all;
        for (const char* table :
             {"Transactions", "Accounts", "Categories", "Projects", "Memorized", "BudgetLists"})
            all += run({"dump", table, "--raw"}).out;
        return all;
    }
};

TEST_F(EntryCommandsTest, ReplacingATransferLineKeepsTheNewLineAndRemovesTheOldLinesOtherSide) {
    seedDemo();
    const std::string id = add({"--account", "1", "--payee", "Mall", "--split", "Groceries=-10.00", "--split",
                                "Car:Fuel=-20", "--split", "@2=-30"});
    std::vector<std::string> lines = recordsStartingWith("s" + id);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(field(dumpLinesWith("Transactions", "\"101\":\"" + id + "\"").at(0), 112), "-6000");
    const std::string otherSide = field(lines[2], 116);
    ASSERT_FALSE(dumpLinesWith("Transactions", "\"101\":" + otherSide).empty());

    ToolResult edited =
        run({"edit", id, "--split", "Groceries=-10", "--split", "Car:Fuel=-20", "--split", "Dining=-5"});
    ASSERT_EQ(edited.exitCode, kOk) << edited.err;
    EXPECT_EQ(edited.out, id + "\n");
    lines = recordsStartingWith("s" + id);
    ASSERT_EQ(lines.size(), 3u);
    // The kept lines keep their identifiers; the new one is numbered above the dropped one.
    EXPECT_EQ(field(lines[0], 101), "\"s" + id + "0001\"");
    EXPECT_EQ(field(lines[1], 101), "\"s" + id + "0002\"");
    EXPECT_EQ(field(lines[2], 101), "\"s" + id + "0004\"");
    EXPECT_EQ(field(lines[2], 112), "-500");
    EXPECT_EQ(field(lines[2], 116), "");
    EXPECT_EQ(field(dumpLinesWith("Transactions", "\"101\":\"" + id + "\"").at(0), 112), "-3500");
    EXPECT_TRUE(dumpLinesWith("Transactions", "\"101\":" + otherSide).empty());
    ToolResult checked = run({"check"});
    EXPECT_EQ(checked.exitCode, kOk) << checked.out << checked.err;
}

TEST_F(EntryCommandsTest, EditChangesEachFieldThroughTheSave) {
    seedDemo();
    const std::string id = add({"--account", "1", "--amount", "-12.34", "--date", "2025-01-15", "--category",
                                "Dining", "--payee", "Corner"});
    const std::vector<std::vector<std::string>> edits = {
        {"--amount", "-20.00"}, {"--payee", "Bakery"},     {"--cleared"},         {"--category", "Car:Fuel"},
        {"--uncleared"},        {"--project", "Vacation"}, {"--transfer-to", "2"}};
    for (const auto& edit : edits) {
        std::vector<std::string> arguments = {"edit", id};
        arguments.insert(arguments.end(), edit.begin(), edit.end());
        ToolResult result = run(arguments);
        ASSERT_EQ(result.exitCode, kOk) << edit[0] << ": " << result.err;
    }
    std::vector<std::string> rows = dumpLinesWith("Transactions", "\"101\":\"" + id + "\"");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(field(rows[0], 112), "-2000");
    EXPECT_EQ(field(rows[0], 110), "\"Bakery\"");
    EXPECT_EQ(field(rows[0], 117), "0");
    EXPECT_EQ(field(rows[0], 401), "-2");
    // A new day gives a new identifier, which edit prints.
    ToolResult moved = run({"edit", id, "--date", "2025-01-20"});
    ASSERT_EQ(moved.exitCode, kOk) << moved.err;
    EXPECT_EQ(moved.out.rfind("1_20250120", 0), 0u) << moved.out;
    EXPECT_TRUE(dumpLinesWith("Transactions", "\"101\":\"" + id + "\"").empty());
    ToolResult checked = run({"check"});
    EXPECT_EQ(checked.exitCode, kOk) << checked.out << checked.err;
}

TEST_F(EntryCommandsTest, DumpNamesEveryPropertyWithReadableValuesAndRawKeepsTheNumbers) {
    seedDemo();
    const std::string id = add({"--account", "1", "--amount", "-44.91", "--date", "2025-12-08"});
    const std::vector<std::string> named = run({"dump", "Transactions"}).outLines();
    std::string line;
    for (const std::string& l : named)
        if (l.find("\"identifier\":\"" + id + "\"") != std::string::npos) line = l;
    ASSERT_FALSE(line.empty());
    EXPECT_EQ(line.rfind("{\"identifier\":\"" + id + "\",\"account\":1,\"date\":\"2025-12-08T00:00:00", 0),
              0u)
        << line;
    EXPECT_EQ(field(line, "amount"), "\"-44.91\"");
    EXPECT_EQ(field(line, "currency"), "\"USD\"");
    EXPECT_TRUE(isMoney(field(line, "balance"))) << line;
    const std::string modified = field(line, "modified");
    EXPECT_EQ(modified.rfind("\"20", 0), 0u) << line;
    EXPECT_EQ(modified.substr(modified.size() - 2), "Z\"") << line;
    // Every property of every demo table has a name: no number is left as a key.
    for (const char* table : {"Transactions", "Accounts", "Categories", "Projects", "Currencies", "Planner",
                              "CurrencyHistory", "Budgets", "BudgetLists", "Memorized", "MemorizedSplits"})
        for (const std::string& l : run({"dump", table}).outLines())
            EXPECT_FALSE(hasNumberKey(l)) << table << ": " << l;
    const std::string raw = dumpLinesWith("Transactions", "\"101\":\"" + id + "\"").at(0);
    EXPECT_EQ(field(raw, 112), "-4491");
    // A property a table does not know still shows, under its number.
    CEPROPVAL stray{};
    stray.propid = PropIdFromType(777, CEVT_I4);
    stray.val.lVal = 5;
    changeTransaction(platform::fromUtf8(id), stray);
    EXPECT_NE(run({"dump", "Transactions"}).out.find("\"777\":5"), std::string::npos);
}

TEST_F(EntryCommandsTest, BadInputGivesOneLineAndExitTwoAndWritesNothing) {
    seedDemo();
    const std::string split = add({"--account", "1", "--split", "Dining=-1", "--split", "Car=-2"});
    const std::string before = wholeStore();
    const std::string longName(256, 'x');
    const std::vector<std::vector<std::string>> bad = {
        {"add", "--account", "99", "--amount", "5"},
        {"add", "--account", "one", "--amount", "5"},
        {"add", "--account", "1", "--amount", "1e400"},
        {"add", "--account", "1", "--amount", "12,5"},
        {"add", "--account", "1", "--amount", "abc"},
        {"add", "--account", "1", "--amount", "99999999999999999"},
        {"add", "--account", "1", "--amount", "5", "--date", "2026-02-30"},
        {"add", "--account", "1", "--amount", "5", "--date", "2026-13-01"},
        {"add", "--account", "1", "--amount", "5", "--payee", ""},
        {"add", "--account", "1", "--amount", "5", "--payee", "   "},
        {"add", "--account", "1", "--amount", "5", "--payee", longName},
        {"add", "--account", "1", "--amount", "5", "--category", ""},
        {"add", "--account", "1", "--amount", "5", "--project", longName},
        {"add", "--account", "1", "--amount", "5", "--amount", "6"},
        {"add", "--account", "1", "--split", "Dining"},
        {"add", "--account", "1", "--split", "=5"},
        {"add", "--account", "1", "--split", "Nowhere=5"},
        {"add", "--account", "1", "--split", "@99=5"},
        {"add", "--account", "1", "--split", "@1=5"},
        {"add", "--account", "1", "--split", "Dining=1e400"},
        {"add", "--account", "1", "--split", "Dining=-1", "--amount", "-2"},
        {"add", "--account", "1", "--split", "Dining=-1", "--category", "Car"},
        {"add", "--account", "1", "--split", "Dining=-1", "--currency", "EUR"},
        {"edit", split, "--amount", "-5"},
        {"edit", "s" + split + "0001", "--amount", "-5"},
        {"edit", split},
        {"edit", split, "--cleared", "--uncleared"},
        {"edit", split, "--account", "3"},
        {"edit", split, "--date", "2025-02-29"},
        {"export"},
        {"export", "--ledger", "--account", "99"},
    };
    for (const auto& arguments : bad) {
        ToolResult result = run(arguments);
        EXPECT_EQ(result.exitCode, kUsage) << ::testing::PrintToString(arguments) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1)
            << ::testing::PrintToString(arguments) << result.err;
    }
    // Lines whose sum leaves the range of amounts.
    std::vector<std::string> huge = {"add", "--account", "1"};
    for (int i = 0; i < 10; ++i)
        huge.insert(huge.end(), {"--split", "Dining=9999999999999999.99"});
    ToolResult overflow = run(huge);
    EXPECT_EQ(overflow.exitCode, kUsage);
    EXPECT_NE(overflow.err.find("add up to more than an amount can hold"), std::string::npos) << overflow.err;
    EXPECT_EQ(run({"edit", "1_19990101000000000", "--amount", "1"}).exitCode, kFailed);
    EXPECT_TRUE(wholeStore() == before) << "a refused command wrote to the store";
}

}  // namespace
}  // namespace financestore::testing
