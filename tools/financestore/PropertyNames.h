// The names of the finance tables' properties and the kind of value each holds, so that a dump can print
// "amount": "-44.91" instead of "112": -4491. One numbering is shared by all tables, but a number may
// mean something else in another table (113 is a running balance in Transactions, a balance in Accounts).
#pragma once

#include <optional>
#include <string>

#include "Catalogue.h"
#include "PropertyValue.h"

namespace financestore {

// How a property's value reads.
enum class ValueKind {
    Number,    // a 32-bit number as it is
    Text,      // a string
    Amount,    // a 64-bit amount in hundredths, as a decimal text ("-44.91")
    Date,      // a local date and time ("2025-12-08T00:00:00", with ".mmm" when it has milliseconds)
    Stamp,     // a UTC time ("2025-12-08T10:00:00Z")
    Rate,      // the 8 bytes of a double
    Wide,      // an 8-byte value read as a number (flags kept in amount-typed properties)
    SplitKey,  // a memorized split's line key: payee number in the high half, line number in the low
    Bytes,     // 8 bytes shown in hexadecimal (the data password's digest)
};

struct PropertyName {
    dove::PropertyNumber number;
    const char* name;
    ValueKind kind;
    int rank = 0;  // its place among the table's properties: the record's key fields come first
};

// The name, kind and rank of a property of a table; nullopt for a property the table does not know.
std::optional<PropertyName> propertyName(dove::Table table, dove::PropertyNumber number);

// The value in readable form as JSON: a number, or a string for amounts, dates and texts. A value whose
// type does not fit its kind is shown as the store has it.
std::string readableValue(const dove::PropertyValue& value, ValueKind kind);

}  // namespace financestore
