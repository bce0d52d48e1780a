// The table cursor on a real store: composing, moves, value seeks, sort changes, prefix search, deletes.
#include <gtest/gtest.h>

#include "TableCursor.h"
#include "TempRoot.h"
#include "platform/windows.h"

namespace dove {
namespace {

constexpr PropertyNumber kName = 110;
constexpr PropertyNumber kNumber = 104;
constexpr PropertyNumber kWhen = 108;

class TableCursorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SORTORDERSPEC orders[2] = {{propertyId(kName, CEVT_LPWSTR), 0}, {propertyId(kNumber, CEVT_I4), 0}};
        ASSERT_NE(CeCreateDatabase(const_cast<LPWSTR>(u"Test Table"), 0, 2, orders), 0u);
        ASSERT_TRUE(cursor.openSorted(kName, SortKind::String));
    }

    void add(const std::u16string& name, int32_t number) {
        cursor.newRecord();
        cursor.setI4(kNumber, number);
        ASSERT_TRUE(cursor.setString(kName, name, true));
    }

    std::vector<std::u16string> names() {
        std::vector<std::u16string> out;
        for (int i = 0; i < cursor.recordCount(); ++i) {
            EXPECT_TRUE(cursor.moveTo(i));
            out.push_back(cursor.getString(kName));
        }
        return out;
    }

    platform::testing::TempRoot root;
    TableCursor cursor{u"Test Table"};
};

TEST_F(TableCursorTest, ComposedRecordIsStoredOnlyByTheCommittingSet) {
    cursor.newRecord();
    cursor.setI4(kNumber, 7);
    cursor.setDate(kWhen, 0x0123456789ABCDEFull);
    EXPECT_EQ(cursor.recordCount(), 0);
    ASSERT_TRUE(cursor.setString(kName, u"Проекты", true));
    EXPECT_EQ(cursor.recordCount(), 1);
    EXPECT_EQ(cursor.position(), 0);
    EXPECT_EQ(cursor.getI4(kNumber), 7);
    EXPECT_EQ(cursor.getDate(kWhen), 0x0123456789ABCDEFull);
    EXPECT_EQ(std::u16string(cursor.getString(kName)), u"Проекты");

    cursor.newRecord();
    cursor.setI4(kNumber, 8);
    cursor.setString(kName, u"never stored");
    EXPECT_EQ(cursor.recordCount(), 1);
}

TEST_F(TableCursorTest, MissingPropertiesAndMissingRecordsReadEmpty) {
    add(u"a", 1);
    ASSERT_TRUE(cursor.moveTo(0));
    EXPECT_STREQ(reinterpret_cast<const char*>(cursor.getString(999)), "");
    EXPECT_EQ(cursor.getI4(999), 0);
    EXPECT_EQ(cursor.getDate(999), 0u);
    EXPECT_FALSE(cursor.moveTo(5));
    EXPECT_EQ(cursor.position(), kNoRecord);
    EXPECT_EQ(cursor.getI4(kNumber), 0);
    EXPECT_EQ(std::u16string(cursor.getString(kName)), u"");
}

TEST_F(TableCursorTest, ValueSeeks) {
    for (auto [name, n] : {std::pair{u"b", 2}, {u"d", 4}, {u"f", 6}})
        add(name, n);
    EXPECT_TRUE(cursor.seekFirstEqual(std::u16string(u"d")));
    EXPECT_EQ(cursor.getI4(kNumber), 4);
    EXPECT_TRUE(cursor.seekFirstGreater(std::u16string(u"d")));
    EXPECT_EQ(cursor.getI4(kNumber), 6);
    EXPECT_TRUE(cursor.seekLastSmaller(std::u16string(u"d")));
    EXPECT_EQ(cursor.getI4(kNumber), 2);
    EXPECT_FALSE(cursor.seekFirstEqual(std::u16string(u"c")));
    EXPECT_EQ(cursor.position(), kNoRecord);
    EXPECT_FALSE(cursor.seekLastSmaller(std::u16string(u"a")));
    EXPECT_FALSE(cursor.seekFirstGreater(std::u16string(u"z")));
    ASSERT_TRUE(cursor.openSorted(kNumber, SortKind::I4));
    EXPECT_TRUE(cursor.seekFirstGreater(int32_t{2}));
    EXPECT_EQ(std::u16string(cursor.getString(kName)), u"d");
}

TEST_F(TableCursorTest, EnsuringTheSortInForceKeepsTheRecord) {
    add(u"a", 1);
    add(u"b", 2);
    ASSERT_TRUE(cursor.moveTo(1));
    uint32_t generation = cursor.changeGeneration();
    EXPECT_TRUE(cursor.ensureSort(kName, SortKind::String));
    EXPECT_EQ(cursor.position(), 1);
    EXPECT_EQ(cursor.changeGeneration(), generation);
    cursor.saveSort();
    EXPECT_TRUE(cursor.ensureSort(kNumber, SortKind::I4));
    EXPECT_EQ(cursor.position(), kNoRecord);
    EXPECT_TRUE(cursor.restoreSort());
    EXPECT_EQ(cursor.sortProperty(), kName);
}

TEST_F(TableCursorTest, WritingTheSortPropertyRereadsAtTheNewIndex) {
    for (auto [name, n] : {std::pair{u"b", 2}, {u"d", 4}, {u"f", 6}})
        add(name, n);
    ASSERT_TRUE(cursor.moveTo(0));
    ASSERT_TRUE(cursor.setString(kName, u"z"));
    EXPECT_EQ(cursor.position(), 2);
    EXPECT_EQ(cursor.getI4(kNumber), 2);
    ASSERT_TRUE(cursor.moveTo(0));
    ASSERT_TRUE(cursor.setI4(kNumber, 40));  // not the sort property: stays in place
    EXPECT_EQ(cursor.position(), 0);
    EXPECT_EQ(names(), (std::vector<std::u16string>{u"d", u"f", u"z"}));
}

TEST_F(TableCursorTest, DeleteAtIndexLeavesNoCurrentRecord) {
    for (auto [name, n] : {std::pair{u"a", 1}, {u"b", 2}, {u"c", 3}, {u"d", 4}, {u"e", 5}})
        add(name, n);
    EXPECT_TRUE(cursor.deleteAt(3));
    EXPECT_EQ(cursor.recordCount(), 4);
    EXPECT_EQ(cursor.position(), kNoRecord);
    EXPECT_FALSE(cursor.deleteAt(4));
    EXPECT_EQ(names(), (std::vector<std::u16string>{u"a", u"b", u"c", u"e"}));
}

TEST_F(TableCursorTest, MovingToTheHeldIndexDoesNotReadAgain) {
    add(u"a", 1);
    ASSERT_TRUE(cursor.moveTo(0));
    // Another handle changes the record behind the cursor's back; the cursor keeps what it read.
    CEOID oid = 0;
    HANDLE other = CeOpenDatabase(&oid, const_cast<LPWSTR>(u"Test Table"), 0, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    CEPROPVAL v{};
    v.propid = propertyId(kNumber, CEVT_I4);
    v.val.lVal = 99;
    ASSERT_NE(CeWriteRecordProps(other, cursor.currentObjectId(), 1, &v), 0u);
    CloseHandle(other);
    EXPECT_TRUE(cursor.moveTo(0));
    EXPECT_EQ(cursor.getI4(kNumber), 1);
    cursor.invalidate();
    EXPECT_TRUE(cursor.moveTo(0));
    EXPECT_EQ(cursor.getI4(kNumber), 99);
}

bool countVisit(void* visits) {
    return ++*static_cast<int*>(visits), false;
}

TEST_F(TableCursorTest, FindByPrefixWrapsOnceIgnoringCase) {
    ASSERT_TRUE(cursor.openUnsorted());
    for (auto [name, n] : {std::pair{u"Bob", 1}, {u"Abe", 2}, {u"Zed", 3}})
        add(name, n);
    ASSERT_TRUE(cursor.moveTo(0));
    EXPECT_TRUE(cursor.findByPrefix(kName, u"ab", 0, false));
    EXPECT_EQ(std::u16string(cursor.getString(kName)), u"Abe");
    int visits = 0;
    EXPECT_FALSE(cursor.findByPrefix(kName, u"x", 0, false, countVisit, &visits));
    EXPECT_EQ(visits, 3);
    visits = 0;
    EXPECT_TRUE(cursor.findByPrefix(kName, u"z", 1, true, countVisit, &visits));
    EXPECT_EQ(std::u16string(cursor.getString(kName)), u"Zed");
    EXPECT_EQ(visits, 2);  // Abe, then Bob, then wrapped to Zed
}

}  // namespace
}  // namespace dove
