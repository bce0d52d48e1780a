// Looking at the store file before opening it, choosing its access, and creating a new store under a
// temporary name that is renamed into place.
#include "StoreFile.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "platform/winerror.h"

namespace platform::cedb {
namespace {

constexpr char kSqliteMagic[] = "SQLite format 3";  // with its terminating zero, the first 16 bytes

bool exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writable(const std::string& path) {
    return access(path.c_str(), W_OK) == 0;
}

// A "file:" URI for SQLite: every byte that is not plainly part of a path is escaped.
std::string fileUri(const std::string& path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (unsigned char c : path) {
        const bool plain = std::isalnum(c) || c == '/' || c == '.' || c == '_' || c == '-' || c == '~';
        if (plain) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri;
}

bool fail(StoreProblem& problem, DWORD error, std::string cause) {
    problem.error = error;
    problem.cause = std::move(cause);
    return false;
}

// Writes the file, or the folder's entries, to the disk.
bool syncPath(const std::string& path, bool folder) {
    const int fd = ::open(path.c_str(), (folder ? O_DIRECTORY : 0) | O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

void removeLeftovers(const std::string& temporary) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        unlink((temporary + suffix).c_str());
}

// Builds a complete store in the file at temporary: the tables in one durable transaction of a
// rollback journal, then the switch to the write-ahead log that every later connection finds.
bool buildStore(const std::string& temporary, int format, uint64_t firstOid, StoreProblem& problem) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(temporary.c_str(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    bool ok = rc == SQLITE_OK &&
              sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL; BEGIN IMMEDIATE",
                           nullptr, nullptr, nullptr) == SQLITE_OK &&
              createStoreTables(db, format, firstOid) &&
              sqlite3_exec(db, "COMMIT; PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr) == SQLITE_OK;
    const std::string message = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
    // Closing the last connection empties the log into the file and removes it; a log left behind would
    // hold part of the store, which the rename would leave behind.
    ok = sqlite3_close(db) == SQLITE_OK && ok && !exists(temporary + "-wal");
    if (!ok) return fail(problem, ERROR_CANTOPEN, "a new store could not be built beside it: " + message);
    return true;
}

}  // namespace

StoreFileKind inspectStoreFile(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? StoreFileKind::Missing : StoreFileKind::Unreadable;
    if (!S_ISREG(info.st_mode)) return StoreFileKind::NotAFile;
    if (info.st_size == 0) return StoreFileKind::Empty;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return StoreFileKind::Unreadable;
    char header[sizeof kSqliteMagic] = {};
    const ssize_t got = pread(fd, header, sizeof header, 0);
    close(fd);
    if (got < 0) return StoreFileKind::Unreadable;
    if (got != static_cast<ssize_t>(sizeof header) || std::memcmp(header, kSqliteMagic, sizeof header) != 0)
        return StoreFileKind::NotADatabase;
    return StoreFileKind::Database;
}

StoreAccess storeAccess(const std::string& path, bool readOnlyAsked) {
    const bool folderWritable = writable(folderOf(path));
    StoreAccess result;
    result.readOnly = readOnlyAsked || !folderWritable || !writable(path);
    result.immutable = result.readOnly && !folderWritable && !exists(path + "-wal");
    return result;
}

bool openStoreFile(const std::string& path, const StoreAccess& access, sqlite3** db, StoreProblem& problem) {
    // Never SQLITE_OPEN_CREATE: SQLite would take a file that vanished meanwhile for a new, empty store.
    int flags = (access.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    std::string name = path;
    if (access.immutable) {
        flags |= SQLITE_OPEN_URI;
        name = fileUri(path) + "?immutable=1";
    }
    const int rc = sqlite3_open_v2(name.c_str(), db, flags, nullptr);
    if (rc == SQLITE_OK) return true;
    std::string message = *db != nullptr ? sqlite3_errmsg(*db) : "out of memory";
    sqlite3_close(*db);
    *db = nullptr;
    return fail(problem, ERROR_CANTOPEN, "it cannot be opened: " + message);
}

bool createStoreTables(sqlite3* db, int format, uint64_t firstOid) {
    const std::string sql =
        "CREATE TABLE cedb_store(id INTEGER PRIMARY KEY CHECK(id = 1), format INTEGER NOT NULL, "
        "next_oid INTEGER NOT NULL);"
        "CREATE TABLE cedb_databases(oid INTEGER PRIMARY KEY, name BLOB NOT NULL UNIQUE, "
        "type INTEGER NOT NULL, sorts BLOB NOT NULL, version INTEGER NOT NULL, modified INTEGER NOT NULL);"
        "INSERT INTO cedb_store VALUES(1, " +
        std::to_string(format) + ", " + std::to_string(firstOid) + ")";
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool createStoreFile(const std::string& path, int format, uint64_t firstOid, StoreProblem& problem) {
    const std::string folder = folderOf(path);
    if (!writable(folder))
        return fail(problem, ERROR_CANTOPEN, "there is no store, and its folder cannot be written to");
    // One name per process: a leftover of a process that died while creating is simply replaced.
    const std::string temporary = path + ".new-" + std::to_string(getpid());
    removeLeftovers(temporary);
    if (!buildStore(temporary, format, firstOid, problem) || !syncPath(temporary, false)) {
        removeLeftovers(temporary);
        if (problem.cause.empty())
            fail(problem, ERROR_CANTOPEN, "a new store could not be written to the disk");
        return false;
    }
    // The rename never replaces a file: a store another process put there meanwhile is kept, and used.
    // A file system that cannot rename so gets a hard link, which never replaces one either.
    bool placed = renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0;
    if (!placed && (errno == EINVAL || errno == ENOSYS)) placed = link(temporary.c_str(), path.c_str()) == 0;
    const int placeError = errno;
    removeLeftovers(temporary);
    if (!placed && placeError != EEXIST)
        return fail(problem, ERROR_CANTOPEN,
                    std::string("a new store could not be put in place: ") + std::strerror(placeError));
    syncPath(folder, true);
    return true;
}

}  // namespace platform::cedb
