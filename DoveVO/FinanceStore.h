// The finance store: the fifteen process-wide table cursors, opening and closing the store (creating any
// missing table and the root records), the store-opened mutex, the store sync lock, the process-wide
// change counters and number counters, and the store transaction bracket that makes one save atomic.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "Catalogue.h"
#include "StoreStatus.h"
#include "TableCursor.h"
#include "platform/wintypes.h"

namespace dove {

inline constexpr const char16_t* kStoreOpenedMutexName = u"Brimwell_Database_opened";

// The process-wide cursor of a table; it exists for the life of the process, open or not.
TableCursor& tableCursor(Table table);

// Opens the finance store: resets the number counters, creates the "Brimwell_Database_opened" mutex,
// creates every missing table with the catalogue's sort orders and opens each with its open order,
// creates the root project and root category when their tables are empty, and loads the currency
// cache. A store that can only be read gets no table and no record made: its tables are opened as they
// are. False when the store file cannot be opened or is not a sound store (it is then left as it
// is), a table could not be created or opened, or a root record could not be written (the tables that
// opened stay open; the caller closes the store); financeStoreOpenStatus() says why.
bool openFinanceStore();
// Why the last open failed, Ok after a successful one: Damaged or Unavailable for a store file that is
// not a sound store or cannot be opened, Busy, ReadOnly for a missing table in a store that can only be
// read, or the status of the write that failed.
StoreStatus financeStoreOpenStatus();
// Why the last open failed in one line for logs and tools: the store file and the cause ("/path/store.cedb:
// the file is empty").
std::string financeStoreProblem();
// Appends "The finance store cannot be opened: " and that line to the error log.
void logFinanceStoreOpenFailure();
// Releases the sync lock, frees the currency cache, closes every cursor and the mutex, opens and closes
// the option key (reading and writing nothing) and sounds the exclamation beep. Always true.
bool closeFinanceStore();
// True between a successful open and the close.
bool isFinanceStoreOpened();

// Whether a database of that name exists: missing only when the open fails with ERROR_FILE_NOT_FOUND.
bool databaseExists(const char16_t* name);

// The store sync lock: a mutex handle that another holder may give the process. While one is set, the
// open first tests it without waiting (failing at once when another holder has it), then takes it for
// the create-and-open and default-record steps. The release lets go of it and forgets the handle.
void setStoreSyncLock(HANDLE mutex);
void releaseStoreSyncLock();

// Process-wide change counters, raised by the writes of transactions and scheduled data.
uint32_t transactionsChangeCounter();
uint32_t scheduledChangeCounter();
void raiseTransactionsChanged();
void raiseScheduledChanged();

// Number counters of the records this system creates; the open of the store sets them to 0, and each
// is then taken from the greatest number in use at its first use.
struct NumberCounters {
    uint32_t schedule = 0;
    int32_t category = 0;
    int32_t project = 0;
    int32_t payee = 0;
};
NumberCounters& numberCounters();

// Forgets every cursor's current record and position (after a rolled-back store transaction the
// records they held may no longer be what the store has).
void invalidateAllCursors();

// One store transaction: the writes between construction and commit() become durable together;
// destruction without commit() rolls all of them back and invalidates the cursors. Brackets nest: only
// the outermost one talks to the store, and an inner failure dooms the outer bracket. Every write inside
// reports its own failure to its caller, which ends the bracket without committing.
class StoreTransaction {
  public:
    StoreTransaction();
    ~StoreTransaction();
    StoreTransaction(const StoreTransaction&) = delete;
    StoreTransaction& operator=(const StoreTransaction&) = delete;

    // False when the bracket could not be begun; nothing may then be written.
    bool active() const { return m_active; }
    // Commits (outermost) or hands the success to the enclosing bracket. False when the commit failed,
    // in which case everything was rolled back.
    bool commit();

  private:
    bool m_active = false;
    bool m_done = false;
};

// Runs write inside one store transaction and commits it when write gives Ok; any other status rolls
// everything back and is the result. WriteFailed when the bracket cannot begin or commit.
StoreStatus inStoreTransaction(const std::function<StoreStatus()>& write);

// Work to do once the outermost bracket has committed (notification flags, counters); run at once
// when no bracket is open, dropped when the bracket rolls back.
void afterCommit(std::function<void()> action);

}  // namespace dove
