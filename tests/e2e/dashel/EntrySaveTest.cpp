// Entries made on the built program as a user makes them, from the payee list to the save: the store
// afterwards holds exactly the transactions entered (payee, category, sign, amount, date, running
// balance; an amount in euros with its conversion at the day's rate), "financestore check" finds
// nothing wrong, and the finance manager's stand-in heard of each transaction and, once, of the
// change. A save whose write fails shows message 27, writes nothing and keeps the entry for the next
// try. Snapshots of every step are kept for review.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <set>

#include "DashelFixture.h"

namespace dashele2e {
namespace {

constexpr ScreenProfile kPortraitScreen{240, 320, 96};
const std::string kTransactionAdded = "message 1141 wParam 0 lParam 0\n";  // WM_USER+117
const std::string kDataChanged = "message 1129 wParam 0 lParam 0\n";       // WM_USER+105

// Amounts as the dump writes them ("-12.50") in hundredths.
int64_t hundredths(const std::string& text) {
    const bool negative = !text.empty() && text[0] == '-';
    int64_t value = 0;
    for (char c : text)
        if (c >= '0' && c <= '9') value = value * 10 + (c - '0');
    return negative ? -value : value;
}

std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

class EntrySaveE2ETest : public ManagerE2ETest {
  protected:
    void SetUp() override {
        ManagerE2ETest::SetUp();
        m_before = dumpTable(root(), "Transactions");
        ASSERT_FALSE(m_before.empty());
    }
    // The Transactions dump lines whose identifiers were not there before the run.
    std::vector<std::string> added() {
        std::set<std::string> known;
        for (const std::string& line : m_before)
            known.insert(jsonField(line, "identifier"));
        std::vector<std::string> lines;
        for (const std::string& line : dumpTable(root(), "Transactions"))
            if (known.count(jsonField(line, "identifier")) == 0) lines.push_back(line);
        return lines;
    }
    // The record's running balance is the one of the account's record before it (by identifier, which
    // orders an account's records by date) plus its amount.
    void expectRunningBalance(const std::string& record) {
        std::vector<std::string> account;
        for (const std::string& line : dumpTable(root(), "Transactions"))
            if (jsonField(line, "account") == jsonField(record, "account")) account.push_back(line);
        std::sort(account.begin(), account.end(), [](const std::string& a, const std::string& b) {
            return jsonField(a, "identifier") < jsonField(b, "identifier");
        });
        auto at = std::find(account.begin(), account.end(), record);
        ASSERT_NE(at, account.end());
        ASSERT_NE(at, account.begin());
        EXPECT_EQ(hundredths(jsonField(record, "balance")),
                  hundredths(jsonField(*(at - 1), "balance")) + hundredths(jsonField(record, "amount")))
            << record;
    }
    void expectStoreChecks() {
        EXPECT_EQ(
            runProgram(programPath("financestore"), {"--root", root(), "check"}, {}, root() + "/check.out"),
            0)
            << readFile(root() + "/check.out");
    }
    std::string shot(const std::string& name) {
        return "shot " + snapshotFolder(kPortraitScreen) + "/" + name;
    }

    std::vector<std::string> m_before;
};

struct Expected {
    const char* payeeName;
    const char* payee;
    const char* category;
    const char* amount;
};

TEST_F(EntrySaveE2ETest, TwoEntriesAreSavedWithTheirBalancesAndTheManagerIsTold) {
    Script script;
    script.line("wait 300")
        .line(shot("entry-payees.png"))
        .line("tap-text Bakery Lane")  // a tap confirms: Checking, Groceries, a payment of 8.00
        .line(shot("entry-payee-taken.png"))
        .line("tap-text Сумма")
        .line("char 12.5")
        .line(shot("entry-amount.png"))
        .line("tap-text OK")
        .line("tap-text Groceries")
        .line("tap-window Keyboard/3")  // "DEF": Fuel, the first category left, is current
        .line(shot("entry-categories-narrowed.png"))
        .line("tap-text OK")
        .line(shot("entry-ready.png"))
        .line("tap-text Зап. & Новый")
        .line(shot("entry-next.png"))
        .line("tap-window Keyboard/3")
        .line("tap-text Fresh Market")
        .line("char 7")  // typed on the field panel
        .line(shot("entry-second.png"))
        .line("tap-text Записать");
    ASSERT_EQ(runDashel(kPortraitScreen, script.text()), 0) << output();

    const Expected kExpected[] = {{"Bakery Lane", "10", "8", "-12.50"}, {"Fresh Market", "4", "5", "-7.00"}};
    std::vector<std::string> records = added();
    ASSERT_EQ(records.size(), 2u);
    std::sort(records.begin(), records.end(), [](const std::string& a, const std::string& b) {
        return jsonField(a, "identifier") < jsonField(b, "identifier");
    });
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(records[i]);
        EXPECT_EQ(jsonField(records[i], "payeeName"), kExpected[i].payeeName);
        EXPECT_EQ(jsonField(records[i], "payee"), kExpected[i].payee);
        EXPECT_EQ(jsonField(records[i], "category"), kExpected[i].category);
        EXPECT_EQ(jsonField(records[i], "amount"), kExpected[i].amount);
        EXPECT_EQ(jsonField(records[i], "account"), "1");
        EXPECT_EQ(jsonField(records[i], "currency"), "USD");
        EXPECT_EQ(jsonField(records[i], "enteredAmount"), "");
        EXPECT_EQ(jsonField(records[i], "date").substr(0, 10), today());
        expectRunningBalance(records[i]);
    }
    expectStoreChecks();
    const std::string log = stopManager();
    EXPECT_EQ(countLines(log, kTransactionAdded), 2) << log;
    EXPECT_EQ(countLines(log, "message 1129 "), 1) << log;
    EXPECT_EQ(countLines(log, kDataChanged), 1) << log;
}

TEST_F(EntrySaveE2ETest, AnAmountInEurosIsSavedWithItsConversionAtTheDaysRate) {
    Script script;
    script.line("wait 300")
        .line("tap-text Bakery Lane")
        .line("tap-text Сумма")
        .line("tap-window Calculator/CalculatorDisplay/FingerComboBox")
        .line("tap-text EUR")
        .line("char 20")
        .line(shot("entry-euros.png"))
        .line("tap-text OK")
        .line(shot("entry-euros-taken.png"))
        .line("tap-text Записать");
    ASSERT_EQ(runDashel(kPortraitScreen, script.text()), 0) << output();

    std::vector<std::string> records = added();
    ASSERT_EQ(records.size(), 1u);
    const std::string& record = records[0];
    SCOPED_TRACE(record);
    EXPECT_EQ(jsonField(record, "currency"), "USD") << "the account's currency";
    EXPECT_EQ(jsonField(record, "enteredAmount"), "-20.00");
    EXPECT_EQ(jsonField(record, "enteredCurrency"), "EUR");
    // The dollars-to-euros series holds the rate; a euro in dollars is its inverse, of the latest date
    // not after today.
    std::string latestKey, latestRate;
    const std::string todayKey = "USDEUR" + [] {
        std::string day = today();
        day.erase(std::remove(day.begin(), day.end(), '-'), day.end());
        return day;
    }();
    for (const std::string& line : dumpTable(root(), "CurrencyHistory")) {
        const std::string key = jsonField(line, "rateKey");
        if (key.rfind("USDEUR", 0) == 0 && key <= todayKey && key > latestKey) {
            latestKey = key;
            latestRate = jsonField(line, "rate");
        }
    }
    ASSERT_FALSE(latestRate.empty());
    const double rate = 1.0 / std::strtod(latestRate.c_str(), nullptr);
    EXPECT_NEAR(std::strtod(jsonField(record, "rate").c_str(), nullptr), rate, 1e-9);
    EXPECT_EQ(hundredths(jsonField(record, "amount")), std::llround(-2000 * rate));
    expectRunningBalance(record);
    expectStoreChecks();
    const std::string log = stopManager();
    EXPECT_EQ(countLines(log, kTransactionAdded), 1) << log;
    EXPECT_EQ(countLines(log, kDataChanged), 1) << log;
}

TEST_F(EntrySaveE2ETest, AFailedWriteShowsMessage27KeepsTheEntryAndTheNextSaveIsWritten) {
    m_program = "dashel_failing_write";  // its first write fails
    const std::string folder = snapshotFolder(kPortraitScreen);
    Script script;
    script.line("wait 300")
        .line("tap-text Bakery Lane")
        .line("char 9")
        .line("tap-text Записать")
        .line("dump-text " + root() + "/failed.json")
        .line(shot("entry-write-failed.png"))
        .line("answer OK")
        .line("wait 200")  // the box takes the answer when its loop runs again
        .line("dump-text " + root() + "/kept.json")
        .line("tap-text Записать");
    ASSERT_EQ(runDashel(kPortraitScreen, script.text()), 0) << output();

    auto shows = [](const std::vector<TextRun>& runs, const std::string& text) {
        return std::any_of(runs.begin(), runs.end(), [&](const TextRun& run) { return run.text == text; });
    };
    const std::vector<TextRun> failed = readTextDump(root() + "/failed.json");
    EXPECT_TRUE(shows(failed, "Ошибка записи Проводки !"));
    EXPECT_TRUE(shows(failed, "Brimwell Dashel"));
    const std::vector<TextRun> kept = readTextDump(root() + "/kept.json");
    EXPECT_TRUE(shows(kept, "Bakery Lane")) << "the entry stays on the field panel";
    EXPECT_TRUE(shows(kept, "($9.00)"));
    std::vector<std::string> records = added();
    ASSERT_EQ(records.size(), 1u) << "only the second save wrote";
    EXPECT_EQ(jsonField(records[0], "amount"), "-9.00");
    EXPECT_EQ(jsonField(records[0], "payee"), "10");
    expectStoreChecks();
    const std::string log = stopManager();
    EXPECT_EQ(countLines(log, kTransactionAdded), 1) << log;
    EXPECT_EQ(countLines(log, kDataChanged), 1) << log;
}

}  // namespace
}  // namespace dashele2e
