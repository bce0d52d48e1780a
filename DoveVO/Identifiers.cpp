// Identifier and key formats, the unique-identifier search, the schedule counter and record keys.
#include "Identifiers.h"

#include "FinanceStore.h"
#include "platform/windows.h"

namespace dove {
namespace {

constexpr PropertyNumber kIdentifier = 101;
constexpr PropertyNumber kOccurrence = 103;
constexpr PropertyNumber kAccount = 104;
constexpr PropertyNumber kDate = 108;
constexpr PropertyNumber kScheduleNumber = 251;

std::u16string dayPrefix(uint32_t number, const SYSTEMTIME& t) {
    return platform::format(u"%u_%04d%02d%02d", number, t.wYear, t.wMonth, t.wDay);
}

std::u16string fullStamp(uint32_t number, Date date) {
    SYSTEMTIME t = dateFields(date);
    return platform::format(u"%u_%04d%02d%02d%02d%02d%02d%03d", number, t.wYear, t.wMonth, t.wDay, t.wHour,
                            t.wMinute, t.wSecond, t.wMilliseconds);
}

bool sameDay(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

}  // namespace

std::u16string transactionIdentifier(uint32_t account, Date date) {
    return fullStamp(account, date);
}

std::u16string splitIdentifier(uint32_t account, Date date, int32_t sequence) {
    return u"s" + fullStamp(account, date) + platform::format(u"%04d", sequence);
}

std::u16string scheduledInstanceIdentifier(uint32_t schedule, int32_t sequence) {
    return platform::format(u"f%u_%04d", schedule, sequence);
}

std::u16string occurrenceKey(uint32_t schedule, Date date) {
    return fullStamp(schedule, date);
}

std::u16string accountStartKey(uint32_t account) {
    return platform::format(u"%u_", account);
}

std::u16string accountEndKey(uint32_t account) {
    return platform::format(u"%u_z", account);
}

std::u16string dayStartKey(uint32_t account, Date date) {
    return dayPrefix(account, dateFields(date));
}

std::u16string dayEndKey(uint32_t account, Date date) {
    return dayPrefix(account, dateFields(date)) + u"z";
}

std::u16string splitRangeStartKey(uint32_t account, Date ownerDate) {
    return u"s" + fullStamp(account, ownerDate);
}

std::u16string splitRangeEndKey(uint32_t account, Date ownerDate) {
    return u"s" + fullStamp(account, ownerDate) + u"z";
}

std::u16string scheduleRangeStartKey(uint32_t schedule) {
    return platform::format(u"f%u_", schedule);
}

std::u16string scheduleRangeEndKey(uint32_t schedule) {
    return platform::format(u"f%u_z", schedule);
}

std::u16string splitOwnerIdentifier(const std::u16string& splitId) {
    if (splitId.size() < 5 || splitId[0] != u's') return {};
    return splitId.substr(1, splitId.size() - 5);
}

uint32_t accountOfIdentifier(const std::u16string& identifier) {
    uint32_t account = 0;
    size_t i = 0;
    for (; i < identifier.size() && identifier[i] >= u'0' && identifier[i] <= u'9'; ++i)
        account = account * 10 + static_cast<uint32_t>(identifier[i] - u'0');
    return i > 0 && i < identifier.size() && identifier[i] == u'_' ? account : 0;
}

std::optional<std::u16string> makeUniqueTransactionIdentifier(uint32_t account, Date* date) {
    if (account < 1 || date == nullptr) return std::nullopt;
    TableCursor& transactions = tableCursor(Table::Transactions);
    SortScope sorted(transactions, kIdentifier, SortKind::String);
    Date d = *date;
    const SYSTEMTIME fields = dateFields(d);
    SYSTEMTIME now;
    GetLocalTime(&now);
    const bool midnight = fields.wHour == 0 && fields.wMinute == 0 && fields.wSecond == 0;
    if (!sameDay(fields, now) || midnight) {
        if (transactions.seekLastSmaller(dayEndKey(account, d)) &&
            static_cast<uint32_t>(transactions.getI4(kAccount)) == account &&
            sameDay(dateFields(transactions.getDate(kDate)), fields))
            d = transactions.getDate(kDate);
    }
    std::u16string candidate = transactionIdentifier(account, d);
    while (transactions.seekFirstEqual(candidate)) {
        d += kDateMillisecond;
        candidate = transactionIdentifier(account, d);
    }
    *date = d;
    return candidate;
}

uint32_t nextScheduleNumber() {
    uint32_t& counter = numberCounters().schedule;
    if (counter == 0) {
        TableCursor& planner = tableCursor(Table::Planner);
        {
            SortScope sorted(planner, kScheduleNumber, SortKind::I4);
            int count = planner.recordCount();
            if (count > 0 && planner.moveTo(count - 1))
                counter = static_cast<uint32_t>(planner.getI4(kScheduleNumber));
        }
        TableCursor& transactions = tableCursor(Table::Transactions);
        SortScope sorted(transactions, kOccurrence, SortKind::String);
        if (transactions.seekLastSmaller(std::u16string(kTableEndKey))) {
            uint32_t used = static_cast<uint32_t>(transactions.getI4(kScheduleNumber));
            if (used > counter) counter = used;
        }
    }
    return ++counter;
}

uint32_t makeRecordKey(RecordKey* key) {
    static uint32_t sequence = 0;
    static uint16_t node[3] = {0, 0, 0};
    SYSTEMTIME utc;
    GetSystemTime(&utc);
    FILETIME time;
    if (key == nullptr || !SystemTimeToFileTime(&utc, &time)) return kKeyClockFailure;
    key->data1 = time.dwLowDateTime;
    key->data2 = static_cast<uint16_t>(time.dwHighDateTime & 0xFFFF);
    key->data3 = static_cast<uint16_t>(((time.dwHighDateTime >> 16) & 0xFFF2) | 2);
    if (sequence == 0) sequence = Random();
    ++sequence;
    key->data4[0] = static_cast<uint8_t>(sequence & 0xFF);
    key->data4[1] = static_cast<uint8_t>((sequence >> 8) & 0xFF);
    if (node[0] == 0) {
        node[0] = static_cast<uint16_t>(Random() * GetTickCount());
        node[1] = static_cast<uint16_t>(Random());
        node[2] = static_cast<uint16_t>(Random());
        if (node[0] == 0) node[0] = 1;  // zero means "not made yet"
    }
    for (int i = 0; i < 3; ++i) {
        key->data4[2 + 2 * i] = static_cast<uint8_t>(node[i] & 0xFF);
        key->data4[3 + 2 * i] = static_cast<uint8_t>(node[i] >> 8);
    }
    return 0;
}

std::u16string recordKeyText(const RecordKey& key) {
    const uint8_t* b = key.data4;
    return platform::format(u"{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", key.data1, key.data2,
                            key.data3, b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]);
}

std::u16string newRecordKeyText() {
    RecordKey key;
    if (makeRecordKey(&key) != 0) return {};
    return recordKeyText(key);
}

}  // namespace dove
