// Record-level calls on an open handle: seeking, reading, writing and deleting records.
#include <sqlite3.h>

#include <algorithm>

#include "DatabaseHandle.h"
#include "platform/heap.h"

using namespace platform::cedb;

namespace platform::cedb {

std::recursive_mutex& apiLock() {
    static std::recursive_mutex lock;
    return lock;
}

bool DatabaseHandle::close() {
    std::lock_guard guard(apiLock());
    if (m_db != nullptr) m_db->dropHandle();
    m_db.reset();
    m_store.reset();
    return true;
}

void DatabaseHandle::setCurrentAt(size_t pos) {
    SortIndex& index = order();
    m_current = index.at(pos).oid;
    m_knownAt = &index;
    m_knownLayout = index.layout();
    m_knownPos = pos;
}

bool DatabaseHandle::currentPosition(size_t& pos) {
    if (m_current == 0) return false;
    SortIndex& index = order();
    if (m_knownAt == &index && m_knownLayout == index.layout()) {
        pos = m_knownPos;
        return true;
    }
    if (m_db->record(m_current) == nullptr || !index.positionOf(m_db->entryOf(m_current, index), pos))
        return false;
    m_knownAt = &index;
    m_knownLayout = index.layout();
    m_knownPos = pos;
    return true;
}

DatabaseHandle* DatabaseHandle::resolve(HANDLE handle) {
    auto* h = handleAs<DatabaseHandle>(handle);
    if (h == nullptr || h->m_db == nullptr || !h->m_store->usable())
        return SetLastError(ERROR_INVALID_HANDLE), nullptr;
    h->m_store->sync();
    if (!h->m_db->refresh()) {
        if (GetLastError() == ERROR_INVALID_PARAMETER) SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (h->m_atStart) {
        h->m_atStart = false;
        SortIndex& order = h->order();
        h->m_current = order.size() != 0 ? order.at(0).oid : 0;
    }
    return h;
}

}  // namespace platform::cedb

namespace {

enum class SeekResult { kFound, kNone, kInvalid };

// Value seeks: only records that have the sort property match; see CeSeekDatabase.
SeekResult valueSeek(const SortIndex& index, DWORD kind, const CEPROPVAL* value, bool hasCurrent,
                     size_t current, size_t& pos) {
    SortKey key;
    CEPROPID sortProp = index.spec().propid;
    if (value == nullptr || sortProp == 0 || TypeFromPropID(value->propid) != TypeFromPropID(sortProp) ||
        !keyOfValue(*value, key))
        return SeekResult::kInvalid;
    switch (kind) {
        case CEDB_SEEK_VALUEFIRSTEQUAL:
            pos = index.lowerBound(key);
            break;
        case CEDB_SEEK_VALUENEXTEQUAL:
            if (!hasCurrent) return SeekResult::kNone;
            pos = current + 1;
            break;
        case CEDB_SEEK_VALUEGREATER:
            pos = std::max(index.upperBound(key), hasCurrent ? current : size_t{0});
            break;
        default: {
            size_t before = index.lowerBound(key);
            if (before == 0) return SeekResult::kNone;
            pos = hasCurrent ? std::min(before - 1, current) : before - 1;
        }
    }
    if (pos >= index.size() || !index.at(pos).key.present) return SeekResult::kNone;
    bool wantsEqual = kind == CEDB_SEEK_VALUEFIRSTEQUAL || kind == CEDB_SEEK_VALUENEXTEQUAL;
    if (wantsEqual && index.compareKeys(index.at(pos).key, key) != 0) return SeekResult::kNone;
    return SeekResult::kFound;
}

SeekResult positionSeek(DatabaseHandle& h, DWORD kind, DWORD_PTR value, size_t& pos) {
    SortIndex& index = h.order();
    auto count = static_cast<int64_t>(index.size());
    size_t current = 0;
    bool hasCurrent = kind != CEDB_SEEK_BEGINNING && kind != CEDB_SEEK_END && kind != CEDB_SEEK_CEOID &&
                      h.currentPosition(current);
    int64_t target = -1;
    auto offset = static_cast<int64_t>(static_cast<LONG>(static_cast<DWORD>(value)));
    switch (kind) {
        case CEDB_SEEK_CEOID: {
            auto oid = static_cast<CEOID>(value);
            if (h.db().record(oid) == nullptr || !index.positionOf(h.db().entryOf(oid, index), pos))
                return SeekResult::kNone;
            return SeekResult::kFound;
        }
        case CEDB_SEEK_BEGINNING:
            target = static_cast<int64_t>(static_cast<DWORD>(value));
            break;
        case CEDB_SEEK_END:
            target = offset <= 0 ? count - 1 + offset : count;
            break;
        case CEDB_SEEK_CURRENT:
            target = hasCurrent ? static_cast<int64_t>(current) + offset : -1;
            break;
        case CEDB_SEEK_VALUEFIRSTEQUAL:
        case CEDB_SEEK_VALUENEXTEQUAL:
        case CEDB_SEEK_VALUEGREATER:
        case CEDB_SEEK_VALUESMALLER:
            return valueSeek(index, kind, reinterpret_cast<const CEPROPVAL*>(value), hasCurrent, current,
                             pos);
        default:
            return SeekResult::kInvalid;
    }
    if (target < 0 || target >= count) return SeekResult::kNone;
    pos = static_cast<size_t>(target);
    return SeekResult::kFound;
}

// Makes *buffer at least need bytes; see CeReadRecordPropsEx.
bool growBuffer(LPBYTE* buffer, LPDWORD size, size_t need, HANDLE heap) {
    void* grown = nullptr;
    if (heap != nullptr) {
        grown = *buffer != nullptr ? HeapReAlloc(heap, 0, *buffer, need) : HeapAlloc(heap, 0, need);
    } else {
        grown =
            *buffer != nullptr ? LocalReAlloc(*buffer, need, LMEM_MOVEABLE) : LocalAlloc(LMEM_FIXED, need);
    }
    if (grown == nullptr) return SetLastError(ERROR_NOT_ENOUGH_MEMORY), false;
    *buffer = static_cast<LPBYTE>(grown);
    *size = static_cast<DWORD>(need);
    return true;
}

bool storeRow(Store& store, Database& db, CEOID oid, const Blob& blob, bool adding) {
    Statement stmt = store.prepare(adding ? db.insertSql() : db.updateSql());
    if (!stmt) return false;
    sqlite3_bind_blob(stmt.get(), 1, blob.data(), static_cast<int>(blob.size()), SQLITE_STATIC);
    sqlite3_bind_int64(stmt.get(), 2, oid);
    return sqlite3_step(stmt.get()) == SQLITE_DONE ? true : store.fail();
}

// The blob a write produces, checked against the record limit and the record's existence.
bool composeWrite(Store& store, Database& db, CEOID& oid, WORD count, const CEPROPVAL* props, Blob& blob) {
    if (!db.refresh()) return false;
    if (oid == 0) {
        if (db.count() >= CEDB_MAXRECORDS) return SetLastError(ERROR_DISK_FULL), false;
        if (!store.allocateOid(oid)) return false;
        blob = mergeProps({}, count, props);
        return true;
    }
    const Blob* old = db.record(oid);
    if (old == nullptr) return SetLastError(ERROR_INVALID_PARAMETER), false;
    blob = mergeProps(*old, count, props);
    return true;
}

}  // namespace

CEOID CeSeekDatabase(HANDLE database, DWORD kind, DWORD_PTR value, LPDWORD index) {
    std::lock_guard guard(apiLock());
    DatabaseHandle* h = DatabaseHandle::resolve(database);
    if (h == nullptr) return 0;
    size_t pos = 0;
    SeekResult result = positionSeek(*h, kind, value, pos);
    if (result != SeekResult::kFound) {
        h->setCurrent(0);
        SetLastError(result == SeekResult::kInvalid ? ERROR_INVALID_PARAMETER : ERROR_NO_MORE_ITEMS);
        return 0;
    }
    h->setCurrentAt(pos);
    if (index != nullptr) *index = static_cast<DWORD>(pos);
    return h->current();
}

CEOID CeReadRecordPropsEx(HANDLE database, DWORD flags, LPWORD cPropID, CEPROPID* propIds, LPBYTE* buffer,
                          LPDWORD size, HANDLE heap) {
    std::lock_guard guard(apiLock());
    DatabaseHandle* h = DatabaseHandle::resolve(database);
    if (h == nullptr) return 0;
    if (cPropID == nullptr || buffer == nullptr || size == nullptr)
        return SetLastError(ERROR_INVALID_PARAMETER), 0;
    const Blob* blob = h->current() != 0 ? h->db().record(h->current()) : nullptr;
    if (blob == nullptr) {
        h->setCurrent(0);
        return SetLastError(ERROR_NO_MORE_ITEMS), 0;
    }
    WORD count = propIds != nullptr ? *cPropID : 0;
    WORD props = 0;
    size_t need = readSize(*blob, count, propIds, &props);
    if (need > 0 && (*buffer == nullptr || *size < need)) {
        if ((flags & CEDB_ALLOWREALLOC) == 0) {
            *size = static_cast<DWORD>(need);
            return SetLastError(ERROR_INSUFFICIENT_BUFFER), 0;
        }
        if (!growBuffer(buffer, size, need, heap)) return 0;
    }
    fillRead(*blob, count, propIds, *buffer);
    *cPropID = props;
    CEOID oid = h->current();
    if (h->autoIncrement()) {
        size_t pos = 0;
        bool hasNext = h->currentPosition(pos) && pos + 1 < h->order().size();
        if (hasNext)
            h->setCurrentAt(pos + 1);
        else
            h->setCurrent(0);
    }
    return oid;
}

CEOID CeWriteRecordProps(HANDLE database, CEOID oid, WORD count, CEPROPVAL* props) {
    std::lock_guard guard(apiLock());
    DatabaseHandle* h = DatabaseHandle::resolve(database);
    if (h == nullptr || !validProps(count, props)) return 0;
    Store& store = h->store();
    Database& db = h->db();
    if (!store.beginWrite(true)) return 0;
    Blob blob;
    bool adding = oid == 0;
    bool ok = composeWrite(store, db, oid, count, props, blob) && storeRow(store, db, oid, blob, adding);
    if (ok) {
        store.touch(db);
        db.put(oid, std::move(blob));
    }
    return store.finishWrite(ok) ? oid : 0;
}

BOOL CeDeleteRecord(HANDLE database, CEOID oid) {
    std::lock_guard guard(apiLock());
    DatabaseHandle* h = DatabaseHandle::resolve(database);
    if (h == nullptr) return FALSE;
    Store& store = h->store();
    Database& db = h->db();
    if (!store.beginWrite(true)) return FALSE;
    bool ok = db.refresh();
    if (ok && (oid == 0 || db.record(oid) == nullptr)) ok = (SetLastError(ERROR_INVALID_PARAMETER), false);
    if (ok) {
        Statement stmt = store.prepare(db.deleteSql());
        ok = stmt && sqlite3_bind_int64(stmt.get(), 1, oid) == SQLITE_OK &&
             (sqlite3_step(stmt.get()) == SQLITE_DONE || store.fail());
    }
    if (ok) {
        store.touch(db);
        db.remove(oid);
        if (h->current() == oid) h->setCurrent(0);
    }
    return store.finishWrite(ok) ? TRUE : FALSE;
}
