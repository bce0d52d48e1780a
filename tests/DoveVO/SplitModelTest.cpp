// Random edits of split transactions (new owners, lines added, dropped, reordered and changed, transfer
// lines among them, owners moved and deleted) against an in-memory model of each owner's lines, with the
// store's check run after every step. DOVE_SPLIT_SEEDS=N runs seeds 1 to N instead of the few of CI.
#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>

#include "Categories.h"
#include "StoreCheck.h"
#include "StoreFixture.h"
#include "TransactionStore.h"
#include "platform/windows.h"

namespace dove::testing {
namespace {

constexpr unsigned kSeedsInCi = 3;
constexpr int kStepsPerSeed = 40;
constexpr int32_t kAccounts[] = {7, 9, 11};

unsigned seedCount() {
    const char* text = std::getenv("DOVE_SPLIT_SEEDS");
    return text != nullptr ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : kSeedsInCi;
}

using Line = std::pair<int32_t, Amount>;  // category (negative: transfer) and amount

struct OwnerModel {
    std::u16string identifier;
    int32_t account = 0;
    std::vector<Line> lines;
};

class SplitModelTest : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        addAccount({7, u"USD", 100000});
        addAccount({9, u"USD", 0});
        addAccount({11, u"EUR", 5000});
        addCurrency(1, u"USD", u"$");
        addCurrency(2, u"EUR", u"eu");
        setDefaultCurrency(u"USD");
        addRate(u"USD", u"EUR", dateOf(2010, 1, 1), u"0.8");
        for (const char16_t* name : {u"Food", u"Car", u"Dining"})
            m_categories.push_back(madeCategory(1, name, category::kExpense));
        ASSERT_NE(
            tableCursor(Table::Budgets).addRecord({PropertyValue::i4(501, 1), PropertyValue::i4(504, 0)}),
            0u);
        for (int32_t category : {m_categories[0], m_categories[2]})
            ASSERT_NE(tableCursor(Table::BudgetLists)
                          .addRecord({PropertyValue::i4(501, 1), PropertyValue::i4(401, category),
                                      PropertyValue::i4(402, 1),
                                      PropertyValue::string(
                                          135, u"{line" + std::u16string(1, u'0' + category) + u"}"),
                                      PropertyValue::date(417, 0)}),
                      0u);
        for (int32_t account : kAccounts)
            recalculated(account);
    }

    static std::u16string currencyOf(int32_t account) { return account == 11 ? u"EUR" : u"USD"; }
    int32_t randomAccount() { return kAccounts[m_random() % 3]; }
    Amount randomAmount() { return -static_cast<Amount>(1 + m_random() % 50000); }
    Date randomDate() {
        return dateOf(2010, 2 + static_cast<int>(m_random() % 2), 1 + static_cast<int>(m_random() % 28), 9);
    }

    // A category line, or now and then a transfer line to another account.
    Line randomLine(int32_t account) {
        const int32_t other = randomAccount();
        if (m_random() % 3 == 0 && other != account) return {-other, randomAmount()};
        return {m_categories[m_random() % m_categories.size()], randomAmount()};
    }

    static TransactionRecord newLine(const Line& line, int32_t account) {
        TransactionRecord r;
        r.setCategory(line.first);
        r.setAmount(line.second);
        r.setCurrency(currencyOf(account));
        return r;
    }

    static Amount sumOf(const std::vector<TransactionRecord>& lines) {
        Amount sum = 0;
        for (const TransactionRecord& line : lines)
            sum += line.amount();
        return sum;
    }

    void addOwner() {
        TransactionRecord owner;
        OwnerModel model;
        model.account = randomAccount();
        owner.setAccount(model.account);
        owner.setCurrency(currencyOf(model.account));
        owner.setDate(randomDate());
        std::vector<TransactionRecord> lines;
        for (unsigned n = 1 + m_random() % 4; n > 0; --n) {
            model.lines.push_back(randomLine(model.account));
            lines.push_back(newLine(model.lines.back(), model.account));
        }
        owner.setAmount(sumOf(lines));
        owner.setSplits(std::move(lines));
        ASSERT_EQ(addNewTransaction(owner), StoreStatus::Ok);
        model.identifier = owner.identifier();
        m_model[owner.key()] = model;
    }

    // Drops, adds, changes and reorders lines of a random owner; now and then moves it.
    void editOwner() {
        if (m_model.empty()) return;
        auto it = std::next(m_model.begin(), static_cast<long>(m_random() % m_model.size()));
        OwnerModel& model = it->second;
        TransactionRecord owner;
        ASSERT_TRUE(loadTransactionByIdentifier(owner, model.identifier));
        ASSERT_TRUE(loadSplitLines(owner));
        std::vector<TransactionRecord> lines = owner.splits();
        for (size_t drop = m_random() % 3; drop > 0 && !lines.empty(); --drop)
            lines.erase(lines.begin() + static_cast<long>(m_random() % lines.size()));
        for (size_t add = m_random() % 3; add > 0; --add)
            lines.push_back(newLine(randomLine(model.account), model.account));
        if (!lines.empty() && m_random() % 3 == 0) lines[m_random() % lines.size()].setAmount(randomAmount());
        std::shuffle(lines.begin(), lines.end(), m_random);
        if (m_random() % 5 == 0) owner.setDate(randomDate());
        const int32_t moveTo = randomAccount();
        const bool targeted = std::any_of(
            lines.begin(), lines.end(), [&](const TransactionRecord& l) { return l.category() == -moveTo; });
        if (m_random() % 6 == 0 && !targeted && currencyOf(moveTo) == currencyOf(model.account)) {
            owner.setAccount(moveTo);
            model.account = moveTo;
        }
        model.lines.clear();
        for (const TransactionRecord& line : lines)
            model.lines.emplace_back(line.category(), line.amount());
        owner.setAmount(sumOf(lines));
        owner.setSplits(std::move(lines));
        ASSERT_EQ(saveTransaction(owner), StoreStatus::Ok);
        model.identifier = owner.identifier();
    }

    void deleteOwner() {
        if (m_model.empty()) return;
        auto it = std::next(m_model.begin(), static_cast<long>(m_random() % m_model.size()));
        TransactionRecord owner;
        ASSERT_TRUE(loadTransactionByIdentifier(owner, it->second.identifier));
        ASSERT_EQ(deleteTransaction(owner), StoreStatus::Ok);
        m_model.erase(it);
    }

    void expectStoreAsModelled(const std::string& where) {
        financestore::StoreSnapshot snapshot;
        ASSERT_TRUE(financestore::readSnapshot(snapshot));
        const std::vector<std::string> violations = financestore::checkStore(snapshot);
        ASSERT_TRUE(violations.empty()) << where << "\n" << ::testing::PrintToString(violations);
        size_t records = 0;
        for (const auto& [key, model] : m_model) {
            TransactionRecord owner;
            ASSERT_TRUE(loadTransactionByIdentifier(owner, model.identifier)) << where;
            ASSERT_TRUE(loadSplitLines(owner));
            EXPECT_EQ(owner.key(), key) << where;
            EXPECT_EQ(owner.account(), model.account) << where;
            std::vector<Line> stored, expected = model.lines;
            for (const TransactionRecord& line : owner.splits())
                stored.emplace_back(line.category(), line.amount());
            std::sort(stored.begin(), stored.end());
            std::sort(expected.begin(), expected.end());
            ASSERT_EQ(stored, expected) << where << " owner " << platform::toUtf8(model.identifier);
            Amount sum = 0;
            records += 1 + expected.size();
            for (const Line& line : expected) {
                sum += line.second;
                if (line.first < 0) ++records;  // the transfer line's counterpart
            }
            EXPECT_EQ(owner.amount(), sum) << where;
        }
        ASSERT_EQ(snapshot.transactions.size(), records) << where;
    }

    std::vector<int32_t> m_categories;
    std::mt19937 m_random;
    std::map<std::u16string, OwnerModel> m_model;
};

TEST_F(SplitModelTest, RandomSplitEditsKeepLinesTransfersBalancesAndBudgetsRight) {
    const unsigned seeds = seedCount();
    for (unsigned seed = 1; seed <= seeds; ++seed) {
        m_random.seed(seed);
        for (int step = 0; step < kStepsPerSeed; ++step) {
            const unsigned op = m_random() % 10;
            if (op < 3)
                addOwner();
            else if (op < 9)
                editOwner();
            else
                deleteOwner();
            if (HasFatalFailure()) return;
            expectStoreAsModelled("seed " + std::to_string(seed) + " step " + std::to_string(step));
            if (HasFatalFailure()) return;
        }
    }
    EXPECT_FALSE(m_model.empty());
}

}  // namespace
}  // namespace dove::testing
