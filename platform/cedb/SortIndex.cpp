// The in-memory sort order: a sorted sequence split into blocks of at most 2 * kBlock entries.
#include "SortIndex.h"

#include <algorithm>

namespace platform::cedb {

int SortIndex::compareKeys(const SortKey& a, const SortKey& b) const {
    if (a.present != b.present) {
        int missingLast = a.present ? -1 : 1;
        return (m_spec.dwFlags & CEDB_SORT_UNKNOWNFIRST) != 0 ? -missingLast : missingLast;
    }
    if (!a.present) return 0;
    int c = 0;
    const size_t words = a.text ? SortKey::kWords : 1;
    for (size_t w = 0; w < words && c == 0; ++w)
        c = a.words[w] < b.words[w] ? -1 : (a.words[w] > b.words[w] ? 1 : 0);
    // Equal packed units: both strings are shorter and equal, or both hold at least that many units.
    constexpr size_t kPacked = SortKey::kPackedUnits;
    if (c == 0 && a.text && (a.chars.size() > kPacked || b.chars.size() > kPacked))
        c = compareUnits(a.chars.substr(kPacked), b.chars.substr(kPacked));
    return (m_spec.dwFlags & CEDB_SORT_DESCENDING) != 0 ? -c : c;
}

bool SortIndex::less(const IndexEntry& a, const IndexEntry& b) const {
    int c = compareKeys(a.key, b.key);
    return c != 0 ? c < 0 : a.oid < b.oid;
}

void SortIndex::assign(std::vector<IndexEntry> entries) {
    std::sort(entries.begin(), entries.end(),
              [this](const IndexEntry& a, const IndexEntry& b) { return less(a, b); });
    m_blocks.clear();
    m_startsValid = false;
    ++m_layout;
    m_size = entries.size();
    for (size_t at = 0; at < entries.size(); at += kBlock) {
        size_t end = std::min(entries.size(), at + kBlock);
        m_blocks.emplace_back(entries.begin() + static_cast<ptrdiff_t>(at),
                              entries.begin() + static_cast<ptrdiff_t>(end));
    }
}

size_t SortIndex::blockFor(const IndexEntry& entry) const {
    auto it = std::partition_point(m_blocks.begin(), m_blocks.end(),
                                   [&](const std::vector<IndexEntry>& b) { return less(b.back(), entry); });
    return static_cast<size_t>(it - m_blocks.begin());
}

void SortIndex::insert(const IndexEntry& entry) {
    ++m_size;
    m_startsValid = false;
    ++m_layout;
    if (m_blocks.empty()) {
        m_blocks.push_back({entry});
        return;
    }
    size_t b = std::min(blockFor(entry), m_blocks.size() - 1);
    std::vector<IndexEntry>& block = m_blocks[b];
    auto at = std::lower_bound(block.begin(), block.end(), entry,
                               [this](const IndexEntry& x, const IndexEntry& y) { return less(x, y); });
    block.insert(at, entry);
    if (block.size() > 2 * kBlock) {
        std::vector<IndexEntry> upper(block.begin() + kBlock, block.end());
        block.resize(kBlock);
        m_blocks.insert(m_blocks.begin() + static_cast<ptrdiff_t>(b) + 1, std::move(upper));
    }
}

bool SortIndex::erase(const IndexEntry& entry) {
    size_t b = blockFor(entry);
    if (b == m_blocks.size()) return false;
    std::vector<IndexEntry>& block = m_blocks[b];
    auto at = std::lower_bound(block.begin(), block.end(), entry,
                               [this](const IndexEntry& x, const IndexEntry& y) { return less(x, y); });
    if (at == block.end() || at->oid != entry.oid) return false;
    block.erase(at);
    --m_size;
    m_startsValid = false;
    ++m_layout;
    if (block.empty()) m_blocks.erase(m_blocks.begin() + static_cast<ptrdiff_t>(b));
    return true;
}

bool SortIndex::replaceKey(const IndexEntry& entry, const SortKey& key) {
    size_t b = blockFor(entry);
    if (b == m_blocks.size()) return false;
    std::vector<IndexEntry>& block = m_blocks[b];
    auto at = std::lower_bound(block.begin(), block.end(), entry,
                               [this](const IndexEntry& x, const IndexEntry& y) { return less(x, y); });
    if (at == block.end() || at->oid != entry.oid) return false;
    at->key = key;
    return true;
}

const std::vector<size_t>& SortIndex::starts() const {
    if (!m_startsValid) {
        m_starts.resize(m_blocks.size());
        size_t start = 0;
        for (size_t b = 0; b < m_blocks.size(); ++b) {
            m_starts[b] = start;
            start += m_blocks[b].size();
        }
        m_startsValid = true;
    }
    return m_starts;
}

const IndexEntry& SortIndex::at(size_t pos) const {
    const std::vector<size_t>& first = starts();
    size_t b = static_cast<size_t>(std::upper_bound(first.begin(), first.end(), pos) - first.begin()) - 1;
    return m_blocks[b][pos - first[b]];
}

bool SortIndex::positionOf(const IndexEntry& entry, size_t& pos) const {
    size_t b = blockFor(entry);
    if (b == m_blocks.size()) return false;
    const std::vector<IndexEntry>& block = m_blocks[b];
    auto at = std::lower_bound(block.begin(), block.end(), entry,
                               [this](const IndexEntry& x, const IndexEntry& y) { return less(x, y); });
    if (at == block.end() || at->oid != entry.oid) return false;
    pos = static_cast<size_t>(at - block.begin());
    for (size_t i = 0; i < b; ++i)
        pos += m_blocks[i].size();
    return true;
}

template <class Before>
size_t SortIndex::partitionPoint(Before before) const {
    auto it = std::partition_point(m_blocks.begin(), m_blocks.end(),
                                   [&](const std::vector<IndexEntry>& b) { return before(b.back()); });
    size_t pos = 0;
    for (auto b = m_blocks.begin(); b != it; ++b)
        pos += b->size();
    if (it == m_blocks.end()) return pos;
    return pos + static_cast<size_t>(std::partition_point(it->begin(), it->end(), before) - it->begin());
}

size_t SortIndex::lowerBound(const SortKey& key) const {
    return partitionPoint([&](const IndexEntry& e) { return compareKeys(e.key, key) < 0; });
}

size_t SortIndex::upperBound(const SortKey& key) const {
    return partitionPoint([&](const IndexEntry& e) { return compareKeys(e.key, key) <= 0; });
}

}  // namespace platform::cedb
