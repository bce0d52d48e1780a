// The table cursor against a std::map: thousands of random inserts, deletes, value seeks and next-record
// moves on a string-sorted table, compared with the map's answers after every step.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "TableCursor.h"
#include "TempRoot.h"
#include "platform/windows.h"

namespace dove {
namespace {

constexpr PropertyNumber kKey = 101;
constexpr PropertyNumber kValue = 104;

class TableCursorModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SORTORDERSPEC orders[1] = {{propertyId(kKey, CEVT_LPWSTR), 0}};
        ASSERT_NE(CeCreateDatabase(const_cast<LPWSTR>(u"Model Table"), 0, 1, orders), 0u);
        ASSERT_TRUE(cursor.openSorted(kKey, SortKind::String));
    }
    void TearDown() override { platform::cedbCloseStore(); }

    std::u16string randomKey() { return platform::format(u"%u_%03u", m_random() % 20, m_random() % 50); }

    void expectAt(const std::map<std::u16string, int32_t>::const_iterator& it) {
        ASSERT_NE(it, m_model.end());
        EXPECT_EQ(std::u16string(cursor.getString(kKey)), it->first);
        EXPECT_EQ(cursor.getI4(kValue), it->second);
        EXPECT_EQ(cursor.position(), std::distance(m_model.cbegin(), it));
    }

    platform::testing::TempRoot root;
    TableCursor cursor{u"Model Table"};
    std::map<std::u16string, int32_t> m_model;
    std::mt19937 m_random{7};
};

TEST_F(TableCursorModelTest, RandomOperationsAgreeWithAnOrderedMap) {
    for (int step = 0; step < 3000; ++step) {
        const std::u16string key = randomKey();
        const auto greater = m_model.upper_bound(key);
        const auto equal = m_model.find(key);
        switch (m_random() % 6) {
            case 0:
                if (equal == m_model.end()) {
                    const int32_t value = static_cast<int32_t>(m_random());
                    ASSERT_NE(cursor.addRecord(
                                  {PropertyValue::string(kKey, key), PropertyValue::i4(kValue, value)}),
                              0u);
                    m_model[key] = value;
                }
                break;
            case 1:
                if (equal != m_model.end()) {
                    ASSERT_TRUE(cursor.deleteAt(static_cast<int>(std::distance(m_model.begin(), equal))));
                    m_model.erase(equal);
                    EXPECT_EQ(cursor.position(), kNoRecord);
                }
                break;
            case 2:
                ASSERT_EQ(cursor.seekFirstEqual(key), equal != m_model.end());
                if (equal != m_model.end()) expectAt(equal);
                break;
            case 3:
                ASSERT_EQ(cursor.seekFirstGreater(key), greater != m_model.end());
                if (greater != m_model.end()) expectAt(greater);
                break;
            case 4: {
                auto smaller = m_model.lower_bound(key);
                const bool any = smaller != m_model.begin();
                ASSERT_EQ(cursor.seekLastSmaller(key), any);
                if (any) expectAt(std::prev(smaller));
                break;
            }
            default:
                if (cursor.position() >= 0) {
                    auto next = std::next(m_model.begin(), cursor.position() + 1);
                    ASSERT_EQ(cursor.moveNext(), next != m_model.end());
                    if (next != m_model.end()) expectAt(next);
                }
        }
        ASSERT_EQ(cursor.recordCount(), static_cast<int>(m_model.size())) << "step " << step;
        if (HasFailure()) return;
    }
}

}  // namespace
}  // namespace dove
