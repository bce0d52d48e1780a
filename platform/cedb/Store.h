// The process's connection to the object-store file: schema, prepared statements, write transactions
// (single writes and the bracket), object id allocation, and noticing other processes' commits.
#pragma once

#include <sys/types.h>

#include <map>
#include <memory>
#include <string>
#include <unordered_map>

#include "StoreFile.h"
#include "platform/cedb.h"

struct sqlite3;
struct sqlite3_stmt;

namespace platform::cedb {

class Database;

// A prepared statement of the store, reset (and its bindings cleared) when this goes out of scope.
class Statement {
  public:
    Statement(sqlite3_stmt* stmt) : m_stmt(stmt) {}
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    explicit operator bool() const { return m_stmt != nullptr; }
    sqlite3_stmt* get() const { return m_stmt; }

  private:
    sqlite3_stmt* m_stmt;
};

// The store file's format number, kept in its cedb_store table.
constexpr int kFormat = 1;
// The first object id of a new store.
constexpr CEOID kFirstOid = 0x10000;
constexpr int kDefaultBusyTimeoutMs = 10000;

class Store {
  public:
    // The store of the current device root, opened on first use; nullptr with the last error set (and
    // the problem noted, see problem()) when the file cannot be opened or is not a sound store. While a
    // bracket is open it is the bracket's store.
    static std::shared_ptr<Store> current();
    // Drops this process's current store (rolling back an open bracket).
    static void closeCurrent();

    explicit Store(std::string path) : m_path(std::move(path)) {}
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    // False in a forked child that inherited this store: a connection must not cross a fork.
    bool usable() const;
    const std::string& path() const { return m_path; }
    // True when this process can only read the store (asked for, or the file or its folder is not
    // writable): every write fails with ERROR_ACCESS_DENIED.
    bool readOnly() const { return m_readOnly; }

    // Process-wide settings of the next opens (see cedbSetReadOnly and cedbSetBusyTimeout).
    static void askReadOnly(bool readOnly);
    static bool readOnlyAsked();
    static void setBusyTimeout(int milliseconds);
    static int busyTimeout();
    // Why the store last failed: "<path>: <cause>", empty when nothing failed since the last open.
    static std::string problem();
    static void clearProblem();

    // A cached prepared statement, or an empty one with the last error set.
    Statement prepare(const std::string& sql);
    // Runs SQL without results; false with the last error set.
    bool exec(const char* sql);
    // Sets the last error from the connection's last failure (and reports it once on stderr).
    bool fail();
    // Sets the last error to problem.error and notes the problem for problem(); false.
    bool fail(const StoreProblem& problem);

    // Brings this process's view up to date with commits of other processes: databases they changed
    // are reloaded at their next use.
    void sync();

    // A write: beginWrite takes the write lock (waiting up to the busy timeout) unless a bracket holds
    // it; finishWrite(true) commits (durably) or releases, finishWrite(false) undoes everything the write
    // did. Both fail with the last error set. Nothing is written when a hook-injected fault fires.
    // singleStatement: the write runs one SQL statement (inside a bracket it then needs no savepoint).
    bool beginWrite(bool singleStatement = false);
    bool finishWrite(bool ok);

    bool beginBracket();
    bool commitBracket();
    bool rollbackBracket();
    bool inBracket() const { return m_bracket; }

    // A fresh object id, unique across the store (taken from a block this process reserved, so ids of
    // one process's records are not dense); false on failure.
    bool allocateOid(CEOID& oid);
    // Notes that the current write changed db (its version rises once per transaction).
    void touch(Database& db);
    // Drops a deleted database from the write in progress and from memory.
    void forget(CEOID database);

    // The database with that object id, its description up to date, shared by this process's handles;
    // nullptr when there is none (ERROR_INVALID_PARAMETER) or it cannot be read. Its records are read at
    // first use (Database::refresh). The connection keeps every database it has read, records and sort
    // orders included, after its last handle closed: opening it again reads nothing while its version in
    // the store is the one in memory, and a change by another process raises that version.
    std::shared_ptr<Database> database(CEOID oid);
    // The database when this process holds it in memory, else nullptr; nothing is read.
    std::shared_ptr<Database> cached(CEOID oid) const;
    // True while a handle of this process is open on the database.
    bool isOpen(CEOID oid) const;

  private:
    // Opening: what lies at the path (a missing store is created), the connection, and the checks that
    // the file holds a sound store of ours. Each false with the problem set.
    bool open();
    bool ensureFile(StoreProblem& problem);
    bool connect(StoreProblem& problem);
    bool checkTables(StoreProblem& problem);
    bool checkFormat(StoreProblem& problem);
    bool checkPages(StoreProblem& problem);
    bool useWriteAheadLog(StoreProblem& problem);
    // Begins the read transaction a process that only reads keeps until it lets go of the store.
    bool holdSnapshot();
    void disconnect();
    bool refuseWrite();
    void openChangeCounter();
    bool commitNow();
    bool flushTouched();
    void invalidateAll();
    void endTransaction();

    std::string m_path;
    pid_t m_pid = 0;
    sqlite3* m_db = nullptr;
    bool m_readOnly = false;
    bool m_opening = false;
    std::unordered_map<std::string, sqlite3_stmt*> m_statements;
    std::map<CEOID, std::shared_ptr<Database>> m_databases;

    // Change counter shared by every process of the store: bumped by each writer right before its
    // commit, under an exclusive file lock held until the commit returned.
    int m_counterFd = -1;
    uint64_t* m_counter = nullptr;
    uint64_t m_seenCounter = 0;
    int64_t m_dataVersion = -1;

    bool m_bracket = false;
    bool m_savepoint = false;
    // Object ids reserved for this process, [m_nextOid, m_oidEnd); m_reserving: the transaction in
    // progress reserved them and writes the store's next id at its commit (a rollback drops them).
    uint64_t m_nextOid = 0;
    uint64_t m_oidEnd = 0;
    bool m_reserving = false;
    std::map<CEOID, int64_t> m_touched;
};

// This process's id, kept (getpid is a system call) and renewed in a forked child.
pid_t processId();

// Counts one create, write or delete for the failure hook; false (ERROR_WRITE_FAULT) when it fires.
bool operationMayProceed();

// The problem a failed SQLite call of the store describes: its platform error and the cause in words.
StoreProblem problemOf(int sqliteCode, const std::string& message);

}  // namespace platform::cedb
