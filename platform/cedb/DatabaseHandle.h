// An open database handle: the store and database it reads, its sort order and its current record; and
// the lock that serialises the object-store calls of a process.
#pragma once

#include <memory>
#include <mutex>

#include "Database.h"
#include "Store.h"
#include "platform/handles.h"

namespace platform::cedb {

// Every object-store call of the process holds this lock.
std::recursive_mutex& apiLock();

class DatabaseHandle : public KernelObject {
  public:
    // A new handle stands before its first record: the first record of its order becomes current at its
    // first call, so that opening reads no record.
    DatabaseHandle(std::shared_ptr<Store> store, std::shared_ptr<Database> db, CEPROPID sortProp, DWORD flags)
        : m_store(std::move(store)), m_db(std::move(db)), m_sortProp(sortProp), m_flags(flags) {
        m_db->addHandle();
    }

    bool close() override;

    Store& store() { return *m_store; }
    Database& db() { return *m_db; }
    SortIndex& order() { return m_db->index(m_sortProp); }
    bool autoIncrement() const { return (m_flags & CEDB_AUTOINCREMENT) != 0; }

    // The current record (0: none) and its position in the handle's order.
    CEOID current() const { return m_current; }
    void setCurrent(CEOID oid) {
        m_current = oid;
        m_knownAt = nullptr;
    }
    // Makes the record at pos of the handle's order current, remembering where it stands.
    void setCurrentAt(size_t pos);
    bool currentPosition(size_t& pos);

    // The handle behind a HANDLE, brought up to date with the store; nullptr with the last error set
    // (ERROR_INVALID_HANDLE also when its database was deleted or the store belongs to another process).
    static DatabaseHandle* resolve(HANDLE handle);

  private:
    std::shared_ptr<Store> m_store;
    std::shared_ptr<Database> m_db;
    CEPROPID m_sortProp;
    DWORD m_flags;
    CEOID m_current = 0;
    bool m_atStart = true;
    // The current record's position in m_knownAt while that order's layout is m_knownLayout: a walk
    // from record to record then finds its place without a search.
    const SortIndex* m_knownAt = nullptr;
    uint64_t m_knownLayout = 0;
    size_t m_knownPos = 0;
};

}  // namespace platform::cedb
