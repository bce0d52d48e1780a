// Categories, projects and their totals, payees with memorized entries, and budget line totals.
#include "Accounts.h"
#include "Budgets.h"
#include "Categories.h"
#include "CurrencyCache.h"
#include "Payees.h"
#include "Projects.h"
#include "StoreFixture.h"
#include "TransactionStore.h"

namespace dove::testing {
namespace {

using MasterRecordsTest = StoreTest;

TEST_F(MasterRecordsTest, CategoryNumbersContinueFromTheGreatestAfterARestart) {
    EXPECT_EQ(madeCategory(1, u"  Food ", category::kExpense), 2);
    EXPECT_EQ(categoryName(2), u"Food");
    closeFinanceStore();
    ASSERT_TRUE(openFinanceStore());
    EXPECT_EQ(madeCategory(1, u"Salary", category::kIncome), 3);
}

TEST_F(MasterRecordsTest, APathCreatesMissingLevelsAndSubcategoriesTakeTheParentsType) {
    const int32_t fuel = madeCategoryPath(u"Car:Fuel", category::kExpense);
    ASSERT_GT(fuel, 0);
    EXPECT_EQ(categoryFullName(fuel), u"Car:Fuel");
    const int32_t car = findCategoryByFullName(u"Car");
    EXPECT_EQ(categoryParent(car), 1);
    EXPECT_EQ(categoryType(car), category::kExpense);
    EXPECT_EQ(madeCategoryPath(u"Car:Fuel", category::kExpense), fuel);
    const int32_t salary = madeCategory(1, u"Salary", category::kIncome);
    const int32_t bonus = madeCategory(salary, u"Bonus", category::kExpense);
    EXPECT_EQ(categoryType(bonus), category::kIncome);
    EXPECT_EQ(categoryFullName(bonus), u"Salary:Bonus");
    EXPECT_EQ(categoryFullName(1), u"All categories");
}

TEST_F(MasterRecordsTest, ChildrenAreFoundByTheirExactNameUnderTheirParentOnly) {
    const int32_t car = madeCategory(1, u"Car", category::kExpense);
    const int32_t fuel = madeCategory(car, u"Fuel", category::kExpense);
    const int32_t topFuel = madeCategory(1, u"Fuel", category::kExpense);
    EXPECT_EQ(findCategoryChild(car, u"Fuel"), fuel);
    EXPECT_EQ(findCategoryChild(1, u"Fuel"), topFuel);
    EXPECT_EQ(findCategoryChild(car, u"fuel"), 0) << "names are compared case-sensitively";
    EXPECT_EQ(findCategoryChild(fuel, u"Fuel"), 0);
    EXPECT_EQ(findCategoryChild(0, u"All categories"), 1) << "the root is the child of none";

    const int32_t trips = madeProject(1, u"Trips");
    const int32_t rome = madeProject(trips, u"Rome");
    const int32_t otherRome = madeProject(1, u"Rome");
    EXPECT_EQ(findProjectChild(trips, u"Rome"), rome);
    EXPECT_EQ(findProjectChild(1, u"Rome"), otherRome);
    EXPECT_EQ(findProjectChild(rome, u"Rome"), 0);
    EXPECT_EQ(findProjectByName(u"Rome"), rome) << "the first in number order";
    EXPECT_EQ(findProjectByName(u"Paris"), 0);
    EXPECT_EQ(findProjectByName(projectName(1)), 1);
}

TEST_F(MasterRecordsTest, TransferCategoriesAreNamedByTheirAccount) {
    addAccount({9});
    EXPECT_EQ(categoryName(-9), u"[Account]");
    // A transfer to an account that no longer exists names nothing, not "[]".
    EXPECT_EQ(categoryName(-10), u"");
    EXPECT_EQ(categoryFullName(-10), u"");
    EXPECT_TRUE(isTransferTarget(9));
}

TEST_F(MasterRecordsTest, ProjectTotalsSumOwnAndSubProjectTransactionsInTheDefaultCurrency) {
    addAccount({7});
    addAccount({9, u"EUR"});
    addCurrency(1, u"USD", u"$");
    setDefaultCurrency(u"USD");
    addRate(u"USD", u"EUR", march(1), u"0.5");
    const int32_t house = madeProject(1, u"House");
    const int32_t roof = madeProject(house, u"Roof");
    EXPECT_EQ(house, 2);
    EXPECT_EQ(roof, 3);
    pay(7, -1000, march(1), 0, house);
    pay(7, 300, march(2), 0, house);
    pay(9, -100, march(3), 0, roof);  // 1.00 EUR is 2.00 USD
    TransactionRecord excluded;
    excluded.setAccount(7);
    excluded.setAmount(-5);
    excluded.setDate(march(4));
    excluded.setProject(house);
    excluded.setI4(tx::kExcluded, 1);
    ASSERT_EQ(addNewTransaction(excluded), StoreStatus::Ok);
    ProjectTotals totals;
    ASSERT_EQ(projectTotals(house, totals), StoreStatus::Ok);
    EXPECT_EQ(totals.ownIncome, 300);
    EXPECT_EQ(totals.ownExpense, -1000);
    EXPECT_EQ(totals.childExpense, -200);
    EXPECT_EQ(totals.total(), -900);
    pay(7, -50, march(5), 0, house);
    ASSERT_EQ(projectTotals(house, totals), StoreStatus::Ok);
    EXPECT_EQ(totals.ownExpense, -1050);
}

TEST_F(MasterRecordsTest, PayeesAreCreatedReadAndFoundByAnyOfTheirNames) {
    Payee shop;
    shop.name = u"Shop";
    shop.displayName = u"Shop@Corner shop@";
    shop.entry.account = 7;
    shop.entry.category = 4;
    shop.entry.amount = -250;
    shop.entry.kind = 1;
    shop.splits = {{1, 4, 0, 0, u"bread", -100}, {2, 5, 0, 0, u"milk", -150}};
    ASSERT_EQ(createPayee(shop), StoreStatus::Ok);
    Payee other;
    other.name = u"Other";
    ASSERT_EQ(createPayee(other), StoreStatus::Ok);
    EXPECT_EQ(shop.number, 1);
    EXPECT_EQ(other.number, 2);
    EXPECT_EQ(findPayeeByName(u"Shop"), 1);
    EXPECT_EQ(findPayeeByName(u" Corner shop "), 1);
    EXPECT_EQ(findPayeeByName(u"Other"), 2);
    EXPECT_EQ(findPayeeByName(u"Nobody"), 0);
    Payee read;
    ASSERT_TRUE(readPayeeByNumber(1, read));
    EXPECT_EQ(read.entry.amount, -250);
    EXPECT_EQ(read.key.size(), 38u);
    ASSERT_EQ(read.splits.size(), 2u);
    EXPECT_EQ(read.splits[1].text, u"milk");
    EXPECT_EQ(read.splits[1].amount, -150);
    EXPECT_TRUE(displayNameMatches(u"A@B@", u"A"));
    EXPECT_FALSE(displayNameMatches(u"AB@", u"A"));
}

TEST_F(MasterRecordsTest, MemorizedSplitsAreReadFromTheFirstLineAboveLineZero) {
    Payee shop;
    shop.name = u"Shop";
    shop.entry.kind = 1;
    shop.splits = {{1, 4, 0, 0, u"bread", -100}, {2, 5, 0, 0, u"milk", -150}};
    ASSERT_EQ(createPayee(shop), StoreStatus::Ok);
    // A line 0 is no line of the payee's memorized entry.
    ASSERT_EQ(writeMemorizedSplit(shop.number, {0, 6, 0, 0, u"stray", -1}), StoreStatus::Ok);
    Payee read;
    ASSERT_TRUE(readPayeeByNumber(shop.number, read));
    ASSERT_EQ(read.splits.size(), 2u);
    EXPECT_EQ(read.splits[0].line, 1);
    EXPECT_EQ(read.splits[1].line, 2);
    read.number = 99;
    EXPECT_EQ(writePayee(read), StoreStatus::RecordMissing);
}

class BudgetTest : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        addAccount({7});
        addCurrency(1, u"USD", u"$");
        setDefaultCurrency(u"USD");
        m_food = madeCategory(1, u"Food", category::kExpense);
        m_bread = madeCategory(m_food, u"Bread", category::kExpense);
        ASSERT_NE(
            tableCursor(Table::Budgets).addRecord({PropertyValue::i4(501, 1), PropertyValue::i4(504, 0)}),
            0u);
        ASSERT_NE(tableCursor(Table::BudgetLists)
                      .addRecord({PropertyValue::i4(501, 1), PropertyValue::i4(401, m_food),
                                  PropertyValue::i4(402, 1), PropertyValue::string(135, u"{food}"),
                                  PropertyValue::date(417, static_cast<uint64_t>(-5000)),
                                  PropertyValue::date(404, static_cast<uint64_t>(-5500))}),
                  0u);
    }

    Amount monthTotal() {
        TableCursor& lines = tableCursor(Table::BudgetLists);
        EXPECT_TRUE(lines.ensureSort(135, SortKind::String) &&
                    lines.seekFirstEqual(std::u16string(u"{food}")));
        return lines.get64(417);
    }

    int32_t m_food = 0;
    int32_t m_bread = 0;
};

TEST_F(BudgetTest, APaymentThisMonthMovesTheLineTotalAndLastMonthsDoesNot) {
    TransactionRecord r = pay(7, -1000, march(2), m_food);
    EXPECT_EQ(monthTotal(), -6000);
    EXPECT_EQ(exceededBudgetLines(), std::vector<int32_t>{m_food});
    pay(7, -1000, dateOf(2010, 2, 20), m_food);
    EXPECT_EQ(monthTotal(), -6000);
    r.setAmount(-300);
    ASSERT_EQ(saveTransaction(r), StoreStatus::Ok);
    EXPECT_EQ(monthTotal(), -5300);
    ASSERT_EQ(deleteTransaction(r), StoreStatus::Ok);
    EXPECT_EQ(monthTotal(), -5000);
    clearExceededBudgetLines();
}

TEST_F(BudgetTest, ASubcategoryUsesItsNearestAncestorsLineAndTheRootNone) {
    pay(7, -100, march(2), m_bread);
    EXPECT_EQ(monthTotal(), -5100);
    EXPECT_EQ(findBudgetLine(m_bread), u"{food}");
    EXPECT_EQ(findBudgetLine(1), u"");
    Amount over = 0;
    EXPECT_EQ(putIntoBudget({m_food, -1000, u"USD", march(3)}, &over), StoreStatus::Ok);
    EXPECT_EQ(over, -600);
    clearExceededBudgetLines();
}

TEST_F(BudgetTest, TheRootCategorysLineIsNeverTaken) {
    ASSERT_NE(tableCursor(Table::BudgetLists)
                  .addRecord({PropertyValue::i4(501, 1), PropertyValue::i4(401, category::kRoot),
                              PropertyValue::i4(402, 1), PropertyValue::string(135, u"{root}"),
                              PropertyValue::date(417, 0)}),
              0u);
    const int32_t travel = madeCategory(1, u"Travel", category::kExpense);
    EXPECT_EQ(findBudgetLine(category::kRoot), u"");
    EXPECT_EQ(findBudgetLine(travel), u"");
    EXPECT_EQ(findBudgetLine(m_bread), u"{food}");
    pay(7, -100, march(2), travel);
    TableCursor& lines = tableCursor(Table::BudgetLists);
    ASSERT_TRUE(lines.ensureSort(135, SortKind::String) && lines.seekFirstEqual(std::u16string(u"{root}")));
    EXPECT_EQ(lines.get64(417), 0);
}

TEST_F(BudgetTest, ScheduledItemsCountTheirRemainingOccurrences) {
    TransactionRecord item(RecordSource::Planner);
    item.setI4(255, 10);
    item.setI4(254, 3);
    EXPECT_EQ(remainingOccurrences(item), 7);
    item.setI4(255, -1);
    EXPECT_EQ(remainingOccurrences(item), -1);
}

}  // namespace
}  // namespace dove::testing
