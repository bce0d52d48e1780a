// A transfer whose other side is a split owner: moving the transfer to another day moves the owner, its
// split lines and the lines' own counterparts with it, links and balances kept consistent.
#include <algorithm>
#include <map>

#include "Operation.h"
#include "StoreFixture.h"
#include "TransactionStore.h"
#include "platform/device.h"

namespace dove::testing {
namespace {

class SplitTransferMoveTest : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        for (int32_t account : {7, 9, 13})
            addAccount({account, u"USD", 10000});
    }

    // Stores a record as the full finance manager would have written it.
    static void addRaw(const std::u16string& id, int32_t account, Date date, Amount amount, int32_t category,
                       int32_t kind, const std::u16string& link, int32_t sequence = 0) {
        std::vector<PropertyValue> values = {PropertyValue::string(tx::kIdentifier, id),
                                             PropertyValue::i4(tx::kAccount, account),
                                             PropertyValue::date(tx::kDate, date),
                                             PropertyValue::date(tx::kAmount, static_cast<uint64_t>(amount)),
                                             PropertyValue::i4(tx::kCategory, category),
                                             PropertyValue::i4(tx::kKind, kind),
                                             PropertyValue::string(tx::kCurrency, u"USD"),
                                             PropertyValue::string(tx::kKey, u"{" + id + u"}")};
        if (!link.empty()) values.push_back(PropertyValue::string(tx::kLink, link));
        if (sequence != 0) values.push_back(PropertyValue::i4(tx::kSequence, sequence));
        ASSERT_NE(tableCursor(Table::Transactions).addRecord(values), 0u);
    }

    // Account 7 pays 50.00 to account 9, whose side is split into a category line and a transfer line
    // onward to account 13 (with its counterpart there), all on 1 March at 9:00.
    void seedTransferToSplitOwner() {
        const Date d = march(1, 9);
        addRaw(u"7_20100301090000000", 7, d, -5000, -9, kKindPlain, u"9_20100301090000000");
        addRaw(u"9_20100301090000000", 9, d, 5000, -7, kKindSplitOwner, u"7_20100301090000000");
        addRaw(u"s9_201003010900000000001", 9, d, 3000, 5, kKindSplitLine, u"", 1);
        addRaw(u"s9_201003010900000000002", 9, d, 2000, -13, kKindSplitLine, u"13_20100301090000000", 2);
        addRaw(u"13_20100301090000000", 13, d, -2000, -9, kKindSplitTransfer, u"s9_201003010900000000002");
        for (int32_t account : {7, 9, 13})
            recalculated(account, 0);
    }

    static std::map<std::u16string, Row> rowsById() {
        std::map<std::u16string, Row> rows;
        for (const Row& r : transactionRows())
            rows[r.id] = r;
        return rows;
    }

    // Every link points at a record that links back; every split line has a split owner.
    static void expectConsistent() {
        const std::map<std::u16string, Row> rows = rowsById();
        for (const auto& [id, r] : rows) {
            if (!r.link.empty()) {
                auto other = rows.find(r.link);
                ASSERT_NE(other, rows.end()) << platform::toUtf8(id);
                EXPECT_EQ(other->second.link, id);
            }
            if (r.kind == kKindSplitLine) {
                auto owner = rows.find(splitOwnerIdentifier(id));
                ASSERT_NE(owner, rows.end()) << platform::toUtf8(id);
                EXPECT_EQ(owner->second.kind, kKindSplitOwner);
            }
        }
    }
};

TEST_F(SplitTransferMoveTest, MovingTheTransferMovesTheOwnerItsLinesAndTheirCounterparts) {
    seedTransferToSplitOwner();
    TransactionRecord payment;
    ASSERT_TRUE(loadTransactionByIdentifier(payment, u"7_20100301090000000"));
    payment.setDate(march(2, 9));
    ASSERT_EQ(saveTransaction(payment), StoreStatus::Ok);
    EXPECT_EQ(payment.identifier(), u"7_20100302090000000");

    const std::map<std::u16string, Row> rows = rowsById();
    std::vector<std::u16string> ids;
    for (const auto& [id, r] : rows)
        ids.push_back(id);
    const std::vector<std::u16string> expected = {u"13_20100302090000000", u"7_20100302090000000",
                                                  u"9_20100302090000000", u"s9_201003020900000000001",
                                                  u"s9_201003020900000000002"};
    EXPECT_EQ(ids, expected);
    expectConsistent();
    EXPECT_EQ(rows.at(u"9_20100302090000000").link, u"7_20100302090000000");
    EXPECT_EQ(rows.at(u"s9_201003020900000000002").link, u"13_20100302090000000");
    EXPECT_EQ(rows.at(u"13_20100302090000000").kind, kKindSplitTransfer);
    EXPECT_EQ(rows.at(u"13_20100302090000000").balance, 10000 - 2000);
    EXPECT_EQ(storedAccountBalance(7), 10000 - 5000);
    EXPECT_EQ(storedAccountBalance(9), 10000 + 5000);
    EXPECT_EQ(storedAccountBalance(13), 10000 - 2000);
}

}  // namespace
}  // namespace dove::testing
