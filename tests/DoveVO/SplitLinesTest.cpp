// Replacing the split lines of a stored owner: the new lines keep their data whatever lines were
// dropped, dropped transfer lines take their counterparts along, budget totals follow, and a write that
// would give two records one identifier is refused.
#include "Budgets.h"
#include "Categories.h"
#include "StoreCheck.h"
#include "StoreFixture.h"
#include "TransactionStore.h"

namespace dove::testing {
namespace {

class SplitLinesTest : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        addAccount({7});
        addAccount({9});
        addCurrency(1, u"USD", u"$");
        setDefaultCurrency(u"USD");
        m_food = madeCategory(1, u"Food", category::kExpense);
        m_car = madeCategory(1, u"Car", category::kExpense);
        m_dining = madeCategory(1, u"Dining", category::kExpense);
        ASSERT_NE(
            tableCursor(Table::Budgets).addRecord({PropertyValue::i4(501, 1), PropertyValue::i4(504, 0)}),
            0u);
        for (auto [category, key] : {std::pair{m_food, u"{food}"}, std::pair{m_dining, u"{dining}"}})
            ASSERT_NE(tableCursor(Table::BudgetLists)
                          .addRecord({PropertyValue::i4(501, 1), PropertyValue::i4(401, category),
                                      PropertyValue::i4(402, 1), PropertyValue::string(135, key),
                                      PropertyValue::date(417, 0)}),
                      0u);
    }

    static TransactionRecord line(int32_t category, Amount amount) {
        TransactionRecord r;
        r.setCategory(category);
        r.setAmount(amount);
        r.setCurrency(u"USD");
        return r;
    }

    // A payment of account 7 on 4 March split into Food, Car and a transfer to account 9.
    TransactionRecord threeLineOwner() {
        TransactionRecord owner;
        owner.setAccount(7);
        owner.setCurrency(u"USD");
        owner.setDate(march(4, 10));
        owner.setAmount(-6000);
        owner.setSplits({line(m_food, -1000), line(m_car, -2000), line(-9, -3000)});
        EXPECT_EQ(addNewTransaction(owner), StoreStatus::Ok);
        return owner;
    }

    static TransactionRecord reloaded(const std::u16string& id) {
        TransactionRecord owner;
        EXPECT_TRUE(loadTransactionByIdentifier(owner, id));
        EXPECT_TRUE(loadSplitLines(owner));
        return owner;
    }

    static Amount monthTotal(const std::u16string& key) {
        TableCursor& lines = tableCursor(Table::BudgetLists);
        SortScope sorted(lines, 135, SortKind::String);
        return lines.seekFirstEqual(key) ? lines.get64(417) : -1;
    }

    static std::vector<std::string> violations() {
        financestore::StoreSnapshot snapshot;
        EXPECT_TRUE(financestore::readSnapshot(snapshot));
        return financestore::checkStore(snapshot);
    }

    int32_t m_food = 0, m_car = 0, m_dining = 0;
};

TEST_F(SplitLinesTest, DroppingTheLastLineAndAddingOneKeepsTheNewLineAndRemovesTheOld) {
    const TransactionRecord stored = threeLineOwner();
    ASSERT_EQ(transactionRows().size(), 5u);
    TransactionRecord owner = reloaded(stored.identifier());
    std::vector<TransactionRecord> lines = owner.splits();
    ASSERT_EQ(lines.size(), 3u);
    lines.pop_back();
    lines.push_back(line(m_dining, -500));
    owner.setSplits(std::move(lines));
    owner.setAmount(-3500);
    ASSERT_EQ(saveTransaction(owner), StoreStatus::Ok);

    std::vector<std::u16string> ids;
    for (const Row& row : transactionRows())
        ids.push_back(row.id);
    // The new line is numbered above the dropped one, whose transfer counterpart went with it.
    EXPECT_EQ(ids, (std::vector<std::u16string>{u"7_20100304100000000", u"s7_201003041000000000001",
                                                u"s7_201003041000000000002", u"s7_201003041000000000004"}));
    const TransactionRecord now = reloaded(stored.identifier());
    ASSERT_EQ(now.splits().size(), 3u);
    EXPECT_EQ(now.splits()[2].category(), m_dining);
    EXPECT_EQ(now.splits()[2].amount(), -500);
    EXPECT_EQ(now.splits()[2].link(), u"");
    EXPECT_EQ(monthTotal(u"{food}"), -1000);
    EXPECT_EQ(monthTotal(u"{dining}"), -500);
    EXPECT_EQ(storedAccountBalance(7), -3500);
    EXPECT_EQ(storedAccountBalance(9), 0);
    EXPECT_EQ(violations(), std::vector<std::string>());
}

TEST_F(SplitLinesTest, ReplacingEveryLineLeavesOnlyTheNewOnes) {
    const TransactionRecord stored = threeLineOwner();
    TransactionRecord owner = reloaded(stored.identifier());
    owner.setSplits({line(-9, -700), line(m_dining, -300)});
    owner.setAmount(-1000);
    ASSERT_EQ(saveTransaction(owner), StoreStatus::Ok);
    const TransactionRecord now = reloaded(stored.identifier());
    ASSERT_EQ(now.splits().size(), 2u);
    EXPECT_EQ(now.splits()[0].sequence(), 4);
    EXPECT_EQ(now.splits()[1].sequence(), 5);
    EXPECT_EQ(transactionRows().size(), 4u);  // owner, two lines, the new line's counterpart
    EXPECT_EQ(storedAccountBalance(9), 700);
    EXPECT_EQ(monthTotal(u"{food}"), 0);
    EXPECT_EQ(violations(), std::vector<std::string>());
}

TEST_F(SplitLinesTest, AWriteThatWouldDuplicateAnIdentifierIsRefusedAndWritesNothing) {
    const TransactionRecord stored = threeLineOwner();
    const std::string before = dumpStore();

    TransactionRecord owner = reloaded(stored.identifier());
    std::vector<TransactionRecord> lines = owner.splits();
    TransactionRecord clash = line(m_dining, -1);
    clash.setSequence(2);  // the number of the stored Car line
    lines.push_back(clash);
    owner.setSplits(lines);
    owner.setAmount(-6001);
    EXPECT_EQ(saveTransaction(owner), StoreStatus::DuplicateIdentifier);
    EXPECT_EQ(dumpStore(), before);

    owner = reloaded(stored.identifier());
    lines = owner.splits();
    lines.push_back(lines.front());  // one stored line twice
    owner.setSplits(lines);
    EXPECT_EQ(saveTransaction(owner), StoreStatus::DuplicateIdentifier);
    EXPECT_EQ(dumpStore(), before);
}

}  // namespace
}  // namespace dove::testing
