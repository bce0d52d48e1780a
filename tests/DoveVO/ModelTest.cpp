// Random saves, edits and deletes (transfers and foreign currencies included) checked after every step
// against an independent model of each record's account and amount, with running balances, account
// balances and transfer links recomputed here from the stored records.
#include <cstdlib>
#include <map>
#include <random>

#include "Operation.h"
#include "StoreFixture.h"
#include "TransactionStore.h"

namespace dove::testing {
namespace {

constexpr double kUsdToEur = 0.8;

// The seed of the random run: DOVE_MODEL_SEED when set (to replay or explore), else a fixed one.
unsigned seed() {
    const char* text = std::getenv("DOVE_MODEL_SEED");
    return text != nullptr ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : 20100305u;
}

class ModelTest : public StoreTest {
  protected:
    struct Expected {
        int32_t account;
        Amount amount;
    };

    void SetUp() override {
        StoreTest::SetUp();
        for (int32_t n : {1, 2, 12})
            addAccount({n, u"USD", 1000 * n});
        addAccount({3, u"EUR", 500});
        addCurrency(1, u"USD", u"$");
        addCurrency(2, u"EUR", u"eu");
        setDefaultCurrency(u"USD");
        addRate(u"USD", u"EUR", dateOf(2009, 1, 1), u"0.8");
        for (int32_t n : {1, 2, 3, 12})
            recalculated(n, 0);
    }

    static std::u16string currencyOf(int32_t account) { return account == 3 ? u"EUR" : u"USD"; }
    // The other side's amount: converted from the record's currency into the other account's.
    static Amount converted(Amount amount, const std::u16string& from, const std::u16string& to) {
        double rate = from == to ? 1.0 : (from == u"EUR" ? 1.0 / kUsdToEur : kUsdToEur);
        return -amountFromReal(static_cast<double>(amount) * rate);
    }

    Date randomDate() {
        if (m_random() % 5 == 0) return march(5, 14, 8, 9, 45);
        return dateOf(2010, 1 + static_cast<int>(m_random() % 3), 1 + static_cast<int>(m_random() % 28),
                      static_cast<int>(m_random() % 24), static_cast<int>(m_random() % 60));
    }
    int32_t randomAccount() { return std::vector<int32_t>{1, 2, 3, 12}[m_random() % 4]; }
    Amount randomAmount() { return static_cast<Amount>(m_random() % 200000) - 120000; }

    // Loads a random stored record of a real account; false when there is none.
    bool pickRecord(TransactionRecord& record) {
        auto rows = transactionRows();
        if (rows.empty()) return false;
        return loadTransactionByIdentifier(record, rows[m_random() % rows.size()].id);
    }

    void expectPartner(const TransactionRecord& r) {
        TransactionRecord other;
        ASSERT_TRUE(loadTransactionByIdentifier(other, r.link()));
        const std::u16string from = r.currency().empty() ? currencyOf(r.account()) : r.currency();
        m_model[other.key()] = {other.account(), converted(r.amount(), from, currencyOf(other.account()))};
        ++m_transfersSaved;
        if (other.kind() == kKindSplitTransfer || r.kind() == kKindSplitTransfer) ++m_splitTransfersSaved;
    }

    void addRandom() {
        TransactionRecord r;
        const int32_t account = randomAccount();
        r.setAccount(account);
        r.setCurrency(currencyOf(account));
        r.setAmount(randomAmount());
        r.setDate(randomDate());
        int32_t to = randomAccount();
        r.setCategory(m_random() % 3 == 0 && to != account ? -to : 0);
        if (m_random() % 10 == 0) r.setI4(tx::kExcluded, 1);
        ASSERT_EQ(addNewTransaction(r), StoreStatus::Ok);
        m_model[r.key()] = {account, r.amount()};
        if (r.category() < 0) expectPartner(r);
    }

    // A split owner with two or three lines, some of them transfers to other accounts.
    void addSplitRandom() {
        TransactionRecord owner;
        const int32_t account = randomAccount();
        owner.setAccount(account);
        owner.setCurrency(currencyOf(account));
        owner.setDate(randomDate());
        std::vector<TransactionRecord> lines(2 + m_random() % 2);
        Amount total = 0;
        for (TransactionRecord& line : lines) {
            line.setAmount(randomAmount());
            line.setCurrency(currencyOf(account));
            const int32_t to = randomAccount();
            line.setCategory(m_random() % 2 == 0 && to != account ? -to
                                                                  : 1 + static_cast<int32_t>(m_random() % 4));
            total += line.amount();
        }
        owner.setAmount(total);
        owner.setSplits(std::move(lines));
        ASSERT_EQ(addNewTransaction(owner), StoreStatus::Ok);
        m_model[owner.key()] = {account, total};
        TransactionRecord reloaded;
        ASSERT_TRUE(loadTransactionByIdentifier(reloaded, owner.identifier()));
        ASSERT_TRUE(loadSplitLines(reloaded));
        ASSERT_EQ(reloaded.splits().size(), owner.splits().size());
        for (const TransactionRecord& line : reloaded.splits()) {
            m_model[line.key()] = {account, line.amount()};
            if (line.category() < 0) expectPartner(line);
        }
    }

    // Forgets the record and everything that goes with it when it is deleted.
    void forgetWithDependants(const TransactionRecord& r) {
        if (r.kind() == kKindSplitOwner) {
            TransactionRecord owner = r;
            ASSERT_TRUE(loadSplitLines(owner));
            for (const TransactionRecord& line : owner.splits())
                forgetWithDependants(line);
        }
        if (!r.link().empty()) {
            TransactionRecord other;
            ASSERT_TRUE(loadTransactionByIdentifier(other, r.link()));
            m_model.erase(other.key());
        }
        m_model.erase(r.key());
    }

    void editRandom() {
        TransactionRecord r;
        if (!pickRecord(r)) return;
        switch (m_random() % 5) {
            case 0:
                r.setAmount(randomAmount());
                break;
            case 3:
                r.setI4(tx::kExcluded, r.i4(tx::kExcluded) == 0 ? 1 : 0);
                break;
            case 4:
                // A plain record moves to another account (its amount stays in its own currency).
                if (r.kind() == kKindPlain && r.category() >= 0) r.setAccount(randomAccount());
                break;
            case 1:
                r.setDate(randomDate());
                break;
            default:
                if (r.category() < 0) {
                    TransactionRecord other;
                    ASSERT_TRUE(loadTransactionByIdentifier(other, r.link()));
                    m_model.erase(other.key());
                }
                const int32_t category = static_cast<int32_t>(m_random() % 5);
                if (r.kind() == kKindSplitOwner && category != 0) {
                    // An owner given a category drops its split lines.
                    TransactionRecord owner = r;
                    ASSERT_TRUE(loadSplitLines(owner));
                    for (const TransactionRecord& line : owner.splits())
                        forgetWithDependants(line);
                }
                r.setCategory(category);
        }
        // Conversions do not round-trip, so the other side is only recomputed when this side changed.
        const bool changed = r.anythingSet();
        ASSERT_EQ(saveTransaction(r), StoreStatus::Ok);
        m_model[r.key()] = {r.account(), r.amount()};
        if (changed && r.category() < 0) expectPartner(r);
    }

    void deleteRandom() {
        TransactionRecord r;
        if (!pickRecord(r)) return;
        forgetWithDependants(r);
        ASSERT_EQ(deleteTransaction(r), StoreStatus::Ok);
    }

    void checkAgainstModel(int step) {
        std::map<std::u16string, Expected> stored;
        std::map<int32_t, Amount> running = {{1, 1000}, {2, 2000}, {12, 12000}, {3, 500}};
        auto rows = transactionRows();
        TableCursor& t = tableCursor(Table::Transactions);
        for (const Row& row : rows) {
            ASSERT_TRUE(t.seekFirstEqual(row.id));
            stored[t.getString(tx::kKey)] = {row.account, row.amount};
            if (row.kind != kKindSplitLine) {
                if (t.getI4(tx::kExcluded) == 0) running[row.account] += row.amount;
                ASSERT_EQ(row.balance, running[row.account]) << "step " << step;
            }
            if (row.link.empty()) continue;
            TransactionRecord other;
            ASSERT_TRUE(loadTransactionByIdentifier(other, row.link)) << "step " << step;
            EXPECT_EQ(other.link(), row.id);
            EXPECT_EQ(other.account(), -row.category);
            EXPECT_EQ(other.category(), -row.account);
        }
        for (const auto& [account, balance] : running)
            ASSERT_EQ(storedAccountBalance(account), balance) << "account " << account << " step " << step;
        ASSERT_EQ(stored.size(), m_model.size()) << "step " << step;
        for (const auto& [key, expected] : m_model) {
            auto it = stored.find(key);
            ASSERT_NE(it, stored.end()) << "step " << step;
            ASSERT_EQ(it->second.account, expected.account) << "step " << step;
            ASSERT_EQ(it->second.amount, expected.amount) << "step " << step;
        }
    }

    std::mt19937 m_random{seed()};
    std::map<std::u16string, Expected> m_model;
    int m_transfersSaved = 0;
    int m_splitTransfersSaved = 0;
};

TEST_F(ModelTest, RandomSavesEditsAndDeletesKeepBalancesAndLinksRight) {
    for (int step = 0; step < 300; ++step) {
        const unsigned op = m_random() % 11;
        if (op < 4)
            addRandom();
        else if (op < 5)
            addSplitRandom();
        else if (op < 8)
            editRandom();
        else
            deleteRandom();
        if (HasFatalFailure()) return;
        checkAgainstModel(step);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(m_transfersSaved, 20);
    EXPECT_GT(m_splitTransfersSaved, 5);
    for (int32_t account : {1, 2, 3, 12}) {
        const Amount before = storedAccountBalance(account);
        EXPECT_EQ(recalculated(account, 0), before);
    }
}

}  // namespace
}  // namespace dove::testing
