// Opening the object-store file: a store is created only where nothing is, and a file that is not a
// sound store of ours (empty, not a database, another program's database, damaged pages) is refused
// with its cause and left byte for byte as it was.
#include <sqlite3.h>

#include <set>

#include "Store.h"

namespace platform::cedb {
namespace {

constexpr const char* kStoreTables[] = {"cedb_store", "cedb_databases"};

// Room for every page a balance pass over a large account rewrites: with SQLite's default of 2 MiB the
// transaction spills pages to the log before its commit, and writes them twice.
constexpr const char* kCacheSize = "PRAGMA cache_size=-16384";

StoreProblem problemAt(StoreFileKind kind) {
    switch (kind) {
        case StoreFileKind::Missing:
            return {ERROR_CANTOPEN, "there is no store"};
        case StoreFileKind::Unreadable:
            return {ERROR_CANTOPEN, "it cannot be read"};
        case StoreFileKind::NotAFile:
            return {ERROR_CANTOPEN, "it is not a regular file"};
        case StoreFileKind::Empty:
            return {ERROR_BADDB, "the file is empty"};
        case StoreFileKind::NotADatabase:
            return {ERROR_BADDB, "it is not a database file"};
        case StoreFileKind::Database:
            break;
    }
    return {};
}

}  // namespace

bool Store::open() {
    m_pid = processId();
    m_opening = true;
    StoreProblem problem;
    // Nothing is written before the file proved to be a store of ours, and the switch to the
    // write-ahead log (which every store of ours has from its creation on) changes nothing then.
    if (ensureFile(problem) && connect(problem) && checkTables(problem) && checkFormat(problem) &&
        checkPages(problem) && (m_readOnly || useWriteAheadLog(problem))) {
        m_opening = false;
        openChangeCounter();
        sync();
        // A process that only reads reads one state of the store, whatever others commit meanwhile: a
        // check or a dump is never of a store half-way through another program's save.
        return !readOnlyAsked() || holdSnapshot();
    }
    disconnect();
    return fail(problem);
}

bool Store::ensureFile(StoreProblem& problem) {
    StoreFileKind kind = inspectStoreFile(m_path);
    if (kind == StoreFileKind::Missing && !readOnlyAsked()) {
        if (!createStoreFile(m_path, kFormat, kFirstOid, problem)) return false;
        // Ours, or the one another process created at the same moment.
        kind = inspectStoreFile(m_path);
    }
    if (kind == StoreFileKind::Database) return true;
    problem = problemAt(kind);
    return false;
}

bool Store::connect(StoreProblem& problem) {
    const StoreAccess access = storeAccess(m_path, readOnlyAsked());
    if (!openStoreFile(m_path, access, &m_db, problem)) return false;
    m_readOnly = access.readOnly || sqlite3_db_readonly(m_db, "main") == 1;
    sqlite3_busy_timeout(m_db, busyTimeout());
    // cell_size_check: every page read is checked for cells that overrun it, so that damage shows as an
    // error rather than as records read from garbage.
    const bool ok =
        exec("PRAGMA synchronous=NORMAL") && exec(kCacheSize) && exec("PRAGMA cell_size_check=ON");
    if (!ok) problem = problemOf(sqlite3_extended_errcode(m_db), sqlite3_errmsg(m_db));
    return ok;
}

bool Store::useWriteAheadLog(StoreProblem& problem) {
    if (exec("PRAGMA journal_mode=WAL")) return true;
    problem = problemOf(sqlite3_extended_errcode(m_db), sqlite3_errmsg(m_db));
    return false;
}

// The store's own tables must be there: a database without them belongs to another program, or to
// nobody, and is never taken for an empty store.
bool Store::checkTables(StoreProblem& problem) {
    Statement tables = prepare("SELECT name FROM sqlite_master WHERE type = 'table'");
    if (!tables) return problem = problemOf(sqlite3_extended_errcode(m_db), sqlite3_errmsg(m_db)), false;
    std::set<std::string> names;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(tables.get())) == SQLITE_ROW)
        names.insert(reinterpret_cast<const char*>(sqlite3_column_text(tables.get(), 0)));
    if (rc != SQLITE_DONE) return problem = problemOf(rc, sqlite3_errmsg(m_db)), false;
    bool ours = true;
    for (const char* table : kStoreTables)
        ours = ours && names.count(table) != 0;
    if (ours) return true;
    problem.error = ERROR_BADDB;
    problem.cause = names.empty()
                        ? "it is a database without the object store's tables"
                        : "it is a database of another program (it lacks the object store's tables)";
    return false;
}

bool Store::checkFormat(StoreProblem& problem) {
    Statement format = prepare("SELECT format FROM cedb_store WHERE id = 1");
    const int rc = format ? sqlite3_step(format.get()) : sqlite3_errcode(m_db);
    if (rc == SQLITE_ROW && sqlite3_column_int(format.get(), 0) == kFormat) return true;
    if (rc == SQLITE_ROW || rc == SQLITE_DONE) {
        problem = {ERROR_BADDB, "its format is not one this program reads"};
        return false;
    }
    problem = problemOf(rc, sqlite3_errmsg(m_db));
    return false;
}

// SQLite's structural check of every page (no index is compared with its table, the costly part of a
// full check): a page damaged anywhere in the file is found now, not later as records that are missing.
// The check reads every page once, so it runs with a small cache that recycles its pages instead of
// allocating (and faulting in) a new one for each page of a large store.
bool Store::checkPages(StoreProblem& problem) {
    int rc = exec("PRAGMA cache_size=-1024") ? SQLITE_OK : sqlite3_extended_errcode(m_db);
    std::string verdict;
    if (rc == SQLITE_OK) {
        Statement check = prepare("PRAGMA quick_check(1)");
        rc = check ? sqlite3_step(check.get()) : sqlite3_extended_errcode(m_db);
        const auto* text = rc == SQLITE_ROW ? sqlite3_column_text(check.get(), 0) : nullptr;
        if (text != nullptr) verdict = reinterpret_cast<const char*>(text);
    }
    if (rc != SQLITE_ROW) return problem = problemOf(rc, sqlite3_errmsg(m_db)), false;
    if (verdict != "ok") {
        for (char& c : verdict)
            if (c == '\n') c = ' ';
        problem = {ERROR_BADDB, "it is damaged (" + verdict + ")"};
        return false;
    }
    if (exec(kCacheSize)) return true;
    problem = problemOf(sqlite3_extended_errcode(m_db), sqlite3_errmsg(m_db));
    return false;
}

bool Store::holdSnapshot() {
    if (exec("BEGIN") && exec("SELECT format FROM cedb_store")) return true;
    disconnect();
    return false;
}

void Store::disconnect() {
    for (auto& [sql, stmt] : m_statements)
        sqlite3_finalize(stmt);
    m_statements.clear();
    if (m_db != nullptr) sqlite3_close(m_db);
    m_db = nullptr;
}

}  // namespace platform::cedb
