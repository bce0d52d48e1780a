// Sort orders and every seek kind of the object store.
#include <algorithm>
#include <random>

#include "CedbTestSupport.h"

using namespace cedbtest;

namespace {

class SortSeek : public CedbTest {
  protected:
    // Names in creation order; "Zed" lacks the number, "Ann" and "Bob" share one.
    void SetUp() override {
        ASSERT_NE(createDb(u"People", {{kName, 0}, {kNumber, 0}, {kDate, 0}}), 0u);
        m_db = openDb(u"People", kName);
        ASSERT_NE(m_db, INVALID_HANDLE_VALUE);
        m_bob = add(m_db, {text(kName, u"Bob"), i4(kNumber, 5), date(kDate, 0x100000000ull)});
        m_ann = add(m_db, {text(kName, u"Ann"), i4(kNumber, -7), date(kDate, 0xFFFFFFFFull)});
        m_zed = add(m_db, {text(kName, u"Zed")});
        m_cyr = add(m_db, {text(kName, u"Анна"), i4(kNumber, 5), date(kDate, 2)});
        m_low = add(m_db, {text(kName, u"bob"), i4(kNumber, 100000)});
    }
    void TearDown() override {
        CloseHandle(m_db);
        CedbTest::TearDown();
    }
    CEOID seekValue(DWORD kind, const CEPROPVAL& value, DWORD* index = nullptr) {
        return CeSeekDatabase(m_db, kind, reinterpret_cast<DWORD_PTR>(&value), index);
    }

    HANDLE m_db = INVALID_HANDLE_VALUE;
    CEOID m_bob = 0, m_ann = 0, m_zed = 0, m_cyr = 0, m_low = 0;
};

TEST_F(SortSeek, StringsSortOrdinallyByUtf16CodeUnit) {
    std::vector<std::u16string> expected = {u"Ann", u"Bob", u"Zed", u"bob", u"Анна"};
    EXPECT_EQ(walk(m_db, kName), expected);
}

// Long strings that share their first units order by the first unit that differs, wherever it lies, with
// units above 0x7FFF after the others and a string before its extensions; each is found by an equal seek.
TEST_F(SortSeek, LongStringsWithCommonPrefixesSortByCodeUnit) {
    ASSERT_NE(createDb(u"Long", {{kName, 0}}), 0u);
    HANDLE db = openDb(u"Long", kName);
    std::mt19937 random(7);
    const char16_t units[] = {u'a', u'b', 0x7FFF, 0x8000, 0xD800, 0xFFFF};
    std::vector<std::u16string> names;
    for (int i = 0; i < 300; ++i) {
        std::u16string name(13 + random() % 6, u'k');
        for (size_t n = 5 + random() % 20; n > 0; --n)
            name += units[random() % 6];
        if (std::find(names.begin(), names.end(), name) != names.end()) continue;
        names.push_back(name);
        ASSERT_NE(add(db, {text(kName, name.c_str())}), 0u);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(walk(db, kName), names);
    for (size_t i = 0; i < names.size(); i += 7) {
        CEPROPVAL value = text(kName, names[i].c_str());
        DWORD index = 0;
        ASSERT_NE(CeSeekDatabase(db, CEDB_SEEK_VALUEFIRSTEQUAL, reinterpret_cast<DWORD_PTR>(&value), &index),
                  0u);
        EXPECT_EQ(index, i);
    }
    CloseHandle(db);
}

TEST_F(SortSeek, NumbersSignedMissingLastTiesInCreationOrder) {
    HANDLE byNumber = openDb(u"People", kNumber);
    ASSERT_NE(byNumber, INVALID_HANDLE_VALUE);
    std::vector<std::u16string> expected = {u"Ann", u"Bob", u"Анна", u"bob", u"Zed"};
    EXPECT_EQ(walk(byNumber, kName), expected);
    CloseHandle(byNumber);
}

TEST_F(SortSeek, FiletimeSortsAsUnsigned64BitsAndUnsortedKeepsCreationOrder) {
    HANDLE byDate = openDb(u"People", kDate);
    std::vector<std::u16string> byDateExpected = {u"Анна", u"Ann", u"Bob", u"Zed", u"bob"};
    EXPECT_EQ(walk(byDate, kName), byDateExpected);
    CloseHandle(byDate);
    HANDLE unsorted = openDb(u"People", 0);
    std::vector<std::u16string> created = {u"Bob", u"Ann", u"Zed", u"Анна", u"bob"};
    EXPECT_EQ(walk(unsorted, kName), created);
    CloseHandle(unsorted);
}

TEST_F(SortSeek, DescendingAndUnknownFirst) {
    ASSERT_NE(createDb(u"Flags", {{kNumber, CEDB_SORT_DESCENDING}, {kName, CEDB_SORT_UNKNOWNFIRST}}), 0u);
    HANDLE db = openDb(u"Flags", kNumber);
    add(db, {i4(kNumber, 1), text(kName, u"one")});
    add(db, {text(kKey, u"none")});
    add(db, {i4(kNumber, 3)});
    add(db, {i4(kNumber, -2), text(kName, u"minus")});
    std::vector<std::u16string> descending = {u"<none>", u"one", u"minus", u"<none>"};
    EXPECT_EQ(walk(db, kName), descending);
    EXPECT_EQ(walk(db, kKey).back(), u"none");
    CloseHandle(db);
    HANDLE byName = openDb(u"Flags", kName);
    std::vector<std::u16string> unknownFirst = {u"<none>", u"<none>", u"minus", u"one"};
    EXPECT_EQ(walk(byName, kName), unknownFirst);
    CloseHandle(byName);
}

TEST_F(SortSeek, PositionSeeksReportTheIndexReached) {
    DWORD index = 99;
    EXPECT_EQ(CeSeekDatabase(m_db, CEDB_SEEK_BEGINNING, 1, &index), m_bob);
    EXPECT_EQ(index, 1u);
    EXPECT_EQ(CeSeekDatabase(m_db, CEDB_SEEK_CURRENT, 1, &index), m_zed);
    EXPECT_EQ(index, 2u);
    EXPECT_EQ(CeSeekDatabase(m_db, CEDB_SEEK_CURRENT, static_cast<DWORD>(-2), &index), m_ann);
    EXPECT_EQ(CeSeekDatabase(m_db, CEDB_SEEK_CURRENT, 0, &index), m_ann);
    EXPECT_EQ(index, 0u);
    EXPECT_EQ(CeSeekDatabase(m_db, CEDB_SEEK_END, 0, &index), m_cyr);
    EXPECT_EQ(index, 4u);
    EXPECT_EQ(CeSeekDatabase(m_db, CEDB_SEEK_END, static_cast<DWORD>(-1), &index), m_low);
    EXPECT_EQ(index, 3u);
    EXPECT_EQ(CeSeekDatabase(m_db, CEDB_SEEK_CEOID, m_zed, &index), m_zed);
    EXPECT_EQ(index, 2u);
    EXPECT_EQ(readCurrent(m_db).get(kName), u"Zed");
}

TEST_F(SortSeek, FailedSeeksLeaveNoCurrentRecord) {
    struct Case {
        DWORD kind;
        DWORD value;
    };
    const Case cases[] = {{CEDB_SEEK_BEGINNING, 5},
                          {CEDB_SEEK_END, 1},
                          {CEDB_SEEK_END, static_cast<DWORD>(-5)},
                          {CEDB_SEEK_CURRENT, 5},
                          {CEDB_SEEK_CURRENT, static_cast<DWORD>(-1)},
                          {CEDB_SEEK_CEOID, 12345}};
    for (const Case& c : cases) {
        ASSERT_EQ(CeSeekDatabase(m_db, CEDB_SEEK_BEGINNING, 0, nullptr), m_ann);
        EXPECT_EQ(CeSeekDatabase(m_db, c.kind, c.value, nullptr), 0u) << c.kind << " " << c.value;
        EXPECT_EQ(readCurrent(m_db).oid, 0u) << c.kind;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
        EXPECT_EQ(CeSeekDatabase(m_db, CEDB_SEEK_CURRENT, 0, nullptr), 0u);
    }
}

TEST_F(SortSeek, ValueSeeksOnStrings) {
    DWORD index = 0;
    EXPECT_EQ(seekValue(CEDB_SEEK_VALUEFIRSTEQUAL, text(kName, u"Zed"), &index), m_zed);
    EXPECT_EQ(index, 2u);
    EXPECT_EQ(seekValue(CEDB_SEEK_VALUEFIRSTEQUAL, text(kName, u"zed")), 0u);
    EXPECT_EQ(readCurrent(m_db).oid, 0u);
    CeSeekDatabase(m_db, CEDB_SEEK_BEGINNING, 0, nullptr);
    EXPECT_EQ(seekValue(CEDB_SEEK_VALUEGREATER, text(kName, u"Bob"), &index), m_zed);
    EXPECT_EQ(seekValue(CEDB_SEEK_VALUEGREATER, text(kName, u"Анна")), 0u);
    CeSeekDatabase(m_db, CEDB_SEEK_END, 0, nullptr);
    EXPECT_EQ(seekValue(CEDB_SEEK_VALUESMALLER, text(kName, u"Bob"), &index), m_ann);
    EXPECT_EQ(index, 0u);
    CeSeekDatabase(m_db, CEDB_SEEK_END, 0, nullptr);
    EXPECT_EQ(seekValue(CEDB_SEEK_VALUESMALLER, text(kName, u"Ann")), 0u);
    EXPECT_EQ(seekValue(CEDB_SEEK_VALUESMALLER, text(kName, u"zzz"), &index), m_low);
}

TEST_F(SortSeek, ValueSeeksOnNumbersSkipRecordsLackingTheProperty) {
    HANDLE db = openDb(u"People", kNumber);
    auto seek = [&](DWORD kind, LONG n) {
        CEPROPVAL v = i4(kNumber, n);
        return CeSeekDatabase(db, kind, reinterpret_cast<DWORD_PTR>(&v), nullptr);
    };
    EXPECT_EQ(seek(CEDB_SEEK_VALUEFIRSTEQUAL, 5), m_bob);
    EXPECT_EQ(CeSeekDatabase(db, CEDB_SEEK_CURRENT, 0, nullptr), m_bob);
    CEPROPVAL five = i4(kNumber, 5);
    EXPECT_EQ(CeSeekDatabase(db, CEDB_SEEK_VALUENEXTEQUAL, reinterpret_cast<DWORD_PTR>(&five), nullptr),
              m_cyr);
    EXPECT_EQ(CeSeekDatabase(db, CEDB_SEEK_VALUENEXTEQUAL, reinterpret_cast<DWORD_PTR>(&five), nullptr), 0u);
    CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
    EXPECT_EQ(seek(CEDB_SEEK_VALUEGREATER, -8), m_ann);
    EXPECT_EQ(seek(CEDB_SEEK_VALUEGREATER, 100000), 0u);
    CeSeekDatabase(db, CEDB_SEEK_END, 0, nullptr);
    EXPECT_EQ(seek(CEDB_SEEK_VALUESMALLER, 1000000), m_low);
    EXPECT_EQ(seek(CEDB_SEEK_VALUESMALLER, -7), 0u);
    CloseHandle(db);
}

TEST_F(SortSeek, BadValueSeeksAreRejected) {
    CEPROPVAL wrongType = i4(kNumber, 1);
    EXPECT_EQ(
        CeSeekDatabase(m_db, CEDB_SEEK_VALUEFIRSTEQUAL, reinterpret_cast<DWORD_PTR>(&wrongType), nullptr),
        0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(CeSeekDatabase(m_db, CEDB_SEEK_VALUEFIRSTEQUAL, 0, nullptr), 0u);
    HANDLE unsorted = openDb(u"People", 0);
    CEPROPVAL name = text(kName, u"Bob");
    EXPECT_EQ(
        CeSeekDatabase(unsorted, CEDB_SEEK_VALUEFIRSTEQUAL, reinterpret_cast<DWORD_PTR>(&name), nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    CloseHandle(unsorted);
}

TEST_F(SortSeek, WritingTheSortPropertyMovesTheRecordAndKeepsItCurrent) {
    CEPROPVAL rename = text(kName, u"Aaron");
    ASSERT_EQ(CeSeekDatabase(m_db, CEDB_SEEK_CEOID, m_zed, nullptr), m_zed);
    EXPECT_EQ(CeWriteRecordProps(m_db, m_zed, 1, &rename), m_zed);
    DWORD index = 9;
    EXPECT_EQ(CeSeekDatabase(m_db, CEDB_SEEK_CURRENT, 0, &index), m_zed);
    EXPECT_EQ(index, 0u);
    EXPECT_EQ(walk(m_db, kName).front(), u"Aaron");
}

TEST_F(SortSeek, AutoIncrementAdvancesAfterEachRead) {
    HANDLE db = openDb(u"People", kName, CEDB_AUTOINCREMENT);
    std::vector<std::u16string> names;
    for (Record r = readCurrent(db); r.oid != 0; r = readCurrent(db))
        names.push_back(r.get(kName));
    EXPECT_EQ(names, walk(m_db, kName));
    CloseHandle(db);
}

}  // namespace
