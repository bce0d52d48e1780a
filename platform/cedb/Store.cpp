// The object-store connection: statements, transactions with the shared change counter, the problem
// last met, and the failure hook. Opening and checking the file is StoreOpen.cpp.
#include "Store.h"

#include <fcntl.h>
#include <pthread.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <set>

#include "Database.h"
#include "platform/device.h"

namespace platform::cedb {
namespace {

constexpr uint64_t kLastOid = 0xFFFFFFFF;
// Object ids a process reserves at once: most writes then leave the store's next id alone.
constexpr uint64_t kOidBlock = 64;

std::shared_ptr<Store> g_current;
std::atomic<bool> g_readOnlyAsked{false};
std::atomic<int> g_busyTimeoutMs{kDefaultBusyTimeoutMs};
// Why the store last failed to open or to be used, as "<path>: <cause>".
std::string g_problem;

pid_t g_pid = 0;
std::atomic<unsigned> g_failCountdown{0};

DWORD errorFor(int code) {
    switch (code & 0xff) {
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
        case SQLITE_FORMAT:
            return ERROR_BADDB;
        case SQLITE_CANTOPEN:
            return ERROR_CANTOPEN;
        case SQLITE_PERM:
        case SQLITE_READONLY:
        case SQLITE_AUTH:
            return ERROR_ACCESS_DENIED;
        case SQLITE_FULL:
            return ERROR_DISK_FULL;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return ERROR_BUSY;
        case SQLITE_NOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        default:
            return ERROR_WRITE_FAULT;
    }
}

// Reports a store failure on stderr once per store file and kind of failure.
void reportOnce(const std::string& path, int code, const char* message) {
    static std::mutex lock;
    static std::set<std::pair<std::string, int>> reported;
    std::lock_guard guard(lock);
    if (!reported.emplace(path, code).second) return;
    std::fprintf(stderr, "cedb: object store %s: %s\n", path.c_str(), message);
}

int64_t nowFiletime() {
    using namespace std::chrono;
    constexpr int64_t kEpochDifference = 116444736000000000;  // 1601-01-01 to 1970-01-01 in 100 ns
    return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count() / 100 +
           kEpochDifference;
}

}  // namespace

pid_t processId() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        g_pid = getpid();
        pthread_atfork(nullptr, nullptr, [] { g_pid = getpid(); });
    });
    return g_pid;
}

StoreProblem problemOf(int sqliteCode, const std::string& message) {
    const DWORD error = errorFor(sqliteCode);
    switch (error) {
        case ERROR_BADDB:
            return {error, "it is damaged (" + message + ")"};
        case ERROR_BUSY:
            return {error, "it is busy: another program kept its write lock longer than the wait"};
        case ERROR_ACCESS_DENIED:
            return {error, "it is read-only"};
        case ERROR_CANTOPEN:
            return {error, "it cannot be opened (" + message + ")"};
        default:
            return {error, message};
    }
}

bool operationMayProceed() {
    unsigned n = g_failCountdown.load();
    while (n != 0) {
        if (g_failCountdown.compare_exchange_weak(n, n - 1)) {
            if (n == 1) return SetLastError(ERROR_WRITE_FAULT), false;
            return true;
        }
    }
    return true;
}

Statement::~Statement() {
    if (m_stmt != nullptr) {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
}

std::shared_ptr<Store> Store::current() {
    // A bracket holds the store it began on; finding the device root is a file-system call.
    if (g_current != nullptr && g_current->usable() && g_current->inBracket()) return g_current;
    std::string path = deviceRoot() + "/store.cedb";
    if (g_current != nullptr && g_current->path() == path && g_current->usable()) return g_current;
    closeCurrent();
    auto store = std::make_shared<Store>(path);
    if (!store->open()) return nullptr;
    g_problem.clear();
    g_current = store;
    return store;
}

void Store::askReadOnly(bool readOnly) {
    if (g_readOnlyAsked.exchange(readOnly) != readOnly) closeCurrent();
}

bool Store::readOnlyAsked() {
    return g_readOnlyAsked;
}

void Store::setBusyTimeout(int milliseconds) {
    g_busyTimeoutMs = milliseconds;
    if (g_current != nullptr && g_current->usable()) sqlite3_busy_timeout(g_current->m_db, milliseconds);
}

int Store::busyTimeout() {
    return g_busyTimeoutMs;
}

std::string Store::problem() {
    return g_problem;
}

void Store::clearProblem() {
    g_problem.clear();
}

void Store::closeCurrent() {
    if (g_current != nullptr && g_current->usable() && g_current->inBracket()) g_current->rollbackBracket();
    g_current.reset();
}

bool Store::usable() const {
    return m_db != nullptr && m_pid == processId();
}

Store::~Store() {
    // A child that inherited the connection through fork leaves it alone: closing it could disturb
    // the parent's locks and journal.
    if (m_pid != processId()) return;
    for (auto& [sql, stmt] : m_statements)
        sqlite3_finalize(stmt);
    if (m_db != nullptr) sqlite3_close(m_db);
    if (m_counter != nullptr) munmap(m_counter, sizeof(uint64_t));
    if (m_counterFd >= 0) close(m_counterFd);
}

bool Store::fail() {
    int code = m_db != nullptr ? sqlite3_extended_errcode(m_db) : SQLITE_CANTOPEN;
    const char* message = m_db != nullptr ? sqlite3_errmsg(m_db) : "cannot open";
    // A constraint is the caller's matter (a name taken); everything else is the store's problem.
    if ((code & 0xff) == SQLITE_CONSTRAINT) return SetLastError(errorFor(code)), false;
    // The problems of an open are the caller's to report (cedbStoreProblem); later ones are unexpected.
    if ((code & 0xff) != SQLITE_BUSY && !m_opening) reportOnce(m_path, code, message);
    return fail(problemOf(code, message));
}

bool Store::fail(const StoreProblem& problem) {
    g_problem = m_path + ": " + problem.cause;
    SetLastError(problem.error);
    return false;
}

bool Store::refuseWrite() {
    return fail(StoreProblem{ERROR_ACCESS_DENIED, "it is read-only"});
}

void Store::openChangeCounter() {
    // A process that only reads follows the counter when it exists and never makes it.
    const int flags = m_readOnly ? O_RDONLY | O_CLOEXEC : O_RDWR | O_CREAT | O_CLOEXEC;
    m_counterFd = ::open((m_path + "-changes").c_str(), flags, 0644);
    if (m_counterFd < 0) return;
    struct stat info {};
    if (fstat(m_counterFd, &info) != 0) return;
    if (info.st_size < 8 && (m_readOnly || ftruncate(m_counterFd, 8) != 0)) return;
    const int protection = m_readOnly ? PROT_READ : PROT_READ | PROT_WRITE;
    void* mapped = mmap(nullptr, sizeof(uint64_t), protection, MAP_SHARED, m_counterFd, 0);
    if (mapped != MAP_FAILED) m_counter = static_cast<uint64_t*>(mapped);
}

Statement Store::prepare(const std::string& sql) {
    auto it = m_statements.find(sql);
    if (it != m_statements.end()) return Statement(it->second);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(m_db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK) {
        fail();
        return Statement(nullptr);
    }
    m_statements.emplace(sql, stmt);
    return Statement(stmt);
}

bool Store::exec(const char* sql) {
    Statement stmt = prepare(sql);
    if (!stmt) return false;
    int rc = SQLITE_ROW;
    while (rc == SQLITE_ROW)
        rc = sqlite3_step(stmt.get());
    return rc == SQLITE_DONE ? true : fail();
}

void Store::sync() {
    if (m_counter != nullptr && __atomic_load_n(m_counter, __ATOMIC_ACQUIRE) == m_seenCounter) return;
    // A writer holds the lock exclusively from its counter bump until its commit returned, so under the
    // shared lock the data version includes every commit the counter announced.
    if (m_counterFd >= 0) flock(m_counterFd, LOCK_SH);
    uint64_t counter = m_counter != nullptr ? __atomic_load_n(m_counter, __ATOMIC_ACQUIRE) : 0;
    Statement version = prepare("PRAGMA data_version");
    int64_t dataVersion =
        version && sqlite3_step(version.get()) == SQLITE_ROW ? sqlite3_column_int64(version.get(), 0) : -1;
    if (dataVersion != m_dataVersion || dataVersion < 0) {
        m_dataVersion = dataVersion;
        for (auto& [oid, db] : m_databases)
            db->markStale();
    }
    m_seenCounter = counter;
    if (m_counterFd >= 0) flock(m_counterFd, LOCK_UN);
}

bool Store::beginWrite(bool singleStatement) {
    if (m_readOnly) return refuseWrite();
    if (!operationMayProceed()) return false;
    // A single failing statement undoes itself; several need a savepoint to fail together.
    m_savepoint = m_bracket && !singleStatement;
    if (m_bracket) return !m_savepoint || exec("SAVEPOINT cedb_write");
    if (!exec("BEGIN IMMEDIATE")) return false;
    sync();
    return true;
}

bool Store::finishWrite(bool ok) {
    if (m_bracket && !m_savepoint) return ok;
    if (m_bracket) {
        if (ok) return exec("RELEASE cedb_write");
        DWORD error = GetLastError();
        exec("ROLLBACK TO cedb_write");
        exec("RELEASE cedb_write");
        SetLastError(error);
        return false;
    }
    if (ok) return commitNow();
    DWORD error = GetLastError();
    exec("ROLLBACK");
    // The write failed before changing anything in memory; only a reservation of ids is undone.
    if (m_reserving) m_nextOid = m_oidEnd = 0;
    endTransaction();
    SetLastError(error);
    return false;
}

bool Store::beginBracket() {
    if (m_bracket) return SetLastError(ERROR_INVALID_FUNCTION), false;
    if (m_readOnly) return refuseWrite();
    if (!exec("BEGIN IMMEDIATE")) return false;
    sync();
    m_bracket = true;
    return true;
}

bool Store::commitBracket() {
    if (!m_bracket) return SetLastError(ERROR_INVALID_FUNCTION), false;
    m_bracket = false;
    return commitNow();
}

bool Store::rollbackBracket() {
    if (!m_bracket) return SetLastError(ERROR_INVALID_FUNCTION), false;
    m_bracket = false;
    bool ok = exec("ROLLBACK");
    invalidateAll();
    endTransaction();
    return ok;
}

bool Store::commitNow() {
    if (!flushTouched()) {
        DWORD error = GetLastError();
        exec("ROLLBACK");
        invalidateAll();
        endTransaction();
        SetLastError(error);
        return false;
    }
    if (m_counterFd >= 0) flock(m_counterFd, LOCK_EX);
    uint64_t before = m_counter != nullptr ? __atomic_fetch_add(m_counter, 1, __ATOMIC_ACQ_REL) : 0;
    bool ok = exec("COMMIT");
    if (ok && m_counter != nullptr && m_seenCounter == before) m_seenCounter = before + 1;
    if (m_counterFd >= 0) flock(m_counterFd, LOCK_UN);
    if (!ok) {
        DWORD error = GetLastError();
        exec("ROLLBACK");
        invalidateAll();
        SetLastError(error);
    }
    endTransaction();
    return ok;
}

bool Store::flushTouched() {
    if (m_reserving) {
        // The whole block is reserved, so that the next transactions of this process need not write.
        Statement next = prepare("UPDATE cedb_store SET next_oid = ? WHERE id = 1");
        const int64_t stored = m_oidEnd > kLastOid ? 0 : static_cast<int64_t>(m_oidEnd);
        if (!next || sqlite3_bind_int64(next.get(), 1, stored) != SQLITE_OK ||
            sqlite3_step(next.get()) != SQLITE_DONE)
            return fail();
    }
    int64_t now = nowFiletime();
    for (auto& [oid, version] : m_touched) {
        Statement update = prepare("UPDATE cedb_databases SET version = ?, modified = ? WHERE oid = ?");
        if (!update) return false;
        sqlite3_bind_int64(update.get(), 1, version);
        sqlite3_bind_int64(update.get(), 2, now);
        sqlite3_bind_int64(update.get(), 3, oid);
        if (sqlite3_step(update.get()) != SQLITE_DONE) return fail();
    }
    return true;
}

void Store::invalidateAll() {
    // Only what the transaction wrote differs from the store; the rest is checked against its version
    // (a database the transaction created is gone, one it deleted is back).
    for (auto& [oid, db] : m_databases) {
        if (m_touched.count(oid) != 0)
            db->invalidate();
        else
            db->markStale();
    }
    if (m_reserving) m_nextOid = m_oidEnd = 0;
}

void Store::endTransaction() {
    m_reserving = false;
    m_touched.clear();
}

bool Store::allocateOid(CEOID& oid) {
    if (m_nextOid >= m_oidEnd) {
        // The store's next id is written at the commit: a transaction that already reserved goes on
        // from the end of its reservation.
        uint64_t first = m_oidEnd;
        if (!m_reserving) {
            Statement next = prepare("SELECT next_oid FROM cedb_store WHERE id = 1");
            if (!next) return false;
            if (sqlite3_step(next.get()) != SQLITE_ROW) return fail();
            first = static_cast<uint64_t>(sqlite3_column_int64(next.get(), 0));
        }
        // 0 once every 32-bit object id has been given out.
        if (first == 0 || first > kLastOid) return SetLastError(ERROR_DISK_FULL), false;
        m_nextOid = first;
        m_oidEnd = std::min<uint64_t>(first + kOidBlock, kLastOid + 1);
        m_reserving = true;
    }
    oid = static_cast<CEOID>(m_nextOid++);
    return true;
}

void Store::touch(Database& db) {
    if (m_touched.count(db.oid()) != 0) return;
    db.setVersion(db.version() + 1);
    m_touched[db.oid()] = db.version();
}

void Store::forget(CEOID database) {
    m_touched.erase(database);
    m_databases.erase(database);
}

std::shared_ptr<Database> Store::database(CEOID oid) {
    std::shared_ptr<Database>& slot = m_databases[oid];
    if (slot == nullptr) slot = std::make_shared<Database>(*this, oid);
    std::shared_ptr<Database> db = slot;
    if (!db->refreshDescription()) {
        // Deleted, perhaps by another process: handles still open on it keep their copy and fail at
        // their next call. A database that could not be read stays, to be read again next time.
        if (GetLastError() == ERROR_INVALID_PARAMETER) m_databases.erase(oid);
        return nullptr;
    }
    return db;
}

std::shared_ptr<Database> Store::cached(CEOID oid) const {
    auto it = m_databases.find(oid);
    return it != m_databases.end() ? it->second : nullptr;
}

bool Store::isOpen(CEOID oid) const {
    auto it = m_databases.find(oid);
    return it != m_databases.end() && it->second->hasHandles();
}

}  // namespace platform::cedb

void platform::cedbFailNthOperation(unsigned n) {
    platform::cedb::g_failCountdown = n;
}
