// Database-level calls: create, open, delete, describe; and the store's transaction bracket.
#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "DatabaseHandle.h"

using namespace platform::cedb;

namespace {

size_t nameLength(LPCWSTR name) {
    size_t n = 0;
    while (name[n] != 0)
        ++n;
    return n;
}

bool validCreate(LPWSTR name, WORD numSortOrders, const SORTORDERSPEC* sorts) {
    bool ok = name != nullptr && nameLength(name) > 0 && nameLength(name) < CEDB_MAXDBASENAMELEN &&
              numSortOrders <= CEDB_MAXSORTORDER && (numSortOrders == 0 || sorts != nullptr);
    for (WORD i = 0; ok && i < numSortOrders; ++i) {
        constexpr DWORD kSupported = CEDB_SORT_DESCENDING | CEDB_SORT_UNKNOWNFIRST;
        ok = sortableType(TypeFromPropID(sorts[i].propid)) && (sorts[i].dwFlags & ~kSupported) == 0;
        for (WORD j = 0; ok && j < i; ++j)
            ok = sorts[j].propid != sorts[i].propid;
    }
    if (!ok) SetLastError(ERROR_INVALID_PARAMETER);
    return ok;
}

// The object id of the database with this name: 0 when there is none (ERROR_FILE_NOT_FOUND) or on a
// store failure.
CEOID findByName(Store& store, LPCWSTR name) {
    Statement find = store.prepare("SELECT oid FROM cedb_databases WHERE name = ?");
    if (!find) return 0;
    sqlite3_bind_blob(find.get(), 1, name, static_cast<int>(nameLength(name) * sizeof(WCHAR)), SQLITE_STATIC);
    int rc = sqlite3_step(find.get());
    if (rc == SQLITE_ROW) return static_cast<CEOID>(sqlite3_column_int64(find.get(), 0));
    if (rc == SQLITE_DONE) return SetLastError(ERROR_FILE_NOT_FOUND), 0;
    store.fail();
    return 0;
}

bool insertDatabase(Store& store, CEOID oid, LPCWSTR name, DWORD type, WORD numSortOrders,
                    const SORTORDERSPEC* sorts) {
    Statement insert = store.prepare(
        "INSERT INTO cedb_databases(oid, name, type, sorts, version, modified) "
        "VALUES(?, ?, ?, ?, 0, 0)");
    if (!insert) return false;
    sqlite3_bind_int64(insert.get(), 1, oid);
    sqlite3_bind_blob(insert.get(), 2, name, static_cast<int>(nameLength(name) * sizeof(WCHAR)),
                      SQLITE_STATIC);
    sqlite3_bind_int64(insert.get(), 3, type);
    sqlite3_bind_blob(insert.get(), 4, numSortOrders != 0 ? static_cast<const void*>(sorts) : "",
                      static_cast<int>(numSortOrders * sizeof(SORTORDERSPEC)), SQLITE_STATIC);
    if (sqlite3_step(insert.get()) != SQLITE_DONE) return store.fail();
    std::string table =
        "CREATE TABLE " + Database::tableName(oid) + "(oid INTEGER PRIMARY KEY, props BLOB NOT NULL)";
    return store.exec(table.c_str());
}

// Fills the database part of info from its row and its records.
bool describeDatabase(Store& store, CEOID oid, CEOIDINFO& info) {
    Statement row = store.prepare("SELECT name, type, sorts, modified FROM cedb_databases WHERE oid = ?");
    if (!row) return false;
    sqlite3_bind_int64(row.get(), 1, oid);
    int rc = sqlite3_step(row.get());
    if (rc != SQLITE_ROW)
        return rc == SQLITE_DONE ? (SetLastError(ERROR_INVALID_PARAMETER), false) : store.fail();
    info = CEOIDINFO{};
    info.wObjType = OBJTYPE_DATABASE;
    CEDBASEINFO& d = info.infDatabase;
    d.dwFlags = CEDB_VALIDNAME | CEDB_VALIDTYPE | CEDB_VALIDSORTSPEC | CEDB_VALIDMODTIME;
    size_t nameBytes = std::min<size_t>(static_cast<size_t>(sqlite3_column_bytes(row.get(), 0)),
                                        (CEDB_MAXDBASENAMELEN - 1) * sizeof(WCHAR));
    if (nameBytes != 0) std::memcpy(d.szDbaseName, sqlite3_column_blob(row.get(), 0), nameBytes);
    d.dwDbaseType = static_cast<DWORD>(sqlite3_column_int64(row.get(), 1));
    size_t sortBytes =
        std::min<size_t>(static_cast<size_t>(sqlite3_column_bytes(row.get(), 2)), sizeof(d.rgSortSpecs));
    if (sortBytes != 0) std::memcpy(d.rgSortSpecs, sqlite3_column_blob(row.get(), 2), sortBytes);
    d.wNumSortOrder = static_cast<WORD>(sortBytes / sizeof(SORTORDERSPEC));
    auto modified = static_cast<uint64_t>(sqlite3_column_int64(row.get(), 3));
    d.ftLastModified = FILETIME{static_cast<DWORD>(modified), static_cast<DWORD>(modified >> 32)};
    // A database this process holds in memory is counted there (read again when another process changed
    // it); others are counted in their table.
    std::shared_ptr<Database> held = store.cached(oid);
    if (held != nullptr && held->version() >= 0 && held->refresh()) {
        d.wNumRecords = static_cast<WORD>(held->count());
        d.dwSize = static_cast<DWORD>(held->bytes());
        return true;
    }
    Statement size = store.prepare("SELECT count(*), total(length(props)) FROM " + Database::tableName(oid));
    if (!size || sqlite3_step(size.get()) != SQLITE_ROW) return size ? store.fail() : false;
    d.wNumRecords =
        static_cast<WORD>(std::min<int64_t>(sqlite3_column_int64(size.get(), 0), CEDB_MAXRECORDS));
    d.dwSize = static_cast<DWORD>(sqlite3_column_double(size.get(), 1));
    return true;
}

// Finds the database holding record oid.
bool describeRecord(Store& store, CEOID oid, CEOIDINFO& info) {
    std::vector<CEOID> databases;
    {
        Statement all = store.prepare("SELECT oid FROM cedb_databases");
        if (!all) return false;
        while (sqlite3_step(all.get()) == SQLITE_ROW)
            databases.push_back(static_cast<CEOID>(sqlite3_column_int64(all.get(), 0)));
    }
    for (CEOID db : databases) {
        Statement find = store.prepare("SELECT 1 FROM " + Database::tableName(db) + " WHERE oid = ?");
        if (!find) return false;
        sqlite3_bind_int64(find.get(), 1, oid);
        if (sqlite3_step(find.get()) == SQLITE_ROW) {
            info = CEOIDINFO{};
            info.wObjType = OBJTYPE_RECORD;
            info.infRecord.oidParent = db;
            return true;
        }
    }
    return SetLastError(ERROR_INVALID_PARAMETER), false;
}

}  // namespace

CEOID CeCreateDatabase(LPWSTR name, DWORD type, WORD numSortOrders, SORTORDERSPEC* sorts) {
    std::lock_guard guard(apiLock());
    if (!validCreate(name, numSortOrders, sorts)) return 0;
    std::shared_ptr<Store> store = Store::current();
    if (store == nullptr || !store->beginWrite()) return 0;
    CEOID oid = 0;
    CEOID existing = findByName(*store, name);
    bool ok = existing == 0 && GetLastError() == ERROR_FILE_NOT_FOUND;
    if (existing != 0) SetLastError(ERROR_DUP_NAME);
    ok = ok && store->allocateOid(oid) && insertDatabase(*store, oid, name, type, numSortOrders, sorts);
    return store->finishWrite(ok) ? oid : 0;
}

HANDLE CeOpenDatabase(PCEOID poid, LPWSTR name, CEPROPID sortProp, DWORD flags, HWND /*notify*/) {
    std::lock_guard guard(apiLock());
    if (poid == nullptr || (*poid == 0 && name == nullptr) || (flags & ~DWORD{CEDB_AUTOINCREMENT}) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::shared_ptr<Store> store = Store::current();
    if (store == nullptr) return INVALID_HANDLE_VALUE;
    store->sync();
    CEOID oid = *poid != 0 ? *poid : findByName(*store, name);
    std::shared_ptr<Database> db = oid != 0 ? store->database(oid) : nullptr;
    if (db == nullptr) return INVALID_HANDLE_VALUE;
    bool sortKnown = sortProp == 0;
    for (const SORTORDERSPEC& s : db->sorts())
        sortKnown = sortKnown || s.propid == sortProp;
    if (!sortKnown) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    auto* h = new DatabaseHandle(store, db, sortProp, flags);
    *poid = oid;
    return platform::makeHandle(h);
}

BOOL CeDeleteDatabase(CEOID oid) {
    std::lock_guard guard(apiLock());
    std::shared_ptr<Store> store = Store::current();
    if (store == nullptr) return FALSE;
    if (store->isOpen(oid)) return SetLastError(ERROR_SHARING_VIOLATION), FALSE;
    if (!store->beginWrite()) return FALSE;
    Statement remove = store->prepare("DELETE FROM cedb_databases WHERE oid = ?");
    bool ok = static_cast<bool>(remove) && sqlite3_bind_int64(remove.get(), 1, oid) == SQLITE_OK &&
              (sqlite3_step(remove.get()) == SQLITE_DONE || store->fail());
    if (ok && sqlite3_changes(sqlite3_db_handle(remove.get())) == 0)
        ok = (SetLastError(ERROR_INVALID_PARAMETER), false);
    if (ok) ok = store->exec(("DROP TABLE " + Database::tableName(oid)).c_str());
    if (ok) store->forget(oid);
    return store->finishWrite(ok) ? TRUE : FALSE;
}

BOOL CeOidGetInfo(CEOID oid, CEOIDINFO* info) {
    std::lock_guard guard(apiLock());
    if (info == nullptr || oid == 0) return SetLastError(ERROR_INVALID_PARAMETER), FALSE;
    std::shared_ptr<Store> store = Store::current();
    if (store == nullptr) return FALSE;
    store->sync();
    if (describeDatabase(*store, oid, *info)) return TRUE;
    if (GetLastError() != ERROR_INVALID_PARAMETER) return FALSE;
    return describeRecord(*store, oid, *info) ? TRUE : FALSE;
}

namespace platform {

BOOL cedbBeginTransaction() {
    std::lock_guard guard(apiLock());
    std::shared_ptr<cedb::Store> store = cedb::Store::current();
    return store != nullptr && store->beginBracket() ? TRUE : FALSE;
}

BOOL cedbCommitTransaction() {
    std::lock_guard guard(apiLock());
    std::shared_ptr<cedb::Store> store = cedb::Store::current();
    return store != nullptr && store->commitBracket() ? TRUE : FALSE;
}

BOOL cedbRollbackTransaction() {
    std::lock_guard guard(apiLock());
    std::shared_ptr<cedb::Store> store = cedb::Store::current();
    return store != nullptr && store->rollbackBracket() ? TRUE : FALSE;
}

void cedbCloseStore() {
    std::lock_guard guard(apiLock());
    cedb::Store::closeCurrent();
}

void cedbSetReadOnly(BOOL readOnly) {
    std::lock_guard guard(apiLock());
    cedb::Store::askReadOnly(readOnly != FALSE);
}

BOOL cedbOpenStore(BOOL* readOnly) {
    std::lock_guard guard(apiLock());
    std::shared_ptr<cedb::Store> store = cedb::Store::current();
    if (store == nullptr) return FALSE;
    // A problem an earlier call met is old news once the store opens.
    cedb::Store::clearProblem();
    if (readOnly != nullptr) *readOnly = store->readOnly() ? TRUE : FALSE;
    return TRUE;
}

void cedbSetBusyTimeout(DWORD milliseconds) {
    std::lock_guard guard(apiLock());
    cedb::Store::setBusyTimeout(static_cast<int>(std::min<DWORD>(milliseconds, INT32_MAX)));
}

std::string cedbStoreProblem() {
    std::lock_guard guard(apiLock());
    return cedb::Store::problem();
}

}  // namespace platform
