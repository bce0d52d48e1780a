// The journal's order: every account's records in identifier order, dates in order where the accounts
// leave a choice, entries whose records cross in two accounts written as their parts; and balancing an
// entry's postings per commodity.
#include <gtest/gtest.h>

#include <map>

#include "JournalEntry.h"

namespace financestore::testing {
namespace {

JournalPosting posting(const std::string& account, dove::Amount amount, const std::u16string& commodity) {
    JournalPosting p;
    p.account = account;
    p.amount = amount;
    p.commodity = commodity;
    return p;
}

JournalEntry entry(dove::Date date, const std::u16string& id, std::vector<JournalSide> sides) {
    JournalEntry e;
    e.date = date;
    e.identifier = id;
    e.sides = std::move(sides);
    return e;
}

// Each account's identifiers in the order the entries come.
std::map<int32_t, std::vector<std::u16string>> chains(const std::vector<JournalEntry>& entries) {
    std::map<int32_t, std::vector<std::u16string>> out;
    for (const JournalEntry& e : entries)
        for (const JournalSide& side : e.sides)
            out[side.first].push_back(side.second);
    return out;
}

TEST(JournalOrderTest, FreeEntriesGoByDateAndAccountsKeepTheirIdentifierOrder) {
    std::vector<JournalEntry> entries = {entry(30, u"1_c", {{1, u"1_c"}}), entry(10, u"2_a", {{2, u"2_a"}}),
                                         entry(5, u"1_b", {{1, u"1_b"}}), entry(20, u"2_b", {{2, u"2_b"}})};
    const std::vector<JournalEntry> ordered = orderJournal(entries);
    ASSERT_EQ(ordered.size(), 4u);
    // 1_b is dated before 1_c, but even a later date could not put 1_c first.
    EXPECT_EQ(ordered[0].identifier, u"1_b");
    EXPECT_EQ(ordered[1].identifier, u"2_a");
    EXPECT_EQ(ordered[2].identifier, u"2_b");
    EXPECT_EQ(ordered[3].identifier, u"1_c");
}

TEST(JournalOrderTest, TransfersThatCrossInTwoAccountsAreWrittenAsTheirParts) {
    // 1_a's other side 2_d comes after 2_c, whose other side 1_b comes after 1_a: no order of the two
    // transfers keeps both accounts in identifier order.
    JournalEntry first = entry(1, u"1_a", {{1, u"1_a"}, {2, u"2_d"}});
    first.parts = {entry(1, u"1_a", {{1, u"1_a"}}), entry(4, u"2_d", {{2, u"2_d"}})};
    JournalEntry second = entry(2, u"1_b", {{1, u"1_b"}, {2, u"2_c"}});
    second.parts = {entry(2, u"1_b", {{1, u"1_b"}}), entry(3, u"2_c", {{2, u"2_c"}})};
    const std::vector<JournalEntry> ordered = orderJournal({first, second, entry(0, u"3_a", {})});
    EXPECT_EQ(ordered.size(), 4u);  // one transfer as its two parts, the other whole, the free entry
    const auto byAccount = chains(ordered);
    EXPECT_EQ(byAccount.at(1), (std::vector<std::u16string>{u"1_a", u"1_b"}));
    EXPECT_EQ(byAccount.at(2), (std::vector<std::u16string>{u"2_c", u"2_d"}));
    EXPECT_EQ(ordered.front().identifier, u"3_a");
}

TEST(JournalOrderTest, PostingsAreBalancedPerCommodityCountingCosts) {
    std::vector<JournalPosting> postings = {posting("Assets:A", -10001, u"USD"),
                                            posting("Assets:B", 7501, u"EUR")};
    postings[1].cost = 10001;
    postings[1].costCommodity = u"USD";
    balanceThrough(postings, "Equity:Unbalanced");
    EXPECT_EQ(postings.size(), 2u);  // the cost balances the dollars
    postings.push_back(posting("Expenses:Food", 300, u"EUR"));
    postings.push_back(posting("Expenses:Car", 200, u"USD"));
    balanceThrough(postings, "Equity:Unbalanced");
    ASSERT_EQ(postings.size(), 6u);
    EXPECT_EQ(postings[4].account, "Equity:Unbalanced");
    EXPECT_EQ(postings[4].amount, -300);
    EXPECT_EQ(postings[4].commodity, u"EUR");
    EXPECT_EQ(postings[5].amount, -200);
    EXPECT_EQ(postings[5].commodity, u"USD");
}

}  // namespace
}  // namespace financestore::testing
