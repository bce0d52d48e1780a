// The table cursor: the process-wide access object of one finance table, with its sort order, its position
// in that order and the current record. Every read and write of a finance record goes through one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PropertyValue.h"
#include "StoreStatus.h"

namespace dove {

// Position values besides record indexes.
constexpr int kNoRecord = -1;
constexpr int kNewRecord = -2;

class TableCursor {
  public:
    explicit TableCursor(std::u16string databaseName);
    ~TableCursor();
    TableCursor(const TableCursor&) = delete;
    TableCursor& operator=(const TableCursor&) = delete;

    const std::u16string& databaseName() const { return m_name; }
    bool isOpen() const;
    // Closes if open and opens by name with no sort order. False when the open fails.
    bool openUnsorted();
    // Closes if open and opens sorted by the property; false when the open fails.
    bool openSorted(PropertyNumber number, SortKind kind);
    // Does nothing when already sorted by that property number (the current record is kept); otherwise
    // reopens sorted by it.
    bool ensureSort(PropertyNumber number, SortKind kind);
    // One level of save and restore of the sort order; restore reopens only when the order differs.
    void saveSort();
    bool restoreSort();
    // Closes the handle; no current record.
    void close();

    PropertyNumber sortProperty() const { return m_sortNumber; }
    SortKind sortKind() const { return m_sortKind; }
    int position() const { return m_position; }
    uint32_t changeGeneration() const { return m_changeGeneration; }
    uint32_t writeCount() const { return m_writeCount; }

    // The number of records (the store counts at most 65,535 per table).
    int recordCount() const;
    // Reads the record at index into the current record; nothing is read when the cursor is already
    // there. On failure there is no current record and the result is false.
    bool moveTo(int index);
    // Moves to the record after the current one with a relative seek (no index lookup); same results
    // as moveTo(position() + 1).
    bool moveNext();

    // Values of the current record; empty, 0 or a zero date when the property (or the record) is missing.
    const char16_t* getString(PropertyNumber number) const;
    int32_t getI4(PropertyNumber number) const;
    uint64_t getDate(PropertyNumber number) const;
    int64_t get64(PropertyNumber number) const { return static_cast<int64_t>(getDate(number)); }
    bool hasProperty(PropertyNumber number) const { return find(number) != nullptr; }
    // Every property value of the current record (strings valid until the record is cleared or re-read).
    const std::vector<PropertyValue>& values() const { return m_record; }

    // Value seeks on the current sort order; the caller has chosen the order. True with the record loaded,
    // or false with no current record.
    bool seekFirstEqual(const std::u16string& value) {
        return seekValue(CEDB_SEEK_VALUEFIRSTEQUAL, stringValue(value));
    }
    bool seekFirstEqual(int32_t value) { return seekValue(CEDB_SEEK_VALUEFIRSTEQUAL, i4Value(value)); }
    bool seekFirstEqual(uint64_t value) { return seekValue(CEDB_SEEK_VALUEFIRSTEQUAL, dateValue(value)); }
    bool seekFirstGreater(const std::u16string& value) {
        return seekValue(CEDB_SEEK_VALUEGREATER, stringValue(value));
    }
    bool seekFirstGreater(int32_t value) { return seekValue(CEDB_SEEK_VALUEGREATER, i4Value(value)); }
    bool seekFirstGreater(uint64_t value) { return seekValue(CEDB_SEEK_VALUEGREATER, dateValue(value)); }
    bool seekLastSmaller(const std::u16string& value) {
        return seekValue(CEDB_SEEK_VALUESMALLER, stringValue(value));
    }
    bool seekLastSmaller(int32_t value) { return seekValue(CEDB_SEEK_VALUESMALLER, i4Value(value)); }
    bool seekLastSmaller(uint64_t value) { return seekValue(CEDB_SEEK_VALUESMALLER, dateValue(value)); }

    // Probes that leave the current record and position as they are and read no whole record:
    // the index of the first record whose sort property equals value on the current sort order, -1 when
    // none has it;
    int findEqual(const std::u16string& value);
    // the string property of the record at index (empty when it lacks the property); false when there is
    // no record at index.
    bool stringAt(int index, PropertyNumber number, std::u16string& out);

    // Moves to the first record from start in the direction (backward when true) whose string property
    // begins with text, ignoring case, wrapping around the table once. abort(arg) returning true cancels.
    bool findByPrefix(PropertyNumber number, const std::u16string& text, int start, bool backward,
                      bool (*abort)(void*) = nullptr, void* abortArg = nullptr);

    // Starts composing a new record: no current record, the new-record position.
    void newRecord();
    // Sets one property. On an existing record the property is written at once; when it is the sort
    // property or commit is set the record is read back at its (maybe new) index. At the new-record
    // position nothing is written until a set with commit stores every value collected so far.
    bool setString(PropertyNumber number, const std::u16string& value, bool commit = false);
    bool setI4(PropertyNumber number, int32_t value, bool commit = false);
    bool setDate(PropertyNumber number, uint64_t value, bool commit = false);
    bool set64(PropertyNumber number, int64_t value, bool commit = false) {
        return setDate(number, static_cast<uint64_t>(value), commit);
    }
    // Writes every value of the current record: replaces them in the record at the position, or adds a
    // new record at the new-record position (the cursor then moves to it). Returns the record's object id,
    // 0 on failure.
    CEOID writeCurrentRecord();
    // Writes the values into the current record in one store call (replacing or adding those
    // properties) and reads the record back where it now stands in the sort order. False, with no
    // current record, when the record cannot be reached or the store refuses.
    bool writeProperties(const std::vector<PropertyValue>& values);
    // Adds a new record holding the values and moves to it. Returns its object id, 0 on failure (no
    // current record then).
    CEOID addRecord(const std::vector<PropertyValue>& values);
    // Adds a new record holding the values without reading it back, for writes of many records that do
    // not look at them again: no current record afterwards. Returns its object id, 0 on failure.
    CEOID addRecordUnread(const std::vector<PropertyValue>& values);
    // Deletes the record at index and reopens the table with the same sort order; no current record
    // afterwards. False when the index is out of range or the store refuses.
    bool deleteAt(int index);

    // Why the last failed write or delete of this cursor failed: RecordUnreachable when the record it
    // was meant for could not be reached, else the store's reason (statusOfStoreError: TableFull when
    // the table held all the records it can, ReadOnly, Busy, Damaged, ...; WriteFailed otherwise).
    StoreStatus writeFailure() const { return m_writeFailure; }

    // The store's object id of the current record (0 when none).
    CEOID currentObjectId() const { return m_currentOid; }
    // Marks the current record stale (another cursor changed the table): it is re-read at the next move.
    void invalidate();

  private:
    const PropertyValue* find(PropertyNumber number) const;
    PropertyValue& findOrAdd(PropertyNumber number);
    CEPROPVAL stringValue(const std::u16string& value);
    CEPROPVAL i4Value(int32_t value) const;
    CEPROPVAL dateValue(uint64_t value) const;
    bool seekValue(DWORD kind, const CEPROPVAL& value);
    bool openWith(CEPROPID sortId);
    bool seekPlatformTo(int index);
    bool loadAtPlatform();
    bool setProperty(PropertyValue value, bool commit);
    bool storeNewRecord();
    bool reloadByObjectId(CEOID oid);
    void clearRecord();
    void changed() { ++m_changeGeneration; }
    template <class Result>
    Result noted(Result result);
    bool unreachable();

    std::u16string m_name;
    CEOID m_oid = 0;
    HANDLE m_handle;
    PropertyNumber m_sortNumber = 0;
    SortKind m_sortKind = SortKind::None;
    PropertyNumber m_savedSortNumber = 0;
    SortKind m_savedSortKind = SortKind::None;
    int m_position = kNoRecord;
    mutable int m_platformIndex = -1;  // the record the store's handle stands on, -1 when unknown
    mutable CEOID m_platformOid = 0;   // object id of that record
    CEOID m_currentOid = 0;            // object id of the current record, 0 when none
    std::vector<PropertyValue> m_record;
    BYTE* m_readBuffer = nullptr;
    DWORD m_readBufferSize = 0;
    BYTE* m_probeBuffer = nullptr;  // stringAt's reads, apart from the current record's
    DWORD m_probeBufferSize = 0;
    std::u16string m_searchText;
    uint32_t m_changeGeneration = 0;
    uint32_t m_writeCount = 0;
    StoreStatus m_writeFailure = StoreStatus::WriteFailed;
};

// Puts a cursor into a sort order for a scope and restores the order it found at the end (reopening
// only when the order differs). Scopes nest, unlike the cursor's one-level save and restore.
class SortScope {
  public:
    SortScope(TableCursor& cursor, PropertyNumber number, SortKind kind);
    ~SortScope();
    SortScope(const SortScope&) = delete;
    SortScope& operator=(const SortScope&) = delete;
    // False when the table could not be opened in the order.
    bool ok() const { return m_ok; }

  private:
    TableCursor& m_cursor;
    PropertyNumber m_number;
    SortKind m_kind;
    bool m_wasOpen;
    bool m_ok;
};

}  // namespace dove
