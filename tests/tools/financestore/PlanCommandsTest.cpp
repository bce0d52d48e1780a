// Scheduled data through financestore: items added, their occurrences entered in full and in parts,
// the future list printed with its amounts and expanded memos, items finishing and deleted with their
// reminders, the demonstration store's items, and bad input refused with nothing written; check stays
// clean throughout.
#include <algorithm>

#include "ToolFixture.h"

namespace financestore::testing {
namespace {

class PlanCommandsTest : public FinanceStoreToolTest {
  protected:
    // The tool under a fixed locale: English month names, Sunday as the first day of the week.
    ToolResult tool(const std::vector<std::string>& arguments) {
        return shell("LC_ALL=en_US.UTF-8 " + toolCommand(arguments));
    }
    std::string added(const std::vector<std::string>& options) {
        std::vector<std::string> arguments = {"plan", "add"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        ToolResult result = tool(arguments);
        EXPECT_EQ(result.exitCode, kOk) << result.err;
        return result.outLines().empty() ? std::string() : result.outLines().front();
    }
    std::vector<std::string> future(const std::string& until) {
        ToolResult result = tool({"future", "--until", until});
        EXPECT_EQ(result.exitCode, kOk) << result.err;
        return result.outLines();
    }
    void expectClean() {
        ToolResult checked = run({"check"});
        EXPECT_EQ(checked.exitCode, kOk) << checked.out << checked.err;
    }
    // The demonstration store's items lie around today; the scenario's lie in 2010, apart from them.
    std::vector<std::string> itemLines(const std::string& number) {
        std::vector<std::string> found;
        for (const std::string& line : tool({"plan", "list"}).outLines())
            if (line.rfind(number + "\t", 0) == 0) found.push_back(line);
        return found;
    }
};

TEST_F(PlanCommandsTest, ItemsAreEnteredInFullAndInPartsAndTheFutureListFollows) {
    seedDemo();
    const std::string rent =
        added({"--account", "1", "--amount", "-1200", "--frequency", "Monthly", "--first",
               "2010-01-31T09:00:00", "--ongoing", "--lead-days", "3", "--payee", "Oakwood Apartments",
               "--category", "Home:Rent", "--memo", "Rent for {month+1} {year}"});
    const std::string loan = added({"--account", "1", "--amount", "-250.50", "--frequency", "twice-a-month",
                                    "--first", "2010-03-20", "--count", "3", "--payee", "City Auto", "--memo",
                                    "Payment {day}/{month}, week {week}"});
    ASSERT_FALSE(rent.empty());
    ASSERT_FALSE(loan.empty());
    const std::string r = "\t" + rent + "\t1\t", l = "\t" + loan + "\t1\t";
    EXPECT_EQ(future("2010-04-27"),
              (std::vector<std::string>{
                  "2010-01-31" + r + "-1200.00\tUSD\t\tOakwood Apartments\tRent for February 2010",
                  "2010-02-28" + r + "-1200.00\tUSD\t\tOakwood Apartments\tRent for March 2010",
                  "2010-03-20" + l + "-250.50\tUSD\t\tCity Auto\tPayment 20/March, week 12",
                  "2010-03-31" + r + "-1200.00\tUSD\t\tOakwood Apartments\tRent for April 2010",
                  "2010-04-05" + l + "-250.50\tUSD\t\tCity Auto\tPayment 05/April, week 15",
                  "2010-04-20" + l + "-250.50\tUSD\t\tCity Auto\tPayment 20/April, week 17",
                  "2010-04-30" + r + "-1200.00\tUSD\t\tOakwood Apartments\tRent for May 2010",
              }));

    ToolResult entered = tool({"plan", "enter", rent});
    ASSERT_EQ(entered.exitCode, kOk) << entered.err;
    EXPECT_EQ(entered.outLines(), std::vector<std::string>{"1_20100131090000000"});
    EXPECT_NE(entered.err.find("the occurrence on 2010-01-31 is paid"), std::string::npos) << entered.err;
    entered = tool({"plan", "enter", loan, "--amount", "-100"});
    ASSERT_EQ(entered.exitCode, kOk) << entered.err;
    EXPECT_NE(entered.err.find("-150.50 USD of the occurrence on 2010-03-20 remains due"), std::string::npos)
        << entered.err;
    expectClean();
    std::vector<std::string> list = future("2010-04-27");
    ASSERT_EQ(list.size(), 6u);
    EXPECT_EQ(list[0], "2010-02-28" + r + "-1200.00\tUSD\t\tOakwood Apartments\tRent for March 2010");
    EXPECT_EQ(list[1], "2010-03-20" + l + "-150.50\tUSD\t-250.50\tCity Auto\tPayment 20/March, week 12");
    const std::vector<std::string> entries = dumpLinesWith("Transactions", "\"City Auto\"");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(field(entries[0], 114), "\"Payment 20/March, week 12\"");
    EXPECT_EQ(field(entries[0], 107), "-10000");
    EXPECT_EQ(field(entries[0], 106), "1");

    ASSERT_EQ(tool({"plan", "enter", loan}).exitCode, kOk);  // the rest
    list = future("2010-04-27");
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[1], "2010-03-31" + r + "-1200.00\tUSD\t\tOakwood Apartments\tRent for April 2010");
    ASSERT_EQ(tool({"plan", "enter", loan, "--date", "2010-04-02"}).exitCode, kOk);
    ASSERT_EQ(tool({"plan", "enter", loan}).exitCode, kOk);
    EXPECT_EQ(future("2010-04-27").size(), 3u);
    const std::vector<std::string> finished = itemLines(loan);
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_NE(finished[0].find("\tfinished\t3 of 3 entered\t-250.50 USD\taccount 1\tCity Auto\t"),
              std::string::npos)
        << finished[0];
    ToolResult again = tool({"plan", "enter", loan});
    EXPECT_EQ(again.exitCode, kFailed);
    EXPECT_EQ(again.err, "financestore: scheduled item " + loan + " is finished\n");
    expectClean();

    ASSERT_EQ(run({"plan", "delete", rent}).exitCode, kOk);
    EXPECT_EQ(run({"plan", "delete", rent}).exitCode, kFailed);
    EXPECT_TRUE(itemLines(rent).empty());
    // The entered rent stays, no longer tied to the deleted item.
    const std::vector<std::string> rentPaid = dumpLinesWith("Transactions", "1_20100131090000000");
    ASSERT_EQ(rentPaid.size(), 1u);
    EXPECT_EQ(field(rentPaid[0], 251), "0");
    expectClean();
}

TEST_F(PlanCommandsTest, AReminderIsLinkedWithItsItemAndGoesWithIt) {
    seedDemo();
    const std::string item = added({"--account", "1", "--amount", "-80", "--frequency", "5", "--first",
                                    "2010-03-01", "--ongoing", "--reminder", "Pay the water bill"});
    const std::vector<std::string> lines = itemLines(item);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("\treminder 1"), std::string::npos) << lines[0];
    const std::string store = readAll(m_root.path() + "/pimstore.txt");
    EXPECT_NE(store.find("1\t1\tPay the water bill\t[Brimwell]\n"), std::string::npos) << store;
    ASSERT_EQ(run({"plan", "delete", item}).exitCode, kOk);
    EXPECT_EQ(readAll(m_root.path() + "/pimstore.txt").find("Pay the water bill"), std::string::npos);
}

TEST_F(PlanCommandsTest, TheDemonstrationStoresItemsAreRealisticAndConsistent) {
    seedDemo();
    const std::vector<std::string> items = tool({"plan", "list"}).outLines();
    auto has = [&](const std::string& text) {
        return std::any_of(items.begin(), items.end(),
                           [&](const std::string& line) { return line.find(text) != std::string::npos; });
    };
    EXPECT_TRUE(has("\tMonthly\t") && has("Rent for {month} {year}"));
    EXPECT_TRUE(has("\tTwice a month\t"));
    EXPECT_TRUE(has("\tAnnually\t"));
    EXPECT_TRUE(has("8 of 12 entered") || has("9 of 12 entered"));
    expectClean();
    // The bill paid in part shows what remains, beside the amount it had.
    bool partial = false;
    for (const std::string& line : future("2099-01-01"))
        partial = partial || line.find("\t-180.00\tUSD\t-330.00\tCity Power\t") != std::string::npos;
    EXPECT_TRUE(partial);
}

TEST_F(PlanCommandsTest, BadInputGivesOneLineAndWritesNothing) {
    seedDemo();
    const std::string before = run({"dump", "Planner", "--raw"}).out;
    const std::vector<std::string> base = {"plan", "add", "--account", "1", "--amount", "-10"};
    auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> arguments = base;
        arguments.insert(arguments.end(), more.begin(), more.end());
        return arguments;
    };
    const struct {
        std::vector<std::string> arguments;
        std::string message;
    } cases[] = {
        {with({"--frequency", "fortnightly", "--first", "2010-03-01", "--ongoing"}),
         "unknown frequency 'fortnightly'"},
        {with({"--frequency", "13", "--first", "2010-03-01", "--ongoing"}), "unknown frequency '13'"},
        {with({"--frequency", "monthly", "--first", "2010-02-30", "--ongoing"}), "bad date '2010-02-30'"},
        {with({"--frequency", "monthly", "--ongoing"}), "plan add needs --first DATE"},
        {with({"--frequency", "monthly", "--first", "2010-03-01"}), "give either --count N or --ongoing"},
        {with({"--frequency", "monthly", "--first", "2010-03-01", "--count", "2", "--ongoing"}),
         "give either --count N or --ongoing"},
        {with({"--frequency", "monthly", "--first", "2010-03-01", "--count", "0"}), "bad count '0'"},
        {with({"--frequency", "monthly", "--first", "2010-03-01", "--ongoing", "--interval", "3"}),
         "--interval goes with the frequency Every n Days"},
        {with({"--frequency", "every n days", "--first", "2010-03-01", "--ongoing"}),
         "--interval goes with the frequency Every n Days"},
        {with({"--frequency", "12", "--first", "2010-03-01", "--ongoing", "--interval", "0"}),
         "bad interval '0'"},
        {with({"--frequency", "monthly", "--first", "2010-03-01", "--ongoing", "--lead-days", "-1"}),
         "bad lead days '-1'"},
        {with({"--frequency", "monthly", "--first", "2010-03-01", "--ongoing", "--category", "Nope"}),
         "unknown category Nope"},
        {with({"--frequency", "monthly", "--first", "2010-03-01", "--ongoing", "--reminder", " "}),
         "the reminder text is empty"},
        {with({"--frequency", "monthly", "--first", "2010-03-01", "--ongoing", "--date", "2010-03-01"}),
         "plan add does not take --date"},
        {{"plan", "add", "--amount", "-10"}, "plan add needs --account and --amount"},
        {{"plan"}, "plan needs add, list, enter or delete"},
        {{"plan", "pay", "1"}, "plan has no command 'pay'"},
        {{"plan", "enter"}, "plan enter needs exactly one schedule number"},
        {{"plan", "enter", "x"}, "bad schedule number 'x'"},
        {{"plan", "enter", "1", "--amount", "10"},
         "the payment must have the sign of the item's amount -1200.00"},
        {{"plan", "enter", "1", "--amount", "0"}, "a payment of 0 enters nothing"},
        {{"plan", "enter", "1", "--date", "tomorrow"}, "bad date 'tomorrow'"},
        {{"future"}, "future needs --until DATE"},
        {{"future", "--until", "2010-13-01"}, "bad date '2010-13-01'"},
    };
    for (const auto& c : cases) {
        ToolResult result = tool(c.arguments);
        EXPECT_EQ(result.exitCode, kUsage) << c.message;
        EXPECT_EQ(result.err.rfind("financestore: " + c.message, 0), 0u) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
    ToolResult missing = tool({"plan", "enter", "99"});
    EXPECT_EQ(missing.exitCode, kFailed);
    EXPECT_EQ(missing.err, "financestore: no scheduled item 99\n");
    EXPECT_EQ(run({"dump", "Planner", "--raw"}).out, before);
    expectClean();
}

}  // namespace
}  // namespace financestore::testing
