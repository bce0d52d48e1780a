// The finance store fixture: set-up, seeding helpers and table dumps.
#include "StoreFixture.h"

#include <algorithm>
#include <map>

#include "Catalogue.h"
#include "Categories.h"
#include "CurrencyCache.h"
#include "Operation.h"
#include "ResourceText.h"
#include "TransactionStore.h"
#include "platform/windows.h"
#include "resources/DashelResources.h"

namespace dove::testing {

Date dateOf(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    t.wMilliseconds = static_cast<WORD>(millisecond);
    return dateFromFields(t);
}

Date march(int day, int hour, int minute, int second, int millisecond) {
    return dateOf(2010, 3, day, hour, minute, second, millisecond);
}

void StoreTest::SetUp() {
    SYSTEMTIME start{};
    start.wYear = 2010;
    start.wMonth = 3;
    start.wDay = 5;
    start.wHour = 14;
    start.wMinute = 8;
    start.wSecond = 9;
    start.wMilliseconds = 45;
    platform::useVirtualClock(start);
    platform::registerModuleResources(resourceModule(), dashelResourceTable());
    setStoreAlertHook([this](StoreAlert alert, uint32_t) { m_alerts.push_back(alert); });
    ASSERT_TRUE(openFinanceStore());
}

void StoreTest::TearDown() {
    closeFinanceStore();
    setStoreAlertHook(nullptr);
    platform::cedbFailNthOperation(0);
    platform::cedbCloseStore();
    platform::useRealClock();
}

void StoreTest::addAccount(const AccountSeed& seed) {
    TableCursor& accounts = tableCursor(Table::Accounts);
    ASSERT_NE(
        accounts.addRecord({PropertyValue::i4(104, seed.number), PropertyValue::i4(160, seed.number),
                            PropertyValue::string(110, u"Account"), PropertyValue::string(301, seed.currency),
                            PropertyValue::date(161, static_cast<uint64_t>(seed.start)),
                            PropertyValue::date(164, static_cast<uint64_t>(seed.opening)),
                            PropertyValue::i4(173, seed.type)}),
        0u);
}

void StoreTest::addCurrency(uint32_t id, const std::u16string& code, const std::u16string& symbol,
                            int32_t storedDecimals) {
    TableCursor& currencies = tableCursor(Table::Currencies);
    std::vector<PropertyValue> values = {PropertyValue::i4(302, static_cast<int32_t>(id)),
                                         PropertyValue::string(301, code), PropertyValue::string(303, symbol),
                                         PropertyValue::string(304, code + u" name")};
    if (storedDecimals != 0) values.push_back(PropertyValue::i4(306, storedDecimals));
    ASSERT_NE(currencies.addRecord(values), 0u);
    currencyCache().reload();
}

void StoreTest::addRate(const std::u16string& first, const std::u16string& second, Date date,
                        const std::u16string& rate) {
    SYSTEMTIME t = dateFields(date);
    std::u16string key = first + second + platform::format(u"%04d%02d%02d", t.wYear, t.wMonth, t.wDay);
    TableCursor& history = tableCursor(Table::CurrencyHistory);
    ASSERT_NE(history.addRecord({PropertyValue::string(601, key), PropertyValue::string(604, key),
                                 PropertyValue::string(1000, rate), PropertyValue::string(602, u"2.5"),
                                 PropertyValue::date(108, date)}),
              0u);
}

void StoreTest::setDefaultCurrency(const std::u16string& code) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Varkel\\Brimwell\\Options", 0, nullptr, 0,
                              KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, u"Default Currency", 0, REG_SZ, reinterpret_cast<const BYTE*>(code.c_str()),
                   static_cast<DWORD>((code.size() + 1) * sizeof(char16_t)));
    RegCloseKey(key);
    currencyCache().reload();
}

TransactionRecord StoreTest::pay(int32_t account, Amount amount, Date date, int32_t category,
                                 int32_t project) {
    TransactionRecord r;
    r.setAccount(account);
    r.setAmount(amount);
    r.setDate(date);
    r.setCategory(category);
    r.setProject(project);
    r.setCurrency(accountCurrencyForTest(account));
    EXPECT_EQ(addNewTransaction(r), StoreStatus::Ok);
    return r;
}

TransactionRecord StoreTest::transfer(int32_t from, int32_t to, Amount amount, Date date) {
    return pay(from, amount, date, -to);
}

Amount recalculated(int32_t account, int offset) {
    StoreStatus status = StoreStatus::WriteFailed;
    const Amount balance = Operation::recalcBalanse(account, offset, false, status);
    EXPECT_EQ(status, StoreStatus::Ok) << "account " << account;
    return balance;
}

int32_t madeCategory(int32_t parent, const std::u16string& name, int32_t type) {
    int32_t number = 0;
    EXPECT_EQ(createCategory(parent, name, type, &number), StoreStatus::Ok);
    return number;
}

int32_t madeCategoryPath(const std::u16string& fullName, int32_t type) {
    int32_t number = 0;
    EXPECT_EQ(createCategoryPath(fullName, type, &number), StoreStatus::Ok);
    return number;
}

int32_t madeProject(int32_t parent, const std::u16string& name) {
    int32_t number = 0;
    EXPECT_EQ(createProject(parent, name, &number), StoreStatus::Ok);
    return number;
}

std::u16string accountCurrencyForTest(int32_t account) {
    TableCursor& accounts = tableCursor(Table::Accounts);
    SortScope sorted(accounts, 104, SortKind::I4);
    return accounts.seekFirstEqual(account) ? std::u16string(accounts.getString(301)) : std::u16string();
}

namespace {

std::string valueText(const CEPROPVAL& v) {
    switch (TypeFromPropID(v.propid)) {
        case CEVT_I4:
            return std::to_string(v.val.lVal);
        case CEVT_FILETIME:
            return std::to_string((static_cast<uint64_t>(v.val.filetime.dwHighDateTime) << 32) |
                                  v.val.filetime.dwLowDateTime);
        case CEVT_LPWSTR:
            return platform::toUtf8(v.val.lpwstr);
        default:
            return "?";
    }
}

std::vector<std::string> tableLines(const char16_t* name) {
    std::vector<std::string> lines;
    CEOID oid = 0;
    HANDLE h = CeOpenDatabase(&oid, const_cast<LPWSTR>(name), 0, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return lines;
    CEOIDINFO info{};
    CeOidGetInfo(oid, &info);
    BYTE* buffer = nullptr;
    DWORD size = 0;
    for (DWORD i = 0; i < info.infDatabase.wNumRecords; ++i) {
        DWORD index = 0;
        if (CeSeekDatabase(h, CEDB_SEEK_BEGINNING, i, &index) == 0) break;
        WORD count = 0;
        if (CeReadRecordPropsEx(h, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size, nullptr) == 0) break;
        auto* values = reinterpret_cast<CEPROPVAL*>(buffer);
        std::map<CEPROPID, std::string> props;
        for (WORD p = 0; p < count; ++p)
            props[values[p].propid] = valueText(values[p]);
        std::string line;
        for (const auto& [id, text] : props)
            line += std::to_string(id >> 16) + "=" + text + ";";
        lines.push_back(line);
    }
    if (buffer != nullptr) LocalFree(buffer);
    CloseHandle(h);
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace

std::string StoreTest::dumpStore() {
    std::string dump;
    for (const TableInfo& info : catalogue()) {
        dump += platform::toUtf8(info.databaseName) + "\n";
        for (const std::string& line : tableLines(info.databaseName))
            dump += "  " + line + "\n";
    }
    return dump;
}

std::vector<StoreTest::Row> StoreTest::transactionRows() {
    std::vector<Row> rows;
    TableCursor& t = tableCursor(Table::Transactions);
    SortScope sorted(t, 101, SortKind::String);
    for (int i = 0; i < t.recordCount() && t.moveTo(i); ++i)
        rows.push_back({t.getString(101), t.getI4(104), t.get64(112), t.get64(113), t.getI4(401),
                        t.getString(116), t.getI4(125), t.getString(301)});
    return rows;
}

Amount StoreTest::storedAccountBalance(int32_t account) {
    TableCursor& accounts = tableCursor(Table::Accounts);
    SortScope sorted(accounts, 104, SortKind::I4);
    return accounts.seekFirstEqual(account) ? accounts.get64(113) : -1;
}

}  // namespace dove::testing
