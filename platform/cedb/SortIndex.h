// One sort order of a database held in memory: its records' keys in order, with positions by index and
// lookups by key, kept in blocks so that inserting and removing a record stays cheap at 65,535 records.
#pragma once

#include <cstddef>
#include <vector>

#include "RecordBlob.h"

namespace platform::cedb {

// A record's place in an order. key.chars points into the record's blob, which outlives the entry.
struct IndexEntry {
    SortKey key;
    CEOID oid = 0;
};

class SortIndex {
  public:
    // spec.propid 0 orders by creation (object id) alone.
    explicit SortIndex(const SORTORDERSPEC& spec) : m_spec(spec) {}

    const SORTORDERSPEC& spec() const { return m_spec; }
    size_t size() const { return m_size; }
    // Changes whenever an entry is added or removed (positions may then have moved); a key replaced in
    // place leaves it.
    uint64_t layout() const { return m_layout; }

    // Replaces the contents with entries, sorted.
    void assign(std::vector<IndexEntry> entries);
    void insert(const IndexEntry& entry);
    // Removes the entry with this key and object id; false when it is not there.
    bool erase(const IndexEntry& entry);
    // Gives the entry a key that orders the same as its old one (a key viewing a record's new bytes),
    // leaving every position as it was; false when the entry is not there.
    bool replaceKey(const IndexEntry& entry, const SortKey& key);

    // The entry at position pos (< size()).
    const IndexEntry& at(size_t pos) const;
    // The position of the entry with this key and object id; false when it is not there.
    bool positionOf(const IndexEntry& entry, size_t& pos) const;
    // First position whose key is not ordered before key / is ordered after key.
    size_t lowerBound(const SortKey& key) const;
    size_t upperBound(const SortKey& key) const;

    // <0, 0, >0 as a orders before, with, after b: by value (descending when asked), records lacking
    // the property after all others unless CEDB_SORT_UNKNOWNFIRST.
    int compareKeys(const SortKey& a, const SortKey& b) const;

  private:
    bool less(const IndexEntry& a, const IndexEntry& b) const;
    // The block that holds or would hold entry (the first whose last entry is not before it).
    size_t blockFor(const IndexEntry& entry) const;
    template <class Before>
    size_t partitionPoint(Before before) const;
    // Records before each block, recomputed after the blocks changed.
    const std::vector<size_t>& starts() const;

    static constexpr size_t kBlock = 128;
    SORTORDERSPEC m_spec;
    std::vector<std::vector<IndexEntry>> m_blocks;
    size_t m_size = 0;
    mutable std::vector<size_t> m_starts;
    mutable bool m_startsValid = false;
    uint64_t m_layout = 0;
};

}  // namespace platform::cedb
