// The table cursor: opening and sort orders, moves and value seeks, reading the current record, composing
// and writing records, and deleting. The store's handle position is tracked so that moving to the record
// the cursor already holds, or writing the record it stands on, does not seek again.
#include "TableCursor.h"

#include "RecordHeap.h"
#include "StoreAlert.h"
#include "platform/windows.h"

namespace dove {

// A write or delete that could not reach its record: false, with that as the reason.
bool TableCursor::unreachable() {
    m_writeFailure = StoreStatus::RecordUnreachable;
    return false;
}

// Keeps why a store write or delete failed, read from the platform right after the call.
template <class Result>
Result TableCursor::noted(Result result) {
    if (!result) m_writeFailure = statusOfStoreError(GetLastError());
    return result;
}

TableCursor::TableCursor(std::u16string databaseName)
    : m_name(std::move(databaseName)), m_handle(INVALID_HANDLE_VALUE) {}

TableCursor::~TableCursor() {
    close();
}

bool TableCursor::isOpen() const {
    return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr;
}

bool TableCursor::openWith(CEPROPID sortId) {
    close();
    CEOID oid = 0;
    HANDLE handle = CeOpenDatabase(&oid, const_cast<LPWSTR>(m_name.c_str()), sortId, 0, nullptr);
    if (handle == nullptr) {
        // The store should hand back the invalid handle on failure; a null one is reported with the
        // error number. It is as unusable as the invalid one, so the open still fails.
        raiseStoreAlert(StoreAlert::NullOpenHandle, GetLastError());
        return false;
    }
    if (handle == INVALID_HANDLE_VALUE) return false;
    m_handle = handle;
    m_oid = oid;
    return true;
}

bool TableCursor::openUnsorted() {
    if (!openWith(0)) return false;
    m_sortNumber = 0;
    m_sortKind = SortKind::None;
    return true;
}

bool TableCursor::openSorted(PropertyNumber number, SortKind kind) {
    if (!openWith(propertyId(number, storeTypeOf(kind)))) return false;
    m_sortNumber = number;
    m_sortKind = kind;
    return true;
}

bool TableCursor::ensureSort(PropertyNumber number, SortKind kind) {
    if (isOpen() && m_sortNumber == number) return true;
    return openSorted(number, kind);
}

void TableCursor::saveSort() {
    m_savedSortNumber = m_sortNumber;
    m_savedSortKind = m_sortKind;
}

bool TableCursor::restoreSort() {
    if (isOpen() && m_savedSortNumber == m_sortNumber) return true;
    if (m_savedSortKind == SortKind::None) return openUnsorted();
    return openSorted(m_savedSortNumber, m_savedSortKind);
}

void TableCursor::close() {
    if (isOpen()) CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    clearRecord();
    m_position = kNoRecord;
    m_platformIndex = -1;
    m_platformOid = 0;
    for (BYTE** buffer : {&m_readBuffer, &m_probeBuffer}) {
        if (*buffer != nullptr) HeapFree(recordHeap(), 0, *buffer);
        *buffer = nullptr;
    }
    m_readBufferSize = 0;
    m_probeBufferSize = 0;
    changed();
}

int TableCursor::recordCount() const {
    if (!isOpen()) return 0;
    // The index of the last record in the handle's order gives the count without the store counting
    // every record of the table (the database information does that, which a large table feels on every
    // seek). The store's handle then stands on the last record.
    DWORD last = 0;
    CEOID oid = CeSeekDatabase(m_handle, CEDB_SEEK_END, 0, &last);
    m_platformIndex = oid != 0 ? static_cast<int>(last) : -1;
    m_platformOid = oid;
    return oid != 0 ? static_cast<int>(last) + 1 : 0;
}

void TableCursor::clearRecord() {
    m_record.clear();
    m_currentOid = 0;
}

void TableCursor::invalidate() {
    clearRecord();
    m_position = kNoRecord;
    m_platformIndex = -1;
    changed();
}

bool TableCursor::seekPlatformTo(int index) {
    if (!isOpen() || index < 0) return false;
    DWORD reached = 0;
    CEOID oid = CeSeekDatabase(m_handle, CEDB_SEEK_BEGINNING, static_cast<DWORD>(index), &reached);
    m_platformIndex = oid != 0 ? static_cast<int>(reached) : -1;
    m_platformOid = oid;
    return oid != 0;
}

// Reads the record the store's handle stands on into the current record.
bool TableCursor::loadAtPlatform() {
    clearRecord();
    WORD count = 0;
    CEOID oid = CeReadRecordPropsEx(m_handle, CEDB_ALLOWREALLOC, &count, nullptr, &m_readBuffer,
                                    &m_readBufferSize, recordHeap());
    if (oid == 0) {
        DWORD error = GetLastError();
        if (error == ERROR_NOT_ENOUGH_MEMORY || error == ERROR_OUTOFMEMORY)
            raiseStoreAlert(StoreAlert::RecordHeapExhausted);
        return false;
    }
    const auto* values = reinterpret_cast<const CEPROPVAL*>(m_readBuffer);
    m_record.reserve(count);
    for (WORD i = 0; i < count; ++i) {
        if ((values[i].wFlags & CEDB_PROPNOTFOUND) == 0)
            m_record.push_back(PropertyValue::fromStore(values[i]));
    }
    m_currentOid = oid;
    m_position = m_platformIndex;
    return true;
}

bool TableCursor::moveTo(int index) {
    if (index >= 0 && m_position == index) return true;
    clearRecord();
    if (!seekPlatformTo(index) || !loadAtPlatform()) {
        clearRecord();
        m_position = kNoRecord;
        changed();
        return false;
    }
    return true;
}

bool TableCursor::moveNext() {
    if (m_position < 0 || m_platformIndex != m_position) return moveTo(m_position < 0 ? 0 : m_position + 1);
    clearRecord();
    DWORD reached = 0;
    CEOID oid = CeSeekDatabase(m_handle, CEDB_SEEK_CURRENT, 1, &reached);
    m_platformIndex = oid != 0 ? static_cast<int>(reached) : -1;
    m_platformOid = oid;
    if (oid == 0 || !loadAtPlatform()) {
        clearRecord();
        m_position = kNoRecord;
        changed();
        return false;
    }
    return true;
}

const PropertyValue* TableCursor::find(PropertyNumber number) const {
    for (const PropertyValue& v : m_record) {
        if (v.number() == number) return &v;
    }
    return nullptr;
}

PropertyValue& TableCursor::findOrAdd(PropertyNumber number) {
    for (PropertyValue& v : m_record) {
        if (v.number() == number) return v;
    }
    m_record.push_back(PropertyValue::i4(number, 0));
    return m_record.back();
}

const char16_t* TableCursor::getString(PropertyNumber number) const {
    const PropertyValue* v = find(number);
    return v != nullptr ? v->text() : u"";
}

int32_t TableCursor::getI4(PropertyNumber number) const {
    const PropertyValue* v = find(number);
    return v != nullptr ? v->i4Value() : 0;
}

uint64_t TableCursor::getDate(PropertyNumber number) const {
    const PropertyValue* v = find(number);
    return v != nullptr ? v->dateValue() : 0;
}

CEPROPVAL TableCursor::stringValue(const std::u16string& value) {
    m_searchText = value;
    CEPROPVAL v{};
    v.propid = propertyId(m_sortNumber, CEVT_LPWSTR);
    v.val.lpwstr = m_searchText.data();
    return v;
}

CEPROPVAL TableCursor::i4Value(int32_t value) const {
    CEPROPVAL v{};
    v.propid = propertyId(m_sortNumber, CEVT_I4);
    v.val.lVal = value;
    return v;
}

CEPROPVAL TableCursor::dateValue(uint64_t value) const {
    CEPROPVAL v{};
    v.propid = propertyId(m_sortNumber, CEVT_FILETIME);
    v.val.filetime.dwLowDateTime = static_cast<DWORD>(value);
    v.val.filetime.dwHighDateTime = static_cast<DWORD>(value >> 32);
    return v;
}

bool TableCursor::seekValue(DWORD kind, const CEPROPVAL& value) {
    CEOID found = 0;
    DWORD index = 0;
    // Positioning at the first (or last) record fails exactly when the table is empty.
    if (isOpen() &&
        CeSeekDatabase(m_handle, kind == CEDB_SEEK_VALUESMALLER ? CEDB_SEEK_END : CEDB_SEEK_BEGINNING, 0,
                       &index) != 0)
        found = CeSeekDatabase(m_handle, kind, reinterpret_cast<DWORD_PTR>(&value), &index);
    m_platformIndex = found != 0 ? static_cast<int>(index) : -1;
    m_platformOid = found;
    if (found == 0) {
        clearRecord();
        m_position = kNoRecord;
        changed();
        return false;
    }
    if (m_position == static_cast<int>(index)) return true;
    if (loadAtPlatform()) return true;
    m_position = kNoRecord;
    changed();
    return false;
}

int TableCursor::findEqual(const std::u16string& value) {
    if (!isOpen()) return -1;
    CEPROPVAL search = stringValue(value);
    DWORD index = 0;
    // A first-equal seek does not depend on the record the handle stands on, so none is sought first.
    CEOID found =
        CeSeekDatabase(m_handle, CEDB_SEEK_VALUEFIRSTEQUAL, reinterpret_cast<DWORD_PTR>(&search), &index);
    m_platformIndex = found != 0 ? static_cast<int>(index) : -1;
    m_platformOid = found;
    return found != 0 ? static_cast<int>(index) : -1;
}

bool TableCursor::stringAt(int index, PropertyNumber number, std::u16string& out) {
    if (!seekPlatformTo(index)) return false;
    CEPROPID id = propertyId(number, CEVT_LPWSTR);
    WORD count = 1;
    if (CeReadRecordPropsEx(m_handle, CEDB_ALLOWREALLOC, &count, &id, &m_probeBuffer, &m_probeBufferSize,
                            recordHeap()) == 0)
        return false;
    const auto* value = reinterpret_cast<const CEPROPVAL*>(m_probeBuffer);
    out = (value->wFlags & CEDB_PROPNOTFOUND) != 0 ? std::u16string() : std::u16string(value->val.lpwstr);
    return true;
}

bool TableCursor::findByPrefix(PropertyNumber number, const std::u16string& text, int start, bool backward,
                               bool (*abort)(void*), void* abortArg) {
    int count = recordCount();
    if ((m_position < 0 || m_position >= count) && !moveTo(0)) return false;
    if (start > 0 && !moveTo(start)) return false;
    const int first = m_position;
    for (;;) {
        if (_wcsnicmp(getString(number), text.c_str(), text.size()) == 0) return true;
        if (abort != nullptr && abort(abortArg)) return false;
        if (count < 2) return false;
        int next = backward ? (m_position == 0 ? count - 1 : m_position - 1)
                            : (m_position + 1 == count ? 0 : m_position + 1);
        if (!moveTo(next) || m_position == first) return false;
    }
}

void TableCursor::newRecord() {
    clearRecord();
    m_position = kNewRecord;
}

bool TableCursor::setString(PropertyNumber number, const std::u16string& value, bool commit) {
    return setProperty(PropertyValue::string(number, value), commit);
}

bool TableCursor::setI4(PropertyNumber number, int32_t value, bool commit) {
    return setProperty(PropertyValue::i4(number, value), commit);
}

bool TableCursor::setDate(PropertyNumber number, uint64_t value, bool commit) {
    return setProperty(PropertyValue::date(number, value), commit);
}

// Reads back the record with this object id at its index in the current sort order.
bool TableCursor::reloadByObjectId(CEOID oid) {
    clearRecord();
    m_position = kNoRecord;
    DWORD index = 0;
    m_platformOid = CeSeekDatabase(m_handle, CEDB_SEEK_CEOID, oid, &index);
    m_platformIndex = m_platformOid != 0 ? static_cast<int>(index) : -1;
    return m_platformOid != 0 && loadAtPlatform();
}

bool TableCursor::storeNewRecord() {
    std::vector<CEPROPVAL> values;
    values.reserve(m_record.size());
    for (const PropertyValue& v : m_record)
        values.push_back(v.toStore());
    CEOID oid = noted(CeWriteRecordProps(m_handle, 0, static_cast<WORD>(values.size()), values.data()));
    if (oid == 0) {
        clearRecord();
        m_position = kNoRecord;
        return false;
    }
    reloadByObjectId(oid);
    return true;
}

bool TableCursor::setProperty(PropertyValue value, bool commit) {
    const bool composing = m_position == kNewRecord;
    // When the store's handle stands on the record already it exists; only otherwise is it looked up.
    const bool standing = m_position >= 0 && m_platformIndex == m_position && m_platformOid != 0;
    if (!composing && !standing) {
        if (!isOpen() || m_position < 0 || m_position >= recordCount() || !seekPlatformTo(m_position)) {
            clearRecord();
            m_position = kNoRecord;
            changed();
            return unreachable();
        }
    }
    const PropertyNumber number = value.number();
    findOrAdd(number) = std::move(value);
    bool ok = true;
    if (!composing) {
        CEPROPVAL stored = find(number)->toStore();
        CEOID oid = noted(CeWriteRecordProps(m_handle, m_platformOid, 1, &stored));
        ok = oid != 0;
        // Writing the sort property may move the record in the order; read it back where it now stands.
        if (ok && (number == m_sortNumber || commit) && !reloadByObjectId(oid)) ok = unreachable();
    } else if (commit) {
        ok = storeNewRecord();
    }
    changed();
    ++m_writeCount;
    return ok;
}

CEOID TableCursor::writeCurrentRecord() {
    CEOID oid = 0;
    if (m_position == kNewRecord) {
        if (storeNewRecord()) oid = m_currentOid;
    } else if (isOpen() && m_position >= 0 && (m_platformIndex == m_position || seekPlatformTo(m_position))) {
        std::vector<CEPROPVAL> values;
        for (const PropertyValue& v : m_record)
            values.push_back(v.toStore());
        oid = noted(
            CeWriteRecordProps(m_handle, m_platformOid, static_cast<WORD>(values.size()), values.data()));
        // The record may have moved in the sort order: stand on it again.
        if (oid != 0) reloadByObjectId(oid);
    }
    changed();
    ++m_writeCount;
    return oid;
}

bool TableCursor::writeProperties(const std::vector<PropertyValue>& values) {
    const bool standing = m_position >= 0 && m_platformIndex == m_position && m_platformOid != 0;
    if (!isOpen() || m_position < 0 || (!standing && !seekPlatformTo(m_position))) {
        invalidate();
        return unreachable();
    }
    std::vector<CEPROPVAL> stored;
    stored.reserve(values.size());
    for (const PropertyValue& v : values)
        stored.push_back(v.toStore());
    CEOID oid =
        noted(CeWriteRecordProps(m_handle, m_platformOid, static_cast<WORD>(stored.size()), stored.data()));
    changed();
    ++m_writeCount;
    if (oid == 0) {
        invalidate();
        return false;
    }
    return reloadByObjectId(oid) || unreachable();
}

CEOID TableCursor::addRecord(const std::vector<PropertyValue>& values) {
    newRecord();
    m_record = values;
    CEOID oid = storeNewRecord() ? m_currentOid : 0;
    changed();
    ++m_writeCount;
    return oid;
}

CEOID TableCursor::addRecordUnread(const std::vector<PropertyValue>& values) {
    std::vector<CEPROPVAL> stored;
    stored.reserve(values.size());
    for (const PropertyValue& v : values)
        stored.push_back(v.toStore());
    m_writeFailure = StoreStatus::WriteFailed;
    const CEOID oid =
        isOpen() ? noted(CeWriteRecordProps(m_handle, 0, static_cast<WORD>(stored.size()), stored.data()))
                 : 0;
    ++m_writeCount;
    // The new record may have taken any index: forget where the handle stands.
    invalidate();
    return oid;
}

bool TableCursor::deleteAt(int index) {
    if (!isOpen() || index < 0 || index >= recordCount() ||
        (m_platformIndex != index && !seekPlatformTo(index)))
        return unreachable();
    BOOL deleted = noted(CeDeleteRecord(m_handle, m_platformOid));
    ++m_writeCount;
    // Indexes after the deleted record have shifted: forget where the handle stands and what it held.
    invalidate();
    return deleted != FALSE;
}

SortScope::SortScope(TableCursor& cursor, PropertyNumber number, SortKind kind)
    : m_cursor(cursor),
      m_number(cursor.sortProperty()),
      m_kind(cursor.sortKind()),
      m_wasOpen(cursor.isOpen()),
      m_ok(cursor.ensureSort(number, kind)) {}

SortScope::~SortScope() {
    if (!m_wasOpen || (m_cursor.isOpen() && m_cursor.sortProperty() == m_number)) return;
    if (m_kind == SortKind::None)
        m_cursor.openUnsorted();
    else
        m_cursor.openSorted(m_number, m_kind);
}

}  // namespace dove
