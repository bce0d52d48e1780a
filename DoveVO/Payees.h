// Payee records (table Memorized) with their memorized entries (the defaults proposed when the payee is
// chosen) and memorized split lines (table Memorized Splits): reading, creating, writing and finding a
// payee by name.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Amount.h"
#include "DateTime.h"
#include "StoreStatus.h"

namespace dove {

struct MemorizedSplit {
    int32_t line = 0;
    int32_t category = 0;  // 401
    int32_t project = 0;   // 201
    int32_t number = 0;    // 137
    std::u16string text;   // 114
    Amount amount = 0;     // 112
};

struct MemorizedEntry {
    int32_t account = 0;      // 104
    int32_t category = 0;     // 401 (negative: a transfer)
    int32_t project = 0;      // 201
    int32_t cleared = 0;      // 117
    int32_t number = 0;       // 137
    std::u16string text;      // 114
    Amount amount = 0;        // 112
    std::u16string currency;  // 301
    int32_t kind = 0;         // 125: 1 when split
};

struct Payee {
    int32_t number = 0;  // 1001
    std::u16string key;  // 135
    Date stamp = 0;      // 128
    bool flag1003 = false;
    bool flag1005 = false;
    std::u16string name;         // 110
    std::u16string displayName;  // 1004
    std::u16string text1002;
    Date date = 0;  // 108
    std::u16string text1006;
    MemorizedEntry entry;
    std::vector<MemorizedSplit> splits;
};

// Reads the payee at index of Memorized in its current sort order, with its memorized entry and, for a
// split entry, its memorized splits. False when there is no record at index.
bool readPayee(int index, Payee& payee);
// The payee with that number; false when none.
bool readPayeeByNumber(int32_t number, Payee& payee);

// Creates the payee: the next payee number, a key when it has none, the stamp, every field and the
// memorized entry (and its splits), all in one store transaction. payee.number holds the new number
// (not reused in this process even when the write failed).
StoreStatus createPayee(Payee& payee);
// Rewrites an existing payee's fields and memorized entry; RecordMissing when no payee has its number.
StoreStatus writePayee(const Payee& payee);
// Writes one memorized split line of the payee (line key: payee number high, line number low),
// replacing the line with that key when there is one.
StoreStatus writeMemorizedSplit(int32_t payee, const MemorizedSplit& split);

// Whether display name d names the payee t: d equals t, contains "@" t "@", or begins with t "@".
bool displayNameMatches(const std::u16string& d, const std::u16string& t);
// The number of the payee whose display name matches the text (trimmed), 0 when none.
int32_t findPayeeByName(const std::u16string& text);

// The program's in-memory payee list may take over the lookup (a sorted index or list) and hear of new
// payees; without hooks the Memorized table is searched.
void setPayeeLookupHook(std::function<std::optional<int32_t>(const std::u16string&)> lookup);
void setPayeeCreatedHook(std::function<void(const Payee&)> created);

}  // namespace dove
