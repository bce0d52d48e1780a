// The device's object-store databases (CeCreateDatabase, CeOpenDatabase, CeSeekDatabase, record reads
// and writes), kept in one SQLite file per device root, plus the store's transaction bracket and test hooks.
#pragma once

#include <string>

#include "platform/handles.h"
#include "platform/winerror.h"
#include "platform/wintypes.h"

// Property types: the low word of a property id.
#define CEVT_I2 2
#define CEVT_UI2 18
#define CEVT_I4 3
#define CEVT_UI4 19
#define CEVT_FILETIME 64
#define CEVT_LPWSTR 31
#define CEVT_BLOB 65
#define CEVT_BOOL 11
#define CEVT_R8 5

// A property id holds the property number in its high word and the type in its low word.
#define TypeFromPropID(propid) LOWORD(propid)
#define PropIdFromType(number, type) (static_cast<CEPROPID>(MAKELONG((type), (number))))

// Property flags (CEPROPVAL::wFlags).
#define CEDB_PROPNOTFOUND 0x0400
#define CEDB_PROPDELETE 0x0200

// Sort flags (SORTORDERSPEC::dwFlags). CEDB_SORT_CASEINSENSITIVE is not supported: creating a database
// with it fails with ERROR_INVALID_PARAMETER.
#define CEDB_SORT_DESCENDING 0x00000001
#define CEDB_SORT_CASEINSENSITIVE 0x00000002
#define CEDB_SORT_UNKNOWNFIRST 0x00000004
#define CEDB_MAXSORTORDER 4
#define CEDB_MAXDBASENAMELEN 32

// Seek kinds of CeSeekDatabase.
#define CEDB_SEEK_CEOID 0x00000001
#define CEDB_SEEK_BEGINNING 0x00000002
#define CEDB_SEEK_END 0x00000004
#define CEDB_SEEK_CURRENT 0x00000008
#define CEDB_SEEK_VALUESMALLER 0x00000010
#define CEDB_SEEK_VALUEFIRSTEQUAL 0x00000020
#define CEDB_SEEK_VALUEGREATER 0x00000040
#define CEDB_SEEK_VALUENEXTEQUAL 0x00000080

#define CEDB_AUTOINCREMENT 0x00000001
#define CEDB_ALLOWREALLOC 0x00000001

// Valid-field flags of CEDBASEINFO::dwFlags.
#define CEDB_VALIDNAME 0x0001
#define CEDB_VALIDTYPE 0x0002
#define CEDB_VALIDSORTSPEC 0x0004
#define CEDB_VALIDMODTIME 0x0008

#define OBJTYPE_INVALID 0
#define OBJTYPE_FILE 1
#define OBJTYPE_DIRECTORY 2
#define OBJTYPE_DATABASE 3
#define OBJTYPE_RECORD 4

// Most records one database holds; the record count is a WORD.
#define CEDB_MAXRECORDS 65535

struct CEBLOB {
    DWORD dwCount;
    LPBYTE lpb;
};

union CEVALUNION {
    SHORT iVal;
    USHORT uiVal;
    LONG lVal;
    ULONG ulVal;
    FILETIME filetime;
    LPWSTR lpwstr;
    CEBLOB blob;
    BOOL boolVal;
    double dblVal;
};

struct CEPROPVAL {
    CEPROPID propid;
    WORD wLenData;
    WORD wFlags;
    CEVALUNION val;
};
typedef CEPROPVAL* PCEPROPVAL;

struct SORTORDERSPEC {
    CEPROPID propid;
    DWORD dwFlags;
};

struct CEDBASEINFO {
    DWORD dwFlags;
    WCHAR szDbaseName[CEDB_MAXDBASENAMELEN];
    DWORD dwDbaseType;
    WORD wNumRecords;
    WORD wNumSortOrder;
    DWORD dwSize;
    FILETIME ftLastModified;
    SORTORDERSPEC rgSortSpecs[CEDB_MAXSORTORDER];
};

struct CERECORDINFO {
    CEOID oidParent;
};

struct CEOIDINFO {
    WORD wObjType;
    WORD wPad;
    union {
        CEDBASEINFO infDatabase;
        CERECORDINFO infRecord;
    };
};

// Creates an empty database named name (1 to 31 characters) with up to four sort orders (property types
// other than CEVT_BLOB; flags 0, CEDB_SORT_DESCENDING, CEDB_SORT_UNKNOWNFIRST). Returns its object id, or
// 0 with ERROR_DUP_NAME when the name is taken, ERROR_INVALID_PARAMETER for bad arguments, or the store's
// error (ERROR_BADDB for a damaged store file, ERROR_ACCESS_DENIED, ERROR_CANTOPEN, ERROR_WRITE_FAULT).
CEOID CeCreateDatabase(LPWSTR name, DWORD type, WORD numSortOrders, SORTORDERSPEC* sortOrders);

// Opens a database by *poid when it is not 0, else by name (writing the object id back to *poid).
// sortProp 0 traverses in creation order; otherwise it must be the property id of one of the database's
// sort orders (ERROR_INVALID_PARAMETER). flags 0 or CEDB_AUTOINCREMENT (each read advances to the next
// record). notify is ignored. The new handle's current record is the first one in the order.
// Returns INVALID_HANDLE_VALUE with ERROR_FILE_NOT_FOUND when no database has that name (by object id:
// ERROR_INVALID_PARAMETER), or the store's error when the store cannot be used.
HANDLE CeOpenDatabase(PCEOID poid, LPWSTR name, CEPROPID sortProp, DWORD flags, HWND notify);

// Moves the handle's current record and returns the object id reached, writing its 0-based index in the
// handle's order to *index (when index is not NULL). Kinds:
//   CEDB_SEEK_CEOID       value is a record's object id (of this database);
//   CEDB_SEEK_BEGINNING   value is the index;
//   CEDB_SEEK_END         value is a signed count back from the last record: 0 the last, (DWORD)-1 the one
//                         before it; positive values are past the end;
//   CEDB_SEEK_CURRENT     value is a signed offset from the current record (0 stays, 1 the next);
//   value seeks           value is a const CEPROPVAL* whose type is the sort property's type; they need a
//                         sorted handle and only consider records that have the sort property:
//   CEDB_SEEK_VALUEFIRSTEQUAL  the first record equal to the value;
//   CEDB_SEEK_VALUENEXTEQUAL   the record right after the current one, when it equals the value;
//   CEDB_SEEK_VALUEGREATER     from the current record (the first when there is none) forward, the first
//                              record ordered after the value;
//   CEDB_SEEK_VALUESMALLER     from the current record (the last when there is none) backward, the last
//                              record ordered before the value.
// "After" and "before" follow the sort order, so with CEDB_SORT_DESCENDING they mean smaller and greater.
// On failure returns 0 (ERROR_NO_MORE_ITEMS when nothing matched, ERROR_INVALID_PARAMETER for bad
// arguments) and the handle has no current record until the next successful seek.
CEOID CeSeekDatabase(HANDLE database, DWORD kind, DWORD_PTR value, LPDWORD index);

// Reads the current record's properties (propIds NULL: all of them, *cPropID receives their count;
// otherwise the *cPropID listed ones, in that order, a missing one flagged CEDB_PROPNOTFOUND) into
// *buffer: the CEPROPVAL array followed by the strings and blobs it points to. When the buffer is NULL or
// smaller than needed: with CEDB_ALLOWREALLOC it is grown (HeapReAlloc/HeapAlloc on heap, or
// LocalReAlloc/LocalAlloc when heap is NULL; the old block stays valid if that fails) and *size becomes
// the new size; without it the call fails with ERROR_INSUFFICIENT_BUFFER and *size is set to the size
// needed. Returns the record's object id, or 0 (ERROR_NO_MORE_ITEMS when there is no current record).
// With CEDB_AUTOINCREMENT on the handle, a successful read moves to the next record.
CEOID CeReadRecordPropsEx(HANDLE database, DWORD flags, LPWORD cPropID, CEPROPID* propIds, LPBYTE* buffer,
                          LPDWORD size, HANDLE heap);

// oid 0 adds a record holding the count properties (ERROR_DISK_FULL when the database already holds
// CEDB_MAXRECORDS records); otherwise replaces or adds the listed properties of that record of this
// database and removes those flagged CEDB_PROPDELETE. The record keeps its object id; the handle's
// current record does not change. Returns the record's object id, or 0 with nothing written.
// Outside a transaction bracket the write is durable when the call returns.
CEOID CeWriteRecordProps(HANDLE database, CEOID oid, WORD count, CEPROPVAL* props);

// Deletes a record of this database. When it was the handle's current record the handle has none.
BOOL CeDeleteRecord(HANDLE database, CEOID oid);

// Deletes a database and its records. Fails with ERROR_SHARING_VIOLATION while this process has it open,
// ERROR_INVALID_PARAMETER when oid is not a database.
BOOL CeDeleteDatabase(CEOID oid);

// Describes a database (OBJTYPE_DATABASE: name, type, record count, size, last change, sort orders) or a
// record (OBJTYPE_RECORD: its database). FALSE with ERROR_INVALID_PARAMETER for an unknown object id.
BOOL CeOidGetInfo(CEOID oid, CEOIDINFO* info);

namespace platform {

// The store is <deviceRoot>/store.cedb, shared by every process using that device root (SQLite in WAL
// mode with synchronous=NORMAL: a returned commit survives a crash of any process; other processes wait
// up to a busy timeout for the write lock). A handle sees other processes' commits at its next call.
// A database's records are read at the first call that needs them, not at CeOpenDatabase, and the process
// keeps them (with the sort orders built) after the last handle closed, until another process's commit
// changes that database: reopening an unchanged database reads nothing from the file.
//
// Transaction bracket: the writes between cedbBeginTransaction and cedbCommitTransaction of this process
// become visible and durable together; cedbRollbackTransaction (or a crash) discards all of them. The
// bracket holds the store's write lock, so other processes' writers wait until it ends. Brackets do not
// nest: a second begin fails with ERROR_INVALID_FUNCTION, as do commit and rollback without a begin.
// Writes outside a bracket are each their own transaction.
BOOL cedbBeginTransaction();
BOOL cedbCommitTransaction();
BOOL cedbRollbackTransaction();

// Opening the store. It is created only where no file is at its path: built whole under a temporary
// name beside it and renamed into place, so that a file at the path is always a complete store. A file
// that is there but is not a sound store (empty, not a database, a database without the store's
// tables, an unknown format, pages that SQLite's structural check of the whole file finds damaged) is
// never created over, written or read as empty: every call fails with ERROR_BADDB (ERROR_CANTOPEN when
// it cannot be opened at all, or is not a regular file) and the file stays byte for byte as it was.
// cedbStoreProblem() says why.
//
// A store whose file or folder this process cannot write is opened read only; so is every store while
// cedbSetReadOnly(TRUE) holds. Reads work as usual; every create, write, delete and bracket fails with
// ERROR_ACCESS_DENIED. A write that waits for another process's write lock longer than the busy
// timeout fails with ERROR_BUSY, writing nothing.

// TRUE: this process only reads the store; a missing store is then not created, the file is opened
// read only and nothing of it is ever written, and every call reads the store as it was when it was
// opened (one consistent state, whatever other processes commit until cedbCloseStore). Lets go of the
// open store when the setting changes; the next call opens the store again. FALSE (the default): read
// and write, and every call sees the commits of other processes.
void cedbSetReadOnly(BOOL readOnly);
// Opens the store of the current device root now rather than at the first call that needs it (creating
// it where no file is, unless only reading). FALSE with the last error set when it cannot be opened
// (cedbStoreProblem() says why); TRUE forgets the problem an earlier call met. readOnly, when given,
// receives whether it can only be read.
BOOL cedbOpenStore(BOOL* readOnly);
// How long a write waits for another process's write lock before failing with ERROR_BUSY: 10,000 ms
// unless set. Applies to the open store too.
void cedbSetBusyTimeout(DWORD milliseconds);
// Why the store last failed to open or to be used, as "<store file>: <cause>" ("... the file is
// empty", "... it is busy: ..."); empty when nothing failed since the store last opened (or
// cedbOpenStore succeeded).
std::string cedbStoreProblem();

// Makes the n-th create, write or delete from now fail with ERROR_WRITE_FAULT, writing nothing
// (1 = the next one); 0 turns the hook off.
void cedbFailNthOperation(unsigned n);

// Lets go of this process's store: an open bracket is rolled back and the next call opens the store of
// the current device root. Handles still open keep using the store they were opened on. The store also
// follows the device root by itself: a call made after the root changed uses the new root's store.
void cedbCloseStore();

}  // namespace platform
