// The store across processes and failures: other processes' commits, the transaction bracket, damaged
// store files, the failure hook, and crashes in the middle of a transaction.
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <fstream>
#include <set>

#include "CedbTestSupport.h"

using namespace cedbtest;
using platform::testing::runInChild;

namespace {

class Store : public CedbTest {
  protected:
    void SetUp() override {
        ASSERT_NE(createDb(u"Shared", {{kNumber, 0}}), 0u);
        m_db = openDb(u"Shared", kNumber);
        ASSERT_NE(m_db, INVALID_HANDLE_VALUE);
    }
    void TearDown() override {
        CloseHandle(m_db);
        CedbTest::TearDown();
    }
    // Numbers of the shared database as a fresh handle of this process sees them.
    std::vector<std::u16string> numbers() {
        HANDLE db = openDb(u"Shared", kNumber);
        std::vector<std::u16string> values = walk(db, kNumber);
        CloseHandle(db);
        return values;
    }
    std::string storePath() const { return m_root.path() + "/store.cedb"; }
    std::string integrity() const {
        sqlite3* db = nullptr;
        std::string result = "cannot open";
        if (sqlite3_open_v2(storePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            sqlite3_stmt* stmt = nullptr;
            sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr);
            if (sqlite3_step(stmt) == SQLITE_ROW)
                result = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            sqlite3_finalize(stmt);
        }
        sqlite3_close(db);
        return result;
    }

    HANDLE m_db = INVALID_HANDLE_VALUE;
};

int addInChild(std::vector<LONG> values) {
    HANDLE db = openDb(u"Shared", kNumber);
    if (db == INVALID_HANDLE_VALUE) return 10;
    for (LONG v : values) {
        CEPROPVAL p = i4(kNumber, v);
        if (CeWriteRecordProps(db, 0, 1, &p) == 0) return 11;
    }
    return 0;
}

TEST_F(Store, ProcessesSeeEachOthersCommitsAtTheirNextCall) {
    add(m_db, {i4(kNumber, 5)});
    EXPECT_EQ(walk(m_db, kNumber), std::vector<std::u16string>{u"5"});
    int child = runInChild([] {
        HANDLE db = openDb(u"Shared", kNumber);
        if (walk(db, kNumber) != std::vector<std::u16string>{u"5"}) return 1;
        return addInChild({3, 8});
    });
    ASSERT_EQ(child, 0);
    std::vector<std::u16string> expected = {u"3", u"5", u"8"};
    EXPECT_EQ(walk(m_db, kNumber), expected);
    CEOID oid = 0;
    CEOIDINFO info{};
    HANDLE unsorted = CeOpenDatabase(&oid, const_cast<LPWSTR>(u"Shared"), 0, 0, nullptr);
    ASSERT_TRUE(CeOidGetInfo(oid, &info));
    EXPECT_EQ(info.infDatabase.wNumRecords, 3);
    ASSERT_EQ(runInChild([] { return addInChild({1}); }), 0);
    ASSERT_TRUE(CeOidGetInfo(oid, &info));
    EXPECT_EQ(info.infDatabase.wNumRecords, 4);
    CloseHandle(unsorted);
    CloseHandle(m_db);
    m_db = INVALID_HANDLE_VALUE;
    ASSERT_EQ(runInChild([] { return addInChild({2}); }), 0);
    ASSERT_TRUE(CeOidGetInfo(oid, &info));
    EXPECT_EQ(info.infDatabase.wNumRecords, 5);
}

TEST_F(Store, RollbackLeavesNothingAndCommitKeepsEverything) {
    ASSERT_TRUE(platform::cedbBeginTransaction());
    EXPECT_FALSE(platform::cedbBeginTransaction());
    add(m_db, {i4(kNumber, 1)});
    add(m_db, {i4(kNumber, 2)});
    EXPECT_EQ(walk(m_db, kNumber).size(), 2u);
    ASSERT_TRUE(platform::cedbRollbackTransaction());
    EXPECT_TRUE(walk(m_db, kNumber).empty());
    EXPECT_FALSE(platform::cedbCommitTransaction());

    ASSERT_TRUE(platform::cedbBeginTransaction());
    add(m_db, {i4(kNumber, 4)});
    ASSERT_EQ(runInChild([] {
                  return openDb(u"Shared", kNumber) != INVALID_HANDLE_VALUE &&
                                 walk(openDb(u"Shared", kNumber), kNumber).empty()
                             ? 0
                             : 1;
              }),
              0);
    ASSERT_TRUE(platform::cedbCommitTransaction());
    ASSERT_EQ(runInChild([] { return walk(openDb(u"Shared", kNumber), kNumber).size() == 1 ? 0 : 1; }), 0);
}

TEST_F(Store, TheFailureHookFailsTheNthWriteWithNothingWritten) {
    platform::cedbFailNthOperation(2);
    EXPECT_NE(add(m_db, {i4(kNumber, 1)}), 0u);
    EXPECT_EQ(add(m_db, {i4(kNumber, 2)}), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_WRITE_FAULT));
    EXPECT_NE(add(m_db, {i4(kNumber, 3)}), 0u);
    platform::cedbFailNthOperation(1);
    EXPECT_EQ(createDb(u"Never", {}), 0u);
    platform::cedbFailNthOperation(1);
    ASSERT_TRUE(CeSeekDatabase(m_db, CEDB_SEEK_BEGINNING, 0, nullptr));
    EXPECT_FALSE(CeDeleteRecord(m_db, readCurrent(m_db).oid));
    ASSERT_TRUE(platform::cedbBeginTransaction());
    platform::cedbFailNthOperation(2);
    add(m_db, {i4(kNumber, 4)});
    EXPECT_EQ(add(m_db, {i4(kNumber, 5)}), 0u);
    ASSERT_TRUE(platform::cedbCommitTransaction());
    platform::cedbCloseStore();
    std::vector<std::u16string> expected = {u"1", u"3", u"4"};
    EXPECT_EQ(numbers(), expected);
    EXPECT_EQ(openDb(u"Never", 0), INVALID_HANDLE_VALUE);
}

TEST_F(Store, AChildKilledInsideATransactionLeavesNoneOfItsWrites) {
    add(m_db, {i4(kNumber, 1)});
    int child = runInChild([] {
        HANDLE db = openDb(u"Shared", kNumber);
        platform::cedbBeginTransaction();
        for (LONG v = 10; v < 20; ++v) {
            CEPROPVAL p = i4(kNumber, v);
            CeWriteRecordProps(db, 0, 1, &p);
        }
        raise(SIGKILL);
        return 0;
    });
    EXPECT_EQ(child, -1);
    EXPECT_EQ(walk(m_db, kNumber), std::vector<std::u16string>{u"1"});
    EXPECT_NE(add(m_db, {i4(kNumber, 2)}), 0u);
    EXPECT_EQ(integrity(), "ok");
}

TEST_F(Store, AChildKilledRightAfterCommitKeepsEverything) {
    int child = runInChild([] {
        HANDLE db = openDb(u"Shared", kNumber);
        platform::cedbBeginTransaction();
        for (LONG v = 10; v < 15; ++v) {
            CEPROPVAL p = i4(kNumber, v);
            CeWriteRecordProps(db, 0, 1, &p);
        }
        platform::cedbCommitTransaction();
        CEPROPVAL single = i4(kNumber, 99);
        CeWriteRecordProps(db, 0, 1, &single);
        raise(SIGKILL);
        return 0;
    });
    EXPECT_EQ(child, -1);
    std::vector<std::u16string> expected = {u"10", u"11", u"12", u"13", u"14", u"99"};
    EXPECT_EQ(walk(m_db, kNumber), expected);
    EXPECT_EQ(integrity(), "ok");
}

TEST_F(Store, ADamagedStoreFileFailsCleanly) {
    CloseHandle(m_db);
    m_db = INVALID_HANDLE_VALUE;
    platform::cedbCloseStore();
    for (const char* suffix : {"", "-wal", "-shm"})
        std::remove((storePath() + suffix).c_str());
    std::ofstream(storePath(), std::ios::binary) << std::string(8192, '\x5a');
    EXPECT_EQ(openDb(u"Shared", 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BADDB));
    EXPECT_EQ(createDb(u"Other", {}), 0u);
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    std::remove(storePath().c_str());
    mkdir(storePath().c_str(), 0755);
    EXPECT_EQ(openDb(u"Shared", 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANTOPEN));
    CEOIDINFO info{};
    EXPECT_FALSE(CeOidGetInfo(1, &info));
}

// Object ids come from blocks each process reserves; a block reserved by a rolled-back transaction is
// given up, so that ids another process takes meanwhile are never handed out twice.
TEST_F(Store, ObjectIdsStayUniqueAcrossProcessesAndRolledBackReservations) {
    ASSERT_NE(createDb(u"Other", {{kNumber, 0}}), 0u);
    // Enough records that the bracket has to reserve ids of its own.
    ASSERT_TRUE(platform::cedbBeginTransaction());
    for (LONG i = 0; i < 100; ++i)
        ASSERT_NE(add(m_db, {i4(kNumber, i)}), 0u);
    ASSERT_TRUE(platform::cedbRollbackTransaction());
    ASSERT_EQ(runInChild([] {
                  HANDLE other = openDb(u"Other", kNumber);
                  for (LONG i = 0; i < 100; ++i)
                      if (add(other, {i4(kNumber, i)}) == 0) return 1;
                  return 0;
              }),
              0);
    for (LONG i = 0; i < 5; ++i)
        ASSERT_NE(add(m_db, {i4(kNumber, i)}), 0u);
    std::set<CEOID> oids;
    size_t records = 0;
    for (const char16_t* name : {u"Shared", u"Other"}) {
        HANDLE db = openDb(name, kNumber);
        for (DWORD i = 0;; ++i, ++records) {
            CEOID oid = CeSeekDatabase(db, CEDB_SEEK_BEGINNING, i, nullptr);
            if (oid == 0) break;
            oids.insert(oid);
        }
        CloseHandle(db);
    }
    EXPECT_EQ(records, 105u);
    EXPECT_EQ(oids.size(), records);
}

TEST_F(Store, HandlesOfADeletedDatabaseFailInsteadOfReadingStaleData) {
    add(m_db, {i4(kNumber, 1)});
    ASSERT_EQ(runInChild([] {
                  CEOID oid = 0;
                  HANDLE db = CeOpenDatabase(&oid, const_cast<LPWSTR>(u"Shared"), 0, 0, nullptr);
                  CloseHandle(db);
                  return CeDeleteDatabase(oid) ? 0 : 1;
              }),
              0);
    EXPECT_EQ(CeSeekDatabase(m_db, CEDB_SEEK_BEGINNING, 0, nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
