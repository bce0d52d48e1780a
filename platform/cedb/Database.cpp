// Loading a database's records from its table and keeping its sort orders in step with writes.
#include "Database.h"

#include <sqlite3.h>

#include <cstring>
#include <utility>

#include "Store.h"

namespace platform::cedb {
namespace {

// Records are compared a word at a time: a rewrite compares whole records on every write.
constexpr size_t kWord = sizeof(uint64_t);

uint64_t wordAt(const Blob& blob, size_t at) {
    uint64_t word = 0;
    std::memcpy(&word, blob.data() + at, kWord);
    return word;
}

// The first byte at which two records of one size differ (their size when none does).
size_t firstDifference(const Blob& a, const Blob& b) {
    size_t at = 0;
    while (at + kWord <= a.size() && wordAt(a, at) == wordAt(b, at))
        at += kWord;
    while (at < a.size() && a[at] == b[at])
        ++at;
    return at;
}

// One past the last byte at which two records of one size differ, given the first one.
size_t endOfDifference(const Blob& a, const Blob& b, size_t first) {
    size_t end = a.size();
    while (end >= first + kWord && wordAt(a, end - kWord) == wordAt(b, end - kWord))
        end -= kWord;
    while (end > first && a[end - 1] == b[end - 1])
        --end;
    return end;
}

}  // namespace

Database::Database(Store& store, CEOID oid)
    : m_store(store),
      m_oid(oid),
      m_insertSql("INSERT INTO " + table() + "(props, oid) VALUES(?, ?)"),
      m_updateSql("UPDATE " + table() + " SET props = ? WHERE oid = ?"),
      m_deleteSql("DELETE FROM " + table() + " WHERE oid = ?") {}

bool Database::readDescription(int64_t& version) {
    Statement info = m_store.prepare("SELECT version, sorts FROM cedb_databases WHERE oid = ?");
    if (!info) return false;
    sqlite3_bind_int64(info.get(), 1, m_oid);
    int rc = sqlite3_step(info.get());
    if (rc == SQLITE_DONE) return SetLastError(ERROR_INVALID_PARAMETER), false;
    if (rc != SQLITE_ROW) return m_store.fail();
    version = sqlite3_column_int64(info.get(), 0);
    const void* sorts = sqlite3_column_blob(info.get(), 1);
    size_t bytes = static_cast<size_t>(sqlite3_column_bytes(info.get(), 1));
    if (bytes % sizeof(SORTORDERSPEC) != 0 || bytes > CEDB_MAXSORTORDER * sizeof(SORTORDERSPEC))
        return damaged();
    m_sorts.resize(bytes / sizeof(SORTORDERSPEC));
    if (bytes != 0) std::memcpy(m_sorts.data(), sorts, bytes);
    return true;
}

bool Database::damaged() {
    return m_store.fail(StoreProblem{
        ERROR_BADDB, "it is damaged (database " + std::to_string(m_oid) + " holds a record it cannot read)"});
}

bool Database::refreshDescription() {
    if (!m_stale) return true;
    int64_t version = 0;
    if (!readDescription(version)) return false;
    m_storedVersion = version;
    m_stale = false;
    return true;
}

bool Database::refresh() {
    if (!refreshDescription()) return false;
    if (m_version == m_storedVersion) return true;
    if (load(m_storedVersion)) return true;
    m_stale = true;
    return false;
}

bool Database::load(int64_t version) {
    Statement rows = m_store.prepare("SELECT oid, props FROM " + table());
    if (!rows) return false;
    std::unordered_map<CEOID, Blob> records;
    records.reserve(m_records.size() + 64);
    size_t bytes = 0;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(rows.get())) == SQLITE_ROW) {
        auto oid = static_cast<CEOID>(sqlite3_column_int64(rows.get(), 0));
        const char* bytes = static_cast<const char*>(sqlite3_column_blob(rows.get(), 1));
        Blob blob(bytes != nullptr ? bytes : "", static_cast<size_t>(sqlite3_column_bytes(rows.get(), 1)));
        if (!wellFormed(blob) || records.size() >= CEDB_MAXRECORDS) return damaged();
        bytes += blob.size();
        records.emplace(oid, std::move(blob));
    }
    if (rc != SQLITE_DONE) return m_store.fail();
    m_records = std::move(records);
    m_bytes = bytes;
    m_version = version;
    for (auto& [prop, index] : m_indexes)
        rebuild(*index);
    return true;
}

const Blob* Database::record(CEOID oid) const {
    auto it = m_records.find(oid);
    return it != m_records.end() ? &it->second : nullptr;
}

IndexEntry Database::entryOf(CEOID oid, const SortIndex& index) const {
    const Blob* blob = record(oid);
    return IndexEntry{blob != nullptr ? keyOf(*blob, index.spec().propid) : SortKey{}, oid};
}

void Database::rebuild(SortIndex& index) const {
    std::vector<IndexEntry> entries;
    entries.reserve(m_records.size());
    for (const auto& [oid, blob] : m_records)
        entries.push_back(IndexEntry{keyOf(blob, index.spec().propid), oid});
    index.assign(std::move(entries));
}

SortIndex& Database::index(CEPROPID sortProp) {
    auto it = m_indexes.find(sortProp);
    if (it != m_indexes.end()) return *it->second;
    SORTORDERSPEC spec{sortProp, 0};
    for (const SORTORDERSPEC& s : m_sorts) {
        if (s.propid == sortProp) spec = s;
    }
    auto index = std::make_unique<SortIndex>(spec);
    rebuild(*index);
    return *m_indexes.emplace(sortProp, std::move(index)).first->second;
}

bool Database::rewritesInPlace(const Blob& old, const Blob& blob) const {
    if (old.size() != blob.size()) return false;
    const size_t first = firstDifference(old, blob);
    if (first == old.size()) return true;
    const size_t last = endOfDifference(old, blob, first);
    for (const auto& [prop, index] : m_indexes) {
        if (prop == 0) continue;
        size_t begin = 0, end = 0;
        if (!propertyRange(old, prop, begin, end)) {
            if (keyOf(blob, prop).present) return false;
        } else if (begin < last && end > first) {
            return false;
        }
    }
    return true;
}

void Database::put(CEOID oid, Blob blob) {
    auto it = m_records.find(oid);
    if (it == m_records.end()) {
        it = m_records.emplace(oid, std::move(blob)).first;
        m_bytes += it->second.size();
        for (auto& [prop, index] : m_indexes)
            index->insert(IndexEntry{keyOf(it->second, prop), oid});
        return;
    }
    // Most rewrites (a balance, a flag) replace a value by one of the same size and leave every key
    // where it was: the new bytes are copied over the old ones, so that the keys, which view the
    // record's bytes, stay valid in every order without a search.
    if (rewritesInPlace(it->second, blob)) {
        std::memcpy(it->second.data(), blob.data(), blob.size());
        return;
    }
    // Otherwise a rewrite moves the record only in the orders whose key it changed; the others only
    // take keys viewing the record's new bytes.
    m_bytes -= it->second.size();
    Blob old = std::exchange(it->second, std::move(blob));
    m_bytes += it->second.size();
    for (auto& [prop, index] : m_indexes) {
        IndexEntry before{keyOf(old, prop), oid};
        IndexEntry after{keyOf(it->second, prop), oid};
        if (index->compareKeys(before.key, after.key) == 0) {
            index->replaceKey(before, after.key);
        } else {
            index->erase(before);
            index->insert(after);
        }
    }
}

void Database::remove(CEOID oid) {
    if (record(oid) == nullptr) return;
    for (auto& [prop, index] : m_indexes)
        index->erase(entryOf(oid, *index));
    m_bytes -= record(oid)->size();
    m_records.erase(oid);
}

}  // namespace platform::cedb
