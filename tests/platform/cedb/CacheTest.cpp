// Databases the process keeps in memory after their last handle closed: reopened, they show what the
// store holds after other processes' writes and deletes, and after this process's rolled-back brackets.
#include "CedbTestSupport.h"

using namespace cedbtest;
using platform::testing::runInChild;

namespace {

class Cache : public CedbTest {
  protected:
    void SetUp() override {
        ASSERT_NE(createDb(u"Kept", {{kNumber, 0}, {kName, 0}}), 0u);
        HANDLE db = openDb(u"Kept", kNumber);
        ASSERT_NE(db, INVALID_HANDLE_VALUE);
        for (LONG n : {4, 2, 6})
            ASSERT_NE(add(db, {i4(kNumber, n), text(kName, n == 4   ? u"four"
                                                           : n == 2 ? u"two"
                                                                    : u"six")}),
                      0u);
        // Both orders are built, then the last handle closes: the process keeps the records and orders.
        EXPECT_EQ(walk(db, kNumber), (std::vector<std::u16string>{u"2", u"4", u"6"}));
        CloseHandle(db);
        db = openDb(u"Kept", kName);
        EXPECT_EQ(walk(db, kNumber), (std::vector<std::u16string>{u"4", u"6", u"2"}));
        CloseHandle(db);
    }

    static std::vector<std::u16string> numbersBy(CEPROPID sort) {
        HANDLE db = openDb(u"Kept", sort);
        if (db == INVALID_HANDLE_VALUE) return {u"<cannot open>"};
        std::vector<std::u16string> values = walk(db, kNumber);
        CloseHandle(db);
        return values;
    }
};

// In a child: changes 4 to 5 and renames it, deletes 2, adds 1 and 8.
int changeInChild() {
    HANDLE db = openDb(u"Kept", kNumber);
    if (db == INVALID_HANDLE_VALUE) return 10;
    CEOID two = CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
    CEOID four = CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 1, nullptr);
    CEPROPVAL changed[] = {i4(kNumber, 5), text(kName, u"a five")};
    if (CeWriteRecordProps(db, four, 2, changed) == 0) return 11;
    if (!CeDeleteRecord(db, two)) return 12;
    if (add(db, {i4(kNumber, 1), text(kName, u"one")}) == 0) return 13;
    if (add(db, {i4(kNumber, 8), text(kName, u"eight")}) == 0) return 14;
    CloseHandle(db);
    return 0;
}

TEST_F(Cache, AReopenShowsAnotherProcesssWritesInEveryOrder) {
    ASSERT_EQ(runInChild(changeInChild), 0);
    EXPECT_EQ(numbersBy(kNumber), (std::vector<std::u16string>{u"1", u"5", u"6", u"8"}));
    EXPECT_EQ(numbersBy(kName), (std::vector<std::u16string>{u"5", u"8", u"1", u"6"}));
    HANDLE db = openDb(u"Kept", kNumber);
    ASSERT_NE(CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 1, nullptr), 0u);
    EXPECT_EQ(readCurrent(db).get(kName), u"a five");
    CloseHandle(db);
}

TEST_F(Cache, ADatabaseDeletedAndMadeAgainElsewhereIsReadAfresh) {
    CEOID oid = 0;
    CloseHandle(CeOpenDatabase(&oid, const_cast<LPWSTR>(u"Kept"), 0, 0, nullptr));
    ASSERT_EQ(runInChild([] {
                  CEOID old = 0;
                  CloseHandle(CeOpenDatabase(&old, const_cast<LPWSTR>(u"Kept"), 0, 0, nullptr));
                  if (!CeDeleteDatabase(old)) return 1;
                  if (createDb(u"Kept", {{kNumber, 0}, {kName, 0}}) == 0) return 2;
                  HANDLE db = openDb(u"Kept", kNumber);
                  return add(db, {i4(kNumber, 9)}) != 0 ? 0 : 3;
              }),
              0);
    CEOID again = oid;
    EXPECT_EQ(CeOpenDatabase(&again, nullptr, 0, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(numbersBy(kNumber), std::vector<std::u16string>{u"9"});
    CEOIDINFO info{};
    EXPECT_FALSE(CeOidGetInfo(oid, &info));
}

TEST_F(Cache, ARolledBackBracketLeavesWhatTheStoreHolds) {
    ASSERT_TRUE(platform::cedbBeginTransaction());
    HANDLE db = openDb(u"Kept", kNumber);
    ASSERT_NE(add(db, {i4(kNumber, 3)}), 0u);
    ASSERT_TRUE(CeDeleteRecord(db, CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr)));
    CloseHandle(db);
    EXPECT_EQ(numbersBy(kNumber), (std::vector<std::u16string>{u"3", u"4", u"6"}));
    ASSERT_TRUE(platform::cedbRollbackTransaction());
    EXPECT_EQ(numbersBy(kNumber), (std::vector<std::u16string>{u"2", u"4", u"6"}));
    EXPECT_EQ(numbersBy(kName), (std::vector<std::u16string>{u"4", u"6", u"2"}));
}

TEST_F(Cache, AKeptDatabaseWithoutHandlesCanBeDeletedAndCountsFromMemory) {
    CEOID oid = 0;
    HANDLE db = CeOpenDatabase(&oid, const_cast<LPWSTR>(u"Kept"), 0, 0, nullptr);
    CEOIDINFO info{};
    ASSERT_TRUE(CeOidGetInfo(oid, &info));
    EXPECT_EQ(info.infDatabase.wNumRecords, 3);
    EXPECT_FALSE(CeDeleteDatabase(oid));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(db);
    ASSERT_EQ(runInChild(changeInChild), 0);
    ASSERT_TRUE(CeOidGetInfo(oid, &info));
    EXPECT_EQ(info.infDatabase.wNumRecords, 4);
    ASSERT_TRUE(CeDeleteDatabase(oid));
    EXPECT_EQ(openDb(u"Kept", kNumber), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

}  // namespace
