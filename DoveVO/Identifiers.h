// Record identifiers: the text identifiers of transactions (grouping the Transactions table by account and
// ordering each account by date and time), the range keys used to seek within an account, a day, a split
// owner or a scheduled item, the unique-identifier rule, the schedule counter and the GUID record keys.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "DateTime.h"

namespace dove {

// Record kinds (transaction property 125).
enum TransactionKind : int32_t {
    kKindPlain = 0,
    kKindSplitOwner = 1,
    kKindSplitLine = 2,
    kKindGenerated = 3,
    kKindSplitTransfer = 4,
};

// Stored forms.
std::u16string transactionIdentifier(uint32_t account, Date date);                // 7_20100305140809045
std::u16string splitIdentifier(uint32_t account, Date date, int32_t sequence);    // s7_...0450003
std::u16string scheduledInstanceIdentifier(uint32_t schedule, int32_t sequence);  // f40_0012
std::u16string occurrenceKey(uint32_t schedule, Date date);

// Range keys, never stored.
std::u16string accountStartKey(uint32_t account);  // "7_"
std::u16string accountEndKey(uint32_t account);    // "7_z"
std::u16string dayStartKey(uint32_t account, Date date);
std::u16string dayEndKey(uint32_t account, Date date);
std::u16string splitRangeStartKey(uint32_t account, Date ownerDate);
std::u16string splitRangeEndKey(uint32_t account, Date ownerDate);
std::u16string scheduleRangeStartKey(uint32_t schedule);
std::u16string scheduleRangeEndKey(uint32_t schedule);
inline constexpr const char16_t* kTableEndKey = u"z";

// The owner's identifier of a split identifier (without the leading "s" and the four-digit sequence);
// empty for a string that is not a split identifier.
std::u16string splitOwnerIdentifier(const std::u16string& splitId);

// The account number at the front of a transaction identifier ("12_..." -> 12), 0 when it has none.
uint32_t accountOfIdentifier(const std::u16string& identifier);

// A transaction identifier that no record of the Transactions table has, for account and *date. A date
// at 00:00:00 (no time of day given) is first moved to the time of the account's last record of that
// day; a date with a time of day keeps it. Then each taken candidate moves the date on by one
// millisecond. On success *date holds the date the identifier was made from. Fails (nullopt) for an
// account below 1, and for a date that is or would be moved past kLastDate (its identifier would need a
// fifth year digit). Leaves the Transactions sort order as it found it.
std::optional<std::u16string> makeUniqueTransactionIdentifier(uint32_t account, Date* date);

// A new scheduled-item number: one more than the greatest in use (Planner numbers and the generated
// transactions' numbers) at the first call after the store opened, then strictly increasing.
uint32_t nextScheduleNumber();

// A 16-byte record key laid out as the platform's GUID.
struct RecordKey {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    uint8_t data4[8] = {};
};
inline constexpr uint32_t kKeyClockFailure = 0x80004005u;

// Makes a key from the UTC clock, a process-wide sequence counter and three process-wide node values.
// Returns 0, or kKeyClockFailure (key untouched) when the clock cannot be read.
uint32_t makeRecordKey(RecordKey* key);
// The registry text form: "{" 8-4-4-4-12 upper-case hexadecimal digits "}".
std::u16string recordKeyText(const RecordKey& key);
// A new key in text form; empty when none could be made.
std::u16string newRecordKeyText();

}  // namespace dove
