// Identifier and key formats, the unique-identifier search, the schedule counter and record keys.
#include "Identifiers.h"

#include <algorithm>

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

// Appends value in decimal, zero-padded to at least width digits (as "%0*u" would).
void appendDecimal(std::u16string& out, uint32_t value, int width) {
    char16_t digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int pad = width - n; pad > 0; --pad)
        out += u'0';
    while (n > 0)
        out += digits[--n];
}

// "%u_%04d%02d%02d%02d%02d%02d%03d" of the number and the date's fields, written out by hand: identifiers
// are made by the thousand when a save looks for a free one.
std::u16string fullStamp(uint32_t number, Date date) {
    const SYSTEMTIME t = dateFields(date);
    std::u16string out;
    out.reserve(32);
    appendDecimal(out, number, 1);
    out += u'_';
    appendDecimal(out, t.wYear, 4);
    for (WORD field : {t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond})
        appendDecimal(out, field, 2);
    appendDecimal(out, t.wMilliseconds, 3);
    return out;
}

bool sameDay(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

// How many identifiers of the account are taken one millisecond after another from date d on: the
// entries that follow the one of d in identifier order are those of d + 1 ms, d + 2 ms, ... up to the
// first free one, so the run's end is found by halving instead of one seek per millisecond (many saves
// within one millisecond make long runs). A record of another form sorting inside the run ends it early;
// the caller's check of each candidate then goes on one millisecond at a time.
int64_t takenRun(TableCursor& transactions, uint32_t account, Date d) {
    const int first = transactions.findEqual(transactionIdentifier(account, d));
    if (first < 0) return 0;
    std::u16string stored;
    auto taken = [&](int64_t step) {
        return first + step <= INT32_MAX &&
               transactions.stringAt(static_cast<int>(first + step), kIdentifier, stored) &&
               stored == transactionIdentifier(account, d + static_cast<Date>(step) * kDateMillisecond);
    };
    int64_t known = 0, beyond = 1;
    while (taken(beyond)) {
        known = beyond;
        beyond *= 2;
    }
    while (beyond - known > 1) {
        const int64_t middle = known + (beyond - known) / 2;
        (taken(middle) ? known : beyond) = middle;
    }
    return known + 1;
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
    if (account < 1 || date == nullptr || *date > kLastDate) return std::nullopt;
    TableCursor& transactions = tableCursor(Table::Transactions);
    SortScope sorted(transactions, kIdentifier, SortKind::String);
    Date d = *date;
    const SYSTEMTIME fields = dateFields(d);
    // A date without a time of day goes after the entries of its day; a time given is kept, and only
    // moved on from there when taken.
    const bool midnight = fields.wHour == 0 && fields.wMinute == 0 && fields.wSecond == 0;
    if (midnight && transactions.seekLastSmaller(dayEndKey(account, d)) &&
        static_cast<uint32_t>(transactions.getI4(kAccount)) == account &&
        sameDay(dateFields(transactions.getDate(kDate)), fields))
        d = std::max(d, transactions.getDate(kDate));
    const int64_t run = takenRun(transactions, account, d);
    if (static_cast<uint64_t>(run) > (kLastDate - d) / kDateMillisecond) return std::nullopt;
    d += static_cast<Date>(run) * kDateMillisecond;
    std::u16string candidate = transactionIdentifier(account, d);
    while (transactions.findEqual(candidate) >= 0) {
        if (kLastDate - d < kDateMillisecond) return std::nullopt;
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
