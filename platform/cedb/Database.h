// One database as this process sees it: its description, every record's blob and the sort orders in
// use, loaded from the store on first use and kept by the store's connection while its version holds.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "RecordBlob.h"
#include "SortIndex.h"

namespace platform::cedb {

class Store;

class Database {
  public:
    Database(Store& store, CEOID oid);

    CEOID oid() const { return m_oid; }
    int64_t version() const { return m_version; }
    // The version this process's own write gives the database: the records in memory are that version.
    void setVersion(int64_t version) { m_version = m_storedVersion = version; }
    const std::vector<SORTORDERSPEC>& sorts() const { return m_sorts; }
    // The SQLite table holding this database's records.
    std::string table() const { return tableName(m_oid); }
    // The statements that add, change and delete one record: (props, oid) and (oid).
    const std::string& insertSql() const { return m_insertSql; }
    const std::string& updateSql() const { return m_updateSql; }
    const std::string& deleteSql() const { return m_deleteSql; }
    static std::string tableName(CEOID oid) { return "r" + std::to_string(oid); }

    // Another process may have changed the store: compare versions at the next refresh.
    void markStale() { m_stale = true; }
    // This process's view may be wrong (a rolled-back transaction): reload at the next refresh.
    void invalidate() {
        m_stale = true;
        m_version = -1;
    }
    // Brings the description (sort orders, version) up to date without reading any record; false (last
    // error set) when the database was deleted (ERROR_INVALID_PARAMETER) or cannot be read.
    bool refreshDescription();
    // Brings the records up to date with the store too, reading them only when the stored version is not
    // the one in memory; false as refreshDescription, or when a record is damaged (ERROR_BADDB).
    bool refresh();
    // True when the records in memory are those of the version last read from the store.
    bool loaded() const { return m_version >= 0 && m_version == m_storedVersion && !m_stale; }

    // Handles of this process open on the database (the store keeps the database while it has none).
    void addHandle() { ++m_handles; }
    void dropHandle() { --m_handles; }
    bool hasHandles() const { return m_handles > 0; }

    size_t count() const { return m_records.size(); }
    // Bytes of all record blobs.
    size_t bytes() const { return m_bytes; }
    // The record's blob, or nullptr when this database has no such record.
    const Blob* record(CEOID oid) const;
    // The order for sortProp (0: creation order), built on first use.
    SortIndex& index(CEPROPID sortProp);
    IndexEntry entryOf(CEOID oid, const SortIndex& index) const;

    // Adds or replaces a record in memory, keeping every order up to date.
    void put(CEOID oid, Blob blob);
    void remove(CEOID oid);

  private:
    bool load(int64_t version);
    bool readDescription(int64_t& version);
    // Notes that the store holds something of this database that cannot be read (ERROR_BADDB); false.
    bool damaged();
    void rebuild(SortIndex& index) const;
    // True when blob can replace old byte for byte: the same size, and no byte of any order's key
    // changed.
    bool rewritesInPlace(const Blob& old, const Blob& blob) const;

    Store& m_store;
    CEOID m_oid;
    int64_t m_version = -1;        // version of the records in memory, -1 when none are
    int64_t m_storedVersion = -1;  // version the store held at the last description read
    bool m_stale = true;
    int m_handles = 0;
    std::vector<SORTORDERSPEC> m_sorts;
    std::unordered_map<CEOID, Blob> m_records;
    size_t m_bytes = 0;
    std::map<CEPROPID, std::unique_ptr<SortIndex>> m_indexes;
    std::string m_insertSql;
    std::string m_updateSql;
    std::string m_deleteSql;
};

}  // namespace platform::cedb
