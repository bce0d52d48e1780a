// Building the journal's entries from a snapshot of the store: records tied together (a split owner and
// its lines, the two sides of a transfer) become one entry, each record's part of it its postings.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "JournalEntry.h"
#include "StoreSnapshot.h"

namespace financestore {

// The account that balances the two sides of a transfer written as separate transactions.
inline constexpr const char* kTransitAccount = "Equity:Transfers in transit";

class JournalBuilder {
  public:
    // onlyAccount: 0 for every account, else the entries touching that account only.
    JournalBuilder(const StoreSnapshot& snapshot, int32_t onlyAccount);

    // Every entry, in identifier order of their first records (not yet in journal order).
    std::vector<JournalEntry> entries();
    // The journal name of an account ("Assets:Checking"), and its commodity.
    std::string accountName(int32_t account) const;
    std::u16string commodityOf(int32_t account, const TransactionRow& record) const;
    // The records that could not be written (split lines without owner), as identifiers.
    const std::vector<std::u16string>& skipped() const { return m_skipped; }

  private:
    size_t root(size_t i);
    void join(size_t a, size_t b);
    void tieRecords();
    // The mutual transfer partner of record i within its entry, or npos.
    size_t partnerOf(size_t i) const;
    bool countsToBalance(const TransactionRow& r) const;
    std::string prefixOf(const TransactionRow& r) const;
    std::string categoryAccount(int32_t category);
    JournalEntry partOf(size_t i, const std::vector<size_t>& members);
    JournalPosting accountPosting(size_t i);
    void addCategoryPostings(size_t i, const std::vector<size_t>& members, JournalEntry& part);
    bool buildEntry(const std::vector<size_t>& members, JournalEntry& entry);

    const StoreSnapshot& m_s;
    int32_t m_only;
    std::vector<size_t> m_parent;
    std::vector<bool> m_skip;
    std::map<int32_t, std::string> m_accountNames;
    std::map<int32_t, std::string> m_categoryNames;
    std::vector<std::u16string> m_skipped;
};

// A text made safe for a journal name or payee: no tabs, line breaks or ';', single spaces, trimmed.
std::string journalText(const std::u16string& text);

}  // namespace financestore
