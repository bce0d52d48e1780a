// The currency cache, the catalogue fallback, exchange rates (direct, inverse, by date, through the
// default currency) and the currency text of amounts in every pattern that matters.
#include "CurrencyCache.h"
#include "RegionalSettings.h"
#include "StoreFixture.h"

namespace dove::testing {
namespace {

class CurrencyTest : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        addCurrency(1, u"USD", u"$");
        addCurrency(2, u"EUR", u"eu");
        addCurrency(3, u"JPY", u"Y", 1);
        addCurrency(4, u"GBP", u"p");
        setDefaultCurrency(u"USD");
    }
    void TearDown() override {
        setRegionalSettings(RegionalSettings{});
        StoreTest::TearDown();
    }
};

TEST_F(CurrencyTest, TheCacheAnswersLookupsAndFallsBackToTheCatalogue) {
    const CurrencyCache& cache = currencyCache();
    EXPECT_EQ(cache.defaultCode(), u"USD");
    EXPECT_EQ(cache.idOfCode(u"EUR"), 2u);
    EXPECT_EQ(cache.codeOfId(3), u"JPY");
    EXPECT_EQ(cache.indexOfCode(u"XXX"), -1);
    EXPECT_EQ(cache.decimalsOf(u"JPY"), 0);
    EXPECT_EQ(cache.decimalsOf(u"EUR"), 2);
    EXPECT_EQ(cache.decimalsOf(u"XXX"), 2);
    EXPECT_EQ(cache.shownCount(), 4);
    EXPECT_EQ(cache.symbolOf(u"RUR"), u"r");
    EXPECT_EQ(cache.nameOf(u"UAH"), u"Ukraine Hryvnia");
    EXPECT_EQ(cache.symbolOf(u"QQQ"), u"");
    EXPECT_EQ(catalogueIndexOf(u"TMM"), 176);
    EXPECT_EQ(catalogueIndexOf(u"AFA"), 0);
}

TEST_F(CurrencyTest, DefaultSymbolComesFromTheCatalogueWhenTheTableLacksTheCode) {
    closeFinanceStore();
    ASSERT_TRUE(openFinanceStore());
    TableCursor& currencies = tableCursor(Table::Currencies);
    while (currencies.recordCount() > 0)
        ASSERT_TRUE(currencies.deleteAt(0));
    currencyCache().reload();
    EXPECT_EQ(currencyCache().defaultSymbol(), u"$");
}

TEST_F(CurrencyTest, BothDirectionsUseOneSeriesAndAreReciprocal) {
    addRate(u"USD", u"EUR", march(1), u"0.8");
    EXPECT_DOUBLE_EQ(currencyCache().getRate(u"USD", u"EUR", march(5)), 0.8);
    EXPECT_DOUBLE_EQ(currencyCache().getRate(u"EUR", u"USD", march(5)), 1.0 / 0.8);
    EXPECT_DOUBLE_EQ(currencyCache().getRate(u"EUR", u"EUR", march(5)), 1.0);
}

TEST_F(CurrencyTest, ARateAppliesFromItsDateAndTheFirstOneBeforeIt) {
    addRate(u"USD", u"EUR", march(1), u"0.8");
    addRate(u"USD", u"EUR", dateOf(2010, 4, 1), u"0.9");
    addRate(u"USD", u"GBP", march(20), u"0.6");  // another pair in between must not be taken
    double second = 0;
    EXPECT_DOUBLE_EQ(currencyCache().getRate(u"USD", u"EUR", march(15), &second), 0.8);
    EXPECT_DOUBLE_EQ(second, 2.5);
    EXPECT_DOUBLE_EQ(currencyCache().getRate(u"USD", u"EUR", dateOf(2010, 2, 15)), 0.8);
    EXPECT_DOUBLE_EQ(currencyCache().getRate(u"USD", u"EUR", dateOf(2010, 4, 1), &second), 0.9);
    EXPECT_DOUBLE_EQ(second, 0.0);
    EXPECT_DOUBLE_EQ(currencyCache().getRate(u"USD", u"EUR", dateOf(2011, 1, 1)), 0.9);
}

TEST_F(CurrencyTest, APairWithoutRatesGoesThroughTheDefaultCurrency) {
    addRate(u"USD", u"EUR", march(1), u"0.8");
    addRate(u"USD", u"GBP", march(1), u"0.5");
    // GBP -> USD is the inverse of the USD/GBP series, USD -> EUR the direct USD/EUR one.
    EXPECT_DOUBLE_EQ(currencyCache().getRate(u"GBP", u"EUR", march(5)), 2.0 * 0.8);
    double second = 0;
    EXPECT_DOUBLE_EQ(currencyCache().getRate(u"JPY", u"USD", march(5), &second), 1.0);
    EXPECT_DOUBLE_EQ(second, 1.0);
}

TEST_F(CurrencyTest, ARateThatIsNoPositiveNumberConvertsOneToOne) {
    addRate(u"USD", u"EUR", march(1), u"0");
    EXPECT_DOUBLE_EQ(currencyCache().getRate(u"EUR", u"USD", march(5)), 1.0);
}

TEST_F(CurrencyTest, CurrencyTextFollowsTheNegativeAndPositivePatterns) {
    RegionalSettings rs;
    rs.negativeCurrencyPattern = 0;
    setRegionalSettings(rs);
    EXPECT_EQ(currencyText(-1050, u"USD", false, false), u"($10.50)");
    rs.negativeCurrencyPattern = 8;
    setRegionalSettings(rs);
    EXPECT_EQ(currencyText(-1050, u"USD", false, false), u"-10.50 $");
    EXPECT_EQ(currencyText(1050, u"USD", false, true), u"10.50 $");
    rs.negativeCurrencyPattern = 13;
    rs.positiveCurrencyPattern = 3;
    setRegionalSettings(rs);
    EXPECT_EQ(currencyText(-1050, u"EUR", false, false), u"10.50- eu");
    EXPECT_EQ(currencyText(123400, u"JPY", false, false), u"1 234 Y");
    EXPECT_EQ(currencyText(1050, u"QQQ", true, false), u"10.50 QQQ");
    rs.negativeCurrencyPattern = 10;
    setRegionalSettings(rs);
    EXPECT_EQ(currencyText(-100, u"", true, false), u"1 -");
    EXPECT_EQ(currencyText(100, u"", true, false), u"1");
}

}  // namespace
}  // namespace dove::testing
