// Databases and records: creation and opening errors, writes, deletes, object information, read buffers.
#include <algorithm>

#include "CedbTestSupport.h"

using namespace cedbtest;

namespace {

using Records = CedbTest;

TEST_F(Records, CreateRejectsDuplicatesAndBadArguments) {
    CEOID oid = createDb(u"Brimwell Account", {{kNumber, 0}, {kKey, 0}});
    ASSERT_NE(oid, 0u);
    EXPECT_EQ(createDb(u"Brimwell Account", {}), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DUP_NAME));
    std::vector<SORTORDERSPEC> five(5, SORTORDERSPEC{kNumber, 0});
    for (WORD i = 0; i < 5; ++i)
        five[i].propid = PropIdFromType(i + 1, CEVT_I4);
    EXPECT_EQ(createDb(u"Five", five), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(createDb(u"A name that is far too long for it", {}), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(createDb(u"Caseless", {{kName, CEDB_SORT_CASEINSENSITIVE}}), 0u);
    EXPECT_EQ(createDb(u"Blob sort", {{kBlob, 0}}), 0u);
    EXPECT_NE(createDb(u"Exactly thirty-one characters!!", {}), 0u);
}

TEST_F(Records, OpenReportsMissingDatabaseAndForeignSortOrder) {
    EXPECT_EQ(openDb(u"Nowhere", 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    CEOID created = createDb(u"Here", {{kName, 0}});
    EXPECT_EQ(openDb(u"Here", kNumber), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    CEOID oid = 0;
    HANDLE db = CeOpenDatabase(&oid, const_cast<LPWSTR>(u"Here"), kName, 0, nullptr);
    ASSERT_NE(db, INVALID_HANDLE_VALUE);
    EXPECT_EQ(oid, created);
    CloseHandle(db);
    HANDLE byOid = CeOpenDatabase(&oid, nullptr, 0, 0, nullptr);
    EXPECT_NE(byOid, INVALID_HANDLE_VALUE);
    CloseHandle(byOid);
}

TEST_F(Records, WriteReplacesAddsAndDeletesPropertiesKeepingTheObjectId) {
    createDb(u"T", {{kName, 0}});
    HANDLE db = openDb(u"T", kName);
    CEOID oid = add(db, {text(kName, u"first"), i4(kNumber, 1)});
    ASSERT_NE(oid, 0u);
    CEPROPVAL change[] = {text(kName, u"second"), removal(kNumber), date(kDate, 77)};
    EXPECT_EQ(CeWriteRecordProps(db, oid, 3, change), oid);
    CeSeekDatabase(db, CEDB_SEEK_CEOID, oid, nullptr);
    Record r = readCurrent(db);
    EXPECT_EQ(r.oid, oid);
    EXPECT_EQ(r.get(kName), u"second");
    EXPECT_EQ(r.get(kNumber), u"<none>");
    EXPECT_EQ(r.get(kDate), u"77");
    EXPECT_EQ(r.props.size(), 2u);
    CEPROPVAL orphan = i4(kNumber, 1);
    EXPECT_EQ(CeWriteRecordProps(db, oid + 1000, 1, &orphan), 0u);
    EXPECT_EQ(CeWriteRecordProps(db, 0, 0, &orphan), 0u);
    CEPROPVAL nullText = text(kName, nullptr);
    EXPECT_EQ(CeWriteRecordProps(db, 0, 1, &nullText), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    CloseHandle(db);
}

TEST_F(Records, ObjectIdsAreUniqueAcrossTheStoreAndDeleteRemovesRecords) {
    CEOID first = createDb(u"One", {});
    CEOID second = createDb(u"Two", {});
    HANDLE one = openDb(u"One", 0);
    HANDLE two = openDb(u"Two", 0);
    CEOID a = add(one, {i4(kNumber, 1)});
    CEOID b = add(two, {i4(kNumber, 2)});
    CEOID c = add(one, {i4(kNumber, 3)});
    std::vector<CEOID> ids = {first, second, a, b, c};
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::unique(ids.begin(), ids.end()), ids.end());
    EXPECT_FALSE(CeDeleteRecord(two, a));
    EXPECT_TRUE(CeSeekDatabase(one, CEDB_SEEK_CEOID, a, nullptr));
    EXPECT_TRUE(CeDeleteRecord(one, a));
    EXPECT_EQ(readCurrent(one).oid, 0u);
    EXPECT_EQ(CeSeekDatabase(one, CEDB_SEEK_CEOID, a, nullptr), 0u);
    EXPECT_EQ(walk(one, kNumber), std::vector<std::u16string>{u"3"});
    EXPECT_FALSE(CeDeleteDatabase(second));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(two);
    EXPECT_TRUE(CeDeleteDatabase(second));
    EXPECT_EQ(openDb(u"Two", 0), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(CeDeleteDatabase(second));
    CloseHandle(one);
}

TEST_F(Records, OidGetInfoDescribesDatabasesAndRecords) {
    CEOID oid = createDb(u"Info", {{kNumber, 0}, {kKey, CEDB_SORT_DESCENDING}});
    HANDLE db = openDb(u"Info", 0);
    add(db, {i4(kNumber, 1)});
    CEOID rec = add(db, {text(kKey, u"key")});
    CEOIDINFO info{};
    ASSERT_TRUE(CeOidGetInfo(oid, &info));
    EXPECT_EQ(info.wObjType, OBJTYPE_DATABASE);
    EXPECT_EQ(std::u16string(info.infDatabase.szDbaseName), u"Info");
    EXPECT_EQ(info.infDatabase.wNumRecords, 2);
    EXPECT_EQ(info.infDatabase.wNumSortOrder, 2);
    EXPECT_EQ(info.infDatabase.rgSortSpecs[1].propid, kKey);
    EXPECT_EQ(info.infDatabase.rgSortSpecs[1].dwFlags, static_cast<DWORD>(CEDB_SORT_DESCENDING));
    EXPECT_GT(info.infDatabase.dwSize, 0u);
    EXPECT_NE(info.infDatabase.ftLastModified.dwHighDateTime, 0u);
    ASSERT_TRUE(CeOidGetInfo(rec, &info));
    EXPECT_EQ(info.wObjType, OBJTYPE_RECORD);
    EXPECT_EQ(info.infRecord.oidParent, oid);
    EXPECT_FALSE(CeOidGetInfo(rec + 100, &info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    CloseHandle(db);
}

TEST_F(Records, ReadGrowsTheBufferOnAPrivateHeapOrReportsTheSizeNeeded) {
    createDb(u"Buf", {});
    HANDLE db = openDb(u"Buf", 0);
    BYTE bytes[] = {1, 2, 3};
    CEPROPVAL blob{};
    blob.propid = kBlob;
    blob.val.blob = CEBLOB{3, bytes};
    CEPROPVAL props[] = {text(kName, u"a fairly long name to need some room"), blob, i4(kNumber, 9)};
    CEOID oid = CeWriteRecordProps(db, 0, 3, props);
    CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);

    BYTE small[16];
    LPBYTE buffer = small;
    DWORD size = sizeof(small);
    WORD count = 0;
    EXPECT_EQ(CeReadRecordPropsEx(db, 0, &count, nullptr, &buffer, &size, nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_GT(size, sizeof(small));
    EXPECT_EQ(buffer, small);

    HANDLE heap = HeapCreate(0, 4096, 0);
    buffer = static_cast<LPBYTE>(HeapAlloc(heap, 0, 8));
    size = 8;
    ASSERT_EQ(CeReadRecordPropsEx(db, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size, heap), oid);
    EXPECT_EQ(count, 3);
    EXPECT_GE(HeapSize(heap, 0, buffer), size);
    auto* read = reinterpret_cast<CEPROPVAL*>(buffer);
    EXPECT_EQ(std::u16string(read[0].val.lpwstr), u"a fairly long name to need some room");
    EXPECT_EQ(std::vector<BYTE>(read[1].val.blob.lpb, read[1].val.blob.lpb + 3),
              std::vector<BYTE>({1, 2, 3}));
    EXPECT_EQ(read[2].val.lVal, 9);

    CEPROPID wanted[] = {kNumber, kDate};
    count = 2;
    ASSERT_EQ(CeReadRecordPropsEx(db, CEDB_ALLOWREALLOC, &count, wanted, &buffer, &size, heap), oid);
    EXPECT_EQ(read[0].val.lVal, 9);
    EXPECT_EQ(read[1].propid, kDate);
    EXPECT_EQ(read[1].wFlags, CEDB_PROPNOTFOUND);
    HeapDestroy(heap);
    CloseHandle(db);
}

TEST_F(Records, AFullDatabaseRefusesTheNextRecordAndKeepsTheOthers) {
    createDb(u"Full", {{kNumber, 0}});
    HANDLE db = openDb(u"Full", kNumber);
    ASSERT_TRUE(platform::cedbBeginTransaction());
    for (LONG i = 0; i < CEDB_MAXRECORDS; ++i) {
        CEPROPVAL v = i4(kNumber, i);
        ASSERT_NE(CeWriteRecordProps(db, 0, 1, &v), 0u) << i;
    }
    CEPROPVAL extra = i4(kNumber, -1);
    EXPECT_EQ(CeWriteRecordProps(db, 0, 1, &extra), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    ASSERT_TRUE(platform::cedbCommitTransaction());
    CEOIDINFO info{};
    CEOID oid = 0;
    CloseHandle(db);
    db = CeOpenDatabase(&oid, const_cast<LPWSTR>(u"Full"), kNumber, 0, nullptr);
    ASSERT_TRUE(CeOidGetInfo(oid, &info));
    EXPECT_EQ(info.infDatabase.wNumRecords, CEDB_MAXRECORDS);
    DWORD index = 0;
    EXPECT_NE(CeSeekDatabase(db, CEDB_SEEK_END, 0, &index), 0u);
    EXPECT_EQ(index, static_cast<DWORD>(CEDB_MAXRECORDS - 1));
    EXPECT_EQ(readCurrent(db).get(kNumber), u"65534");
    CEPROPVAL first = i4(kNumber, 0);
    EXPECT_NE(CeSeekDatabase(db, CEDB_SEEK_VALUEFIRSTEQUAL, reinterpret_cast<DWORD_PTR>(&first), &index), 0u);
    EXPECT_EQ(index, 0u);
    CloseHandle(db);
}

}  // namespace
