// One transaction of the plain-text journal (ledger and hledger read it): its postings, the records of
// real accounts it moves (which fix its place in the journal), and the parts it falls into when it has
// to be written as one transaction per record.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "Amount.h"
#include "DateTime.h"

namespace financestore {

struct JournalPosting {
    std::string account;  // the journal's account name
    dove::Amount amount = 0;
    std::u16string commodity;
    // The posting's value in another commodity ("@@"): its size, unsigned, and commodity.
    dove::Amount cost = 0;
    std::u16string costCommodity;
    bool pairCost = false;  // the cost states the other side of a transfer (dropped in a part)
    dove::Date date = 0;    // the posting's own date when its record is dated otherwise, else 0
    std::vector<std::string> notes;
    // The real account whose running total the posting moves (0: none), and its record's stored
    // running balance.
    int32_t balanceAccount = 0;
    bool hasStoredBalance = false;
    dove::Amount storedBalance = 0;

    bool hasCost() const { return !costCommodity.empty(); }
};

// A record of a real account in an entry: its account and identifier (its place in the account).
using JournalSide = std::pair<int32_t, std::u16string>;

struct JournalEntry {
    dove::Date date = 0;
    std::u16string identifier;  // of the entry's first record
    bool cleared = false;
    std::string payee;
    std::vector<std::string> notes;
    std::vector<JournalPosting> postings;
    std::vector<JournalSide> sides;
    // The entry as one transaction per record, each balanced through the transfer-in-transit account;
    // empty for an entry of one record.
    std::vector<JournalEntry> parts;
};

// Orders the entries so that every account's records come in identifier order (the order of their
// running balances), earlier dates first where the accounts leave a choice. Entries whose records
// cross each other in two accounts (no order can keep both) are written as their parts.
std::vector<JournalEntry> orderJournal(std::vector<JournalEntry> entries);

// Adds, per commodity in which the postings do not cancel out, a posting to account that balances them.
void balanceThrough(std::vector<JournalPosting>& postings, const std::string& account);

}  // namespace financestore
