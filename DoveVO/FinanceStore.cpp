// Opening and closing the finance store, the process-wide cursors and counters, and the store
// transaction bracket.
#include "FinanceStore.h"

#include <array>
#include <memory>
#include <vector>

#include "Categories.h"
#include "CurrencyCache.h"
#include "ErrorLog.h"
#include "Options.h"
#include "ResourceText.h"
#include "platform/windows.h"

namespace dove {
namespace {

constexpr unsigned kRootProjectNameId = 24000;
constexpr unsigned kRootCategoryNameId = 23000;

struct StoreState {
    std::array<std::unique_ptr<TableCursor>, kTableCount> cursors;
    HANDLE openedMutex = nullptr;
    HANDLE syncLock = nullptr;
    bool opened = false;
    uint32_t transactionsCounter = 0;
    uint32_t scheduledCounter = 0;
    NumberCounters numbers;
    int bracketDepth = 0;
    bool bracketDoomed = false;
    std::vector<std::function<void()>> pendingActions;
    StoreStatus openStatus = StoreStatus::Ok;
};

StoreState& state() {
    static StoreState s;
    return s;
}

// Creates a missing table; false (and creationFailed set) when the creation fails.
bool ensureTable(const TableInfo& info, bool& creationFailed) {
    if (databaseExists(info.databaseName)) return true;
    SORTORDERSPEC orders[4] = {};
    for (int i = 0; i < info.sortOrderCount; ++i)
        orders[i] = {propertyId(info.sortOrders[i].number, storeTypeOf(info.sortOrders[i].kind)), 0};
    CEOID oid =
        CeCreateDatabase(const_cast<LPWSTR>(info.databaseName), 0, static_cast<WORD>(info.sortOrderCount),
                         info.sortOrderCount ? orders : nullptr);
    if (oid == 0) creationFailed = true;
    return oid != 0;
}

bool openTable(const TableInfo& info) {
    TableCursor& cursor = tableCursor(info.table);
    if (info.openOrder.kind == SortKind::None) return cursor.openUnsorted();
    if (cursor.openSorted(info.openOrder.number, info.openOrder.kind)) return true;
    cursor.openUnsorted();
    return false;
}

bool takeSyncLock() {
    HANDLE lock = state().syncLock;
    if (lock == nullptr) return true;
    DWORD result = WaitForSingleObject(lock, 0);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

void letGoOfSyncLock() {
    if (state().syncLock != nullptr) ReleaseMutex(state().syncLock);
}

// Creates the missing tables (unless the store can only be read) and opens every table. The status
// of the first failure, Ok when every table opened.
StoreStatus createAndOpenAllTables(bool readOnly) {
    bool creationFailed = false;
    StoreStatus status = StoreStatus::Ok;
    for (const TableInfo& info : catalogue()) {
        const bool there = readOnly ? databaseExists(info.databaseName) : ensureTable(info, creationFailed);
        const bool opened = openTable(info);
        if ((!there || !opened) && status == StoreStatus::Ok)
            status = readOnly && !there ? StoreStatus::ReadOnly : statusOfStoreError(GetLastError());
    }
    if (status != StoreStatus::Ok && creationFailed)
        writeErrorLog(u"CreateTable failed", u"DoveVO/DataBases", 736);
    if (status == StoreStatus::Ok) state().opened = true;
    return status;
}

StoreStatus createDefaultRecords() {
    TableCursor& projects = tableCursor(Table::Projects);
    if (projects.recordCount() == 0 &&
        projects.addRecord({PropertyValue::i4(201, 1), PropertyValue::i4(203, 0),
                            PropertyValue::string(110, resourceString(kRootProjectNameId))}) == 0)
        return projects.writeFailure();
    if (tableCursor(Table::Categories).recordCount() != 0) return StoreStatus::Ok;
    int32_t root = 0;
    return createCategory(0, resourceString(kRootCategoryNameId), 0, &root);
}

// Opens the store file, then every table; a store that can only be read gets no table and no root
// record made.
StoreStatus openAllTables() {
    BOOL readOnly = FALSE;
    if (!platform::cedbOpenStore(&readOnly)) return statusOfStoreError(GetLastError());
    StoreStatus status = createAndOpenAllTables(readOnly != FALSE);
    if (status != StoreStatus::Ok || readOnly) return status;
    status = createDefaultRecords();
    if (status != StoreStatus::Ok)
        writeErrorLog(u"The root project or category could not be written", u"DoveVO/DataBases", 0);
    return status;
}

}  // namespace

TableCursor& tableCursor(Table table) {
    auto& slot = state().cursors[static_cast<size_t>(table)];
    if (!slot) slot = std::make_unique<TableCursor>(tableInfo(table).databaseName);
    return *slot;
}

bool databaseExists(const char16_t* name) {
    CEOID oid = 0;
    HANDLE handle = CeOpenDatabase(&oid, const_cast<LPWSTR>(name), 0, 0, nullptr);
    if (handle != INVALID_HANDLE_VALUE && handle != nullptr) {
        CloseHandle(handle);
        return true;
    }
    return GetLastError() != ERROR_FILE_NOT_FOUND;
}

bool openFinanceStore() {
    StoreState& s = state();
    s.numbers = NumberCounters{};
    if (s.openedMutex == nullptr) s.openedMutex = CreateMutexW(nullptr, FALSE, kStoreOpenedMutexName);
    if (!takeSyncLock()) {
        s.openStatus = StoreStatus::Busy;
        return false;
    }
    s.openStatus = openAllTables();
    letGoOfSyncLock();
    if (s.openStatus != StoreStatus::Ok) return false;
    currencyCache().load();
    return true;
}

StoreStatus financeStoreOpenStatus() {
    return state().openStatus;
}

std::string financeStoreProblem() {
    const std::string problem = platform::cedbStoreProblem();
    if (!problem.empty()) return problem;
    return state().openStatus == StoreStatus::ReadOnly
               ? "a table of the finance store is missing, and the store can only be read"
               : std::string("the finance store could not be opened (") + statusName(state().openStatus) +
                     ")";
}

void logFinanceStoreOpenFailure() {
    const std::u16string line =
        u"The finance store cannot be opened: " + platform::fromUtf8(financeStoreProblem());
    writeErrorLog(line.c_str(), u"DoveVO/DataBases", 0);
}

bool closeFinanceStore() {
    StoreState& s = state();
    releaseStoreSyncLock();
    currencyCache().free();
    static constexpr Table kCloseOrder[] = {
        Table::Transactions, Table::Accounts,    Table::Projects,        Table::Scheduled,
        Table::Planner,      Table::Categories,  Table::Currencies,      Table::CurrencyHistory,
        Table::Budgets,      Table::BudgetLists, Table::Customize,       Table::PlannerFolders,
        Table::DeletedItems, Table::Memorized,   Table::MemorizedSplits,
    };
    for (Table table : kCloseOrder)
        tableCursor(table).close();
    if (s.openedMutex != nullptr) CloseHandle(s.openedMutex);
    s.openedMutex = nullptr;
    s.opened = false;
    // The option key is only opened, as the full finance manager expects of a closing store: nothing of it
    // is read or written here. The beep tells the user the store is closed.
    HKEY options = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kOptionKey, 0, KEY_READ, &options) == ERROR_SUCCESS)
        RegCloseKey(options);
    MessageBeep(MB_ICONEXCLAMATION);
    return true;
}

bool isFinanceStoreOpened() {
    return state().opened;
}

void setStoreSyncLock(HANDLE mutex) {
    state().syncLock = mutex;
}

void releaseStoreSyncLock() {
    if (state().syncLock == nullptr) return;
    ReleaseMutex(state().syncLock);
    state().syncLock = nullptr;
}

uint32_t transactionsChangeCounter() {
    return state().transactionsCounter;
}

uint32_t scheduledChangeCounter() {
    return state().scheduledCounter;
}

void raiseTransactionsChanged() {
    ++state().transactionsCounter;
}

void raiseScheduledChanged() {
    ++state().scheduledCounter;
}

NumberCounters& numberCounters() {
    return state().numbers;
}

void invalidateAllCursors() {
    for (const TableInfo& info : catalogue())
        tableCursor(info.table).invalidate();
}

StoreTransaction::StoreTransaction() {
    StoreState& s = state();
    if (s.bracketDepth == 0) {
        if (!platform::cedbBeginTransaction()) return;
        s.bracketDoomed = false;
        s.pendingActions.clear();
    }
    ++s.bracketDepth;
    m_active = true;
}

StoreTransaction::~StoreTransaction() {
    if (!m_active || m_done) return;
    StoreState& s = state();
    s.bracketDoomed = true;
    if (--s.bracketDepth > 0) return;
    platform::cedbRollbackTransaction();
    s.pendingActions.clear();
    invalidateAllCursors();
}

bool StoreTransaction::commit() {
    if (!m_active || m_done) return false;
    m_done = true;
    StoreState& s = state();
    if (--s.bracketDepth > 0) return !s.bracketDoomed;
    if (s.bracketDoomed || !platform::cedbCommitTransaction()) {
        // The store's reason for a failed commit (busy, read-only) outlives the rollback.
        const DWORD error = s.bracketDoomed ? ERROR_WRITE_FAULT : GetLastError();
        platform::cedbRollbackTransaction();
        s.pendingActions.clear();
        invalidateAllCursors();
        SetLastError(error);
        return false;
    }
    std::vector<std::function<void()>> actions;
    actions.swap(s.pendingActions);
    for (auto& action : actions)
        action();
    return true;
}

StoreStatus inStoreTransaction(const std::function<StoreStatus()>& write) {
    StoreTransaction bracket;
    if (!bracket.active()) return statusOfStoreError(GetLastError());
    const StoreStatus status = write();
    if (status != StoreStatus::Ok) return status;
    if (bracket.commit()) return StoreStatus::Ok;
    return statusOfStoreError(GetLastError());
}

void afterCommit(std::function<void()> action) {
    if (state().bracketDepth == 0) {
        action();
        return;
    }
    state().pendingActions.push_back(std::move(action));
}

}  // namespace dove
